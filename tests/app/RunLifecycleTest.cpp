// The run's lifecycle as a table: each row reaches a state by the commands a user gives, then
// gives one more and names the state and action it must lead to.
#include "app/RunLifecycle.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using State = CRunLifecycle::State;
using Command = CRunLifecycle::Command;
using Action = CRunLifecycle::Action;

struct LifecycleCase {
    const char* name;
    std::vector<Command> before; // from Idle
    Command command;
    State next;
    Action action;
    bool busy;
    bool worker;
};

void PrintTo(const LifecycleCase& lifecycleCase, std::ostream* out)
{
    *out << lifecycleCase.name;
}

class RunLifecycleTest : public testing::TestWithParam<LifecycleCase> {};

TEST_P(RunLifecycleTest, TakesTheStepOfItsTable)
{
    const LifecycleCase& c = GetParam();
    CRunLifecycle lifecycle;
    for (Command command : c.before)
        lifecycle.Ask(command);
    EXPECT_EQ(lifecycle.Ask(c.command), c.action);
    EXPECT_EQ(lifecycle.GetState(), c.next);
    EXPECT_EQ(lifecycle.IsBusy(), c.busy);
    EXPECT_EQ(lifecycle.HasWorker(), c.worker);
}

constexpr Command Start = Command::Start;
constexpr Command Stop = Command::Stop;
constexpr Command Close = Command::Close;
constexpr Command Ended = Command::WorkerEnded;

INSTANTIATE_TEST_SUITE_P(Table, RunLifecycleTest, testing::Values(
    LifecycleCase{"IdleStartLaunches", {}, Start, State::Running, Action::Launch, true, true},
    LifecycleCase{"IdleStopOnlyShowsStopped", {}, Stop, State::Idle, Action::ShowStopped, false, false},
    LifecycleCase{"IdleCloseWaitsForNothing", {}, Close, State::Closed, Action::None, false, false},
    LifecycleCase{"IdleStaleEndDoesNothing", {}, Ended, State::Idle, Action::None, false, false},
    LifecycleCase{"RunningStartIsIgnored", {Start}, Start, State::Running, Action::None, true, true},
    LifecycleCase{"RunningStopStops", {Start}, Stop, State::Stopping, Action::ShowStopped, false, true},
    LifecycleCase{"RunningCloseAbandons", {Start}, Close, State::Closing, Action::AbandonRun, false, true},
    LifecycleCase{"RunningEndFinishes", {Start}, Ended, State::Idle, Action::Finish, false, false},
    LifecycleCase{"StoppingStartIsQueued", {Start, Stop}, Start, State::StartQueued, Action::ShowBusy, true, true},
    LifecycleCase{"StoppingEndFinishes", {Start, Stop}, Ended, State::Idle, Action::Finish, false, false},
    LifecycleCase{"StoppingCloseWaits", {Start, Stop}, Close, State::Closing, Action::None, false, true},
    LifecycleCase{"QueuedStartIgnoresAnother", {Start, Stop, Start}, Start, State::StartQueued, Action::None, true, true},
    LifecycleCase{"QueuedStartTakenBackByStop", {Start, Stop, Start}, Stop, State::Stopping, Action::ShowStopped, false, true},
    LifecycleCase{"QueuedStartLaunchedAtTheEnd", {Start, Stop, Start}, Ended, State::Running, Action::FinishThenLaunch, true, true},
    LifecycleCase{"QueuedStartDroppedByClose", {Start, Stop, Start}, Close, State::Closing, Action::None, false, true},
    LifecycleCase{"ClosingStartsNothing", {Start, Close}, Start, State::Closing, Action::None, false, true},
    LifecycleCase{"ClosingEndIsQuiet", {Start, Close}, Ended, State::Closed, Action::FinishQuietly, false, false},
    LifecycleCase{"ClosedStartsNothing", {Close}, Start, State::Closed, Action::None, false, false}),
    [](const testing::TestParamInfo<LifecycleCase>& info) { return info.param.name; });

} // namespace
