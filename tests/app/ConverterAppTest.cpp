// The real program, started as separate processes: one instance per user, what a later start
// does, and a lock left by an instance that was killed.
#include "app/ConverterApp.h"
#include "app/LeftView.h"
#include "app/MainFrame.h"
#include "app/CommandIds.h"
#include "platform/ShellRequest.h"
#include "platform/SingleInstance.h"
#include "support/ScopedEnvironment.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Generous: a sanitizer build under a loaded machine takes seconds to show its window.
constexpr int kWaitMs = 60000;

// Each test runs its own copy of the program from a private folder, which is also its temporary
// folder (where the instance lock and the server live) and its home: Settings.ini stays there,
// and the instances of other test runs and other users of this machine are never met.
class ProgramFixture : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const char* name : {"quillary", "tips.txt"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLARY_BINARY_DIR "/app/") + name, dir.filePath(name)));
        environment.SetInstanceFolder(dir.path()); // where this process's SingleInstance looks
    }

    void TearDown() override
    {
        for (const auto& process : processes) {
            process->kill();
            process->waitForFinished();
        }
    }

    QProcess& Start(const QStringList& arguments)
    {
        auto& process = *processes.emplace_back(std::make_unique<QProcess>());
        QProcessEnvironment childEnvironment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"TMPDIR", "HOME", "XDG_RUNTIME_DIR"})
            childEnvironment.insert(QString::fromLatin1(name), dir.path());
        process.setProcessEnvironment(childEnvironment);
        process.setWorkingDirectory(dir.path());
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(dir.filePath("quillary"), arguments);
        EXPECT_TRUE(process.waitForStarted());
        return process;
    }

    // True once an instance has made its window and answers a later start.
    static bool WaitUntilAnswering()
    {
        const QDeadlineTimer deadline(kWaitMs);
        while (!deadline.hasExpired()) {
            if (SingleInstance(QStringLiteral("quillary")).AskFirst({}, 1000))
                return true;
            QThread::msleep(50);
        }
        return false;
    }

    // The exit code, serving this process's events meanwhile; -1 when it did not end normally.
    static int ExitCode(QProcess& process)
    {
        const QDeadlineTimer deadline(kWaitMs);
        while (process.state() != QProcess::NotRunning && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            process.waitForFinished(20);
        }
        return process.state() == QProcess::NotRunning && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QTemporaryDir dir;
    ScopedEnvironment environment;
    std::vector<std::unique_ptr<QProcess>> processes;
};

struct FirstStart {
    const char* name;
    QStringList arguments;
};

class SecondStartTest : public ProgramFixture, public testing::WithParamInterface<FirstStart> {};

// Without --nologo the first shows the splash and then the start-up tip, a modal dialog.
TEST_P(SecondStartTest, HandsItsFilesToTheFirstWhichAnswersAndStays)
{
    QProcess& first = Start(GetParam().arguments);
    ASSERT_TRUE(WaitUntilAnswering());
    QProcess& second = Start({QStringLiteral("--nologo"), QStringLiteral("a.txt")});
    EXPECT_EQ(ExitCode(second), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
}

INSTANTIATE_TEST_SUITE_P(Table, SecondStartTest, testing::Values(
    FirstStart{"WindowOnly", {QStringLiteral("--nologo")}},
    FirstStart{"ShowingTheStartupTip", {}}),
    [](const testing::TestParamInfo<FirstStart>& info) { return info.param.name; });

TEST_F(ProgramFixture, ALockLeftByAKilledInstanceDoesNotBlockTheNextStart)
{
    QProcess& killed = Start({QStringLiteral("--nologo")});
    ASSERT_TRUE(WaitUntilAnswering());
    killed.kill();
    killed.waitForFinished();
    ASSERT_TRUE(QFile::exists(dir.filePath(QStringLiteral("quillary-%1.lock").arg(getuid()))));
    QProcess& next = Start({QStringLiteral("--nologo")});
    EXPECT_TRUE(WaitUntilAnswering());
    EXPECT_EQ(next.state(), QProcess::Running);
}

// This process plays a first instance that is still starting: it holds the lock, and either has
// no server yet or answers that it has no window.
class StillStartingTest : public ProgramFixture, public testing::WithParamInterface<bool> {};

TEST_P(StillStartingTest, TheSecondEndsWithStatusOneAndNoWindow)
{
    const bool listening = GetParam();
    SingleInstance starting(QStringLiteral("quillary"));
    ASSERT_TRUE(starting.TryLock());
    QByteArrayList asked;
    if (listening) {
        ASSERT_TRUE(starting.Listen([&](const QByteArrayList& paths) {
            asked = paths;
            return false;
        }));
    }
    QProcess& second = Start({QStringLiteral("--nologo"), QStringLiteral("a.txt")});
    EXPECT_EQ(ExitCode(second), 1);
    EXPECT_EQ(asked, listening ? QByteArrayList{QFile::encodeName(dir.filePath("a.txt"))} : QByteArrayList{});
}

INSTANTIATE_TEST_SUITE_P(Table, StillStartingTest, testing::Bool(),
    [](const testing::TestParamInfo<bool>& info) { return info.param ? "NoWindowYet" : "NoServerYet"; });

class ForwardedFileTest : public testing::TestWithParam<const char*> {};

// This process is the first instance; a later start, played by a thread, hands it a file, which
// the window converts under the very name it was given.
TEST_P(ForwardedFileTest, ReachesTheFirstWindowsListAndIsConverted)
{
    QTemporaryDir dir;
    ScopedEnvironment environment;
    environment.SetInstanceFolder(dir.path());
    environment.Set("HOME", dir.path());
    SetShellHandler([](const QString&, const QString&) { return SHELL_SUCCESS; });
    const QFont font = QApplication::font();
    const QByteArray folder = QFile::encodeName(dir.path()) + "/";
    const QByteArray file = folder + GetParam() + ".txt";
    std::FILE* text = std::fopen(file.constData(), "w");
    ASSERT_NE(text, nullptr);
    std::fputs("text\n", text);
    std::fclose(text);
    {
        CConverterApp app({"quillary", "--nologo"});
        ASSERT_TRUE(app.InitInstance());
        std::atomic<bool> done = false;
        std::atomic<bool> answered = false;
        std::thread later([&] {
            answered = SingleInstance(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName()).AskFirst({file});
            done = true;
        });
        CLeftView* list = app.GetMainWnd()->GetLeftView();
        const QDeadlineTimer deadline(kWaitMs);
        while (!(done && list->GetEntryCount() > 0) && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        later.join();
        EXPECT_TRUE(answered);
        ASSERT_EQ(list->GetEntryCount(), 1);
        list->OnCommand(CmdStartConvert);
        EXPECT_EQ(access((folder + GetParam() + ".pdf").constData(), F_OK), 0);
    }
    QApplication::setFont(font);
    SetShellHandler({});
}

INSTANTIATE_TEST_SUITE_P(Table, ForwardedFileTest, testing::Values("plain", "not-utf8-\xFF\xFE"),
    [](const testing::TestParamInfo<const char*>& info) { return info.index == 0 ? "Utf8Name" : "NotUtf8Name"; });

} // namespace
