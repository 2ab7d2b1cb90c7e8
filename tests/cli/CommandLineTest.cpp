#include "cli/BatchRun.h"
#include "cli/CommandLine.h"
#include "cli/SettingsHelp.h"
#include "conversion/SettingsFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <climits>
#include <regex>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

const std::string kNoSettings = "/nonexistent/Settings.ini";

std::string UrwMetrics()
{
    return "/usr/share/fonts/type1/urw-base35/NimbusMonoPS-Regular.afm";
}

// A folder of this test's own, so that tests running side by side never share a file.
std::string MakeFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "quillary-cli-XXXXXX").string();
    return mkdtemp(pattern.data());
}

ParsedCommandLine Parse(std::vector<std::string> arguments, const std::string& settings = kNoSettings)
{
    return ParseCommandLine(arguments, settings);
}

TEST(CommandLine, OptionsAndFilesInAnyOrder)
{
    const ParsedCommandLine parsed = Parse({"a.txt", "--set", "PageSize=37", "--set=Font Size=12", "-j2", "-o",
                                            "out", "--owner-password", "own", "--user-password=usr", "-q",
                                            "--truetype", "f.ttf", "--", "-b.txt"});
    ASSERT_EQ(parsed.error, "");
    const CommandLine& c = parsed.commandLine;
    EXPECT_EQ(c.files, (std::vector<std::string>{"a.txt", "-b.txt"}));
    EXPECT_EQ(c.options.PageSize, 37);
    EXPECT_EQ(c.options.FontSize, 12);
    EXPECT_EQ(c.jobs, 2);
    EXPECT_EQ(c.outputDirectory, "out");
    EXPECT_EQ(c.ownerPassword, "own");
    EXPECT_EQ(c.userPassword, "usr");
    EXPECT_TRUE(c.quiet);
    EXPECT_EQ(c.options.TrueTypeFile, "f.ttf");
}

TEST(CommandLine, PdfaAndLangWinOverTheSettingsKeys)
{
    const ParsedCommandLine parsed = Parse({"--set", "PDFA=0", "--pdfa", "--lang", "fr-CA", "--set", "Language=de", "a.txt"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.commandLine.options.Archive, kArchivePdfA);
    EXPECT_EQ(parsed.commandLine.options.Language, "fr-CA");
    EXPECT_EQ(Parse({"--set", "Language=de", "a.txt"}).commandLine.options.Archive, kArchiveOff);
    EXPECT_NE(Parse({"--lang", "a.txt"}).error, "");
}

TEST(CommandLine, SettingsFileComesFirstAndSetOverridesIt)
{
    const std::string folder = MakeFolder();
    const std::string ini = folder + "/Settings.ini";
    std::ofstream(ini) << "[Paper Option]\nPageSize=0\nLeftMargin=10\n[PDF Property Option]\nTitle=From file\n";
    const ParsedCommandLine parsed = Parse({"--settings", ini, "--set", "leftmargin=20", "x.txt"});
    std::filesystem::remove_all(folder);
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.commandLine.options.PageSize, 0);
    EXPECT_EQ(parsed.commandLine.options.LeftMargin, 20);
    EXPECT_EQ(parsed.commandLine.options.Title, "From file");
}

TEST(CommandLine, TextsCutFromTheSettingsFileAreWarnedOfOnce)
{
    const std::string folder = MakeFolder();
    const std::string ini = folder + "/Settings.ini";
    std::ofstream(ini) << "[PDF Property Option]\nTitle=" << std::string(1100, 't') << "\nSubject="
                       << std::string(1100, 's') << "\n";
    const ParsedCommandLine parsed = Parse({"--settings", ini, "x.txt"});
    std::filesystem::remove_all(folder);
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.commandLine.options.Title, std::string(1023, 't'));
    ASSERT_EQ(parsed.warnings.size(), 1u);
    EXPECT_EQ(parsed.warnings[0].rfind("Settings.ini: longer than 1023 bytes: Title, Subject.", 0), 0u) << parsed.warnings[0];
}

TEST(CommandLine, PasswordsAreTheFirstLinesOfTheirFiles)
{
    const std::string folder = MakeFolder();
    const std::string owner = folder + "/owner", user = folder + "/user";
    std::ofstream(owner) << "boss secret\r\nsecond line\n";
    std::ofstream(user) << "reader";
    const ParsedCommandLine parsed = Parse({"--owner-password-file", owner, "--user-password-file=" + user, "a"});
    std::filesystem::remove_all(folder);
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.commandLine.ownerPassword, "boss secret");
    EXPECT_EQ(parsed.commandLine.userPassword, "reader");
}

struct PasswordFile {
    const char* name;
    std::string contents;
    std::string password; // empty: refused
    std::string error;
};

void PrintTo(const PasswordFile& c, std::ostream* out)
{
    *out << c.name;
}

class CommandLinePasswordFile : public testing::TestWithParam<PasswordFile> {};

TEST_P(CommandLinePasswordFile, GivesItsFirstLineOrIsRefused)
{
    const std::string folder = MakeFolder();
    const std::string file = folder + "/pw";
    std::ofstream(file, std::ios::binary) << GetParam().contents;
    const ParsedCommandLine parsed = Parse({"--owner-password-file", file, "a"});
    std::filesystem::remove_all(folder);
    EXPECT_EQ(parsed.commandLine.ownerPassword, GetParam().password);
    EXPECT_EQ(parsed.error, GetParam().error.empty() ? "" : "password file '" + file + "' " + GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(, CommandLinePasswordFile,
    testing::Values(PasswordFile{"Empty", "", "", "gives an empty password"},
                    PasswordFile{"OnlyALineEnd", "\r\n", "", "gives an empty password"},
                    PasswordFile{"ZeroByteInTheFirstLine", std::string("ab\0cd\n", 6), "",
                                 "holds a zero byte in its first line, which a password cannot hold"},
                    PasswordFile{"ZeroByteLater", std::string("abcd\n\0", 6), "abcd", ""},
                    PasswordFile{"At64Kilobytes", "pw\n" + std::string(65536 - 3, 'x'), "pw", ""},
                    PasswordFile{"Beyond64Kilobytes", "pw\n" + std::string(65536 - 2, 'x'), "",
                                 "is larger than 64 KB; its first line is the password"}),
    [](const testing::TestParamInfo<PasswordFile>& info) { return std::string(info.param.name); });

TEST(CommandLine, UsageErrorsSayWhatIsWrong)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "no FILE given"},
        {{"--frobnicate", "a"}, "unknown option '--frobnicate'"},
        {{"--set", "Colour=red", "a"}, "unknown settings key 'Colour'"},
        {{"--set", "SingleEncode=2", "a"}, "unknown settings key 'SingleEncode' (did you mean SingeEncode?)"},
        {{"--set", "fontsize=12", "a"}, "unknown settings key 'fontsize' (did you mean Font Size?)"},
        {{"--set", "Titel=x", "a"}, "unknown settings key 'Titel' (did you mean Title?)"},
        {{"--set", "PageSize=big", "a"}, "\"big\" is not a whole number for PageSize"},
        {{"--set", "PageSize", "a"}, "--set needs KEY=VALUE, got 'PageSize'"},
        {{"-j", "0", "a"}, "'0' is not a number of jobs (a whole number of at least 1)"},
        {{"--jobs", "two", "a"}, "'two' is not a number of jobs (a whole number of at least 1)"},
        {{"a", "-o"}, "option '-o' needs a value"},
        {{"-", "a", "-"}, "'-' (the standard input) can be given only once"},
        {{"--owner-password-file", "-", "-"}, "'-' (the standard input) can be given only once"},
        {{"--owner-password-file", "/no/pw", "a"}, "cannot read password file '/no/pw': No such file or directory"},
        {{"--quiet=yes", "a"}, "option '--quiet' takes no value"},
        {{"--font", "DejaVu Sans", "--truetype", "f.ttf", "a"},
         "the font can be given only once: use either --font or --truetype, and only one time"},
        {{"--font=a.ttf", "--font", "b.ttf", "a"}, "the font can be given only once: use either --font or --truetype, and only one time"},
        {{"--settings", "/no/such.ini", "a"}, "cannot read settings file '/no/such.ini': No such file or directory"},
        {{"--settings", "/", "a"}, "cannot read settings file '/': Is a directory"},
        // A regular file that cannot be read, even by root.
        {{"--settings", "/proc/self/mem", "a"}, "cannot read settings file '/proc/self/mem': Input/output error"},
    };
    for (const auto& [arguments, message] : cases)
        EXPECT_EQ(Parse(arguments).error, message) << testing::PrintToString(arguments);
}

// -j as given, and the jobs the call runs with; 0 stands for no -j.
class JobCount : public testing::TestWithParam<std::pair<int, int>> {};

TEST_P(JobCount, DefaultsToTheCoresAndStopsAtFourTimesThem)
{
    const int cores = std::max(1, int(std::thread::hardware_concurrency()));
    const auto [given, expectedPerCore] = GetParam();
    std::vector<std::string> arguments = {"a"};
    if (given > 0)
        arguments.push_back("-j" + std::to_string(given));
    const ParsedCommandLine parsed = Parse(arguments);
    const int expected = expectedPerCore > 0 ? expectedPerCore * cores : -expectedPerCore;
    EXPECT_EQ(parsed.commandLine.jobs, expected);
    EXPECT_EQ(parsed.warnings.size(), given > 4 * cores ? 1u : 0u) << testing::PrintToString(parsed.warnings);
}

// A positive expectation counts cores, a negative one is the number itself.
INSTANTIATE_TEST_SUITE_P(Cases, JobCount,
                         testing::Values(std::make_pair(0, 1), std::make_pair(1, -1), std::make_pair(3, -3),
                                         std::make_pair(100000, 4), std::make_pair(INT_MAX, 4)));

TEST(CommandLine, FontFilesForAKindOfFontThatIsNotChosenAreWarnedOf)
{
    EXPECT_EQ(Parse({"--truetype", "f.ttf", "--type1-data", "f.t1", "a"}).warnings,
              (std::vector<std::string>{"--type1-data is not used, because PageFont is 0, not 1 (Type1 Font)",
                                        "--truetype is not used, because PageFont is 0, not 2 (TrueType Font)"}));
    EXPECT_EQ(Parse({"--set", "PageFont=1", "--type1-metrics", UrwMetrics(), "--truetype", "f.ttf", "a"}).warnings,
              std::vector<std::string>{"--truetype is not used, because PageFont is 1, not 2 (TrueType Font)"});
}

struct FontCase {
    const char* name;
    std::vector<std::string> arguments;
    std::string fileEnding; // of the TrueType file chosen
    int index;              // within a collection
    int pageFont;
    int encoding;
};

class CommandLineFont : public testing::TestWithParam<FontCase> {};

TEST_P(CommandLineFont, AFontIsAFileOrTheNameOfAnInstalledFont)
{
    const FontCase& c = GetParam();
    std::vector<std::string> arguments = c.arguments;
    arguments.push_back("a.txt");
    const ParsedCommandLine parsed = Parse(arguments);
    ASSERT_EQ(parsed.error, "");
    const ConversionOptions& options = parsed.commandLine.options;
    EXPECT_TRUE(options.TrueTypeFile.ends_with(c.fileEnding)) << options.TrueTypeFile;
    EXPECT_EQ(options.TrueTypeFontIndex, c.index);
    EXPECT_EQ(options.PageFont, c.pageFont);
    EXPECT_EQ(options.SingeEncode, c.encoding);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineFont,
    testing::Values(
        FontCase{"FontByName", {"--font", "DejaVu Sans Mono"}, "/dejavu/DejaVuSansMono.ttf", 0, TrueTypeFont, kAutoEncoding},
        FontCase{"NamesIgnoreCaseAndBlanks", {"--font", "dejavusans mono"}, "/DejaVuSansMono.ttf", 0, TrueTypeFont, kAutoEncoding},
        FontCase{"AStyleInFontconfigSyntax", {"--font", "DejaVu Sans Mono:bold"}, "/DejaVuSansMono-Bold.ttf", 0,
                 TrueTypeFont, kAutoEncoding},
        FontCase{"TheSecondFontOfACollection", {"--font", "WenQuanYi Micro Hei Mono"}, "/wqy-microhei.ttc", 1,
                 TrueTypeFont, kAutoEncoding},
        FontCase{"FontconfigsGenericMonospace", {"--font", "monospace"}, "/DejaVuSansMono.ttf", 0, TrueTypeFont, kAutoEncoding},
        FontCase{"FontconfigsGenericSansSerif", {"--font", "Sans-Serif"}, "/DejaVuSans.ttf", 0, TrueTypeFont, kAutoEncoding},
        FontCase{"TrueTypeTakesANameButLeavesTheKind", {"--truetype", "DejaVu Sans"}, "/DejaVuSans.ttf", 0, Base14Font, kAutoEncoding},
        FontCase{"APathStaysAsGiven", {"--truetype", "/no/such/dir/f.ttf"}, "/no/such/dir/f.ttf", 0, Base14Font, kAutoEncoding},
        FontCase{"Utf8TakesTheMonospacedFont", {"--utf8"}, "/DejaVuSansMono.ttf", 0, TrueTypeFont, kUtf8Encoding},
        FontCase{"Utf8KeepsTheFontGiven", {"--font", "DejaVu Serif", "--utf8"}, "/DejaVuSerif.ttf", 0, TrueTypeFont,
                 kUtf8Encoding},
        FontCase{"Utf8WinsOverTheSettings", {"--set", "PageFont=0", "--set", "SingeEncode=2", "--utf8"},
                 "/DejaVuSansMono.ttf", 0, TrueTypeFont, kUtf8Encoding}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLine, AFontNameThatNoInstalledFontHasIsAUsageError)
{
    EXPECT_EQ(Parse({"--font", "Quillary Imaginary Sans", "a"}).error,
              "no installed font is called 'Quillary Imaginary Sans' (fc-list lists the installed fonts)");
    EXPECT_EQ(Parse({"--truetype", ":bold", "a"}).error, "':bold' names no font family");
    // Installed as Type 1 and CFF files only (fonts-urw-base35).
    EXPECT_EQ(Parse({"--font", "Nimbus Mono PS", "a"}).error, "the installed font 'Nimbus Mono PS' is not a TrueType font");
}

TEST(CommandLine, HelpAndVersionNeedNoFile)
{
    EXPECT_TRUE(Parse({"--help"}).commandLine.showHelp);
    EXPECT_TRUE(Parse({"--version"}).commandLine.showVersion);
    EXPECT_EQ(Parse({"--version"}).error, "");
}

TEST(SettingsHelp, ListsEveryKeyUnderItsSectionWithItsDefault)
{
    const std::string help = SettingsHelp();
    const ConversionOptions defaults;
    for (const SettingsKey& key : SettingsKeys()) {
        const std::size_t section = help.find("\n[" + std::string(key.section) + "]\n");
        const std::string line = "\n  " + std::string(key.key) + "=" +
                                 (key.number ? std::to_string(defaults.*key.number) : "") + "\n";
        ASSERT_NE(section, std::string::npos) << key.section;
        const std::size_t at = help.find(line, section);
        EXPECT_NE(at, std::string::npos) << line;
        EXPECT_LT(at, help.find("\n[", section + 1)) << key.key << " is not in its section";
        const std::size_t meaning = at + line.size();
        EXPECT_TRUE(help.compare(meaning, 6, "      ") == 0 && help[meaning + 6] != ' ') << key.key << " has no meaning";
    }
    for (const char* value : {"7 A4 [210 x 297 mm], 595 x 842", "37 Custom Page Size, PageWidth x PageHeight",
                              "3 CID Font", "13 ZapfDingbats", "10 DotumChe(Korean Fonts)", "27 KOI8-R", "28 UTF-8",
                              "15 KSCms-UHC-HW-V", "3 Full screen", "1 No",
                              "256 or more AES-256 (revision 6; readers from PDF 1.7 extension level 8 or PDF 2.0 on)"})
        EXPECT_NE(help.find("        " + std::string(value) + "\n"), std::string::npos) << value;
}

TEST(BatchRun, TheBarMovesWithinALargeFile)
{
    const std::string folder = MakeFolder();
    const std::string input = folder + "/large.txt";
    std::ofstream(input) << std::string(2'000'000, 'x');
    CommandLine commandLine;
    commandLine.files = {input};
    commandLine.outputDirectory = folder;
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&buffer, &size);
    {
        TerminalReport report(out, false, true, 1, 2'000'000, std::chrono::milliseconds(0));
        EXPECT_EQ(RunBatch(commandLine, report), 0);
    }
    std::fclose(out);
    const std::string shown(buffer, size);
    std::free(buffer);
    std::filesystem::remove_all(folder);
    EXPECT_TRUE(std::regex_search(shown, std::regex(R"(\] 0/1 files  (0\.[1-9]|1\.[0-9]) MB of 2\.0 MB)"))) << shown;
}

// The conversion runs in a child process as a user who may start no thread of its own.
TEST(RunBatch, ConvertsEveryFileWhenTheSystemStartsNoThread)
{
    const std::string folder = MakeFolder();
    chmod(folder.c_str(), 0777); // the user the child becomes writes the PDFs here
    CommandLine commandLine;
    commandLine.jobs = 8;
    for (int i = 0; i < 12; ++i) {
        commandLine.files.push_back(folder + "/" + std::to_string(i) + ".txt");
        std::ofstream(commandLine.files.back()) << i << "\n";
    }
    const pid_t child = fork();
    if (child == 0) {
        const rlimit oneProcess{1, 1};
        if ((getuid() == 0 && setuid(65534) != 0) || setrlimit(RLIMIT_NPROC, &oneProcess) != 0)
            _exit(3);
        std::FILE* out = std::fopen("/dev/null", "w");
        TerminalReport report(out, true, false, commandLine.files.size(), 0);
        _exit(RunBatch(commandLine, report));
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status)) << status; // not ended by an exception
    EXPECT_EQ(WEXITSTATUS(status), 0);
    std::size_t pdfs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        pdfs += entry.path().extension() == ".pdf";
    std::filesystem::remove_all(folder);
    EXPECT_EQ(pdfs, commandLine.files.size());
}

TEST(BatchOutputPath, NextToTheInputOrInTheOutputFolder)
{
    EXPECT_EQ(BatchOutputPath("/in/notes.v2.txt", ""), "/in/notes.v2.pdf");
    EXPECT_EQ(BatchOutputPath("/in/notes.v2.txt", "/out"), "/out/notes.v2.pdf");
    EXPECT_EQ(BatchOutputPath("README", "out/"), "out/README.pdf");
}

} // namespace
