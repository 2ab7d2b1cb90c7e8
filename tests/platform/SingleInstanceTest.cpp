#include "platform/SingleInstance.h"
#include "support/ScopedEnvironment.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Serves this thread's events until `done` is set by another thread, or 10 s have passed.
void ServeUntil(const std::atomic<bool>& done)
{
    const QDeadlineTimer deadline(10000);
    while (!done && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(done) << "no end within the deadline";
}

TEST(SingleInstance, ALaterInstanceHandsItsPathsToTheFirst)
{
    QTemporaryDir folder;
    ScopedEnvironment environment;
    environment.SetInstanceFolder(folder.path());
    SingleInstance first(QStringLiteral("quillary-test"));
    SingleInstance second(QStringLiteral("quillary-test"));
    ASSERT_TRUE(first.TryLock());
    EXPECT_FALSE(second.TryLock());
    QByteArrayList received;
    bool windowThere = true;
    ASSERT_TRUE(first.Listen([&](const QByteArrayList& paths) { received = paths; return windowThere; }));
    for (bool answer : {true, false}) {
        windowThere = answer;
        std::atomic<bool> answered = !answer;
        std::atomic<bool> done = false;
        std::thread asking([&] {
            answered = second.AskFirst({"/a b.txt", "/c.txt"});
            done = true;
        });
        ServeUntil(done);
        asking.join();
        EXPECT_EQ(answered, answer);
        EXPECT_EQ(received, (QByteArrayList{"/a b.txt", "/c.txt"}));
    }
}

TEST(SingleInstance, NobodyListeningMeansNoAnswer)
{
    QTemporaryDir folder;
    ScopedEnvironment environment;
    environment.SetInstanceFolder(folder.path());
    EXPECT_FALSE(SingleInstance(QStringLiteral("quillary-none")).AskFirst({}, 200));
}

struct FolderCase {
    const char* name;
    const char* runtime; // XDG_RUNTIME_DIR: "runtime" (made), "missing" (not made) or "" (unset)
    const char* expected; // where the lock and the server are: "runtime" or "tmp"
};

void PrintTo(const FolderCase& folderCase, std::ostream* out)
{
    *out << folderCase.name;
}

class InstanceFolderTest : public testing::TestWithParam<FolderCase> {};

// The lock is made at every start: in the runtime folder it costs no disk sync.
TEST_P(InstanceFolderTest, LockAndServerLiveInTheRuntimeFolderWhenThereIsOne)
{
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("tmp")) && QDir(root.path()).mkpath(QStringLiteral("runtime")));
    ScopedEnvironment environment;
    environment.Set("TMPDIR", root.filePath(QStringLiteral("tmp")));
    environment.Set("XDG_RUNTIME_DIR", *GetParam().runtime ? root.filePath(QString::fromLatin1(GetParam().runtime)) : QString());
    SingleInstance instance(QStringLiteral("quillary-where"));
    ASSERT_TRUE(instance.TryLock());
    ASSERT_TRUE(instance.Listen([](const QByteArrayList&) { return true; }));
    const QString base = root.filePath(QString::fromLatin1(GetParam().expected)) + QStringLiteral("/quillary-where-%1").arg(getuid());
    EXPECT_TRUE(QFile::exists(base + QStringLiteral(".lock")));
    EXPECT_TRUE(QFile::exists(base));
}

INSTANTIATE_TEST_SUITE_P(Table, InstanceFolderTest, testing::Values(
    FolderCase{"RuntimeFolderSet", "runtime", "runtime"},
    FolderCase{"RuntimeFolderMissing", "missing", "tmp"},
    FolderCase{"RuntimeFolderUnset", "", "tmp"}),
    [](const testing::TestParamInfo<FolderCase>& info) { return info.param.name; });

// A first instance listening in a folder of its own, recording the paths it is handed.
struct ListeningInstance {
    explicit ListeningInstance(const QString& name) : server(folder.filePath(name + QStringLiteral("-%1").arg(getuid())))
    {
        environment.SetInstanceFolder(folder.path()); // before the instance reads it
        instance = std::make_unique<SingleInstance>(name);
    }
    bool Listen()
    {
        return instance->TryLock() && instance->Listen([this](const QByteArrayList& paths) { received = paths; return true; });
    }

    QTemporaryDir folder;
    ScopedEnvironment environment;
    const QString server;
    std::unique_ptr<SingleInstance> instance;
    QByteArrayList received;
};

// Only the user may connect: another user's process could otherwise add files to the list.
TEST(SingleInstance, OnlyTheUserCanReachTheServer)
{
    ListeningInstance first(QStringLiteral("quillary-mode"));
    ASSERT_TRUE(first.Listen());
    struct stat facts {};
    ASSERT_EQ(stat(first.server.toLocal8Bit().constData(), &facts), 0);
    EXPECT_TRUE(S_ISSOCK(facts.st_mode));
    EXPECT_EQ(facts.st_mode & 077, 0u);
}

const QByteArrayList kPaths{"/a.txt", "/b c.txt"};

QByteArray Request(quint32 magic, quint32 length, const QByteArrayList& paths)
{
    QByteArray body;
    QDataStream bodyOut(&body, QIODevice::WriteOnly);
    bodyOut << paths;
    QByteArray request;
    QDataStream out(&request, QIODevice::WriteOnly);
    out << magic << (length ? length : quint32(body.size()));
    return request + body;
}

struct RequestCase {
    const char* name;
    QByteArray bytes;
    int pieces;    // written in this many parts, each after the server has had time to read
    bool answered; // the server answers and hands the paths on
};

void PrintTo(const RequestCase& requestCase, std::ostream* out)
{
    *out << requestCase.name;
}

class RequestTest : public testing::TestWithParam<RequestCase> {};

TEST_P(RequestTest, IsServedOnlyWhenWholeAndWithinItsSize)
{
    ListeningInstance first(QStringLiteral("quillary-request"));
    ASSERT_TRUE(first.Listen());
    std::atomic<bool> done = false;
    QByteArray answer;
    bool closed = false;
    std::thread asking([&] {
        QLocalSocket socket;
        socket.connectToServer(first.server);
        if (socket.waitForConnected(5000)) {
            const QByteArray& bytes = GetParam().bytes;
            const qsizetype piece = (bytes.size() + GetParam().pieces - 1) / GetParam().pieces;
            for (qsizetype at = 0; at < bytes.size(); at += piece) {
                socket.write(bytes.mid(at, piece));
                socket.waitForBytesWritten(5000);
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            if (socket.waitForReadyRead(2000))
                answer = socket.readAll();
            // Answered or refused, the server does not keep the connection waiting.
            closed = socket.state() == QLocalSocket::UnconnectedState || socket.waitForDisconnected(2000);
        }
        done = true;
    });
    ServeUntil(done);
    asking.join();
    EXPECT_EQ(answer, GetParam().answered ? QByteArray("1") : QByteArray());
    EXPECT_TRUE(closed);
    EXPECT_EQ(first.received, GetParam().answered ? kPaths : QByteArrayList());
}

INSTANTIATE_TEST_SUITE_P(Table, RequestTest, testing::Values(
    RequestCase{"Whole", Request(0x51494E32, 0, kPaths), 1, true},
    RequestCase{"InPieces", Request(0x51494E32, 0, kPaths), 5, true},
    RequestCase{"LongerThanAllowed", Request(0x51494E32, SingleInstance::kMaxRequestBytes + 1, kPaths), 1, false},
    RequestCase{"ForeignMagic", Request(0x51494E53, 0, kPaths), 1, false}),
    [](const testing::TestParamInfo<RequestCase>& info) { return info.param.name; });

} // namespace
