// quillary-convert run as a user runs it: exit status, messages and the PDFs it writes.
#include "support/PdfInspector.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct RunResult {
    int status = -1;
    std::string errors; // standard error
};

class QuillaryConvert : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "quillary-cli-XXXXXX").string();
        m_folder = mkdtemp(pattern.data());
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string Write(const std::string& name, const std::string& text) const
    {
        const fs::path path = m_folder / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    std::string Path(const std::string& name) const { return (m_folder / name).string(); }

    // Runs the program with a settings file of its own, so Settings.ini beside the build does
    // not matter. Arguments are quoted for the shell.
    // The standard input and output are the files of these paths.
    RunResult Run(const std::vector<std::string>& arguments, const std::string& input = "/dev/null",
                  const std::string& output = "/dev/null") const
    {
        std::string command = std::string(QUILLARY_BINARY_DIR) + "/cli/quillary-convert --settings " +
                              Quote(Write("empty.ini", "")) ;
        // Appended piece by piece: GCC 12 at -O3 takes " " + Quote(...) for overlapping copies.
        for (const std::string& argument : arguments)
            command.append(" ").append(Quote(argument));
        command += " <" + Quote(input) + " 2>&1 >" + Quote(output);
        RunResult result;
        FILE* pipe = popen(command.c_str(), "r");
        std::array<char, 4096> chunk;
        std::size_t got;
        while ((got = fread(chunk.data(), 1, chunk.size(), pipe)) > 0)
            result.errors.append(chunk.data(), got);
        const int status = pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    }

    static std::string Quote(const std::string& text)
    {
        std::string quoted = "'";
        for (char c : text)
            quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return quoted + "'";
    }

    static std::string Bytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path m_folder;
};

TEST_F(QuillaryConvert, OptionsReachThePdf)
{
    const std::string input = Write("report.txt", "first line\nsecond line\n");
    const RunResult run = Run({"--set", "PageSize=0", "--set", "font size=12", "--set", "Title=Report",
                               "--set", "OpenMode=3", "--owner-password", "boss", "--user-password", "reader", input});
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.errors, "1 converted, 0 failed\n");
    const PdfFacts pdf = InspectPdf(Path("report.pdf"), "reader");
    ASSERT_EQ(pdf.pages.size(), 1u);
    EXPECT_EQ(pdf.pages[0].width, 612);
    EXPECT_DOUBLE_EQ(pdf.pages[0].lines.at(0).y, 727);
    EXPECT_DOUBLE_EQ(pdf.pages[0].lines.at(1).y, 710);
    EXPECT_EQ(pdf.info.at("/Title"), "Report");
    EXPECT_EQ(pdf.pageMode, "/FullScreen");
    EXPECT_TRUE(pdf.encrypted);
    EXPECT_TRUE(InspectPdf(Path("report.pdf"), "boss").ownerPasswordMatched);
}

TEST_F(QuillaryConvert, FontFilesComeFromTheirOptions)
{
    const std::string input = Write("t.txt", "true type\n");
    const RunResult run = Run({"--set", "PageFont=2", "--truetype", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", input});
    EXPECT_EQ(run.status, 0) << run.errors;
    const PdfFacts pdf = InspectPdf(Path("t.pdf"));
    ASSERT_EQ(pdf.fonts.size(), 1u);
    EXPECT_NE(pdf.fonts[0].baseFont.find("DejaVuSans"), std::string::npos);
}

TEST_F(QuillaryConvert, AFontFileThatIsNotUsedIsWarnedOf)
{
    const std::string input = Write("t.txt", "x\n");
    const RunResult run = Run({"--truetype", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", input});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.errors.rfind("quillary-convert: warning: --truetype is not used, because PageFont is 0", 0), 0u)
        << run.errors;
    EXPECT_EQ(Run({"-q", "--truetype", "x.ttf", input}).errors, "");
}

TEST_F(QuillaryConvert, Utf8ReadsTheTextWithTheSystemsMonospacedFont)
{
    const std::string input = Write("u.txt", "Gr\xC3\xBC\xC3\x9F" "e \xD0\x96\xD0\xB8\xD0\xB7\xD0\xBD\xD1\x8C\n");
    const RunResult run = Run({"--utf8", input});
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.errors, "1 converted, 0 failed\n");
    EXPECT_EQ(ExtractPdfText(Path("u.pdf")), "Grüße Жизнь\n\n\f");
    const PdfFacts pdf = InspectPdf(Path("u.pdf"));
    ASSERT_EQ(pdf.fonts.size(), 1u);
    EXPECT_EQ(pdf.fonts[0].encoding, "/Identity-H");
}

TEST_F(QuillaryConvert, AUtf8FileReadWithAnotherEncodingIsWarnedOfOnceWithTheSettingThatReadsIt)
{
    const std::string input = Write("u.txt", "caf\xC3\xA9\nna\xC3\xAFve\n");
    const std::string ascii = Write("a.txt", "plain\n");
    const RunResult run = Run({"--set", "SingeEncode=2", input, ascii});
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.errors, "warning: " + input + ": The text looks like UTF-8, which the encoding WinAnsiEncoding "
                          "reads wrongly. To read it right, choose Single-byte Encoding \"Auto\", which reads each "
                          "file as what it is (Settings.ini: SingeEncode=29; command line: --set SingeEncode=29).\n"
                          "2 converted, 0 failed\n");
}

TEST_F(QuillaryConvert, OutputFolderIsCreated)
{
    const std::string input = Write("in/a.txt", "x\n");
    EXPECT_EQ(Run({"-o", Path("out/deeper"), input}).status, 0);
    EXPECT_TRUE(fs::exists(Path("out/deeper/a.pdf")));
    EXPECT_FALSE(fs::exists(Path("in/a.pdf")));
}

TEST_F(QuillaryConvert, FailuresAreNamedAndSetTheExitStatus)
{
    const std::string good = Write("good.txt", "fine\n");
    const std::string missing = Path("missing.txt");
    const RunResult run = Run({good, missing});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("error: " + missing + ": Cannot read"), std::string::npos) << run.errors;
    EXPECT_TRUE(run.errors.ends_with("1 converted, 1 failed\n")) << run.errors;
    EXPECT_TRUE(fs::exists(Path("good.pdf")));
}

TEST_F(QuillaryConvert, OfTwoInputsForOnePdfTheFirstIsConvertedAndTheSecondReported)
{
    const std::string first = Write("a/notes.txt", "first\n");
    const std::string second = Write("b/notes.txt", "second\n");
    for (const char* jobs : {"1", "2"}) {
        const RunResult run = Run({"-j", jobs, "-o", Path("out"), first, second});
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.errors.find("error: " + second + ": Not converted, because \"" + first +
                                  "\" before it writes the same PDF \"" + Path("out/notes.pdf") + "\".\n"),
                  std::string::npos) << run.errors;
        EXPECT_TRUE(run.errors.ends_with("1 converted, 1 failed\n")) << run.errors;
        EXPECT_EQ(InspectPdf(Path("out/notes.pdf")).AllLineTexts(), std::vector<std::string>{"first"});
    }
}

TEST_F(QuillaryConvert, WarningsArePrintedAndTheConversionGoesOn)
{
    const std::string input = Write("w.txt", "x\n");
    const RunResult run = Run({"--set", "Font Size=0", "--set", "PageFont=9", input});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.errors, "warning: " + input + ": Can not find right font, use default font.\n"
                          "warning: " + input + ": Font size can not be 0. Set default 9.\n"
                          "1 converted, 0 failed\n");
    EXPECT_EQ(InspectPdf(Path("w.pdf")).fonts.at(0).baseFont, "/Helvetica");
}

TEST_F(QuillaryConvert, QuietPrintsOnlyFailures)
{
    const std::string good = Write("good.txt", "fine\n");
    EXPECT_EQ(Run({"-q", "--set", "Font Size=0", good}).errors, "");
    const RunResult failing = Run({"-q", Path("none.txt")});
    EXPECT_EQ(failing.status, 1);
    EXPECT_EQ(failing.errors.rfind("error: ", 0), 0u);
    EXPECT_EQ(failing.errors.find("failed\n"), std::string::npos);
}

TEST_F(QuillaryConvert, HelpNamesItsShortFormAndSaysThatPdfsAreReplaced)
{
    ASSERT_EQ(Run({"-h"}, "/dev/null", Path("help.txt")).status, 0);
    const std::string help = Bytes(Path("help.txt"));
    EXPECT_NE(help.find("  -h, --help "), std::string::npos) << help;
    EXPECT_NE(help.find("An existing PDF of that name is replaced."), std::string::npos) << help;
    ASSERT_EQ(Run({"--help-settings"}, "/dev/null", Path("settings.txt")).status, 0);
    EXPECT_EQ(Bytes(Path("settings.txt")).rfind("Settings.ini keys by section", 0), 0u);
}

TEST_F(QuillaryConvert, UsageErrorsExitWithTwo)
{
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{
             {}, {"--nope", "a"}, {"--set", "Nope=1", "a"}, {"-j", "x", "a"}, {"--settings", "/", "a"}}) {
        const RunResult run = Run(arguments);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(arguments);
        EXPECT_EQ(run.errors.rfind("quillary-convert: ", 0), 0u) << run.errors;
    }
}

TEST_F(QuillaryConvert, OptionsThatFailEveryFileEndTheCallWithOneMessageAndTouchNothing)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--set", "Font Size=301"}, "The font size 301 is outside 1 to 300 points."},
        {{"--owner-password", "same", "--user-password", "same"}, "The owner password and the user password are the same"},
        {{"--set", "LeftMargin=300", "--set", "RightMargin=300"}, "leave no room for text"},
        {{"--set", "PageFont=2", "--truetype", "/no/such.ttf"}, "/no/such.ttf"},
        {{"--set", "SingeEncode=28"}, "The encoding UTF-8 needs a TrueType font"},
        {{"--font", "No Such Family Anywhere"}, "no installed font is called 'No Such Family Anywhere'"},
        {{"--pdfa", "--owner-password", "o"}, "PDF/A forbids encryption, and passwords are given"},
        {{"--pdfa", "--set", "EncryptLevel=256"}, "the Encrypt Level is set to 256 bits"},
        {{"--pdfa", "--lang", "en_US"}, "\"en_US\" is not a language tag"},
    };
    const std::string first = Write("a.txt", "a\n");
    const std::string second = Write("b.txt", "b\n");
    for (const auto& [options, reason] : cases) {
        Write("a.pdf", "old a");
        Write("b.pdf", "old b");
        std::vector<std::string> arguments = options;
        arguments.insert(arguments.end(), {first, second});
        const RunResult run = Run(arguments);
        EXPECT_EQ(run.status, 2) << reason;
        EXPECT_EQ(run.errors.rfind("quillary-convert: ", 0), 0u) << run.errors;
        EXPECT_NE(run.errors.find(reason), std::string::npos) << run.errors;
        EXPECT_EQ(run.errors.find(first), std::string::npos) << run.errors;
        EXPECT_EQ(Bytes(Path("a.pdf")) + Bytes(Path("b.pdf")), "old aold b") << reason;
    }
}

TEST_F(QuillaryConvert, ANameWithALineEndCannotForgeALineOfTheReport)
{
    const RunResult failed = Run({Path("missing\n0 failed")});
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.errors.find("error: '" + Path("missing") + "'$'\\n''0 failed': "), std::string::npos)
        << failed.errors;
    EXPECT_EQ(failed.errors.find("\n0 failed"), std::string::npos) << failed.errors;
}

TEST_F(QuillaryConvert, DashReadsTheStandardInputAndWritesThePdfToTheStandardOutput)
{
    const std::string text = Write("notes.txt", "from a pipe\nsecond line\n");
    const RunResult run = Run({"-"}, text, Path("notes.pdf"));
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(InspectPdf(Path("notes.pdf")).AllLineTexts(), (std::vector<std::string>{"from a pipe", "second line"}));

    // A chosen encoding reads in text mode, which ends the text at the zero byte.
    const RunResult binary = Run({"--set", "SingeEncode=2", "-"}, Write("binary", std::string("head\0tail", 9)),
                                 Path("binary.pdf"));
    EXPECT_EQ(binary.errors, "warning: -: The text ends at the zero byte at offset 4; the remaining 5 bytes were not "
                             "converted.\n1 converted, 0 failed\n");

    const RunResult full = Run({"-"}, text, "/dev/full");
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.errors.find("error: -: Cannot write the PDF: No space left on device.\n"), std::string::npos)
        << full.errors;
}

TEST_F(QuillaryConvert, APasswordComesFromTheStandardInput)
{
    const std::string input = Write("secret.txt", "x\n");
    const RunResult run = Run({"--owner-password-file", "-", input}, Write("password", "boss\n"));
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(InspectPdf(Path("secret.pdf"), "boss").ownerPasswordMatched);
}

TEST_F(QuillaryConvert, DashRefusesATerminalAsTheStandardOutput)
{
    const int terminal = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    ASSERT_EQ(grantpt(terminal), 0);
    ASSERT_EQ(unlockpt(terminal), 0);
    const RunResult run = Run({"-"}, Write("notes.txt", "x\n"), ptsname(terminal));
    close(terminal);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("which is a terminal"), std::string::npos) << run.errors;
}

TEST_F(QuillaryConvert, ParallelJobsWriteTheSameBytes)
{
    std::vector<std::string> inputs;
    for (int i = 0; i < 12; ++i) {
        std::string text;
        for (int line = 0; line < 40 * (i + 1); ++line)
            // Appended piece by piece, here and for the name: GCC 12 at -O3 takes
            // "File " + std::to_string(i) for overlapping copies.
            text.append("File ").append(std::to_string(i)).append(" line ").append(std::to_string(line))
                .append(" with some words to wrap around\n");
        inputs.push_back(Write(std::string("f").append(std::to_string(i)).append(".txt"), text));
    }
    std::vector<std::string> arguments = {"-o", Path("one")};
    arguments.insert(arguments.end(), inputs.begin(), inputs.end());
    ASSERT_EQ(Run(arguments).status, 0);
    arguments[1] = Path("two");
    arguments.insert(arguments.begin(), {"-j", "2"});
    ASSERT_EQ(Run(arguments).status, 0);
    for (int i = 0; i < 12; ++i) {
        const std::string name = "f" + std::to_string(i) + ".pdf";
        const std::string one = Bytes(Path("one/" + name));
        EXPECT_FALSE(one.empty());
        EXPECT_EQ(one, Bytes(Path("two/" + name))) << name;
    }
}

struct CombineCase {
    const char* what;
    std::vector<std::string> arguments; // names without a '-' are files of the test's folder
    const char* pdf;                    // the file to read the combined PDF from; empty: none
    int status;
    std::vector<std::string> titles;
    const char* errorsPart;
};
void PrintTo(const CombineCase& c, std::ostream* out) { *out << c.what; }

class QuillaryConvertCombine : public QuillaryConvert, public testing::WithParamInterface<CombineCase> {};

TEST_P(QuillaryConvertCombine, WritesOnePdfWithABookmarkPerFileThatWentIn)
{
    const CombineCase& c = GetParam();
    Write("a.txt", "first file\n");
    Write("b.txt", "second file\n");
    std::vector<std::string> arguments;
    for (const std::string& argument : c.arguments)
        arguments.push_back(argument[0] == '-' ? argument : Path(argument));
    const RunResult run = Run(arguments, "/dev/null", Path("stdout.pdf"));
    EXPECT_EQ(run.status, c.status) << run.errors;
    EXPECT_NE(run.errors.find(c.errorsPart), std::string::npos) << run.errors;
    EXPECT_EQ(Bytes(Path("a.txt")), "first file\n");
    EXPECT_EQ(Bytes(Path("b.txt")), "second file\n");
    if (std::string(c.pdf).empty()) {
        EXPECT_FALSE(fs::exists(Path("all.pdf")));
        return;
    }
    std::vector<std::string> titles;
    for (const PdfOutlineEntry& entry : InspectPdf(Path(c.pdf)).outline)
        titles.push_back(entry.title);
    EXPECT_EQ(titles, c.titles);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QuillaryConvertCombine,
    testing::Values(
        CombineCase{"every file went in", {"--combine", "all.pdf", "a.txt", "b.txt"}, "all.pdf", 0, {"a.txt", "b.txt"},
                    "2 converted, 0 failed\n"},
        CombineCase{"a name without an extension is a PDF", {"--combine", "all", "b.txt"}, "all.pdf", 0, {"b.txt"},
                    "1 converted, 0 failed\n"},
        CombineCase{"a missing file is left out and listed at the end",
                    {"--combine", "all.pdf", "a.txt", "gone.txt", "b.txt"}, "all.pdf", 1, {"a.txt", "b.txt"},
                    "1 of 3 files were left out of the combined PDF (see above): "},
        CombineCase{"no file went in", {"--combine", "all.pdf", "gone.txt"}, "", 1, {}, "No file went in"},
        CombineCase{"the standard output takes the PDF", {"--combine", "-", "b.txt", "a.txt"}, "stdout.pdf", 0,
                    {"b.txt", "a.txt"}, "2 converted, 0 failed\n"},
        CombineCase{"the standard input is no file to combine", {"--combine", "all.pdf", "-"}, "", 2, {},
                    "'-' (the standard input) cannot be one of them"},
        CombineCase{"an input named again as the output", {"--combine", "a.txt", "a.txt", "a.txt", "b.txt"}, "", 1,
                    {}, "every input was kept.\n0 converted, 0 failed\n"},
        CombineCase{"an output that is not a PDF", {"--combine", "b.txt", "a.txt"}, "", 1, {}, "is not a PDF"},
        CombineCase{"a combined PDF that cannot be written", {"--combine", "nodir/all.pdf", "a.txt"}, "", 1, {},
                    "0 converted, 1 failed\n"},
        CombineCase{"-o beside the combined PDF", {"--combine", "all.pdf", "-o", "out", "a.txt"}, "", 2, {},
                    "-o (--output-dir) does not go with --combine"}));

struct ArchivalCombineCase {
    const char* what;
    const char* output; // --combine's argument
    const char* pdf;    // the file to read the combined PDF from
    const char* title;  // the title it shows
};
void PrintTo(const ArchivalCombineCase& c, std::ostream* out) { *out << c.what; }

class QuillaryConvertArchivalCombine : public QuillaryConvert,
                                       public testing::WithParamInterface<ArchivalCombineCase> {};

TEST_P(QuillaryConvertArchivalCombine, TitledAndNumberedThroughTheDocument)
{
    const ArchivalCombineCase& c = GetParam();
    const std::string a = Write("a.txt", "first file\n");
    const std::string b = Write("b.txt", "second file\n");
    const std::string output = std::string(c.output) == "-" ? "-" : Path(c.output);
    const RunResult run = Run({"--pdfa", "--lang", "en-US", "--set", "CombinedNumbering=1", "--header",
                               "|Page %p of %P|", "--combine", output, b, a},
                              "/dev/null", Path("stdout.pdf"));
    ASSERT_EQ(run.status, 0) << run.errors;
    const std::string pdf = Path(c.pdf);
    EXPECT_EQ(InspectPdf(pdf).infoText["/Title"], c.title);
    const std::vector<std::string> pages = ExtractPdfPageTexts(pdf);
    ASSERT_EQ(pages.size(), 2u);
    for (std::size_t page = 0; page < pages.size(); ++page)
        EXPECT_NE(pages[page].find("Page " + std::to_string(page + 1) + " of 2"), std::string::npos) << pages[page];
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QuillaryConvertArchivalCombine,
    testing::Values(ArchivalCombineCase{"a file takes its own name", "joined.pdf", "joined.pdf", "joined.pdf"},
                    ArchivalCombineCase{"the standard output takes the first file's", "-", "stdout.pdf", "b.txt"}));

} // namespace
