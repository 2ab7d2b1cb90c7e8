#include "app/RunLifecycle.h"

namespace {

using State = CRunLifecycle::State;
using Command = CRunLifecycle::Command;
using Action = CRunLifecycle::Action;

struct Transition {
    State from;
    Command command;
    State next;
    Action action;
};

// Every pair that is not listed keeps its state and does nothing: a second Start while busy,
// a stale worker end, any command once closed.
constexpr Transition kTransitions[] = {
    {State::Idle, Command::Start, State::Running, Action::Launch},
    // Stop with no run still tells the user the list is not being converted.
    {State::Idle, Command::Stop, State::Idle, Action::ShowStopped},
    {State::Idle, Command::Close, State::Closed, Action::None},

    {State::Running, Command::Stop, State::Stopping, Action::ShowStopped},
    {State::Running, Command::Close, State::Closing, Action::AbandonRun},
    {State::Running, Command::WorkerEnded, State::Idle, Action::Finish},

    // One worker at a time: the new run waits for the stopped one's file.
    {State::Stopping, Command::Start, State::StartQueued, Action::ShowBusy},
    {State::Stopping, Command::Stop, State::Stopping, Action::ShowStopped},
    {State::Stopping, Command::Close, State::Closing, Action::None},
    {State::Stopping, Command::WorkerEnded, State::Idle, Action::Finish},

    // Stop takes the queued Start back.
    {State::StartQueued, Command::Stop, State::Stopping, Action::ShowStopped},
    {State::StartQueued, Command::Close, State::Closing, Action::None},
    {State::StartQueued, Command::WorkerEnded, State::Running, Action::FinishThenLaunch},

    {State::Closing, Command::WorkerEnded, State::Closed, Action::FinishQuietly},
};

} // namespace

CRunLifecycle::Step CRunLifecycle::StepFor(State state, Command command)
{
    for (const Transition& transition : kTransitions) {
        if (transition.from == state && transition.command == command)
            return {transition.next, transition.action};
    }
    return {state, Action::None};
}

CRunLifecycle::Action CRunLifecycle::Ask(Command command)
{
    const Step step = StepFor(m_state, command);
    m_state = step.next;
    return step.action;
}

bool CRunLifecycle::HasWorker() const
{
    return m_state != State::Idle && m_state != State::Closed;
}
