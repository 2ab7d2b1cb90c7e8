#include "conversion/ConversionRun.h"

#include "conversion/CheckOptions.h"
#include "conversion/FileConverter.h"
#include "conversion/OutputPath.h"

#include <filesystem>

namespace {

// One file's progress goes to the board, its warnings to the window.
class RunObserver : public ConversionObserver {
public:
    RunObserver(RunWindow& window, ProgressBoard& progress) : m_window(window), m_progress(progress) {}

    void SetProgressRange(int lower, int upper) override
    {
        if (m_progress.SetRange(lower, upper))
            m_window.ShowProgress();
    }
    void SetProgressPos(int pos) override
    {
        if (m_progress.SetPos(pos))
            m_window.ShowProgress();
    }
    void Warn(std::string_view message) override { m_window.Warn(message); }

private:
    RunWindow& m_window;
    ProgressBoard& m_progress;
};

} // namespace

ConversionRun::ConversionRun(std::vector<RunEntry> entries, int barPixels, FileConversion convert)
    : m_entries(std::move(entries))
    , m_convert(std::move(convert))
    , m_progress(barPixels)
{
}

RunOutcome ConversionRun::Execute(RunWindow& window)
{
    RunOutcome outcome;
    const ConversionOptions options = window.ReadOptions();
    const int count = int(m_entries.size());
    if (count == 0)
        return outcome;
    // Options that fail every file are refused once, before any old PDF is replaced or removed.
    if (const auto reason = CheckOptions(options)) {
        outcome.end = RunEnd::Refused;
        outcome.abortReason = *reason;
        return outcome;
    }
    RunObserver observer(window, m_progress);
    bool lastWritten = false;
    for (int i = 0; i < count; ++i) {
        if (m_stop) {
            outcome.end = RunEnd::Stopped;
            return outcome;
        }
        const RunEntry& entry = m_entries[i];
        window.FileStarting(i + 1, count);
        const ConversionResult result = ConvertEntry(options, entry, window.ReadPasswords(entry), observer);
        if (result.kind == ResultKind::LibraryUnusable) {
            outcome.end = RunEnd::Aborted;
            outcome.abortReason = result.reason;
            return outcome;
        }
        if (!result.written)
            outcome.failures.push_back({entry.path, result.reason});
        for (const std::string& note : result.notes)
            outcome.notes.push_back({entry.path, note});
        lastWritten = result.written;
        if (m_progress.FileDone(i + 1, count))
            window.ShowProgress();
    }
    // A Stop during the last file still means the user did not want the results opened.
    outcome.end = m_stop ? RunEnd::Stopped : RunEnd::Completed;
    if (outcome.end == RunEnd::Completed)
        SetResultToOpen(options, count == 1 && lastWritten, outcome);
    return outcome;
}

ConversionResult ConversionRun::ConvertEntry(const ConversionOptions& options, const RunEntry& entry,
                                             const FilePasswords& passwords, ConversionObserver& observer) const
{
    if (!passwords.listed)
        return ConversionResult::Failed("The file was removed from the list before its turn.");
    const std::string outputPath = OutputPathFor(entry.path);
    if (const auto problem = CheckPasswords(passwords.owner, passwords.user))
        return KeepingOldPdf(ConversionResult::Failed(*problem), outputPath);
    return m_convert(options, entry.path, passwords.owner, passwords.user, outputPath, observer);
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
