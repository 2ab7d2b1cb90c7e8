// The run that writes every checked file into one PDF.
#include "conversion/ConversionRun.h"

#include "conversion/CombineFiles.h"
#include "conversion/OutputPath.h"

#include <algorithm>

namespace {

// Each file's progress goes to the board, its warnings to the window; its result to the run's
// lists, by the file's path.
class CombinedRunObserver : public CombineObserver {
public:
    CombinedRunObserver(RunWindow& window, ProgressBoard& progress, const ConversionRun& run)
        : m_window(window), m_progress(progress), m_run(run)
    {
    }

    std::optional<std::string> FileStarting(std::size_t index) override
    {
        const RunEntry& entry = m_run.Entries()[index];
        m_window.FileStarting(int(index) + 1, Count());
        if (!m_window.ReadPasswords(entry).listed)
            return "The file was removed from the list before its turn.";
        return std::nullopt;
    }
    void FileDone(std::size_t index, const ConversionResult& result) override
    {
        const std::string& path = m_run.Entries()[index].path;
        if (!result.written)
            outcome.failures.push_back({path, result.reason});
        for (const std::string& note : result.notes)
            outcome.notes.push_back({path, note});
        if (m_progress.FileDone(int(index) + 1, Count()))
            m_window.ShowProgress();
    }
    bool StopAsked() const override { return m_run.IsStopped(); }
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

    RunOutcome outcome;

private:
    int Count() const { return int(m_run.Entries().size()); }

    RunWindow& m_window;
    ProgressBoard& m_progress;
    const ConversionRun& m_run;
};

bool AnyRowHasPasswords(RunWindow& window, const std::vector<RunEntry>& entries)
{
    return std::any_of(entries.begin(), entries.end(), [&window](const RunEntry& entry) {
        const FilePasswords passwords = window.ReadPasswords(entry);
        return !passwords.owner.empty() || !passwords.user.empty();
    });
}

} // namespace

RunOutcome ConversionRun::ExecuteCombined(RunWindow& window, const ConversionOptions& options)
{
    const std::string output = CombinedOutputPath(options.CombineInto, m_entries.front().path);
    std::vector<std::string> inputs;
    for (const RunEntry& entry : m_entries)
        inputs.push_back(entry.path);
    if (const auto problem = CombinedOutputProblem(inputs, output)) {
        RunOutcome refused;
        refused.end = RunEnd::Refused;
        refused.abortReason = *problem;
        return refused;
    }
    if (AnyRowHasPasswords(window, m_entries) && !window.Confirm(kRowPasswordsNotApplied)) {
        RunOutcome declined;
        declined.end = RunEnd::Declined;
        return declined;
    }
    CombinedRunObserver observer(window, m_progress, *this);
    const ConversionResult result = CombineFilesInto(options, inputs, "", "", output, observer);
    RunOutcome outcome = std::move(observer.outcome);
    outcome.end = m_stop ? RunEnd::Stopped : RunEnd::Completed;
    if (result.kind == ResultKind::LibraryUnusable) {
        outcome.end = RunEnd::Aborted;
        outcome.abortReason = result.reason;
        return outcome;
    }
    if (!result.written) {
        // The files that went in are in no PDF: what was noted about them no longer applies.
        outcome.notes.clear();
        outcome.failures.push_back({output, result.reason});
    }
    for (const std::string& note : result.notes)
        outcome.notes.push_back({output, note});
    if (result.written && outcome.end == RunEnd::Completed && options.OpenResult != kNo) {
        outcome.openVerb = "open";
        outcome.openTarget = output;
    }
    return outcome;
}
