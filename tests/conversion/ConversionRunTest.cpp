// The run's control logic without a window: the order of the per-file steps, the stop flag,
// the abort, the failures and notes kept, and what is opened at the end.
#include "ConversionTestSupport.h"

#include "conversion/ConversionRun.h"
#include "conversion/OutputPath.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// A window that answers from fields and logs every call in order.
class FakeWindow : public RunWindow {
public:
    ConversionOptions options;
    std::map<std::string, FilePasswords> passwords;
    std::vector<std::string> log;
    int progressCalls = 0;
    std::vector<std::string> started; // "number/count before the log's line n"

    ConversionOptions ReadOptions() override
    {
        log.push_back("options");
        return options;
    }
    void FileStarting(int number, int count) override
    {
        started.push_back(std::to_string(number) + "/" + std::to_string(count) + " before line "
                          + std::to_string(log.size()));
    }
    FilePasswords ReadPasswords(const RunEntry& entry) override
    {
        log.push_back("passwords " + entry.path);
        return passwords[entry.path];
    }
    void Warn(std::string_view message) override { log.push_back("warn " + std::string(message)); }
    bool Confirm(std::string_view message) override
    {
        log.push_back("confirm " + std::string(message));
        return true;
    }
    void ShowProgress() override { ++progressCalls; }
};

// A conversion that records its calls and answers with what the test prepared per file.
struct FakeConversion {
    std::map<std::string, ConversionResult> results; // written when absent
    std::vector<std::string>* log = nullptr;

    FileConversion Function()
    {
        return [this](const ConversionOptions&, const std::string& input, const std::string& owner,
                      const std::string& user, const std::string& output, ConversionObserver& observer) {
            log->push_back("convert " + input + " -> " + output + " [" + owner + "|" + user + "]");
            observer.SetProgressRange(1, 100);
            observer.SetProgressPos(100);
            const auto found = results.find(input);
            if (found != results.end())
                return found->second;
            ConversionResult written;
            written.written = true;
            return written;
        };
    }
};

std::vector<RunEntry> Entries(std::initializer_list<const char*> paths)
{
    std::vector<RunEntry> entries;
    for (const char* path : paths)
        entries.push_back({path});
    return entries;
}

struct RunUnderTest {
    FakeWindow window;
    FakeConversion conversion;
    std::unique_ptr<ConversionRun> run;

    explicit RunUnderTest(std::initializer_list<const char*> paths)
    {
        conversion.log = &window.log;
        run = std::make_unique<ConversionRun>(Entries(paths), 300, conversion.Function());
    }
    RunOutcome Execute() { return run->Execute(window); }
    int Conversions() const
    {
        return int(std::count_if(window.log.begin(), window.log.end(),
                                 [](const std::string& line) { return line.rfind("convert", 0) == 0; }));
    }
};

} // namespace

TEST(ConversionRun, ReadsOptionsOnceThenEachFilesPasswordsJustBeforeItsConversion)
{
    RunUnderTest r{"/d/a.txt", "/d/b.log"};
    r.window.passwords["/d/a.txt"] = {"oa", "ua"};
    r.window.passwords["/d/b.log"] = {"ob", ""};
    const RunOutcome outcome = r.Execute();
    EXPECT_EQ(outcome.end, RunEnd::Completed);
    const std::vector<std::string> expected = {
        "options",
        "passwords /d/a.txt", "convert /d/a.txt -> /d/a.pdf [oa|ua]",
        "passwords /d/b.log", "convert /d/b.log -> /d/b.pdf [ob|]",
    };
    EXPECT_EQ(r.window.log, expected);
    EXPECT_EQ(r.window.started, (std::vector<std::string>{"1/2 before line 1", "2/2 before line 3"}));
    const ProgressSnapshot last = r.run->Progress().Take();
    EXPECT_EQ(last.filesDone, 2);
    EXPECT_EQ(last.fileCount, 2);
}

TEST(ConversionRun, AnEmptyRunReadsTheOptionsAndEndsWithoutOpeningAnything)
{
    RunUnderTest r{};
    const RunOutcome outcome = r.Execute();
    EXPECT_EQ(outcome.end, RunEnd::Empty);
    EXPECT_EQ(r.window.log, std::vector<std::string>{"options"});
    EXPECT_TRUE(outcome.openVerb.empty());
    EXPECT_EQ(r.window.progressCalls, 0);
}

// Stop pressed while file `stopAt` of `count` is converted.
class StopDuringAFile : public testing::TestWithParam<std::pair<int, int>> {};

TEST_P(StopDuringAFile, FinishesThatFileStartsNoOtherAndOpensNothing)
{
    const auto [stopAt, count] = GetParam();
    std::vector<std::string> paths;
    for (int i = 1; i <= count; ++i)
        paths.push_back("/d/" + std::to_string(i) + ".txt");
    FakeWindow window;
    int conversions = 0;
    ConversionRun* self = nullptr;
    std::vector<RunEntry> entries;
    for (const std::string& path : paths)
        entries.push_back({path});
    ConversionRun run(entries, 100, [&](const ConversionOptions&, const std::string&, const std::string&,
                                        const std::string&, const std::string&, ConversionObserver&) {
        if (++conversions == stopAt)
            self->Stop();
        return ConversionResult{true, {}, {}};
    });
    self = &run;
    const RunOutcome outcome = run.Execute(window);
    EXPECT_EQ(outcome.end, RunEnd::Stopped);
    EXPECT_EQ(conversions, stopAt);
    EXPECT_TRUE(outcome.openVerb.empty());
}

INSTANTIATE_TEST_SUITE_P(SecondOfFiveAndLastOfTwo, StopDuringAFile,
                         testing::Values(std::make_pair(2, 5), std::make_pair(2, 2), std::make_pair(1, 1)));

TEST(ConversionRun, ADocumentThatCannotBeCreatedEndsTheRunAndKeepsEarlierFailures)
{
    RunUnderTest r{"/d/1.txt", "/d/2.txt", "/d/3.txt"};
    r.conversion.results["/d/1.txt"] = ConversionResult::Failed("Cannot read the input file: gone.");
    r.conversion.results["/d/2.txt"] = ConversionResult::DocumentNotCreated();
    const RunOutcome outcome = r.Execute();
    EXPECT_EQ(outcome.end, RunEnd::Aborted);
    EXPECT_EQ(outcome.abortReason, kCannotCreateDocument);
    EXPECT_EQ(r.Conversions(), 2);
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_EQ(outcome.failures[0].path, "/d/1.txt");
    EXPECT_TRUE(outcome.openVerb.empty());
}

TEST(ConversionRun, OptionsThatFailEveryFileEndTheRunBeforeAnyFileIsTouched)
{
    RunUnderTest r{"/d/1.txt", "/d/2.txt"};
    r.window.options.FontSize = 900;
    const RunOutcome outcome = r.Execute();
    EXPECT_EQ(outcome.end, RunEnd::Refused);
    EXPECT_NE(outcome.abortReason.find("900"), std::string::npos) << outcome.abortReason;
    EXPECT_EQ(r.window.log, std::vector<std::string>{"options"});
    EXPECT_TRUE(outcome.openVerb.empty());
}

TEST(ConversionRun, FailuresAndNotesAreKeptPerFileAndTheRunGoesOn)
{
    RunUnderTest r{"/d/1.txt", "/d/2.txt", "/d/3.txt"};
    r.conversion.results["/d/2.txt"] = ConversionResult::Failed("The font size 900 is outside 1 to 300 points.");
    ConversionResult noted;
    noted.written = true;
    noted.notes = {"The user password was ignored."};
    r.conversion.results["/d/3.txt"] = noted;
    const RunOutcome outcome = r.Execute();
    EXPECT_EQ(outcome.end, RunEnd::Completed);
    EXPECT_EQ(r.Conversions(), 3);
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_EQ(outcome.failures[0].path, "/d/2.txt");
    EXPECT_EQ(outcome.failures[0].text, "The font size 900 is outside 1 to 300 points.");
    ASSERT_EQ(outcome.notes.size(), 1u);
    EXPECT_EQ(outcome.notes[0].path, "/d/3.txt");
}

TEST(ConversionRun, ARowWithEqualPasswordsFailsBeforeAnythingOfItsFileIsTouched)
{
    ScratchFolder folder;
    const std::string first = folder.File("1.txt");
    const std::string old = folder.Write("1.pdf", "old");
    RunUnderTest r{first.c_str(), "/d/2.txt"};
    r.window.passwords[first] = {"same", "same"};
    const RunOutcome outcome = r.Execute();
    EXPECT_EQ(r.Conversions(), 1);
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_EQ(outcome.failures[0].text, "The owner password and the user password are the same; they must "
                                        "differ. The old PDF \"" + old + "\" was kept; it does not hold the current text.");
}

TEST(ConversionRun, OnlyALibraryThatCannotMakeADocumentEndsTheRunNotTheWordsOfAReason)
{
    RunUnderTest r{"/d/1.txt", "/d/2.txt"};
    r.conversion.results["/d/1.txt"] = ConversionResult::Failed(kCannotCreateDocument);
    const RunOutcome outcome = r.Execute();
    EXPECT_EQ(outcome.end, RunEnd::Completed);
    EXPECT_EQ(r.Conversions(), 2);
}

TEST(ConversionRun, AFileNoLongerListedIsSkippedAndReported)
{
    RunUnderTest r{"/d/1.txt", "/d/2.txt"};
    r.window.passwords["/d/1.txt"].listed = false;
    const RunOutcome outcome = r.Execute();
    EXPECT_EQ(outcome.end, RunEnd::Completed);
    EXPECT_EQ(r.Conversions(), 1);
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_EQ(outcome.failures[0].path, "/d/1.txt");
    EXPECT_EQ(r.run->Progress().Take().filesDone, 2);
}

TEST(ConversionRun, WarningsReachTheWindowWhileTheFileIsConverted)
{
    RunUnderTest r{"/d/1.txt"};
    r.run = std::make_unique<ConversionRun>(Entries({"/d/1.txt"}), 300,
        [&](const ConversionOptions&, const std::string&, const std::string&, const std::string&,
            const std::string&, ConversionObserver& observer) {
            observer.Warn("Font size can not be 0. Set default 9.");
            r.window.log.push_back("after warning");
            return ConversionResult{true, {}, {}};
        });
    r.Execute();
    const std::vector<std::string> expected = {"options", "passwords /d/1.txt",
                                               "warn Font size can not be 0. Set default 9.", "after warning"};
    EXPECT_EQ(r.window.log, expected);
}

struct OpenCase {
    const char* name;
    std::vector<const char*> paths;
    int openResult;
    bool firstWritten;
    const char* verb;
    const char* target;
};

class ResultsToOpen : public testing::TestWithParam<OpenCase> {};

TEST_P(ResultsToOpen, FollowTheFileCountAndTheOpenResultsOption)
{
    const OpenCase& c = GetParam();
    FakeWindow window;
    window.options.OpenResult = c.openResult;
    std::vector<RunEntry> entries;
    for (const char* path : c.paths)
        entries.push_back({path});
    ConversionRun run(entries, 100, [&](const ConversionOptions&, const std::string& input, const std::string&,
                                        const std::string&, const std::string&, ConversionObserver&) {
        return input == c.paths.front() && !c.firstWritten ? ConversionResult::Failed("no") : ConversionResult{true, {}, {}};
    });
    const RunOutcome outcome = run.Execute(window);
    EXPECT_EQ(outcome.openVerb, c.verb);
    EXPECT_EQ(outcome.openTarget, c.target);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResultsToOpen,
    testing::Values(OpenCase{"OneFileOpensItsPdf", {"/docs/a.txt"}, kYes, true, "open", "/docs/a.pdf"},
                    OpenCase{"OneFileNotWrittenOpensNothing", {"/docs/a.txt"}, kYes, false, "", ""},
                    OpenCase{"SeveralFilesExploreTheFirstFilesFolder", {"/docs/x/a.txt", "/other/b.txt", "/c.txt"},
                             kYes, true, "explore", "/docs/x"},
                    OpenCase{"SeveralFilesEvenWhenTheFirstFailed", {"/docs/a.txt", "/b.txt"}, kYes, false, "explore",
                             "/docs"},
                    OpenCase{"OpenResultsNoOpensNothing", {"/docs/a.txt"}, kNo, true, "", ""},
                    OpenCase{"OpenResultsNoWithSeveralFiles", {"/docs/a.txt", "/docs/b.txt"}, kNo, true, "", ""}),
    [](const testing::TestParamInfo<OpenCase>& info) { return std::string(info.param.name); });

namespace {

// A conversion whose PDFs wait for the disk until the test lets each go; their results then
// come on another thread, as from the commit pool.
class HeldPdfs {
public:
    PooledFileConversion Function()
    {
        return [this](const ConversionOptions&, const std::string& input, const std::string&, const std::string&,
                      const std::string&, ConversionObserver&, CommitPool&, ResultTaker take) {
            std::lock_guard lock(m_mutex);
            m_held.emplace_back(input, std::move(take));
            if (m_held.size() == m_stopAfter)
                m_run->Stop();
        };
    }
    void StopAfter(std::size_t files, ConversionRun* run)
    {
        m_stopAfter = files;
        m_run = run;
    }
    std::size_t Held()
    {
        std::lock_guard lock(m_mutex);
        return m_held.size();
    }
    // Puts the held PDFs in place, the last one first; those of `failing` fail instead.
    void ReleaseLastFirst(const std::string& failing)
    {
        std::lock_guard lock(m_mutex);
        for (auto held = m_held.rbegin(); held != m_held.rend(); ++held) {
            ConversionResult result = held->first == failing ? ConversionResult::Failed("Cannot write: disk full.")
                                                             : ConversionResult{true, {}, {}};
            std::thread(std::move(held->second), std::move(result)).join();
        }
    }

private:
    std::mutex m_mutex;
    std::vector<std::pair<std::string, ResultTaker>> m_held;
    std::size_t m_stopAfter = 0;
    ConversionRun* m_run = nullptr;
};

struct HeldCase {
    const char* name;
    std::size_t stopAfter; // 0: no Stop
    std::size_t converted;
    RunEnd end;
};

class PdfsUnderWay : public testing::TestWithParam<HeldCase> {};

template <typename Condition>
bool Within(std::chrono::seconds deadline, Condition condition)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

TEST_P(PdfsUnderWay, AreCountedWhenInPlaceAndWaitedForBeforeTheRunEnds)
{
    const HeldCase& c = GetParam();
    // Shared with the worker thread, which a run that never ends leaves behind.
    struct Shared {
        FakeWindow window;
        HeldPdfs pdfs;
        std::unique_ptr<ConversionRun> run;
        std::promise<RunOutcome> outcome;
    };
    auto shared = std::make_shared<Shared>();
    shared->run = std::make_unique<ConversionRun>(Entries({"/d/1.txt", "/d/2.txt", "/d/3.txt"}), 300,
                                                  shared->pdfs.Function());
    shared->pdfs.StopAfter(c.stopAfter, shared->run.get());
    std::future<RunOutcome> ended = shared->outcome.get_future();
    std::thread([shared] { shared->outcome.set_value(shared->run->Execute(shared->window)); }).detach();

    ASSERT_TRUE(Within(std::chrono::seconds(10), [&] { return shared->pdfs.Held() == c.converted; }));
    EXPECT_EQ(ended.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout)
        << "the run ended with PDFs under way";
    EXPECT_EQ(shared->run->Progress().Take().filesDone, 0);
    shared->pdfs.ReleaseLastFirst("/d/1.txt");
    ASSERT_EQ(ended.wait_for(std::chrono::seconds(10)), std::future_status::ready) << "the run never ended";
    const RunOutcome outcome = ended.get();
    EXPECT_EQ(outcome.end, c.end);
    EXPECT_EQ(shared->pdfs.Held(), c.converted);
    EXPECT_EQ(shared->run->Progress().Take().filesDone, int(c.converted));
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_EQ(outcome.failures[0].path, "/d/1.txt");
    EXPECT_EQ(outcome.failures[0].text, "Cannot write: disk full.");
}

INSTANTIATE_TEST_SUITE_P(, PdfsUnderWay,
    testing::Values(HeldCase{"ARunThatCompletes", 0, 3, RunEnd::Completed},
                    HeldCase{"StopDuringTheFirstFile", 1, 1, RunEnd::Stopped},
                    HeldCase{"StopDuringTheSecondFile", 2, 2, RunEnd::Stopped}),
    [](const testing::TestParamInfo<HeldCase>& info) { return std::string(info.param.name); });

} // namespace
