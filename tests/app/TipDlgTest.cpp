#include "app/TipDlg.h"
#include "platform/PrivateProfile.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <thread>

namespace {

class TipFixture : public testing::Test {
protected:
    void WriteTips(const QByteArray& text)
    {
        QFile file(dir.filePath("tips.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    std::string Exe() const { return dir.path().toStdString() + "/"; }
    std::string Ini() const { return dir.filePath("Settings.ini").toStdString(); }
    QString NextShown() { return CTipDlg(Exe(), Ini()).GetTipText(); }
    int Key(const char* key, int fallback) { return GetPrivateProfileIntA("Tips", key, fallback, Ini()); }

    QTemporaryDir dir;
};

struct TipsCase {
    const char* name;
    QByteArray file;
    QStringList shown; // one construction each
};

class TipsFileTest : public TipFixture, public testing::WithParamInterface<TipsCase> {};

TEST_P(TipsFileTest, EachShowingContinuesWithTheNextTip)
{
    WriteTips(GetParam().file);
    QStringList shown;
    for (int i = 0; i < GetParam().shown.size(); ++i)
        shown << NextShown();
    EXPECT_EQ(shown, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Table, TipsFileTest, testing::Values(
    TipsCase{"CommentsBlankAndIndentedLinesAreSkipped", "; comment\n\n  indented\n\tTabbed\nFirst\nSecond\n", {"First\n", "Second\n"}},
    TipsCase{"AfterTheLastTipTheFirstComesAgain", "One\nTwo\n", {"One\n", "Two\n", "One\n"}},
    TipsCase{"AFileWithoutTipsEndsTheSearch", "; only\n\n  comments\n", {CTipDlg::kNoTipsText}},
    TipsCase{"AnEmptyFileEndsTheSearch", "", {CTipDlg::kNoTipsText}},
    TipsCase{"ALongLineIsReadInUnitsOf999", QByteArray(1500, 'x') + "\n", {QString(999, 'x'), QString(501, 'x') + "\n"}}),
    [](const testing::TestParamInfo<TipsCase>& info) { return info.param.name; });

TEST_F(TipFixture, NoTipsFileSaysSoAndDisablesNextTip)
{
    CTipDlg tip(Exe(), Ini());
    EXPECT_EQ(tip.GetTipText(), QString::fromLatin1(CTipDlg::kNoTipsFile));
    for (const QPushButton* button : tip.findChildren<QPushButton*>())
        EXPECT_EQ(button->isEnabled(), button->text() != QStringLiteral("&Next Tip"));
}

TEST_F(TipFixture, CloseWritesTheStartupBoxAndEscapeForgetsIt)
{
    WriteTips("Tip\n");
    {
        CTipDlg tip(Exe(), Ini());
        tip.show();
        tip.findChild<QCheckBox*>()->click();
        QTest::keyClick(&tip, Qt::Key_Escape);
    }
    EXPECT_EQ(Key("TipOfDay", -1), -1);
    {
        CTipDlg tip(Exe(), Ini());
        tip.show();
        tip.findChild<QCheckBox*>()->click();
        tip.accept();
    }
    EXPECT_EQ(Key("TipOfDay", -1), 0);
    EXPECT_FALSE(CTipDlg(Exe(), Ini()).GetShowAtStartup());
}

TEST_F(TipFixture, ReplacingTheFileStartsAgainAtTheTopButTheSameFileKeepsItsPlace)
{
    WriteTips("One\nTwo\nThree\n");
    NextShown();
    EXPECT_EQ(Key("FilePos", -1), 4);
    char stamp[128];
    GetPrivateProfileStringA("Tips", "TimeStamp", "", stamp, sizeof stamp, Ini());
    WritePrivateProfileStringA("Tips", "TimeStamp", "Thu Jan  1 00:00:00 1970", Ini());
    EXPECT_EQ(NextShown(), QStringLiteral("One\n"));
    EXPECT_EQ(NextShown(), QStringLiteral("Two\n"));
    EXPECT_EQ(QByteArray(stamp).size(), 24);
}

TEST(SingleInstance, ALaterInstanceHandsItsPathsToTheFirst)
{
    QTemporaryDir tmp;
    qputenv("TMPDIR", tmp.path().toUtf8());
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
    qunsetenv("TMPDIR");
}

TEST(SingleInstance, NobodyListeningMeansNoAnswer)
{
    QTemporaryDir tmp;
    qputenv("TMPDIR", tmp.path().toUtf8());
    EXPECT_FALSE(SingleInstance(QStringLiteral("quillary-none")).AskFirst({}, 200));
    qunsetenv("TMPDIR");
}

} // namespace
