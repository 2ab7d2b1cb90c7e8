// Marked content drawn by hand, as page furniture draws it: artifacts in the middle of a
// paragraph leave the paragraph whole and all of its text marked.
#include "ConversionTestSupport.h"

#include "conversion/ArchivalPdf.h"
#include "conversion/MarkedContent.h"
#include "support/ArchivalChecker.h"

#include <gtest/gtest.h>
#include <hpdf.h>

#include <memory>
#include <type_traits>

namespace {

std::string SavedPdf(HPDF_Doc pdf)
{
    HPDF_SaveToStream(pdf);
    std::string bytes(HPDF_GetStreamSize(pdf), '\0');
    HPDF_UINT32 size = HPDF_UINT32(bytes.size());
    HPDF_ReadFromStream(pdf, reinterpret_cast<HPDF_BYTE*>(bytes.data()), &size);
    bytes.resize(size);
    return bytes;
}

// The saved PDF as it goes out, with the rest of its structure tree.
std::string WrittenPdf(HPDF_Doc pdf, const StructureNumbers& numbers, const DocumentStructure& structure)
{
    std::string written;
    std::string error;
    WriteWithObjectStreams(
        SavedPdf(pdf),
        [&](std::string_view bytes) {
            written.append(bytes);
            return true;
        },
        error, [&](std::size_t firstFree) { return StructureObjects(numbers, structure, firstFree); });
    return written;
}

TEST(MarkedContent, AnArtifactAmidAParagraphKeepsTheParagraphWholeAndItsTextMarked)
{
    const std::unique_ptr<std::remove_pointer_t<HPDF_Doc>, decltype(&HPDF_Free)> pdf(HPDF_New(nullptr, nullptr),
                                                                                      HPDF_Free);
    HPDF_Page page = HPDF_AddPage(pdf.get());
    MarkedContent marks;
    marks.StartPage(page);
    const char* font = HPDF_LoadType1FontFromFile(pdf.get(), UrwType1Metrics().c_str(), UrwType1Data().c_str());
    HPDF_Page_SetFontAndSize(page, HPDF_GetFont(pdf.get(), font, "WinAnsiEncoding"), 10);
    HPDF_Page_BeginText(page);
    const auto line = [&](const char* text) {
        marks.BeginLine(text);
        HPDF_Page_ShowText(page, text);
        marks.EndLine();
    };
    line("before ");
    marks.DrawArtifact([&] { HPDF_Page_ShowText(page, "header"); });
    line("after");
    marks.FinishPage();
    HPDF_Page_EndText(page);
    ASSERT_FALSE(marks.Failed());
    ASSERT_EQ(marks.Structure().paragraphs.size(), 1u);
    EXPECT_EQ(marks.Structure().paragraphs[0], (std::vector<MarkedPiece>{{0, 0}, {0, 1}}));

    AddOutputIntent(pdf.get(), kSrgbProfilePath);
    const StructureNumbers numbers = AddArchivalEntries(pdf.get(), ArchivalFacts{marks.Structure(), "en", {}});
    ASSERT_EQ(HPDF_GetError(pdf.get()), HPDF_OK);
    ScratchFolder folder;
    const ArchivalReport report =
        CheckArchival(folder.Write("marked.pdf", WrittenPdf(pdf.get(), numbers, marks.Structure())));
    // There is no title: only the marked content is at stake here.
    EXPECT_EQ(report.broken, std::set<ArchivalRule>{ArchivalRule::Metadata});
    EXPECT_EQ(report.artifactTexts, 1);
    EXPECT_EQ(report.paragraphs, std::vector<std::string>{"before after"});
}

TEST(ArchivalPdf, AMissingColourProfilePutsTheDocumentInError)
{
    const std::unique_ptr<std::remove_pointer_t<HPDF_Doc>, decltype(&HPDF_Free)> pdf(HPDF_New(nullptr, nullptr),
                                                                                      HPDF_Free);
    AddOutputIntent(pdf.get(), "/no/such/srgb.icc");
    EXPECT_NE(HPDF_GetError(pdf.get()), HPDF_OK);
}

} // namespace
