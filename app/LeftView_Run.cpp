// Starting and stopping a run, and what the pane does for its worker on the GUI thread.
#include "app/LeftView.h"

#include "app/AppMessageBox.h"
#include "app/FileListText.h"
#include "app/RightView.h"
#include "controls/TextProgressCtrl.h"
#include "conversion/FileConverter.h"
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
    // Only the Start that launched a worker waits; a queued one is launched by that wait.
    if (Ask(CRunLifecycle::Command::Start) == CRunLifecycle::Action::Launch)
        WaitForRunEnd();
}

CRunLifecycle::Action CLeftView::Ask(CRunLifecycle::Command command, const RunOutcome* outcome)
{
    using Action = CRunLifecycle::Action;
    const Action action = m_lifecycle.Ask(command);
    switch (action) {
    case Action::None: break;
    case Action::Launch: LaunchRun(); break;
    case Action::ShowStopped: ShowStopped(); break;
    case Action::ShowBusy: SetRunButtonsEnabled(false); break;
    case Action::AbandonRun: m_run->Stop(); break;
    case Action::Finish: FinishRun(*outcome, true); break;
    case Action::FinishThenLaunch:
        FinishRun(*outcome, true);
        LaunchRun();
        break;
    case Action::FinishQuietly: FinishRun(*outcome, false); break;
    }
    return action;
}

void CLeftView::LaunchRun()
{
    SetRunButtonsEnabled(false);
    // A password still being typed counts.
    m_grid->FinishEditing();
    m_barsShowRun = false;
    auto run = std::make_shared<ConversionRun>(m_files.CheckedEntries(), m_currentBar->width(), ConvertFileThrough);
    m_run = run;
    m_worker = std::thread([this, run, handlers = BridgeHandlers(run.get())] {
        CRunBridge bridge(this, m_files, handlers);
        const RunOutcome outcome = run->Execute(bridge);
        QMetaObject::invokeMethod(this, [this, outcome] { Ask(CRunLifecycle::Command::WorkerEnded, &outcome); },
                                  Qt::QueuedConnection);
    });
}

CRunBridge::Handlers CLeftView::BridgeHandlers(const ConversionRun* run)
{
    CRunBridge::Handlers handlers;
    handlers.readOptions = [this] { return m_optionsView ? m_optionsView->ReadOptionsFromTree() : ConversionOptions{}; };
    if (isSignalConnected(QMetaMethod::fromSignal(&CLeftView::FileStarted)))
        handlers.fileStarting = [this](int number, int count) { emit FileStarted(number, count); };
    handlers.warn = [this](const QString& message) { WarnForRun(message); };
    handlers.confirm = [this](const QString& message) { return ConfirmForRun(message); };
    handlers.progressChanged = [this, run] {
        if (run == m_run.get() && !m_progressTimer.isActive())
            m_progressTimer.start();
    };
    return handlers;
}

void CLeftView::ShowStopped()
{
    SetRunButtonsEnabled(true);
    ResetBars(QStringLiteral("Convert stopped."));
    if (m_run)
        m_run->Stop();
}

void CLeftView::WaitForRunEnd()
{
    // Events keep flowing, the worker's requests among them, until its end has been handled.
    while (m_lifecycle.HasWorker())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// Called when a cell's text has changed (typed, pasted or cleared): the run finds the row's
// passwords in the list from now on.
void CLeftView::KeepPasswords(int row)
{
    if (row < 1 || row > m_files.Count())
        return;
    const auto text = [this, row](int col) { return m_grid->GetItemText(row, col).toLocal8Bit().toStdString(); };
    m_files.SetPasswords(row - 1, text(OwnerColumn), text(UserColumn));
}

void CLeftView::WarnForRun(const QString& message)
{
    if (m_lifecycle.GetState() != CRunLifecycle::State::Closing)
        AppMessageBox(this, message);
}

// A window that is closing asks nothing more: the run goes no further than the question.
bool CLeftView::ConfirmForRun(const QString& message)
{
    if (m_lifecycle.GetState() == CRunLifecycle::State::Closing)
        return false;
    return AppMessageBox(this, message, QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel)
           == QMessageBox::Ok;
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
    if (state.filesDone > 0) {
        const int percent = state.filesDone * 100 / state.fileCount;
        // The bar fills as its caption counts.
        m_totalBar->SetRange32(0, 100);
        m_totalBar->SetPos(percent);
        m_totalBar->SetWindowText(QString::asprintf("File %d of %d, %d%%", state.filesDone, state.fileCount, percent));
    }
}

void CLeftView::FinishRun(const RunOutcome& outcome, bool show)
{
    // The worker has posted its end as its last act: the join does not wait.
    m_worker.join();
    m_progressTimer.stop();
    // Stop has already restored the window and captioned the bars.
    const bool stopped = m_run->IsStopped();
    if (show && !stopped && outcome.end == RunEnd::Completed)
        ApplyProgress();
    // Let go before any box is shown: a Start while it is open makes the next run.
    m_run.reset();
    if (outcome.end == RunEnd::Aborted)
        std::fprintf(stdout, "%s\n", outcome.abortReason.c_str());
    if (show)
        ShowRunEnd(outcome, stopped);
    emit RunEnded();
}

void CLeftView::ShowRunEnd(const RunOutcome& outcome, bool stopped)
{
    SetRunButtonsEnabled(!m_lifecycle.IsBusy());
    if (!stopped && outcome.end == RunEnd::Completed) {
        m_currentBar->SetWindowText(QStringLiteral("Convert Finished"));
        m_totalBar->SetWindowText(QStringLiteral("Convert Finished"));
    }
    ReportRunProblems(outcome);
    if (!stopped && !outcome.openVerb.empty())
        OpenRunResult(outcome);
}

// A run opens one thing at most, so this says it once per run.
void CLeftView::OpenRunResult(const RunOutcome& outcome)
{
    const QString verb = QString::fromLatin1(outcome.openVerb.c_str());
    const QString target = QString::fromLocal8Bit(outcome.openTarget);
    if (ShellExecute(verb, target) > 32)
        return;
    const QString what = verb == QLatin1String("open") ? QStringLiteral("PDFs") : QStringLiteral("folders");
    AppMessageBox(this, QStringLiteral("No program to open %1 was found, so %2 was not opened.").arg(what, target),
                  QMessageBox::Information);
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
