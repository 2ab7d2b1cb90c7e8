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
    EXPECT_EQ(SingleByteEncodings.size(), 28u);
    EXPECT_EQ(SingleByteEncodings[13], "ISO8859-11");
    EXPECT_EQ(SingleByteEncodings[14], "ISO8859-13");
    EXPECT_EQ(MultiByteEncodings.size(), 16u);
    EXPECT_EQ(MultiByteEncodings[11], "KSC-EUC-H");
    EXPECT_EQ(CidFontLabels[3], "MS-Mincyo(Japanese Fonts)");
}

TEST(Defaults, ResetRestoresEveryFieldAndEmbeddingDefaultsToYes)
{
    ConversionOptions options;
    options.PageSize = 37;
    options.FontSize = 0;
    options.TrueTypeFile = "/x.ttf";
    options.Title = "t";
    options.EncryptLevel = 5;
    options.EmbeddingFont = kNo;
    ResetOptionsToDefaults(options);
    EXPECT_EQ(options, ConversionOptions{});
    EXPECT_EQ(options.PageSize, 7);
    EXPECT_EQ(options.EncryptLevel, 48);
    EXPECT_EQ(options.FontSize, 9);
    EXPECT_EQ(options.EmbeddingFont, kYes);
    EXPECT_TRUE(options.TrueTypeFile.empty() && options.Type1DataFile.empty() && options.Type1MetricsFile.empty());
}

} // namespace
