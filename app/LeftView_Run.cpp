// Starting and stopping a run, and what the pane does for its worker on the GUI thread.
#include "app/LeftView.h"

#include "app/AppMessageBox.h"
#include "app/FileListText.h"
#include "app/RightView.h"
#include "app/RunBridge.h"
#include "controls/TextProgressCtrl.h"
#include "conversion/FileConverter.h"
#include "grid/GridCellCheck.h"
#include "grid/GridCtrl.h"
#include "platform/ShellRequest.h"

#include <QCoreApplication>
#include <QMetaMethod>

#include <cstdio>

namespace {

QStringList FileLines(const std::vector<FileNote>& notes)
{
    QStringList lines;
    for (const FileNote& note : notes)
        lines << QString::fromLocal8Bit(note.path) + QStringLiteral(": ") + QString::fromLocal8Bit(note.text);
    return lines;
}

} // namespace

void CLeftView::StartConvert()
{
    m_busy = true;
    SetRunButtonsEnabled(false);
    // A stopped run may still be finishing its last file; one worker at a time. Stop pressed
    // meanwhile means no new run.
    WaitForRunEnd();
    if (!m_busy)
        return;
    // A password still being typed counts.
    m_grid->FinishEditing();
    std::vector<RunEntry> entries = CheckedEntries();
    m_barsShowRun = false;
    m_filesStarted = 0;
    auto run = std::make_shared<ConversionRun>(std::move(entries), m_currentBar->width(), ConvertFileThrough);
    m_run = run;
    // Waking the window for every file of a thousand small ones is a cost worth sparing.
    const bool announce = isSignalConnected(QMetaMethod::fromSignal(&CLeftView::FileStarted));
    m_worker = std::thread([this, run, announce] {
        CRunBridge bridge(this, run.get(), m_passwords, announce);
        const RunOutcome outcome = run->Execute(bridge);
        QMetaObject::invokeMethod(this, [this, run, outcome] { OnRunFinished(run.get(), outcome); },
                                  Qt::QueuedConnection);
    });
    WaitForRunEnd();
}

void CLeftView::StopConvert()
{
    SetRunButtonsEnabled(true);
    m_busy = false;
    ResetBars(QStringLiteral("Convert stopped."));
    if (m_run)
        m_run->Stop();
}

void CLeftView::WaitForRunEnd()
{
    // Events keep flowing, the worker's requests among them, until its end has been handled.
    while (m_worker.joinable())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

std::vector<RunEntry> CLeftView::CheckedEntries() const
{
    std::vector<RunEntry> entries;
    for (int row = 1; row < m_grid->GetRowCount(); ++row) {
        const auto* check = dynamic_cast<const CGridCellCheck*>(m_grid->GetCell(row, 0));
        if (check && check->GetCheck())
            entries.push_back({m_paths[row - 1]});
    }
    return entries;
}

ConversionOptions CLeftView::OptionsForRun()
{
    return m_optionsView ? m_optionsView->ReadOptionsFromTree() : ConversionOptions{};
}

void CLeftView::AnnounceFile(const ConversionRun* run)
{
    emit FileStarted(++m_filesStarted, int(run->Entries().size()));
}

// Called when a cell's text has changed (typed, pasted or cleared): the run finds the row's
// passwords in the book from now on.
void CLeftView::KeepPasswords(int row)
{
    if (row < 1 || row > int(m_paths.size()))
        return;
    const auto text = [this, row](int col) { return m_grid->GetItemText(row, col).toLocal8Bit().toStdString(); };
    m_passwords.Set(m_paths[row - 1], {text(OwnerColumn), text(UserColumn)});
}

void CLeftView::WarnForRun(const QString& message)
{
    if (!m_closing)
        AppMessageBox(this, message);
}

void CLeftView::OnProgressTold(const ConversionRun* run)
{
    if (run == m_run.get() && !m_progressTimer.isActive())
        m_progressTimer.start();
}

void CLeftView::ApplyProgress()
{
    if (!m_run)
        return;
    const ProgressSnapshot state = m_run->Progress().Take();
    // After Stop the bars say so, whatever the last file still reports.
    if (m_run->IsStopped())
        return;
    // Captions of an earlier run are wrong once this one has progress to show; until then (a run
    // the options gate refuses shows none) the bars stay as they were.
    if (!m_barsShowRun) {
        ResetBars(QString());
        m_barsShowRun = true;
    }
    // A bar with an empty range shows nothing at all, not even its caption: an empty file, or
    // files that failed before their text was laid out, leave the bar as it was.
    if (state.lower < state.upper) {
        if (m_currentBar->GetRange(TRUE) != state.lower || m_currentBar->GetRange(FALSE) != state.upper)
            m_currentBar->SetRange32(state.lower, state.upper);
        m_currentBar->SetPos(state.pos);
    }
    if (state.filesDone > 0)
        m_totalBar->SetWindowText(QString::asprintf("File %d of %d, %d%%", state.filesDone, state.fileCount,
                                                    state.filesDone * 100 / state.fileCount));
}

void CLeftView::OnRunFinished(const ConversionRun* run, const RunOutcome& outcome)
{
    m_worker.join();
    m_progressTimer.stop();
    // Stop has already restored the window and captioned the bars.
    const bool stopped = run->IsStopped();
    if (!stopped && outcome.end == RunEnd::Completed)
        ApplyProgress();
    m_run.reset();
    if (!stopped) {
        SetRunButtonsEnabled(true);
        m_busy = false;
    }
    if (!stopped && outcome.end == RunEnd::Completed) {
        m_currentBar->SetWindowText(QStringLiteral("Convert Finished"));
        m_totalBar->SetWindowText(QStringLiteral("Convert Finished"));
    }
    if (outcome.end == RunEnd::Aborted)
        std::fprintf(stdout, "%s\n", outcome.abortReason.c_str());
    if (!m_closing) {
        ReportRunProblems(outcome);
        if (!stopped && !outcome.openVerb.empty())
            ShellExecute(QString::fromLatin1(outcome.openVerb.c_str()), QString::fromLocal8Bit(outcome.openTarget));
    }
    emit RunEnded();
}

void CLeftView::ReportRunProblems(const RunOutcome& outcome)
{
    QStringList parts;
    if (outcome.end == RunEnd::Aborted)
        parts << QStringLiteral("The PDF library could not create a document (%1); the run was ended.")
                     .arg(QString::fromLocal8Bit(outcome.abortReason));
    if (outcome.end == RunEnd::Refused)
        parts << QStringLiteral("No file was converted or touched: %1")
                     .arg(QString::fromLocal8Bit(outcome.abortReason));
    if (!outcome.failures.empty())
        parts << ListMessage(QStringLiteral("These files were not converted:"), FileLines(outcome.failures));
    if (!outcome.notes.empty())
        parts << ListMessage(QStringLiteral("Converted, with a note:"), FileLines(outcome.notes));
    if (!parts.isEmpty())
        AppMessageBox(this, parts.join(QStringLiteral("\n\n")));
}
