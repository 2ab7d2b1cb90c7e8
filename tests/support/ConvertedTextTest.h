#pragma once
// Cases that convert a text and look at the PDF as a reader sees it. Convert writes the text
// into a scratch folder of the test's own, converts it next to itself and reads the PDF back;
// a PDF that is not written fails the test there, with the reason.
#include "conversion/ConversionTestSupport.h"
#include "support/PdfInspector.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

template <typename Case>
class ConvertedTextTest : public testing::TestWithParam<Case> {
protected:
    // False when no PDF was written; the test has then failed. Use it as ASSERT_TRUE(Convert(...)).
    bool Convert(const ConversionOptions& options, const std::string& text)
    {
        m_converted = ConvertText(m_folder, options, text);
        if (!m_converted.result.written) {
            ADD_FAILURE() << "not written: " << m_converted.result.reason;
            return false;
        }
        m_pdf = InspectPdf(m_converted.pdfPath);
        return true;
    }

    const ConversionResult& Result() const { return m_converted.result; }
    const std::string& PdfPath() const { return m_converted.pdfPath; }
    const PdfFacts& Pdf() const { return m_pdf; }
    // What a reader extracts, without the line and page ends that close it.
    std::string Extracted() const { return ExtractPdfTextTrimmed(m_converted.pdfPath); }

    // That the result has one note, holding `part`; with `part` null, that it has none.
    void ExpectNoteWith(const char* part) const
    {
        const std::vector<std::string>& notes = m_converted.result.notes;
        if (!part) {
            EXPECT_EQ(notes, std::vector<std::string>{});
            return;
        }
        ASSERT_EQ(notes.size(), 1u) << testing::PrintToString(notes);
        EXPECT_NE(notes[0].find(part), std::string::npos) << notes[0];
    }

private:
    ScratchFolder m_folder;
    Converted m_converted;
    PdfFacts m_pdf;
};
