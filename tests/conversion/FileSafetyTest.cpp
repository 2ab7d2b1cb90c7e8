// What becomes of the input, the output file and the old PDF when a file or the disk fails.
#include "ConversionTestSupport.h"
#include "support/PdfInspector.h"
#include "support/SmallDisk.h"

#include "conversion/FileConverter.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <future>
#include <random>
#include <regex>
#include <sys/stat.h>
#include <unistd.h>

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

// The owner password and the key length: unencrypted, and AES-256 (encrypted on the way out).
class FullDisk : public testing::TestWithParam<std::pair<const char*, int>> {};

TEST_P(FullDisk, FailsWithTheSystemReasonAndLeavesNoFileBehind)
{
    const auto [owner, level] = GetParam();
    SmallDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << disk.WhyNotMounted();
    ScratchFolder folder;
    const std::string input = folder.Write("big.txt", RandomLines(40000));
    ASSERT_TRUE(disk.LeaveFree(8192));
    ConversionOptions options;
    options.EncryptLevel = level;
    RecordingObserver observer;
    const ConversionResult result = ConvertFile(options, input, owner, "", disk.File("big.pdf"), observer);
    EXPECT_FALSE(result.written);
    EXPECT_NE(result.reason.find("No space left on device."), std::string::npos) << result.reason;
    EXPECT_EQ(FilesIn(disk.File("")), std::vector<std::string>{".filler"});
}

INSTANTIATE_TEST_SUITE_P(OutputFile, FullDisk, testing::Values(std::pair{"", 48}, std::pair{"owner", 256}));

TEST(OutputFile, APdfWhoseNameFitsItsFolderIsWrittenHoweverLongTheName)
{
    ScratchFolder folder;
    const std::string base(static_cast<std::size_t>(pathconf(folder.Path().c_str(), _PC_NAME_MAX)) - 4, 'n');
    const std::string input = folder.Write(base + ".txt", "long name\n");
    const std::string pdf = folder.Write(base + ".pdf", "old pdf");
    RecordingObserver observer;
    const ConversionResult result = ConvertFile(ConversionOptions{}, input, "", "", pdf, observer);
    EXPECT_TRUE(result.written) << result.reason;
    EXPECT_EQ(InspectPdf(pdf).AllLineTexts(), std::vector<std::string>{"long name"});
}

TEST(InputFile, ANamedPipeFailsAtOnceWithoutWaitingForAWriter)
{
    ScratchFolder folder;
    const std::string pipe = folder.File("pipe.txt");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    auto conversion = std::async(std::launch::async, [&] {
        RecordingObserver observer;
        return ConvertFile(ConversionOptions{}, pipe, "", "", folder.File("pipe.pdf"), observer);
    });
    // A converter that opened the pipe waits for a writer: become one, so that the test ends.
    if (conversion.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
        ADD_FAILURE() << "the conversion waited for a writer of the pipe";
        close(open(pipe.c_str(), O_WRONLY));
    }
    const ConversionResult result = conversion.get();
    EXPECT_FALSE(result.written);
    EXPECT_EQ(result.reason, "Cannot read the input file: Not a regular file.");
}

TEST(InputFile, AFileLargerThanTheMemoryFailsAsTooLargeWithoutBeingRead)
{
    ScratchFolder folder;
    const std::string input = folder.File("huge.txt");
    const std::string pdf = folder.Write("huge.pdf", "old pdf");
    const off_t memory = off_t(sysconf(_SC_PHYS_PAGES)) * off_t(sysconf(_SC_PAGESIZE));
    ASSERT_EQ(truncate(folder.Write("huge.txt", "").c_str(), 2 * memory), 0); // sparse: no room taken
    auto conversion = std::async(std::launch::async, [&] {
        RecordingObserver observer;
        return ConvertFile(ConversionOptions{}, input, "", "", pdf, observer);
    });
    // A converter that reads the file would take minutes: cut the file short to end it.
    if (conversion.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        ADD_FAILURE() << "the conversion read the file";
        EXPECT_EQ(truncate(input.c_str(), 0), 0);
    }
    const ConversionResult result = conversion.get();
    EXPECT_FALSE(result.written);
    EXPECT_EQ(result.reason.rfind("Cannot read the input file: too large: ", 0), 0u) << result.reason;
    EXPECT_EQ(FileBytes(pdf), "old pdf");
}

TEST(InputFile, AnInputThatIsNotReadLeavesTheOldPdfAlone)
{
    enum Input { Missing, Folder, Pipe, Readable };
    struct Case {
        const char* what;
        Input input;
        bool pdfIsFolder;
    };
    const Case cases[] = {
        {"missing input", Missing, false},
        {"missing input, an empty folder of the PDF's name", Missing, true},
        {"a folder as input", Folder, false},
        {"a named pipe as input", Pipe, false},
        {"a readable input, an empty folder of the PDF's name", Readable, true},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        const std::string input = folder.File("report");
        if (c.input == Folder)
            std::filesystem::create_directory(input);
        if (c.input == Pipe)
            mkfifo(input.c_str(), 0600);
        if (c.input == Readable)
            folder.Write("report", "text\n");
        const std::string pdf = folder.File("report.pdf");
        if (c.pdfIsFolder)
            std::filesystem::create_directory(pdf);
        else
            folder.Write("report.pdf", "old pdf");
        RecordingObserver observer;
        EXPECT_FALSE(ConvertFile(ConversionOptions{}, input, "", "", pdf, observer).written) << c.what;
        EXPECT_EQ(std::filesystem::is_directory(pdf), c.pdfIsFolder) << c.what;
        EXPECT_TRUE(std::filesystem::exists(pdf)) << c.what;
    }
}

TEST(Reasons, AreOneSentenceEachWithTheLibrarysNumberOnlyAfterAPlainReason)
{
    ScratchFolder folder;
    const std::string input = folder.Write("in.txt", "text\n");
    ConversionOptions missingFont;
    missingFont.PageFont = TrueTypeFont;
    missingFont.TrueTypeFile = folder.File("missing.ttf");
    folder.Write("file", "");
    const std::tuple<const char*, ConversionOptions, std::string, std::string, std::string> cases[] = {
        {"missing input", {}, folder.File("none.txt"), "", folder.File("none.pdf")},
        {"equal passwords", {}, input, "same", folder.File("in.pdf")},
        {"missing font file", missingFont, input, "", folder.File("in.pdf")},
        {"font and encoding that do not go together", CidOptions(2, 0), input, "", folder.File("in.pdf")},
        {"a folder that is a file", {}, input, "", folder.File("file/in.pdf")},
    };
    const std::regex sentence(R"([A-Z][^\n]*\.)");
    const std::regex libraryNumberLast(R"(.*[a-z] \(PDF library error 0x[0-9A-F]{4}\)\.)");
    for (const auto& [what, options, path, password, pdf] : cases) {
        RecordingObserver observer;
        const std::string reason = ConvertFile(options, path, password, password, pdf, observer).reason;
        EXPECT_TRUE(std::regex_match(reason, sentence)) << what << ": " << reason;
        if (reason.find("0x") != std::string::npos) {
            EXPECT_TRUE(std::regex_match(reason, libraryNumberLast)) << what << ": " << reason;
        }
    }
}

} // namespace
