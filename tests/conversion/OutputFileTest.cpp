// What becomes of the output file and the old PDF when the input or the disk fails.
#include "ConversionTestSupport.h"
#include "support/PdfInspector.h"
#include "support/SmallDisk.h"

#include "conversion/FileConverter.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Text that compresses badly, so that its PDF is larger than a nearly full small disk.
std::string RandomLines(std::size_t bytes)
{
    std::mt19937 random(7);
    std::string text;
    while (text.size() < bytes)
        text += (random() % 12 == 0) ? '\n' : char('!' + random() % 90);
    return text;
}

TEST(OutputFile, AFullDiskFailsWithTheSystemReasonAndLeavesNoFileBehind)
{
    SmallDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << disk.WhyNotMounted();
    ScratchFolder folder;
    const std::string input = folder.Write("big.txt", RandomLines(40000));
    ASSERT_TRUE(disk.LeaveFree(8192));
    RecordingObserver observer;
    const ConversionResult result = ConvertFile(ConversionOptions{}, input, "", "", disk.File("big.pdf"), observer);
    EXPECT_FALSE(result.written);
    EXPECT_NE(result.reason.find("No space left on device."), std::string::npos) << result.reason;
    EXPECT_EQ(FilesIn(disk.File("")), std::vector<std::string>{".filler"});
}

} // namespace
