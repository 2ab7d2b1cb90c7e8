#pragma once
// One conversion run of the window: the checked files of the file list converted one after the
// other on a worker thread while the window stays live.
//
// The run touches no widget. What it needs from the window (the options as the option tree
// shows them, each file's passwords as its row shows them when the file's turn comes, the
// answer to a warning) it asks through RunWindow, which states for each call whether the worker
// waits for the window's thread. Progress goes to the run's ProgressBoard, which the window
// reads when it is told to.
//
// With the options' CombineInto, the run writes every checked file into that one PDF instead
// (CombineFiles.h, the path as CombinedOutputPath gives it); the rows' passwords do not apply to
// it, and when any row has one the run first asks whether to go on without them.
//
// Each finished PDF is flushed and put in place by a CommitPool while the next file is converted;
// the count of files done follows those replacements, and Execute returns only when every PDF
// under way is in place or has failed, whether the run completed, stopped or was aborted.
//
// Threads: Execute runs once, on the worker thread, which alone calls the RunWindow and the
// progress board's Set calls; Stop, IsStopped and Progress may be called from any thread.
#include "conversion/ConversionObserver.h"
#include "conversion/ConversionOptions.h"
#include "conversion/ConversionResult.h"
#include "conversion/ProgressBoard.h"

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CommitPool;

// The question a combined run starts with when rows have passwords.
inline constexpr char kRowPasswordsNotApplied[] =
    "The files are combined into one PDF, to which the passwords of the rows do not apply: the combined "
    "PDF is not encrypted.";

// A checked file at the start of the run.
struct RunEntry {
    std::string path;
};

struct FilePasswords {
    std::string owner;
    std::string user;
    bool listed = true; // false when the file is no longer in the list: it is not converted
};

// A file and what went wrong with it, or what is worth knowing about its PDF.
struct FileNote {
    std::string path;
    std::string text;
};

enum class RunEnd {
    Empty,     // no file was checked
    Completed, // every file had its turn
    Stopped,   // Stop was asked; the file under way was finished first
    Aborted,   // the PDF library could not make a document; no further file was tried
    Refused,   // the options would fail every file, or the combined PDF may not go where
               // asked; no file was touched
    Declined,  // the user answered a question before the first file with Cancel; no file was touched
};

struct RunOutcome {
    RunEnd end = RunEnd::Empty;
    std::vector<FileNote> failures; // files whose PDF was not written, with the reason
    std::vector<FileNote> notes;    // files whose PDF was written, but not quite as asked
    std::string abortReason; // why the run was aborted or refused
    // What to open when the run completed: verb "open" with a single file's PDF, "explore"
    // with the first file's folder; an empty verb opens nothing.
    std::string openVerb;
    std::string openTarget;
};

// The window's side of a run. Every call is made by ConversionRun::Execute on the worker
// thread; what each does on the window's (GUI) thread, and whether the worker waits for it:
class RunWindow {
public:
    virtual ~RunWindow() = default;
    // Once, at the run's start. Blocks: the GUI thread reads the options as the window shows
    // them.
    virtual ConversionOptions ReadOptions() = 0;
    // Before each file's passwords are read. Does not block: the GUI thread hears of it later.
    virtual void FileStarting(int number, int count) = 0;
    // For each file. Does not wait for the GUI thread: the passwords come from a locked list
    // that the GUI thread keeps as the rows show them.
    virtual FilePasswords ReadPasswords(const RunEntry& entry) = 0;
    // Blocks until the user has acknowledged the warning on the GUI thread.
    virtual void Warn(std::string_view message) = 0;
    // Blocks until the user has answered on the GUI thread; false when the user declined.
    virtual bool Confirm(std::string_view message) = 0;
    // The progress board holds something new to show. Does not block.
    virtual void ShowProgress() = 0;
};

using FileConversion =
    std::function<ConversionResult(const ConversionOptions& options, const std::string& inputPath,
                                   const std::string& ownerPassword, const std::string& userPassword,
                                   const std::string& outputPath, ConversionObserver& observer)>;

// A conversion that hands its PDF to the pool and its result to `take`, as ConvertFileThrough does.
using PooledFileConversion =
    std::function<void(const ConversionOptions& options, const std::string& inputPath,
                       const std::string& ownerPassword, const std::string& userPassword,
                       const std::string& outputPath, ConversionObserver& observer, CommitPool& pool,
                       ResultTaker take)>;

class ConversionRun {
public:
    // barPixels: the length of the window's Current bar, so that progress is sent only when
    // the bar can show it. `convert` is the conversion of one file (tests pass their own); one
    // that returns its result is done when it returns.
    ConversionRun(std::vector<RunEntry> entries, int barPixels, PooledFileConversion convert);
    ConversionRun(std::vector<RunEntry> entries, int barPixels, FileConversion convert);

    RunOutcome Execute(RunWindow& window);

    // Asks the run to stop before its next file.
    void Stop() { m_stop = true; }
    bool IsStopped() const { return m_stop; }
    ProgressBoard& Progress() { return m_progress; }
    const std::vector<RunEntry>& Entries() const { return m_entries; }

private:
    // A row's passwords are checked here, before the conversion touches anything of the file.
    void ConvertEntry(const ConversionOptions& options, const RunEntry& entry, const FilePasswords& passwords,
                      ConversionObserver& observer, CommitPool& pool, ResultTaker take) const;
    RunOutcome ExecuteCombined(RunWindow& window, const ConversionOptions& options);
    RunOutcome OutcomeOf(const ConversionOptions& options, const std::vector<std::optional<ConversionResult>>& results) const;
    void SetResultToOpen(const ConversionOptions& options, bool onlyFileWritten, RunOutcome& outcome) const;

    const std::vector<RunEntry> m_entries;
    const PooledFileConversion m_convert;
    std::atomic<bool> m_stop{false};
    ProgressBoard m_progress;
};
