#pragma once
// The lifecycle of the window's runs: which state the run is in, and what each command does in
// each state. Every command (Start, Stop, closing, the worker's end) asks this table and carries
// out the one action it answers; no command calls another.
//
// The map of a run
// ----------------
// Who owns what
//   CLeftView (GUI thread) owns this lifecycle, the file list (CFileListModel: each entry's path,
//   tick and passwords; the grid shows it), the worker std::thread and the latest ConversionRun
//   (shared with the worker). ConversionRun owns the run's entries (the ticked paths at Start),
//   its stop flag and its ProgressBoard. Passwords are not copied at Start: the worker reads
//   each file's from the locked file list when its turn comes, so a password typed during a
//   run counts for the files not yet started.
// Which thread runs what
//   GUI thread: every command, the option tree, message boxes, the bars, the shell requests.
//   Worker thread: ConversionRun::Execute through a CRunBridge, which is the only way back to
//   the GUI thread (see RunWindow in conversion/ConversionRun.h for each call's thread).
// Who waits
//   The worker waits for the GUI thread in two places: for the options at its start, and for the
//   user to acknowledge each warning box. The GUI thread never blocks on the worker: Start and closing
//   keep dispatching events until the worker's end has been handled (WorkerEnded), and only
//   then join the thread, which has returned by then. A Start while a stopped worker is still
//   finishing its file is queued (StartQueued) and carried out on WorkerEnded by whoever is
//   already waiting.
//
// GUI thread only; plain data, no Qt.

class CRunLifecycle {
public:
    enum class State {
        Idle,        // no worker
        Running,     // a worker converts; the run buttons are disabled
        Stopping,    // Stop was asked; the worker finishes its current file
        StartQueued, // as Stopping, and a new run starts when the worker has ended
        Closing,     // the pane goes away; the worker finishes its file, nothing more is shown
        Closed,      // no worker, and none will start
    };
    enum class Command { Start, Stop, Close, WorkerEnded };
    enum class Action {
        None,
        Launch,              // start a worker on the ticked files
        ShowStopped,         // ask the worker (if any) to stop; the window shows the run stopped
        ShowBusy,            // the window shows a run coming (buttons disabled)
        Finish,              // join the worker and show how its run ended
        FinishThenLaunch,    // Finish, then Launch the queued run
        FinishQuietly,       // join the worker; show nothing
        AbandonRun,          // ask the worker to stop; show nothing
    };
    struct Step {
        State next;
        Action action;
    };

    // The step that `command` takes from `state`.
    static Step StepFor(State state, Command command);

    // Moves to the command's next state and returns the action to carry out.
    Action Ask(Command command);

    State GetState() const { return m_state; }
    // A run is going or queued: the commands a run disables stay disabled.
    bool IsBusy() const { return m_state == State::Running || m_state == State::StartQueued; }
    // A worker thread exists (it may already have returned, its end not yet handled).
    bool HasWorker() const;

private:
    State m_state = State::Idle;
};
