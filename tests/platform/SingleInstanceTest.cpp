#include "platform/SingleInstance.h"
#include "support/ScopedEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>
#include <unistd.h>

namespace {

TEST(SingleInstance, ALaterInstanceHandsItsPathsToTheFirst)
{
    QTemporaryDir folder;
    ScopedEnvironment environment;
    environment.SetInstanceFolder(folder.path());
    SingleInstance first(QStringLiteral("quillary-test"));
    SingleInstance second(QStringLiteral("quillary-test"));
    ASSERT_TRUE(first.TryLock());
    EXPECT_FALSE(second.TryLock());
    QStringList received;
    bool windowThere = true;
    ASSERT_TRUE(first.Listen([&](const QStringList& paths) { received = paths; return windowThere; }));
    for (bool answer : {true, false}) {
        windowThere = answer;
        bool answered = !answer;
        std::thread asking([&] { answered = second.AskFirst({"/a b.txt", "/c.txt"}); });
        while (answered != answer)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        asking.join();
        EXPECT_EQ(received, (QStringList{"/a b.txt", "/c.txt"}));
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
    ASSERT_TRUE(instance.Listen([](const QStringList&) { return true; }));
    const QString base = root.filePath(QString::fromLatin1(GetParam().expected)) + QStringLiteral("/quillary-where-%1").arg(getuid());
    EXPECT_TRUE(QFile::exists(base + QStringLiteral(".lock")));
    EXPECT_TRUE(QFile::exists(base));
}

INSTANTIATE_TEST_SUITE_P(Table, InstanceFolderTest, testing::Values(
    FolderCase{"RuntimeFolderSet", "runtime", "runtime"},
    FolderCase{"RuntimeFolderMissing", "missing", "tmp"},
    FolderCase{"RuntimeFolderUnset", "", "tmp"}),
    [](const testing::TestParamInfo<FolderCase>& info) { return info.param.name; });

} // namespace
