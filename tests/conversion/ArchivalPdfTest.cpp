// Archival, tagged PDFs: what the converter makes passes the checker of support/ArchivalChecker,
// and the checker finds each rule broken on its own.
#include "ConversionTestSupport.h"

#include "conversion/FileConverter.h"
#include "conversion/OutputPath.h"
#include "support/ArchivalChecker.h"
#include "support/PdfInspector.h"

#include <gtest/gtest.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <array>
#include <cstdio>
#include <functional>
#include <sstream>

namespace {

using Object = QPDFObjectHandle;

constexpr char kThreeParagraphs[] = "First line one\nfirst line two\n\nSecond alone\n  \nThird at last\n";

ConversionOptions Archival(void (*change)(ConversionOptions&) = nullptr)
{
    ConversionOptions options;
    options.Archive = kArchivePdfA;
    options.Language = "de-DE";
    if (change)
        change(options);
    return options;
}

// The output of a poppler tool, which must answer within a minute.
std::string Poppler(const std::string& tool, const std::string& path)
{
    std::string output;
    FILE* pipe = popen(("timeout 60 " + tool + " '" + path + "' 2>&1").c_str(), "r");
    if (!pipe)
        return output;
    std::array<char, 4096> chunk;
    for (std::size_t got; (got = fread(chunk.data(), 1, chunk.size(), pipe)) > 0;)
        output.append(chunk.data(), got);
    pclose(pipe);
    return output;
}

// pdffonts: a line per font under a header whose column "emb" says yes or no.
bool PopplerFindsEveryFontEmbedded(const std::string& pdfPath)
{
    std::istringstream lines(Poppler("pdffonts", pdfPath));
    std::string header, rule, line;
    std::getline(lines, header);
    std::getline(lines, rule);
    const std::size_t column = header.find(" emb ") + 1;
    int fonts = 0;
    for (; std::getline(lines, line) && line.size() > column; ++fonts)
        if (line.compare(column, 3, "yes") != 0)
            return false;
    return column > 0 && fonts > 0;
}

struct FontCase {
    const char* what;
    ConversionOptions options;
    bool singleByte; // the shown bytes are the text's own
};
void PrintTo(const FontCase& c, std::ostream* out) { *out << c.what; }

class ArchivalFonts : public testing::TestWithParam<FontCase> {};

TEST_P(ArchivalFonts, ConformAndHoldOneParagraphElementPerParagraph)
{
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, GetParam().options, kThreeParagraphs);
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    const ArchivalReport report = CheckArchival(converted.pdfPath);
    EXPECT_TRUE(report.broken.empty()) << (report.broken.empty() ? 0 : int(*report.broken.begin()));
    ASSERT_EQ(report.paragraphs.size(), 3u);
    if (GetParam().singleByte) {
        EXPECT_EQ(report.paragraphs[0], "First line one first line two ");
        EXPECT_EQ(report.paragraphs[2], "Third at last ");
    }
    EXPECT_EQ(report.artifactTexts, 1); // the line of blanks
    EXPECT_TRUE(PopplerFindsEveryFontEmbedded(converted.pdfPath));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArchivalFonts,
    testing::Values(FontCase{"Courier", Archival(), true},
                    FontCase{"Helvetica-Bold", Archival([](auto& o) { o.B14Font = 5; }), true},
                    FontCase{"Times-Roman in ISO8859-2", Archival([](auto& o) { o.B14Font = 8, o.SingeEncode = 4; }), true},
                    FontCase{"TrueType chosen not to be embedded", Archival([](auto& o) {
                                 o.PageFont = TrueTypeFont, o.EmbeddingFont = kNo, o.SingeEncode = kWinAnsiEncoding;
                                 o.TrueTypeFile = DejaVuSansPath();
                             }), true},
                    FontCase{"TrueType in UTF-8", Archival([](auto& o) {
                                 o = Utf8Options(), o.Archive = kArchivePdfA;
                             }), false}));

TEST(ArchivalPdf, PopplerSeesTagsAndParagraphsAndTheTitleIsTheFileName)
{
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, Archival(), kThreeParagraphs);
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    const std::string info = Poppler("pdfinfo", converted.pdfPath);
    EXPECT_NE(info.find("Tagged:          yes"), std::string::npos) << info;
    EXPECT_NE(info.find("Title:           input.txt"), std::string::npos) << info;
    const std::string structure = Poppler("pdfinfo -struct-text", converted.pdfPath);
    const std::size_t second = structure.find("\"Second alone \"");
    EXPECT_NE(structure.find("\"First line one first line two \""), std::string::npos) << structure;
    EXPECT_LT(second, structure.find("\"Third at last \"")) << structure;
}

TEST(ArchivalPdf, AFileNameBeyondU_FFFFIsTheTitleAsWritten)
{
    ScratchFolder folder;
    const std::string input = folder.Write("party \xF0\x9F\x8E\x89.txt", "x\n");
    const std::string pdf = OutputPathFor(input);
    RecordingObserver observer;
    const ConversionResult result = ConvertFile(Archival(), input, "", "", pdf, observer);
    ASSERT_TRUE(result.written) << result.reason;
    const std::string info = Poppler("pdfinfo", pdf);
    EXPECT_NE(info.find("Title:           party \xF0\x9F\x8E\x89.txt\n"), std::string::npos) << info;
    // The XMP title agrees.
    EXPECT_EQ(CheckArchival(pdf).broken, std::set<ArchivalRule>{});
}

// The page's text as pdftotext (with `mode`) puts it together from where the characters stand.
std::string PopplerPageText(const std::string& pdfPath, const std::string& mode)
{
    Poppler("pdftotext " + mode, pdfPath);
    return FileBytes(pdfPath.substr(0, pdfPath.size() - 3) + "txt");
}

std::string Repeated(const std::string& text, int times)
{
    std::string repeated;
    while (times-- > 0)
        repeated += text;
    return repeated;
}

struct ReadingOrderCase {
    const char* what;
    std::string text;
    std::string structureText; // its one paragraph as pdfinfo -struct-text gives it
    std::string fontFile = DejaVuSansPath();
    // Poppler's page text takes a mark drawn back over the letter before it for a word of its
    // own, and the text of a tagged page holds each mark after its letter; its structure holds
    // the text in order all the same.
    bool pageTextAsUntagged = true;
};
void PrintTo(const ReadingOrderCase& c, std::ostream* out) { *out << c.what; }

class ArchivalReadingOrder : public testing::TestWithParam<ReadingOrderCase> {};

TEST_P(ArchivalReadingOrder, StructureHoldsTheTextInItsOrderAndThePageReadsAsUntagged)
{
    ScratchFolder plainFolder, taggedFolder;
    ConversionOptions options = Utf8Options(GetParam().fontFile);
    const Converted plain = ConvertText(plainFolder, options, GetParam().text);
    options.Archive = kArchivePdfA;
    const Converted tagged = ConvertText(taggedFolder, options, GetParam().text);
    ASSERT_TRUE(plain.result.written && tagged.result.written) << tagged.result.reason;
    EXPECT_EQ(CheckArchival(tagged.pdfPath).broken, std::set<ArchivalRule>{});
    const std::string structure = Poppler("pdfinfo -struct-text", tagged.pdfPath);
    EXPECT_NE(structure.find("\n    \"" + GetParam().structureText + "\"\n"), std::string::npos) << structure;
    for (const char* mode : {"-nopgbrk", "-layout"}) {
        const std::string pageText = PopplerPageText(plain.pdfPath, mode);
        EXPECT_GT(pageText.size(), GetParam().text.size() / 2);
        if (GetParam().pageTextAsUntagged) {
            EXPECT_EQ(PopplerPageText(tagged.pdfPath, mode), pageText) << mode;
        }
    }
}

// Hebrew shalom olam, Arabic marhaban bil-alam and lam-alef (drawn as one ligature).
#define SHALOM "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D"
#define OLAM "\xD7\xA2\xD7\x95\xD7\x9C\xD7\x9D"
#define MARHABAN "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7"
#define BIL_ALAM "\xD8\xA8\xD8\xA7\xD9\x84\xD8\xB9\xD8\xA7\xD9\x84\xD9\x85"
#define LAM_ALEF "\xD9\x84\xD8\xA7"
// The same shalom with its points (in their canonical order), marhaban with its vowel signs.
#define POINTED_SHALOM "\xD7\xA9\xD6\xB8\xD7\x81\xD7\x9C\xD7\x95\xD6\xB9\xD7\x9D"
#define VOWELLED_MARHABAN "\xD9\x85\xD9\x8E\xD8\xB1\xD9\x92\xD8\xAD\xD9\x8E\xD8\xA8\xD9\x8B\xD8\xA7"

INSTANTIATE_TEST_SUITE_P(
    Cases, ArchivalReadingOrder,
    testing::Values(ReadingOrderCase{"Hebrew", SHALOM " " OLAM "\n", SHALOM " " OLAM " "},
                    ReadingOrderCase{"Arabic", MARHABAN " " BIL_ALAM " " LAM_ALEF "\n",
                                     MARHABAN " " BIL_ALAM " " LAM_ALEF " "},
                    ReadingOrderCase{"Latin, Hebrew and digits", "Hello " SHALOM " 123 world\n",
                                     "Hello " SHALOM " 123 world "},
                    ReadingOrderCase{"Hebrew first, then Latin and digits", SHALOM " and 42 " OLAM "\n",
                                     SHALOM " and 42 " OLAM " "},
                    ReadingOrderCase{"brackets in Hebrew", SHALOM " (" OLAM ") [1]\n", SHALOM " (" OLAM ") [1] "},
                    ReadingOrderCase{"a paragraph of two mixed lines", "Hello " SHALOM "\n12 " OLAM " world\n",
                                     "Hello " SHALOM " 12 " OLAM " world "},
                    ReadingOrderCase{"Hebrew drawn by a fallback font", "Hello " SHALOM " 12\n", "Hello " SHALOM " 12 ",
                                     MicroHeiCollectionPath()},
                    ReadingOrderCase{"a line wrapped after a space", Repeated("lorem ipsum ", 20) + "end\n",
                                     Repeated("lorem ipsum ", 20) + "end "},
                    ReadingOrderCase{"a Hebrew line wrapped after a space", Repeated(SHALOM " " OLAM " ", 20) + "\n",
                                     Repeated(SHALOM " " OLAM " ", 20)},
                    ReadingOrderCase{"a paragraph's line that begins with spaces", "one\n  two\n", "one  two "},
                    // As a reader of the page's glyphs reads the gap: one space.
                    ReadingOrderCase{"tabs in a Hebrew line", SHALOM "\t" OLAM "\tab\t12\n", SHALOM " " OLAM " ab 12 "},
                    // Marks stand on their letters; a monospaced font gives Arabic marks a cell of
                    // their own, which they lose, in the widths and in the font program alike.
                    ReadingOrderCase{"Hebrew points", POINTED_SHALOM "\n", POINTED_SHALOM " ", DejaVuSansPath(), false},
                    ReadingOrderCase{"Arabic vowel signs in a monospaced font", VOWELLED_MARHABAN " " LAM_ALEF "\n",
                                     VOWELLED_MARHABAN " " LAM_ALEF " ", DejaVuSansMonoPath(), false}));

struct GlyphlessCase {
    const char* what;
    ConversionOptions options;
    std::string text;
    const char* note;
};
void PrintTo(const GlyphlessCase& c, std::ostream* out) { *out << c.what; }

class ArchivalGlyphless : public testing::TestWithParam<GlyphlessCase> {};

TEST_P(ArchivalGlyphless, CharactersWithoutAGlyphAreLeftOutWithANote)
{
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, GetParam().options, GetParam().text);
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    EXPECT_EQ(CheckArchival(converted.pdfPath).broken, std::set<ArchivalRule>{});
    ASSERT_FALSE(converted.result.notes.empty());
    EXPECT_NE(converted.result.notes.back().find(GetParam().note), std::string::npos) << converted.result.notes.back();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArchivalGlyphless,
    testing::Values(GlyphlessCase{"a noncharacter in UTF-8", Archival([](auto& o) {
                                      o = Utf8Options(), o.Archive = kArchivePdfA;
                                  }), "a\xEF\xB7\x90z\n", "1 character was left out"},
                    GlyphlessCase{"bytes WinAnsi leaves undefined", Archival([](auto& o) {
                                      o.SingeEncode = kWinAnsiEncoding;
                                  }), "a\x81" "b\x8D\x9D" "c\n", "3 characters were left out"}));

// --- the checker finds each rule broken -----------------------------------------------------

Object FirstPage(QPDF& pdf)
{
    return QPDFPageDocumentHelper(pdf).getAllPages().front().getObjectHandle();
}

Object FirstFont(QPDF& pdf)
{
    return FirstPage(pdf).getKey("/Resources").getKey("/Font").ditems().begin()->second;
}

void EditContent(QPDF& pdf, const std::function<void(std::string&)>& edit)
{
    Object contents = FirstPage(pdf).getKey("/Contents");
    const auto data = contents.getStreamData(qpdf_dl_generalized);
    std::string text(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
    edit(text);
    contents.replaceStreamData(text, Object::newNull(), Object::newNull());
}

void Replace(std::string& text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// A composite TrueType font's width that is not its glyph's advance in the font program.
TEST(ArchivalChecker, FindsACompositeWidthThatIsNotTheProgramsAdvance)
{
    ScratchFolder folder;
    ConversionOptions options = Utf8Options();
    options.Archive = kArchivePdfA;
    const Converted converted = ConvertText(folder, options, kThreeParagraphs);
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    ASSERT_TRUE(CheckArchival(converted.pdfPath).broken.empty());
    const std::string broken = folder.File("broken.pdf");
    QPDF pdf;
    pdf.processFile(converted.pdfPath.c_str());
    Object widths = FirstFont(pdf).getKey("/DescendantFonts").getArrayItem(0).getKey("/W").getArrayItem(1);
    widths.setArrayItem(0, Object::newReal(widths.getArrayItem(0).getNumericValue() + 2, 0));
    QPDFWriter writer(pdf, broken.c_str());
    writer.write();
    EXPECT_EQ(CheckArchival(broken).broken, std::set<ArchivalRule>{ArchivalRule::FontsEmbedded});
}

struct BreakCase {
    const char* what;
    ArchivalRule rule;
    std::function<void(QPDF&, QPDFWriter&)> breakIt;
    std::function<void(std::string&)> breakBytes = {};
};
void PrintTo(const BreakCase& c, std::ostream* out) { *out << c.what; }

class ArchivalChecker : public testing::TestWithParam<BreakCase> {};

TEST_P(ArchivalChecker, FindsTheOneRuleBroken)
{
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, Archival([](auto& o) { o.B14Font = 4; }), kThreeParagraphs);
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    ASSERT_TRUE(CheckArchival(converted.pdfPath).broken.empty());

    const std::string broken = folder.File("broken.pdf");
    {
        QPDF pdf;
        pdf.processFile(converted.pdfPath.c_str());
        QPDFWriter writer(pdf, broken.c_str());
        writer.setObjectStreamMode(qpdf_o_disable);
        GetParam().breakIt(pdf, writer);
        writer.write();
    }
    if (GetParam().breakBytes) {
        std::string bytes = FileBytes(broken);
        GetParam().breakBytes(bytes);
        folder.Write("broken.pdf", bytes);
    }
    EXPECT_EQ(CheckArchival(broken).broken, std::set<ArchivalRule>{GetParam().rule});
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ArchivalChecker,
    testing::Values(
        BreakCase{"font program removed", ArchivalRule::FontsEmbedded, [](QPDF& pdf, QPDFWriter&) {
                      FirstFont(pdf).getKey("/FontDescriptor").removeKey("/FontFile");
                  }},
        BreakCase{"a width that is not the program's", ArchivalRule::FontsEmbedded, [](QPDF& pdf, QPDFWriter&) {
                      Object widths = FirstFont(pdf).getKey("/Widths");
                      widths.setArrayItem('H' - 32, Object::newInteger(widths.getArrayItem('H' - 32).getIntValue() + 1));
                  }},
        BreakCase{"XMP declares part 1", ArchivalRule::Metadata, [](QPDF& pdf, QPDFWriter&) {
                      Object xmp = pdf.getRoot().getKey("/Metadata");
                      const auto data = xmp.getRawStreamData();
                      std::string text(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
                      Replace(text, "<pdfaid:part>2", "<pdfaid:part>1");
                      xmp.replaceStreamData(text, Object::newNull(), Object::newNull());
                  }},
        BreakCase{"title differs from the XMP", ArchivalRule::Metadata, [](QPDF& pdf, QPDFWriter&) {
                      pdf.getTrailer().getKey("/Info").replaceKey("/Title", Object::newString("other"));
                  }},
        BreakCase{"modification date differs from the XMP", ArchivalRule::Metadata, [](QPDF& pdf, QPDFWriter&) {
                      pdf.getTrailer().getKey("/Info").replaceKey("/ModDate", Object::newString("D:19990101000000Z"));
                  }},
        BreakCase{"no output intent", ArchivalRule::OutputIntent, [](QPDF& pdf, QPDFWriter&) {
                      pdf.getRoot().removeKey("/OutputIntents");
                  }},
        BreakCase{"header of version 1.3", ArchivalRule::Version, [](QPDF&, QPDFWriter&) {},
                  [](std::string& bytes) { bytes.replace(0, 8, "%PDF-1.3"); }},
        BreakCase{"no file identifier", ArchivalRule::FileIdentifier, [](QPDF&, QPDFWriter&) {},
                  [](std::string& bytes) { Replace(bytes, "/ID [", "/XX ["); }},
        BreakCase{"encrypted", ArchivalRule::NoEncryption, [](QPDF&, QPDFWriter& writer) {
                      writer.setR6EncryptionParameters("", "owner", true, true, true, true, true, true, qpdf_r3p_full, false);
                  }},
        BreakCase{"a code without a glyph", ArchivalRule::NoNotdef, [](QPDF& pdf, QPDFWriter&) {
                      const std::string font = FirstPage(pdf).getKey("/Resources").getKey("/Font").getKeys().begin()->c_str();
                      EditContent(pdf, [&](std::string& text) { text += "/Artifact BMC BT " + font + " 9 Tf <01> Tj ET EMC\n"; });
                  }},
        BreakCase{"Document element of another type", ArchivalRule::StructureTree, [](QPDF& pdf, QPDFWriter&) {
                      pdf.getRoot().getKey("/StructTreeRoot").getKey("/K").replaceKey("/S", Object::newName("/Sect"));
                  }},
        BreakCase{"not marked", ArchivalRule::StructureTree, [](QPDF& pdf, QPDFWriter&) {
                      pdf.getRoot().removeKey("/MarkInfo");
                  }},
        BreakCase{"text outside marked content", ArchivalRule::MarkedContent, [](QPDF& pdf, QPDFWriter&) {
                      EditContent(pdf, [](std::string& text) { Replace(text, "/P <</MCID 1>> BDC", "/Span BMC"); });
                  }},
        BreakCase{"parent tree without the page", ArchivalRule::MarkedContent, [](QPDF& pdf, QPDFWriter&) {
                      pdf.getRoot().getKey("/StructTreeRoot").getKey("/ParentTree").replaceKey("/Nums", Object::newArray());
                  }},
        BreakCase{"no language", ArchivalRule::Viewer, [](QPDF& pdf, QPDFWriter&) { pdf.getRoot().removeKey("/Lang"); }},
        BreakCase{"file name shown for the title", ArchivalRule::Viewer, [](QPDF& pdf, QPDFWriter&) {
                      pdf.getRoot().getKey("/ViewerPreferences").replaceKey("/DisplayDocTitle", Object::newBool(false));
                  }}));

// --- the language ----------------------------------------------------------------------------

struct LanguageCase {
    const char* language; // the option
    const char* lcAll;    // the locale
    const char* expected;
};
void PrintTo(const LanguageCase& c, std::ostream* out) { *out << c.language << " / " << c.lcAll; }

class DocumentLanguageOf : public testing::TestWithParam<LanguageCase> {};

TEST_P(DocumentLanguageOf, TheOptionElseTheLocale)
{
    const char* saved = std::getenv("LC_ALL");
    const std::string restore = saved ? saved : "";
    setenv("LC_ALL", GetParam().lcAll, 1);
    ConversionOptions options;
    options.Language = GetParam().language;
    const std::string language = DocumentLanguage(options);
    saved ? setenv("LC_ALL", restore.c_str(), 1) : unsetenv("LC_ALL");
    EXPECT_EQ(language, GetParam().expected);
    EXPECT_TRUE(IsLanguageTag(language));
}

INSTANTIATE_TEST_SUITE_P(Cases, DocumentLanguageOf,
                         testing::Values(LanguageCase{"fr-CA", "de_DE.UTF-8", "fr-CA"},
                                         LanguageCase{"", "de_DE.UTF-8", "de-DE"},
                                         LanguageCase{"", "pt_BR@latin", "pt-BR"},
                                         LanguageCase{"", "C.UTF-8", "en-US"},
                                         LanguageCase{"", "POSIX", "en-US"}));

struct TagCase {
    const char* tag;
    bool valid;
};
class LanguageTags : public testing::TestWithParam<TagCase> {};

TEST_P(LanguageTags, AreLettersAndDigitsInHyphenatedSubtags)
{
    EXPECT_EQ(IsLanguageTag(GetParam().tag), GetParam().valid) << GetParam().tag;
}

INSTANTIATE_TEST_SUITE_P(Cases, LanguageTags,
                         testing::Values(TagCase{"en", true}, TagCase{"zh-Hant-TW", true}, TagCase{"es-419", true},
                                         TagCase{"", false}, TagCase{"e", false}, TagCase{"en-", false},
                                         TagCase{"en_US", false}, TagCase{"1a", false},
                                         TagCase{"en-toolongsubtag", false}));

} // namespace
