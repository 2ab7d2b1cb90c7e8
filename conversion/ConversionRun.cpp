#include "conversion/ConversionRun.h"

#include "conversion/CheckOptions.h"
#include "conversion/FileConverter.h"
#include "conversion/OutputPath.h"
#include "platform/CommitPool.h"

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <utility>

namespace {

// Results that come from the commit pool's threads, taken by the worker thread.
class ArrivingResults {
public:
    void Add(int index, ConversionResult result)
    {
        std::lock_guard lock(m_mutex);
        m_arrived.emplace_back(index, std::move(result));
        m_any = true;
        m_arrival.notify_one();
    }
    // Cheap enough for every progress step.
    bool Any() const { return m_any.load(std::memory_order_relaxed); }
    // Those that came so far; when `wait`, at least one.
    std::vector<std::pair<int, ConversionResult>> Take(bool wait)
    {
        std::unique_lock lock(m_mutex);
        if (wait)
            m_arrival.wait(lock, [this] { return !m_arrived.empty(); });
        m_any = false;
        return std::exchange(m_arrived, {});
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_arrival;
    std::vector<std::pair<int, ConversionResult>> m_arrived;
    std::atomic<bool> m_any{false};
};

// One file's progress goes to the board, its warnings to the window. The files whose PDFs were
// put in place meanwhile are counted as the progress comes, so that the count does not wait
// for the end of a long file.
class RunObserver : public ConversionObserver {
public:
    RunObserver(RunWindow& window, ProgressBoard& progress, const ArrivingResults& arriving,
                std::function<void()> recordArrived)
        : m_window(window), m_progress(progress), m_arriving(arriving), m_recordArrived(std::move(recordArrived))
    {
    }

    void SetProgressRange(int lower, int upper) override
    {
        if (m_progress.SetRange(lower, upper))
            m_window.ShowProgress();
    }
    void SetProgressPos(int pos) override
    {
        if (m_arriving.Any())
            m_recordArrived();
        if (m_progress.SetPos(pos))
            m_window.ShowProgress();
    }
    void Warn(std::string_view message) override { m_window.Warn(message); }

private:
    RunWindow& m_window;
    ProgressBoard& m_progress;
    const ArrivingResults& m_arriving;
    const std::function<void()> m_recordArrived;
};

} // namespace

ConversionRun::ConversionRun(std::vector<RunEntry> entries, int barPixels, PooledFileConversion convert)
    : m_entries(std::move(entries))
    , m_convert(std::move(convert))
    , m_progress(barPixels)
{
}

ConversionRun::ConversionRun(std::vector<RunEntry> entries, int barPixels, FileConversion convert)
    : ConversionRun(std::move(entries), barPixels,
                    [convert = std::move(convert)](const ConversionOptions& options, const std::string& inputPath,
                                                   const std::string& ownerPassword, const std::string& userPassword,
                                                   const std::string& outputPath, ConversionObserver& observer,
                                                   CommitPool&, ResultTaker take) {
                        take(convert(options, inputPath, ownerPassword, userPassword, outputPath, observer));
                    })
{
}

RunOutcome ConversionRun::Execute(RunWindow& window)
{
    const ConversionOptions options = window.ReadOptions();
    const int count = int(m_entries.size());
    if (count == 0)
        return {};
    // Options that fail every file are refused once, before any old PDF is replaced or removed.
    if (const auto reason = CheckOptions(options)) {
        RunOutcome outcome;
        outcome.end = RunEnd::Refused;
        outcome.abortReason = *reason;
        return outcome;
    }
    if (!options.CombineInto.empty())
        return ExecuteCombined(window, options);
    ArrivingResults arriving;
    std::vector<std::optional<ConversionResult>> results(std::size_t(count), std::nullopt);
    int started = 0;
    int finished = 0;
    bool libraryUnusable = false;
    const auto record = [&](bool wait) {
        auto arrived = arriving.Take(wait);
        if (arrived.empty())
            return;
        for (auto& [index, result] : arrived) {
            libraryUnusable = libraryUnusable || result.kind == ResultKind::LibraryUnusable;
            results[std::size_t(index)] = std::move(result);
            ++finished;
        }
        if (m_progress.SetFilesDone(finished, count))
            window.ShowProgress();
    };
    RunObserver observer(window, m_progress, arriving, [&record] { record(false); });
    CommitPool pool(kCommitThreads);
    for (int i = 0; i < count && !m_stop && !libraryUnusable; ++i, ++started) {
        const RunEntry& entry = m_entries[std::size_t(i)];
        window.FileStarting(i + 1, count);
        ConvertEntry(options, entry, window.ReadPasswords(entry), observer, pool,
                     [&arriving, i](ConversionResult result) { arriving.Add(i, std::move(result)); });
        record(false);
        if (m_progress.FileDone(finished, count))
            window.ShowProgress();
    }
    while (finished < started)
        record(true);
    return OutcomeOf(options, results);
}

void ConversionRun::ConvertEntry(const ConversionOptions& options, const RunEntry& entry,
                                 const FilePasswords& passwords, ConversionObserver& observer, CommitPool& pool,
                                 ResultTaker take) const
{
    if (!passwords.listed)
        return take(ConversionResult::Failed("The file was removed from the list before its turn."));
    const std::string outputPath = OutputPathFor(entry.path);
    if (const auto problem = CheckPasswords(passwords.owner, passwords.user))
        return take(KeepingOldPdf(ConversionResult::Failed(*problem), outputPath));
    m_convert(options, entry.path, passwords.owner, passwords.user, outputPath, observer, pool, std::move(take));
}

// The files in the order of the run, whatever order their PDFs were put in place.
RunOutcome ConversionRun::OutcomeOf(const ConversionOptions& options,
                                    const std::vector<std::optional<ConversionResult>>& results) const
{
    RunOutcome outcome;
    outcome.end = RunEnd::Completed;
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (!results[i])
            continue;
        const ConversionResult& result = *results[i];
        if (result.kind == ResultKind::LibraryUnusable) {
            outcome.end = RunEnd::Aborted;
            outcome.abortReason = result.reason;
            continue;
        }
        if (!result.written)
            outcome.failures.push_back({m_entries[i].path, result.reason});
        for (const std::string& note : result.notes)
            outcome.notes.push_back({m_entries[i].path, note});
    }
    // A Stop during the last file still means the user did not want the results opened.
    if (outcome.end == RunEnd::Completed && m_stop)
        outcome.end = RunEnd::Stopped;
    if (outcome.end == RunEnd::Completed)
        SetResultToOpen(options, results.size() == 1 && results.front() && results.front()->written, outcome);
    return outcome;
}

void ConversionRun::SetResultToOpen(const ConversionOptions& options, bool onlyFileWritten,
                                    RunOutcome& outcome) const
{
    if (options.OpenResult == kNo)
        return;
    if (m_entries.size() == 1) {
        // A PDF that was not written cannot be opened; the failure report says why.
        if (onlyFileWritten) {
            outcome.openVerb = "open";
            outcome.openTarget = OutputPathFor(m_entries.front().path);
        }
        return;
    }
    outcome.openVerb = "explore";
    outcome.openTarget = std::filesystem::path(m_entries.front().path).parent_path().string();
}
