// The gate a run passes before it touches any file.
#include "ConversionTestSupport.h"

#include "conversion/CheckOptions.h"
#include "support/PdfInspector.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using GateCase = RefusalCase;

class CheckOptionsGate : public testing::TestWithParam<GateCase> {};

TEST_P(CheckOptionsGate, NamesTheReasonTheOptionsFailEveryFile)
{
    const GateCase& c = GetParam();
    const std::optional<std::string> problem = CheckOptions(c.options, c.owner, c.user);
    if (!c.reasonPart) {
        EXPECT_EQ(problem, std::nullopt);
        return;
    }
    ASSERT_TRUE(problem.has_value());
    EXPECT_NE(problem->find(c.reasonPart), std::string::npos) << *problem;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckOptionsGate,
    testing::Values(
        GateCase{"defaults", {}, "", "", nullptr},
        GateCase{"a font kind outside the list falls back to Helvetica", With([](auto& o) { o.PageFont = 7; }), "", "", nullptr},
        GateCase{"font size 0 means 9", With([](auto& o) { o.FontSize = 0; }), "", "", nullptr},
        GateCase{"font size 301", With([](auto& o) { o.FontSize = 301; }), "", "", "font size 301"},
        GateCase{"negative font size", With([](auto& o) { o.FontSize = -1; }), "", "", "font size -1"},
        GateCase{"page 2 points wide", With([](auto& o) { o.PageSize = kCustomPageSize, o.PageWidth = 2; }), "", "", "3 to 14400"},
        GateCase{"margins fill the page", With([](auto& o) { o.LeftMargin = 300, o.RightMargin = 295; }), "", "", "no room"},
        GateCase{"left margin at the lowest int", With([](auto& o) { o.LeftMargin = INT_MIN; }), "", "", "left margin -2147483648"},
        GateCase{"both margins at the lowest int", With([](auto& o) { o.LeftMargin = o.RightMargin = INT_MIN; }), "", "", "left margin"},
        GateCase{"bottom margin past any page", With([](auto& o) { o.BottomMargin = 14401; }), "", "", "bottom margin 14401"},
        GateCase{"negative margins within a page's size", With([](auto& o) { o.LeftMargin = o.TopMargin = -14400; }), "", "", nullptr},
        GateCase{"equal passwords", {}, "same", "same", "are the same"},
        GateCase{"the smallest page, without margins",
                 With([](auto& o) { o.PageSize = kCustomPageSize, o.PageWidth = o.PageHeight = 3, o.LeftMargin = o.RightMargin = o.TopMargin = o.BottomMargin = 0; }),
                 "", "", nullptr},
        GateCase{"a page 3 points wide and 2 high", With([](auto& o) { o.PageSize = kCustomPageSize, o.PageWidth = 3, o.PageHeight = 2, o.LeftMargin = o.RightMargin = 0; }),
                 "", "", "3 x 2 points"},
        GateCase{"a title as long as the library takes", With([](auto& o) { o.Title.assign(65535, 't'); }), "", "", nullptr},
        GateCase{"a title a byte longer", With([](auto& o) { o.Title.assign(65536, 't'); }), "", "", "Title is 65536 bytes"},
        GateCase{"keywords too long", With([](auto& o) { o.Keywords.assign(70000, 'k'); }), "", "", "Keywords is 70000 bytes"},
        GateCase{"a user password alone", {}, "", "user", nullptr},
        GateCase{"a missing TrueType file", With([](auto& o) { o.PageFont = TrueTypeFont, o.TrueTypeFile = "/no/such.ttf"; }), "", "", "/no/such.ttf"},
        GateCase{"a TrueType font without a file", With([](auto& o) { o.PageFont = TrueTypeFont; }), "", "",
                 "No TrueType font file is chosen"},
        GateCase{"UTF-8 with a blank TrueType file",
                 With([](auto& o) { o.PageFont = TrueTypeFont, o.SingeEncode = kUtf8Encoding, o.TrueTypeFile = " \t"; }), "", "",
                 "row \"TrueType Font\", or give --font or --truetype"},
        GateCase{"MingLiU with a GB encoding", CidOptions(2, 0), "", "", "MingLiU"},
        GateCase{"UTF-8 with a Base14 font", With([](auto& o) { o.SingeEncode = kUtf8Encoding; }), "", "",
                 "UTF-8 needs a TrueType font, and a Base14 Font has no UTF-8"},
        GateCase{"UTF-8 with a Type 1 font",
                 With([](auto& o) { o.PageFont = Type1Font, o.SingeEncode = kUtf8Encoding, o.Type1MetricsFile = UrwType1Metrics(); }),
                 "", "", "a Type1 Font has no UTF-8"},
        GateCase{"UTF-8 with a TrueType font",
                 With([](auto& o) { o.PageFont = TrueTypeFont, o.SingeEncode = kUtf8Encoding, o.TrueTypeFile = DejaVuSansPath(); }),
                 "", "", nullptr},
        GateCase{"a CID font reads its own encoding whatever the single-byte one",
                 [] { auto o = CidOptions(0, 0); o.SingeEncode = kUtf8Encoding; return o; }(), "", "", nullptr},
        GateCase{"PDF/A", With([](auto& o) { o.Archive = kArchivePdfA; }), "", "", nullptr},
        GateCase{"PDF/A with passwords", With([](auto& o) { o.Archive = kArchivePdfA; }), "owner", "user",
                 "PDF/A forbids encryption, and passwords are given"},
        GateCase{"PDF/A with a user password alone", With([](auto& o) { o.Archive = kArchivePdfA; }), "", "user",
                 "passwords are given"},
        GateCase{"PDF/A with a key length", With([](auto& o) { o.Archive = kArchivePdfA, o.EncryptLevel = 128; }), "",
                 "", "Encrypt Level is set to 128"},
        GateCase{"PDF/A with a CID font", With([](auto& o) { o.Archive = kArchivePdfA, o.PageFont = CidFont; }), "", "",
                 "CID fonts"},
        GateCase{"PDF/A with a Type 1 font without its program", With([](auto& o) {
                     o.Archive = kArchivePdfA, o.PageFont = Type1Font, o.Type1MetricsFile = UrwType1Metrics();
                 }), "", "", "no data file"},
        GateCase{"PDF/A embeds a TrueType font chosen not to be", With([](auto& o) {
                     o.Archive = kArchivePdfA, o.PageFont = TrueTypeFont, o.EmbeddingFont = kNo;
                     o.TrueTypeFile = DejaVuSansPath();
                 }), "", "", nullptr},
        GateCase{"PDF/A with a language that is no tag", With([](auto& o) { o.Archive = kArchivePdfA, o.Language = "en_US"; }),
                 "", "", "\"en_US\""}));

TEST(CheckOptionsGate, TheSmallestPageItAcceptsIsWritten)
{
    ConversionOptions options;
    options.PageSize = kCustomPageSize;
    options.PageWidth = options.PageHeight = 3;
    options.LeftMargin = options.RightMargin = options.TopMargin = options.BottomMargin = 0;
    options.FontSize = 1;
    ASSERT_EQ(CheckOptions(options), std::nullopt);
    ScratchFolder folder;
    const Converted converted = ConvertText(folder, options, "ab\ncd\n");
    ASSERT_TRUE(converted.result.written) << converted.result.reason;
    const PdfFacts pdf = InspectPdf(converted.pdfPath);
    ASSERT_FALSE(pdf.pages.empty());
    EXPECT_EQ(pdf.pages[0].width, 3);
    EXPECT_EQ(pdf.pages[0].height, 3);
}

// A page 100 points high with margins of 40 leaves 20 points: a header takes 14, a footer 28.
ConversionOptions SmallPage(void (*change)(ConversionOptions&))
{
    ConversionOptions options = With(change);
    options.PageSize = kCustomPageSize;
    options.PageHeight = 100;
    options.TopMargin = options.BottomMargin = 40;
    return options;
}

INSTANTIATE_TEST_SUITE_P(
    Furniture, CheckOptionsGate,
    testing::Values(
        RefusalCase{"a header that fits", SmallPage([](auto& o) { o.HeaderLeft = "%f"; }), "", "", nullptr},
        RefusalCase{"a footer too high", SmallPage([](auto& o) { o.FooterLeft = "%p"; }), "", "", "leave no room"},
        RefusalCase{"a header of a larger font", SmallPage([](auto& o) { o.HeaderLeft = "x", o.FurnitureFontSize = 16; }),
                    "", "", "(21 and 0 points high)"},
        RefusalCase{"no furniture on the small page", SmallPage([](auto&) {}), "", "", nullptr},
        RefusalCase{"a field's size as wide as its third", With([](auto& o) { o.FooterLeft = "x", o.FurnitureFontSize = 158; }),
                    "", "", nullptr},
        RefusalCase{"a field's size wider than its third", With([](auto& o) { o.FooterLeft = "x", o.FurnitureFontSize = 159; }),
                    "", "", "larger than the third of the width between the left and right margins"},
        RefusalCase{"a furniture font of 301", With([](auto& o) { o.FurnitureFontSize = 301; }), "", "", "301"},
        RefusalCase{"a line number step of 0", With([](auto& o) { o.LineNumberStep = 0; }), "", "", "step 0"}));

} // namespace
