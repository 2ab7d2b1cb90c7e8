#include "cli/CommandLine.h"

#include "conversion/OutputPath.h"
#include "conversion/SettingsFile.h"
#include "conversion/SystemFont.h"
#include "conversion/TextFile.h"
#include "platform/SystemMessage.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <functional>
#include <map>
#include <thread>
#include <optional>
#include <tuple>
#include <unistd.h>

const char kUsage[] =
    "Usage: quillary-convert [OPTIONS] FILE...\n"
    "Converts each text FILE into a PDF with the same base name, next to it (or in -o DIR).\n"
    "An existing PDF of that name is replaced. FILE '-' reads the standard input and writes\n"
    "the PDF to the standard output.\n"
    "\n"
    "Options start from Settings.ini (the defaults when it is missing): the one next to the\n"
    "program when its folder is writable, else $XDG_CONFIG_HOME/quillary/Settings.ini\n"
    "(~/.config/quillary/Settings.ini when XDG_CONFIG_HOME is unset), as for the window.\n"
    "  --settings PATH          read the options from this INI file instead (never written)\n"
    "  --set KEY=VALUE          set one Settings.ini key, e.g. --set PageSize=37 --set \"Font Size=12\"\n"
    "                           (--help-settings lists the keys and their values)\n"
    "  --type1-metrics FILE     Type 1 font metrics file (.afm), for PageFont=1\n"
    "  --type1-data FILE        Type 1 font data file (.pfa, .pfb, .t1), for PageFont=1\n"
    "  --truetype FONT          TrueType font for PageFont=2: a file (.ttf, .ttc) or the name of\n"
    "                           an installed font, such as \"DejaVu Sans Mono\" or \"monospace\"\n"
    "  --font FONT              the same, and chooses PageFont=2 (TrueType); give only one of\n"
    "                           --font and --truetype\n"
    "  --utf8                   read the text as UTF-8: PageFont=2, SingeEncode=28 (UTF-8) and\n"
    "                           the system's monospaced font unless --font or --truetype names one\n"
    "  --owner-password P       owner password for every file (encrypts the PDFs)\n"
    "  --user-password P        user password for every file\n"
    "  --owner-password-file FILE, --user-password-file FILE\n"
    "                           the password is the first line of FILE ('-': the standard\n"
    "                           input); passwords given as P are seen by every user of the\n"
    "                           machine in the list of processes, those in files are not\n"
    "  --header \"LEFT|CENTRE|RIGHT\"  a header line of three fields, each a text with\n"
    "                           placeholders: %f the file's name, %F its path, %m its\n"
    "                           modification date and time (2026-12-07 14:05), %D today's\n"
    "                           date (2026-12-07), %p the page number, %P the page count,\n"
    "                           %% a percent sign; an empty field is left blank; a field\n"
    "                           holding '|' goes after it on its own with --set, e.g.\n"
    "                           --set \"HeaderCentre=A | B\" (FooterLeft... for the footer)\n"
    "  --footer \"LEFT|CENTRE|RIGHT\"  a footer line, the same way\n"
    "  --line-numbers           number the text's lines in a gutter left of the text\n"
    "  --pdfa                   make archival PDFs (PDF/A-2u), tagged for screen readers: fonts\n"
    "                           embedded, a paragraph structure, no encryption (PDFA=1)\n"
    "  --lang TAG               the documents' language with --pdfa, e.g. en-US (Language=TAG;\n"
    "                           default: the user's locale)\n"
    "  -o, --output-dir DIR     write the PDFs into DIR (created when missing)\n"
    "      --combine OUT.pdf    write every FILE into the one PDF OUT.pdf ('-': the standard\n"
    "                           output), each from a new page, with a bookmark per file named\n"
    "                           after it; a FILE that cannot be read is left out and listed,\n"
    "                           and OUT.pdf is written only when at least one went in; it\n"
    "                           never replaces a FILE or a file that is not a PDF; not with -o;\n"
    "                           '.pdf' is added to a name without an extension\n"
    "  -j, --jobs N             convert N files at once (default: the number of processor\n"
    "                           cores; at most 4 times that); files are converted independently\n"
    "                           of one another, so the PDFs are the same for any N\n"
    "  -q, --quiet              print only failures\n"
    "  -h, --help               show this help\n"
    "      --help-settings      list every Settings.ini key with its section, default and values\n"
    "      --version            show the version\n"
    "\n"
    "Exit status: 0 when every PDF was written, 1 when any file failed (or, with --combine, was\n"
    "left out), 2 for a usage error.\n";

namespace {

// Edits (insertions, deletions, changes) that turn one name into the other, ignoring case.
std::size_t EditDistance(std::string_view a, std::string_view b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j < row.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                              std::tolower(static_cast<unsigned char>(b[j - 1]));
            const std::size_t replaced = diagonal + (same ? 0 : 1);
            diagonal = row[j];
            row[j] = std::min({replaced, row[j] + 1, row[j - 1] + 1});
        }
    }
    return row.back();
}

// The key a mistyped name most likely meant: two edits away at most.
const SettingsKey* ClosestSettingsKey(std::string_view name)
{
    constexpr std::size_t kMostEdits = 2;
    const SettingsKey* closest = nullptr;
    std::size_t best = kMostEdits + 1;
    for (const SettingsKey& key : SettingsKeys()) {
        if (const std::size_t distance = EditDistance(name, key.key); distance < best) {
            best = distance;
            closest = &key;
        }
    }
    return closest;
}

bool LooksLikeFontPath(const std::string& font)
{
    if (font.empty())
        return false;
    std::string ending = font.size() >= 4 ? font.substr(font.size() - 4) : "";
    std::transform(ending.begin(), ending.end(), ending.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return access(font.c_str(), F_OK) == 0 || font.find('/') != std::string::npos || ending == ".ttf" ||
           ending == ".ttc";
}

int ProcessorCores()
{
    return std::max(1, int(std::thread::hardware_concurrency()));
}

// More threads than this only wait for the processors and hold more documents in memory.
int MostJobs()
{
    return 4 * ProcessorCores();
}

// Reads from `fd` until its end or until `most` bytes are in `bytes`; 0 or the error number.
int ReadAtMost(int fd, std::size_t most, std::string& bytes)
{
    char chunk[1 << 14];
    while (bytes.size() < most) {
        const ssize_t got = read(fd, chunk, std::min(sizeof chunk, most - bytes.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got < 0 ? errno : 0;
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    return 0;
}

class Parser {
public:
    Parser(const std::vector<std::string>& arguments, const std::string& defaultSettingsPath)
        : m_arguments(arguments), m_settingsPath(defaultSettingsPath)
    {
    }

    ParsedCommandLine Parse();

private:
    static ParsedCommandLine UsageError(std::string message) { return {{}, std::move(message), {}}; }
    bool ParseOne(const std::string& argument);
    std::optional<std::string> TakeValue(const std::string& name, const std::optional<std::string>& attached);
    bool SetKey(const std::string& assignment);
    void ApplyFontOptions();
    void ApplyArchiveOptions();
    bool ResolveFont();
    bool SetJobs(const std::string& text);
    bool SetFurnitureLine(const std::string& option, const std::string& line, const std::string& fields);
    bool SetCombineInto(const std::string& output);
    std::optional<std::string> CombineProblem() const;
    bool SetFont(const std::string& font, bool choosesKind);
    bool ReadPasswordFiles();
    std::vector<std::string> UnusedFontFiles() const;
    bool ReadPasswordFile(const std::string& path, std::string& password);
    void ApplySettings();
    bool Fail(std::string message)
    {
        if (m_error.empty())
            m_error = std::move(message);
        return false;
    }

    const std::vector<std::string>& m_arguments;
    std::size_t m_next = 0;
    std::string m_settingsPath;
    bool m_settingsGiven = false;
    std::vector<std::string> m_assignments;
    std::string m_ownerPasswordFile;
    std::string m_userPasswordFile;
    std::string m_font;            // --truetype or --font: a file or an installed font's name
    bool m_fontGiven = false;
    bool m_fontChoosesKind = false; // --font
    bool m_utf8 = false;
    bool m_archive = false;               // --pdfa
    std::optional<std::string> m_language; // --lang
    CommandLine m_result;
    std::string m_settingsWarning;
    std::string m_error;
};

ParsedCommandLine Parser::Parse()
{
    bool onlyFiles = false;
    while (m_next < m_arguments.size()) {
        const std::string& argument = m_arguments[m_next++];
        if (onlyFiles || argument == "-" || argument.empty() || argument[0] != '-')
            m_result.files.push_back(argument);
        else if (argument == "--")
            onlyFiles = true;
        else if (!ParseOne(argument))
            return UsageError(m_error);
    }
    if (m_result.showHelp || m_result.showSettingsHelp || m_result.showVersion)
        return {m_result, {}, {}};
    if (m_result.files.empty())
        return UsageError("no FILE given");
    const auto standardInputUses = std::count(m_result.files.begin(), m_result.files.end(), kStandardStreams) +
                                   (m_ownerPasswordFile == kStandardStreams) + (m_userPasswordFile == kStandardStreams);
    if (standardInputUses > 1)
        return UsageError("'-' (the standard input) can be given only once");
    if (const auto problem = CombineProblem())
        return UsageError(*problem);
    if (!ReadPasswordFiles())
        return UsageError(m_error);
    ApplySettings();
    std::vector<std::string> warnings = UnusedFontFiles();
    if (m_result.jobs > MostJobs()) {
        warnings.push_back(std::to_string(m_result.jobs) + " jobs are more than the machine can run at once; " +
                           std::to_string(MostJobs()) + " are used");
        m_result.jobs = MostJobs();
    }
    if (!m_settingsWarning.empty())
        warnings.insert(warnings.begin(), m_settingsWarning);
    return {m_result, m_error, warnings};
}

bool Parser::ParseOne(const std::string& argument)
{
    // "--name=value" and "-jN" carry their value in the same argument.
    std::string name = argument;
    std::optional<std::string> attached;
    if (const std::size_t equals = argument.find('='); argument.rfind("--", 0) == 0 && equals != std::string::npos) {
        name = argument.substr(0, equals);
        attached = argument.substr(equals + 1);
    } else if (argument.size() > 2 && argument[1] != '-' && (argument[1] == 'j' || argument[1] == 'o')) {
        name = argument.substr(0, 2);
        attached = argument.substr(2);
    }

    const std::map<std::string, std::function<bool(const std::string&)>> withValue = {
        {"--settings", [&](const std::string& v) { m_settingsPath = v; m_settingsGiven = true; return true; }},
        {"--set", [&](const std::string& v) { m_assignments.push_back(v); return true; }},
        {"--type1-metrics", [&](const std::string& v) { m_result.options.Type1MetricsFile = v; return true; }},
        {"--type1-data", [&](const std::string& v) { m_result.options.Type1DataFile = v; return true; }},
        {"--truetype", [&](const std::string& v) { return SetFont(v, false); }},
        {"--font", [&](const std::string& v) { return SetFont(v, true); }},
        {"--owner-password", [&](const std::string& v) { m_result.ownerPassword = v; return true; }},
        {"--user-password", [&](const std::string& v) { m_result.userPassword = v; return true; }},
        {"--owner-password-file", [&](const std::string& v) { m_ownerPasswordFile = v; return true; }},
        {"--user-password-file", [&](const std::string& v) { m_userPasswordFile = v; return true; }},
        {"--lang", [&](const std::string& v) { m_language = v; return true; }},
        {"-o", [&](const std::string& v) { m_result.outputDirectory = v; return true; }},
        {"--combine", [&](const std::string& v) { return SetCombineInto(v); }},
        {"--output-dir", [&](const std::string& v) { m_result.outputDirectory = v; return true; }},
        {"-j", [&](const std::string& v) { return SetJobs(v); }},
        {"--jobs", [&](const std::string& v) { return SetJobs(v); }},
        {"--header", [&](const std::string& v) { return SetFurnitureLine("--header", "Header", v); }},
        {"--footer", [&](const std::string& v) { return SetFurnitureLine("--footer", "Footer", v); }},
    };
    if (const auto found = withValue.find(name); found != withValue.end()) {
        const std::optional<std::string> value = TakeValue(name, attached);
        return value && found->second(*value);
    }
    if (attached)
        return Fail("option '" + name + "' takes no value");
    if (name == "-q" || name == "--quiet")
        m_result.quiet = true;
    else if (name == "--help" || name == "-h")
        m_result.showHelp = true;
    else if (name == "--help-settings")
        m_result.showSettingsHelp = true;
    else if (name == "--version")
        m_result.showVersion = true;
    else if (name == "--utf8")
        m_utf8 = true;
    else if (name == "--line-numbers")
        m_assignments.push_back("LineNumbers=1");
    else if (name == "--pdfa")
        m_archive = true;
    else
        return Fail("unknown option '" + argument + "'");
    return true;
}

std::optional<std::string> Parser::TakeValue(const std::string& name, const std::optional<std::string>& attached)
{
    if (attached)
        return attached;
    if (m_next < m_arguments.size())
        return m_arguments[m_next++];
    Fail("option '" + name + "' needs a value");
    return std::nullopt;
}

// A second font would win over the first without a word, whichever option named it.
bool Parser::SetFont(const std::string& font, bool choosesKind)
{
    if (m_fontGiven)
        return Fail("the font can be given only once: use either --font or --truetype, and only one time");
    m_fontGiven = true;
    m_font = font;
    m_fontChoosesKind = choosesKind;
    return true;
}

// "LEFT|CENTRE|RIGHT" into the line's three keys, set in turn with the --set keys; fields left
// out are empty.
bool Parser::SetFurnitureLine(const std::string& option, const std::string& line, const std::string& fields)
{
    std::vector<std::string> parts(1);
    for (const char c : fields) {
        if (c == '|')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    if (parts.size() > 3)
        return Fail(option + " takes at most three fields, LEFT|CENTRE|RIGHT, got '" + fields +
                    "'; a field holding '|' is set on its own with --set " + line + "Left=..., " + line +
                    "Centre=... or " + line + "Right=...");
    parts.resize(3);
    m_assignments.push_back(line + "Left=" + parts[0]);
    m_assignments.push_back(line + "Centre=" + parts[1]);
    m_assignments.push_back(line + "Right=" + parts[2]);
    return true;
}

bool Parser::SetJobs(const std::string& text)
{
    int jobs = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), jobs);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || jobs < 1)
        return Fail("'" + text + "' is not a number of jobs (a whole number of at least 1)");
    m_result.jobs = jobs;
    return true;
}

bool Parser::SetCombineInto(const std::string& output)
{
    if (output.empty())
        return Fail("--combine needs the path of the PDF to write, or '-' for the standard output");
    m_result.combineInto = output == kStandardStreams ? output : WithPdfExtension(output);
    return true;
}

// The combined PDF is made of files read when their turn comes; the standard input has no name
// to give its bookmark and would be read with the PDF going to the same terminal.
std::optional<std::string> Parser::CombineProblem() const
{
    if (m_result.combineInto.empty())
        return std::nullopt;
    if (std::count(m_result.files.begin(), m_result.files.end(), kStandardStreams) > 0)
        return "--combine takes files only; '-' (the standard input) cannot be one of them";
    if (!m_result.outputDirectory.empty())
        return "-o (--output-dir) does not go with --combine: give the folder in the combined PDF's path";
    return std::nullopt;
}

// Font files given for a kind of font that is not chosen would be ignored without a word.
std::vector<std::string> Parser::UnusedFontFiles() const
{
    const ConversionOptions& options = m_result.options;
    const std::tuple<const std::string&, const char*, FontKind> files[] = {
        {options.Type1MetricsFile, "--type1-metrics", Type1Font},
        {options.Type1DataFile, "--type1-data", Type1Font},
        {options.TrueTypeFile, "--truetype", TrueTypeFont},
    };
    std::vector<std::string> warnings;
    for (const auto& [file, option, kind] : files) {
        if (!file.empty() && options.PageFont != kind)
            warnings.push_back(std::string(option) + " is not used, because PageFont is " +
                               std::to_string(options.PageFont) + ", not " + std::to_string(kind) + " (" +
                               std::string(FontKindLabels[kind]) + ")");
    }
    return warnings;
}

// Read only once every argument is known, so that the standard input is read at most once.
bool Parser::ReadPasswordFiles()
{
    return (m_ownerPasswordFile.empty() || ReadPasswordFile(m_ownerPasswordFile, m_result.ownerPassword)) &&
           (m_userPasswordFile.empty() || ReadPasswordFile(m_userPasswordFile, m_result.userPassword));
}

// The password is the first line of the file, or of the standard input for "-". A line this
// long is no password but a wrong file, and hashing it would take minutes.
constexpr std::size_t kMostPasswordFileBytes = 64 * 1024;

bool Parser::ReadPasswordFile(const std::string& path, std::string& password)
{
    const RegularFile file = path == kStandardStreams ? RegularFile{STDIN_FILENO, 0, 0} : OpenRegularFile(path);
    if (file.fd < 0)
        return Fail("cannot read password file '" + path + "': " +
                    (file.error == kNotRegularFile ? "Not a regular file" : SystemMessage(file.error)));
    std::string bytes;
    const int error = ReadAtMost(file.fd, kMostPasswordFileBytes + 1, bytes);
    if (file.fd != STDIN_FILENO)
        close(file.fd);
    if (error)
        return Fail("cannot read password file '" + path + "': " + SystemMessage(error));
    if (bytes.size() > kMostPasswordFileBytes)
        return Fail("password file '" + path + "' is larger than 64 KB; its first line is the password");
    const std::string_view firstLine = std::string_view(bytes).substr(0, bytes.find('\n'));
    if (firstLine.find('\0') != std::string_view::npos)
        return Fail("password file '" + path + "' holds a zero byte in its first line, which a password cannot hold");
    ApplyTextMode(bytes);
    password = bytes.substr(0, bytes.find('\n'));
    return !password.empty() || Fail("password file '" + path + "' gives an empty password");
}

// The settings file first, then the --set keys in the order given; the font-file paths given
// as options have no key and are kept.
void Parser::ApplySettings()
{
    // One reading, so that a save by the window in between cannot mix two versions. A settings
    // file that was asked for but cannot be read would silently give the defaults.
    const ProfileSnapshot settings(m_settingsPath);
    if (m_settingsGiven && settings.ReadError()) {
        Fail("cannot read settings file '" + m_settingsPath + "': " + SystemMessage(settings.ReadError()));
        return;
    }
    m_settingsWarning = LoadSettings(m_result.options, settings);
    for (const std::string& assignment : m_assignments)
        if (!SetKey(assignment))
            return;
    ApplyFontOptions();
    ApplyArchiveOptions();
}

// Like the font options, they say what the user wants for this call.
void Parser::ApplyArchiveOptions()
{
    if (m_archive)
        m_result.options.Archive = kArchivePdfA;
    if (m_language)
        m_result.options.Language = *m_language;
}

// --font and --utf8 say what the user wants for this call, so they win over the settings.
void Parser::ApplyFontOptions()
{
    ConversionOptions& options = m_result.options;
    if (m_fontChoosesKind || m_utf8)
        options.PageFont = TrueTypeFont;
    if (m_utf8)
        options.SingeEncode = kUtf8Encoding;
    ResolveFont();
}

// A font given as a path (it names a file, holds a '/' or ends in .ttf or .ttc) is taken as it
// stands, and a file that cannot be loaded is reported by the options gate; anything else is
// the name of an installed font.
bool Parser::ResolveFont()
{
    ConversionOptions& options = m_result.options;
    if (m_font.empty() && !m_utf8)
        return true;
    if (LooksLikeFontPath(m_font)) {
        options.TrueTypeFile = m_font;
        return true;
    }
    const SystemFont font = m_font.empty() ? FindMonospacedFont() : FindSystemFont(m_font);
    if (!font.problem.empty())
        return Fail(font.problem);
    options.TrueTypeFile = font.file;
    options.TrueTypeFontIndex = font.index;
    return true;
}

bool Parser::SetKey(const std::string& assignment)
{
    const std::size_t equals = assignment.find('=');
    if (equals == std::string::npos)
        return Fail("--set needs KEY=VALUE, got '" + assignment + "'");
    const std::string keyName = assignment.substr(0, equals);
    const SettingsKey* key = FindSettingsKey(keyName);
    if (!key) {
        const SettingsKey* closest = ClosestSettingsKey(keyName);
        return Fail("unknown settings key '" + keyName + "'" +
                    (closest ? " (did you mean " + std::string(closest->key) + "?)" : ""));
    }
    const std::string problem = ApplySetting(m_result.options, *key, assignment.substr(equals + 1));
    return problem.empty() || Fail(problem);
}

} // namespace

CommandLine::CommandLine() : jobs(ProcessorCores()) {}

bool CommandLine::ReadsStandardInput() const
{
    return std::find(files.begin(), files.end(), kStandardStreams) != files.end();
}

bool CommandLine::WritesStandardOutput() const
{
    return combineInto.empty() ? ReadsStandardInput() : combineInto == kStandardStreams;
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                                   const std::string& defaultSettingsPath)
{
    return Parser(arguments, defaultSettingsPath).Parse();
}

std::string UsageErrorText(const std::string& message)
{
    return "quillary-convert: " + message + "\nTry 'quillary-convert --help'.\n";
}
