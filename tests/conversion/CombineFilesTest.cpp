// Many text files into one PDF: the outline read back, the pages each file starts on, the text a
// reader extracts, the files left out and the PDF not written when nothing went in.
#include "ConversionTestSupport.h"
#include "support/ArchivalChecker.h"
#include "support/PdfInspector.h"

#include "conversion/CombineFiles.h"
#include "conversion/CombinedDocument.h"

#include <gtest/gtest.h>

namespace {

class RecordingCombine : public CombineObserver {
public:
    explicit RecordingCombine(std::size_t stopBefore = SIZE_MAX) : m_stopBefore(stopBefore) {}

    std::optional<std::string> FileStarting(std::size_t index) override
    {
        started.push_back(index);
        return std::nullopt;
    }
    void FileDone(std::size_t, const ConversionResult& result) override { results.push_back(result); }
    bool StopAsked() const override { return started.size() >= m_stopBefore; }
    void SetProgressRange(int, int) override {}
    void SetProgressPos(int) override {}
    void Warn(std::string_view message) override { warnings.emplace_back(message); }

    std::vector<std::size_t> started;
    std::vector<ConversionResult> results;
    std::vector<std::string> warnings;

private:
    std::size_t m_stopBefore;
};

struct InputFile {
    std::string name;
    std::string bytes;
};

std::string Lines(const std::string& word, int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += word + " " + std::to_string(i) + "\n";
    return text;
}

std::vector<std::string> WriteAll(const ScratchFolder& folder, const std::vector<InputFile>& files)
{
    std::vector<std::string> paths;
    for (const InputFile& file : files)
        paths.push_back(folder.Write(file.name, file.bytes));
    return paths;
}

struct OutlineCase {
    const char* what;
    ConversionOptions options;
    std::vector<InputFile> files;
    std::vector<int> firstPages;     // of each file, from 1
    std::vector<std::string> texts;  // a text each file's first page shows
    std::size_t pageCount;
};
void PrintTo(const OutlineCase& c, std::ostream* out) { *out << c.what; }

class CombinedOutline : public testing::TestWithParam<OutlineCase> {};

TEST_P(CombinedOutline, HasAnEntryPerFileOpeningItsFirstPage)
{
    const OutlineCase& c = GetParam();
    ScratchFolder folder;
    const std::vector<std::string> inputs = WriteAll(folder, c.files);
    const std::string output = folder.File("all.pdf");
    RecordingCombine observer;
    const ConversionResult result = CombineFilesInto(c.options, inputs, "", "", output, observer);
    ASSERT_TRUE(result.written) << result.reason;

    const PdfFacts pdf = InspectPdf(output);
    std::vector<PdfOutlineEntry> expected;
    for (std::size_t i = 0; i < c.files.size(); ++i)
        expected.push_back({c.files[i].name, c.firstPages[i], "/FitH", 0});
    EXPECT_EQ(pdf.outline, expected);
    const std::vector<std::string> pages = ExtractPdfPageTexts(output);
    ASSERT_EQ(pages.size(), c.pageCount);
    for (std::size_t i = 0; i < c.files.size(); ++i)
        EXPECT_NE(pages.at(std::size_t(c.firstPages[i] - 1)).find(c.texts[i]), std::string::npos)
            << c.files[i].name << " on page " << c.firstPages[i] << ": " << pages.at(std::size_t(c.firstPages[i] - 1));
    EXPECT_EQ(QpdfWarnings(output), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CombinedOutline,
    testing::Values(
        OutlineCase{"each file starts a page; a long file's pages are counted", {},
                    {{"a.txt", "alpha\n"}, {"b.txt", Lines("beta", 60)}, {"c.txt", "gamma\n"}},
                    {1, 2, 4}, {"alpha", "beta 1\n", "gamma"}, 4},
        OutlineCase{"an empty file keeps a page of its own", {},
                    {{"empty.txt", ""}, {"next.txt", "after the empty one\n"}}, {1, 2}, {"", "after the empty one"}, 2},
        OutlineCase{"form feeds break the pages within a file", {},
                    {{"ff.txt", "one\fTWO\f"}, {"after.txt", "three\n"}}, {1, 3}, {"one", "three"}, 3},
        OutlineCase{"titles beyond ASCII read right", {},
                    {{"Gr\xC3\xBC\xC3\x9F" "e.txt", "a\n"}, {"\xE6\x97\xA5\xE6\x9C\xAC.txt", "b\n"}, {"plain.txt", "c\n"}},
                    {1, 2, 3}, {"a", "b", "c"}, 3},
        OutlineCase{"titles beyond U+FFFF read right", {},
                    {{"party \xF0\x9F\x8E\x89.txt", "a\n"}, {"\xF0\x9D\x84\x9E \xC3\xA9.txt", "b\n"}}, {1, 2},
                    {"a", "b"}, 2},
        OutlineCase{"under Auto each file is read as what it is", {},
                    {{"utf8.txt", "\xD0\x96\xD0\xB8\xD0\xB7\xD0\xBD\xD1\x8C\n"},
                     {"cp1252.txt", "caf\xE9 \x80 na\xEFve\n"},
                     {"utf8-again.txt", "Gr\xC3\xBC\xC3\x9F" "e \xD0\x9C\xD0\xB8\xD1\x80\n"}},
                    {1, 2, 3},
                    {"\xD0\x96\xD0\xB8\xD0\xB7\xD0\xBD\xD1\x8C", "caf\xC3\xA9 \xE2\x82\xAC na\xC3\xAFve",
                     "Gr\xC3\xBC\xC3\x9F" "e \xD0\x9C\xD0\xB8\xD1\x80"},
                    3},
        OutlineCase{"one UTF-8 font maps back every file's characters", Utf8Options(),
                    {{"first.txt", "\xD0\x96\xD0\xB8\xD0\xB7\xD0\xBD\xD1\x8C\n"}, {"second.txt", "\xCE\xB1\xCE\xB2\xCE\xB3\n"}},
                    {1, 2}, {"\xD0\x96\xD0\xB8\xD0\xB7\xD0\xBD\xD1\x8C", "\xCE\xB1\xCE\xB2\xCE\xB3"}, 2}));

struct LeftOutCase {
    const char* what;
    // "missing:" names no file, "folder:" a folder
    std::vector<std::string> names;
    std::vector<std::string> titles; // the outline once the others went in
    const char* reasonPart;
};
void PrintTo(const LeftOutCase& c, std::ostream* out) { *out << c.what; }

class CombinedLeftOut : public testing::TestWithParam<LeftOutCase> {};

TEST_P(CombinedLeftOut, AFileThatCannotBeReadIsLeftOutAndReported)
{
    const LeftOutCase& c = GetParam();
    ScratchFolder folder;
    std::vector<std::string> inputs;
    for (const std::string& name : c.names) {
        if (name.rfind("missing:", 0) == 0)
            inputs.push_back(folder.File(name.substr(8)));
        else if (name.rfind("folder:", 0) == 0) {
            inputs.push_back(folder.File(name.substr(7)));
            std::filesystem::create_directory(inputs.back());
        } else
            inputs.push_back(folder.Write(name, name + " text\n"));
    }
    const std::string output = folder.File("all.pdf");
    RecordingCombine observer;
    const ConversionResult result = CombineFilesInto({}, inputs, "", "", output, observer);
    ASSERT_TRUE(result.written) << result.reason;
    ASSERT_EQ(observer.results.size(), c.names.size());
    std::vector<std::string> titles;
    for (const PdfOutlineEntry& entry : InspectPdf(output).outline)
        titles.push_back(entry.title);
    EXPECT_EQ(titles, c.titles);
    for (std::size_t i = 0; i < c.names.size(); ++i) {
        const bool leftOut = c.names[i].find(':') != std::string::npos;
        EXPECT_EQ(observer.results[i].written, !leftOut) << c.names[i];
        if (leftOut) {
            EXPECT_NE(observer.results[i].reason.find(c.reasonPart), std::string::npos) << observer.results[i].reason;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CombinedLeftOut,
    testing::Values(LeftOutCase{"a missing file in the middle", {"a.txt", "missing:gone.txt", "c.txt"},
                                {"a.txt", "c.txt"}, "Cannot read the input file: No such file or directory"},
                    LeftOutCase{"a folder first", {"folder:dir", "b.txt"}, {"b.txt"}, "Cannot read the input file"}));

struct RefusedOutputCase {
    const char* what;
    // How the output path reaches an input or an existing file: "same", "dot" (./ before the
    // name), "symlink", "hardlink" to the second input; "text", "empty": a file of its own.
    const char* output;
    const char* reasonPart;
};
void PrintTo(const RefusedOutputCase& c, std::ostream* out) { *out << c.what; }

class CombinedOutputRefused : public testing::TestWithParam<RefusedOutputCase> {};

std::string OutputReaching(const ScratchFolder& folder, const std::string& how)
{
    const std::string input = folder.File("b.txt");
    if (how == "same")
        return input;
    if (how == "dot")
        return folder.Path().string() + "/./b.txt";
    const std::string output = folder.File("out.pdf");
    if (how == "symlink")
        std::filesystem::create_symlink(input, output);
    else if (how == "hardlink")
        std::filesystem::create_hard_link(input, output);
    else
        folder.Write("out.pdf", how == "text" ? "notes I keep\n" : "");
    return output;
}

TEST_P(CombinedOutputRefused, NothingIsReadOrWrittenAndEveryFileKept)
{
    const RefusedOutputCase& c = GetParam();
    ScratchFolder folder;
    const std::vector<std::string> inputs = {folder.Write("a.txt", "a\n"), folder.Write("b.txt", "b\n"),
                                             folder.File("a.txt")};
    const std::string output = OutputReaching(folder, c.output);
    const std::string outputBefore = FileBytes(output);
    const std::vector<std::string> filesBefore = FilesIn(folder.Path());
    RecordingCombine observer;
    const ConversionResult result = CombineFilesInto({}, inputs, "", "", output, observer);
    EXPECT_FALSE(result.written);
    EXPECT_NE(result.reason.find(c.reasonPart), std::string::npos) << result.reason;
    EXPECT_EQ(result.reason.find("old PDF"), std::string::npos) << result.reason;
    EXPECT_TRUE(observer.started.empty());
    EXPECT_EQ(FileBytes(folder.File("a.txt")), "a\n");
    EXPECT_EQ(FileBytes(folder.File("b.txt")), "b\n");
    EXPECT_EQ(FileBytes(output), outputBefore);
    EXPECT_EQ(FilesIn(folder.Path()), filesBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CombinedOutputRefused,
    testing::Values(RefusedOutputCase{"an input's own path", "same", "would replace the input file"},
                    RefusedOutputCase{"an input under ./", "dot", "would replace the input file"},
                    RefusedOutputCase{"a link to an input", "symlink", "would replace the input file"},
                    RefusedOutputCase{"a hard link to an input", "hardlink", "would replace the input file"},
                    RefusedOutputCase{"a text file", "text", "is not a PDF; it was not replaced"},
                    RefusedOutputCase{"an empty file", "empty", "is not a PDF; it was not replaced"}));

struct NotWrittenCase {
    const char* what;
    ConversionOptions options;
    std::size_t stopBefore;
    const char* reasonPart;
};
void PrintTo(const NotWrittenCase& c, std::ostream* out) { *out << c.what; }

class CombinedNotWritten : public testing::TestWithParam<NotWrittenCase> {};

TEST_P(CombinedNotWritten, LeavesTheOldPdfAsItWas)
{
    const NotWrittenCase& c = GetParam();
    ScratchFolder folder;
    const std::vector<std::string> inputs = {folder.Write("a.txt", "a\n"), folder.File("missing.txt"),
                                             folder.Write("c.txt", "c\n")};
    const std::string output = folder.Write("all.pdf", "%PDF- the old PDF");
    RecordingCombine observer(c.stopBefore);
    const ConversionResult result = CombineFilesInto(c.options, inputs, "", "", output, observer);
    EXPECT_FALSE(result.written);
    EXPECT_NE(result.reason.find(c.reasonPart), std::string::npos) << result.reason;
    EXPECT_NE(result.reason.find("was kept"), std::string::npos) << result.reason;
    EXPECT_EQ(FileBytes(output), "%PDF- the old PDF");
    EXPECT_EQ(FilesIn(folder.Path()), (std::vector<std::string>{"a.txt", "all.pdf", "c.txt"}));
}

ConversionOptions RefusedPage()
{
    ConversionOptions options;
    options.PageSize = kCustomPageSize;
    options.PageWidth = 1;
    return options;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CombinedNotWritten,
    testing::Values(NotWrittenCase{"stopped after the first file", {}, 1, "Stopped"},
                    NotWrittenCase{"stopped before any file", {}, 0, "Stopped"},
                    NotWrittenCase{"stopped during the last file", {}, 3, "Stopped"},
                    NotWrittenCase{"options that fail every file", RefusedPage(), SIZE_MAX, "page"}));

TEST(CombinedNothingIn, NoPdfWhenNoFileWentIn)
{
    ScratchFolder folder;
    RecordingCombine observer;
    const std::string output = folder.File("all.pdf");
    const ConversionResult result =
        CombineFilesInto({}, {folder.File("one.txt"), folder.File("two.txt")}, "", "", output, observer);
    EXPECT_FALSE(result.written);
    EXPECT_NE(result.reason.find("No file went in"), std::string::npos) << result.reason;
    EXPECT_EQ(observer.results.size(), 2u);
    EXPECT_TRUE(FilesIn(folder.Path()).empty());
}

struct SecurityCase {
    const char* what;
    int encryptLevel;
    std::string owner;
    std::string cipher;
};
void PrintTo(const SecurityCase& c, std::ostream* out) { *out << c.what; }

class CombinedDocumentOptions : public testing::TestWithParam<SecurityCase> {};

TEST_P(CombinedDocumentOptions, InformationModeAndEncryptionComeFromTheOptions)
{
    const SecurityCase& c = GetParam();
    ScratchFolder folder;
    ConversionOptions options;
    options.Title = "All the files";
    options.OpenMode = 1;
    options.EncryptLevel = c.encryptLevel;
    const std::vector<std::string> inputs = {folder.Write("\xC3\xA4.txt", "a\n"), folder.Write("b.txt", "b\n")};
    const std::string output = folder.File("all.pdf");
    RecordingCombine observer;
    const ConversionResult result = CombineFilesInto(options, inputs, c.owner, "", output, observer);
    ASSERT_TRUE(result.written) << result.reason;
    const PdfFacts pdf = InspectPdf(output, c.owner);
    EXPECT_EQ(pdf.info.at("/Title"), "All the files");
    EXPECT_EQ(pdf.pageMode, "/UseOutlines");
    EXPECT_EQ(pdf.encrypted, !c.owner.empty());
    EXPECT_EQ(pdf.cipher, c.cipher);
    EXPECT_EQ(pdf.outline, (std::vector<PdfOutlineEntry>{{"\xC3\xA4.txt", 1, "/FitH", 0}, {"b.txt", 2, "/FitH", 0}}));
}

INSTANTIATE_TEST_SUITE_P(Cases, CombinedDocumentOptions,
                         testing::Values(SecurityCase{"not encrypted", 48, "", ""},
                                         SecurityCase{"RC4 128 bits", 128, "owner", ""},
                                         SecurityCase{"AES-256", 256, "owner", "/AESV3"}));

struct NumberingCase {
    std::vector<std::string> texts;
    std::vector<int> firstPages; // NextFirstPage before each file
    int pageCount;
};

class CombinedPageNumbers : public testing::TestWithParam<NumberingCase> {};

TEST_P(CombinedPageNumbers, EachFileKnowsItsFirstPageAndTheDocumentItsTotal)
{
    const NumberingCase& c = GetParam();
    CombinedDocument document({});
    RecordingObserver observer;
    std::vector<int> firstPages;
    for (const std::string& text : c.texts) {
        firstPages.push_back(document.NextFirstPage());
        ASSERT_TRUE(document.Add("t", "", text, observer).written);
    }
    EXPECT_EQ(firstPages, c.firstPages);
    EXPECT_EQ(document.PageCount(), c.pageCount);
}

INSTANTIATE_TEST_SUITE_P(Cases, CombinedPageNumbers,
                         testing::Values(NumberingCase{{"a"}, {1}, 1},
                                         NumberingCase{{Lines("x", 120), "b", "c\fd"}, {1, 4, 5}, 6}));

struct PageCountCase {
    const char* what;
    int combinedNumbering;
    std::vector<InputFile> files;
};
void PrintTo(const PageCountCase& c, std::ostream* out) { *out << c.what; }

class CombinedPageCount : public testing::TestWithParam<PageCountCase> {};

// Every page shows its number and the count of the pages it is numbered among: the whole
// document's, or its own file's, as the outline tells where each file starts.
TEST_P(CombinedPageCount, EveryPageShowsTheCountItIsNumberedAmong)
{
    const PageCountCase& c = GetParam();
    ScratchFolder folder;
    ConversionOptions options;
    options.HeaderCentre = "Page %p of %P";
    options.CombinedNumbering = c.combinedNumbering;
    const std::string output = folder.File("all.pdf");
    RecordingCombine observer;
    ASSERT_TRUE(CombineFilesInto(options, WriteAll(folder, c.files), "", "", output, observer).written);

    const std::vector<std::string> pages = ExtractPdfPageTexts(output);
    std::vector<int> fileStarts;
    for (const PdfOutlineEntry& entry : InspectPdf(output).outline)
        fileStarts.push_back(entry.page);
    fileStarts.push_back(int(pages.size()) + 1);
    ASSERT_EQ(fileStarts.size(), c.files.size() + 1);
    ASSERT_GT(pages.size(), c.files.size()) << "some file must take more than one page";
    for (std::size_t file = 0; file < c.files.size(); ++file) {
        for (int page = fileStarts[file]; page < fileStarts[file + 1]; ++page) {
            const bool through = c.combinedNumbering != 0;
            const std::string expected =
                "Page " + std::to_string(through ? page : page - fileStarts[file] + 1) + " of " +
                std::to_string(through ? int(pages.size()) : fileStarts[file + 1] - fileStarts[file]);
            EXPECT_NE(pages[std::size_t(page - 1)].find(expected), std::string::npos)
                << "page " << page << ": " << pages[std::size_t(page - 1)];
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CombinedPageCount,
    testing::Values(PageCountCase{"through the document", 1, {{"a.txt", Lines("a", 120)}, {"b.txt", "b\n"}, {"c.txt", "c\fd\n"}}},
                    PageCountCase{"through the document, the long file last", 1, {{"a.txt", "a\n"}, {"b.txt", Lines("b", 150)}}},
                    PageCountCase{"within each file", 0, {{"a.txt", Lines("a", 120)}, {"b.txt", "b\fc\n"}}}));

struct ArchivalCombineCase {
    const char* what;
    std::string title;      // the Title option
    std::string output;     // the combined PDF's file name
    std::string shownTitle; // the title the PDF shows
};
void PrintTo(const ArchivalCombineCase& c, std::ostream* out) { *out << c.what; }

class CombinedArchival : public testing::TestWithParam<ArchivalCombineCase> {};

TEST_P(CombinedArchival, ConformsWithATitleAndEachFileBeginsAParagraph)
{
    const ArchivalCombineCase& c = GetParam();
    ScratchFolder folder;
    ConversionOptions options;
    options.Archive = kArchivePdfA;
    options.Language = "en-US";
    options.Title = c.title;
    const std::vector<InputFile> files{{"a.txt", "a one\na two\n\na last\n"}, {"b.txt", "b first\nb more\n"}};
    const std::string output = folder.File(c.output);
    RecordingCombine observer;
    const ConversionResult result = CombineFilesInto(options, WriteAll(folder, files), "", "", output, observer);
    ASSERT_TRUE(result.written) << result.reason;

    const ArchivalReport report = CheckArchival(output);
    EXPECT_EQ(report.broken, std::set<ArchivalRule>{});
    EXPECT_EQ(report.paragraphs, (std::vector<std::string>{"a one a two ", "a last ", "b first b more "}));
    EXPECT_EQ(InspectPdf(output).info["/Title"], c.shownTitle);
}

INSTANTIATE_TEST_SUITE_P(Cases, CombinedArchival,
                         testing::Values(ArchivalCombineCase{"no title given", "", "joined.pdf", "joined.pdf"},
                                         ArchivalCombineCase{"a title given", "Minutes", "joined.pdf", "Minutes"}));

} // namespace
