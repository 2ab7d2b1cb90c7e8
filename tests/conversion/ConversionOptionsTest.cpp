#include "conversion/ConversionOptions.h"

#include <gtest/gtest.h>

namespace {

TEST(PaperSizes, LookupGivesTheTableSizeAndLeavesOtherPositionsAlone)
{
    const std::tuple<int, int, int> known[] = {{7, 595, 842}, {3, 1008, 612}, {0, 612, 792},
                                               {13, 1685, 2384}, {14, 1190, 1684}, {31, 499, 354}, {36, 2592, 3456}};
    for (const auto& [index, width, height] : known) {
        int w = -1, h = -1;
        LookupPaperSize(index, w, h);
        EXPECT_EQ(std::make_pair(w, h), std::make_pair(width, height)) << index;
    }
    for (int index : {37, 38, -1, 1000}) {
        int w = 300, h = 400;
        LookupPaperSize(index, w, h);
        EXPECT_EQ(std::make_pair(w, h), std::make_pair(300, 400)) << index;
    }
    EXPECT_EQ(PaperSizeLabel(37), "Custom Page Size");
    EXPECT_EQ(PaperSizeLabel(29), "Envelope B4 [250 x 353 mm]");
}

TEST(ChoiceLists, HaveTheirLengthsAndNoIso885912)
{
    EXPECT_EQ(SingleByteEncodings.size(), 30u);
    EXPECT_EQ(SingleByteEncodings[kAutoEncoding], "Auto");
    EXPECT_EQ(SingleByteEncodings[27], "KOI8-R");
    EXPECT_EQ(SingleByteEncodings[kUtf8Encoding], "UTF-8");
    EXPECT_EQ(SingleByteEncodings[13], "ISO8859-11");
    EXPECT_EQ(SingleByteEncodings[14], "ISO8859-13");
    EXPECT_EQ(MultiByteEncodings.size(), 16u);
    EXPECT_EQ(MultiByteEncodings[11], "KSC-EUC-H");
    EXPECT_EQ(CidFontLabels[3], "MS-Mincyo(Japanese Fonts)");
}

// Every field's default written out, so that a wrong default in the record itself shows.
ConversionOptions WrittenOutDefaults()
{
    ConversionOptions o;
    o.PageSize = 7, o.PageWidth = 595, o.PageHeight = 842, o.LeftMargin = 60, o.RightMargin = 60;
    o.TopMargin = 60, o.BottomMargin = 60, o.PageFont = 0, o.B14Font = 0, o.Type1MetricsFile = "";
    o.Type1DataFile = "", o.TrueTypeFile = "", o.EmbeddingFont = kYes, o.CIDFont = 0, o.SingeEncode = 29;
    o.MultiEncode = 0, o.FontSize = 9, o.OpenMode = 0, o.OpenResult = 0, o.Author = "", o.Creator = "";
    o.Title = "", o.Subject = "", o.Keywords = "", o.PermitRead = 0, o.PermitPrint = 0, o.PermitCopy = 0;
    o.PermitModify = 0, o.EncryptLevel = 48, o.TabSize = 8, o.FormFeed = 1;
    return o;
}

TEST(Defaults, TheRecordStartsWithTheDefaultsAndResetRestoresEveryField)
{
    EXPECT_EQ(ConversionOptions{}, WrittenOutDefaults());
    ConversionOptions o;
    o.PageSize = 37, o.PageWidth = 1, o.PageHeight = 2, o.LeftMargin = 3, o.RightMargin = 4;
    o.TopMargin = 5, o.BottomMargin = 6, o.PageFont = 3, o.B14Font = 8, o.Type1MetricsFile = "/m.afm";
    o.Type1DataFile = "/d.pfb", o.TrueTypeFile = "/x.ttf", o.EmbeddingFont = kNo, o.CIDFont = 9, o.SingeEncode = 10;
    o.MultiEncode = 11, o.FontSize = 0, o.OpenMode = 3, o.OpenResult = kNo, o.Author = "author";
    o.Creator = "creator", o.Title = "title", o.Subject = "subject", o.Keywords = "keywords", o.PermitRead = kNo;
    o.PermitPrint = kNo, o.PermitCopy = kNo, o.PermitModify = kNo, o.EncryptLevel = 128, o.TabSize = 0, o.FormFeed = 0;
    ResetOptionsToDefaults(o);
    EXPECT_EQ(o, WrittenOutDefaults());
}

} // namespace
