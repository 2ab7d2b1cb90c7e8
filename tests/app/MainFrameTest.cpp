#include "app/AboutDlg.h"
#include "app/CommandIds.h"
#include "app/LeftView.h"
#include "app/MainFrame.h"
#include "app/MenuResources.h"
#include "app/RightView.h"
#include "app/SplashWnd.h"
#include "controls/LinkLabel.h"
#include "conversion/ConversionOptions.h"
#include "menubar/MenuBar.h"
#include "menubar/MenuXP.h"
#include "optiontree/OptionTreeCtrl.h"
#include "optiontree/OptionTreeEditItem.h"
#include "optiontree/TitleTipEdit.h"
#include "platform/ShellRequest.h"
#include "../controls/MessageBoxAnswers.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct ShellCall {
    QString verb, target;
    bool operator==(const ShellCall&) const = default;
};

class FrameFixture : public testing::Test {
protected:
    void SetUp() override
    {
        InstallMenuHook();
        SetShellHandler([this](const QString& verb, const QString& target) {
            shell.push_back({verb, target});
            return shellResult;
        });
    }
    void TearDown() override { SetShellHandler({}); }

    CMainFrame& MakeFrame(bool showSplash = false)
    {
        frame = std::make_unique<CMainFrame>(
            options, CMainFrame::Settings{dir.path().toStdString() + "/", dir.filePath("Settings.ini").toStdString(), "quillary", showSplash});
        EXPECT_TRUE(frame->Create());
        frame->show();
        frame->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(frame.get()));
        return *frame;
    }

    // A file-list pane that enables the commands it is told to and records what it is asked.
    void FakeFileList(std::vector<int> enabled)
    {
        frame->SetFileListCommands({[enabled](int id) { return std::find(enabled.begin(), enabled.end(), id) != enabled.end(); },
                                    [this](int id) { ran.push_back(id); },
                                    [this] { ran.push_back(-1); }});
    }

    void Settle() { QCoreApplication::processEvents(); }

    QTemporaryDir dir;
    ConversionOptions options;
    std::unique_ptr<CMainFrame> frame;
    std::vector<ShellCall> shell;
    int shellResult = SHELL_SUCCESS;
    std::vector<int> ran;
};

TEST_F(FrameFixture, MenusAreMenu165WithTheirIdsTextsAndSeparators)
{
    MakeFrame();
    const QList<QAction*> popups = frame->GetMainMenu()->actions();
    ASSERT_EQ(popups.size(), int(MainMenu165().size()));
    for (int p = 0; p < popups.size(); ++p) {
        const PopupMenuDef& def = MainMenu165()[std::size_t(p)];
        EXPECT_EQ(frame->GetMenuBar()->GetButtonText(p), QString::fromLatin1(def.title));
        const QList<QAction*> items = popups[p]->menu()->actions();
        ASSERT_EQ(items.size(), int(def.items.size())) << def.title;
        for (int i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i]->isSeparator(), def.items[std::size_t(i)].id == 0);
            EXPECT_EQ(items[i]->text(), items[i]->isSeparator() ? QString() : QString::fromLatin1(def.items[std::size_t(i)].text));
        }
    }
    EXPECT_EQ(frame->GetCommandAction(CmdOpenFile)->statusTip(), QStringLiteral("Open an existing document"));
    EXPECT_EQ(frame->GetCommandAction(CmdOpenFile)->toolTip(), QStringLiteral("Open"));
}

// Against the placeholder pane, which has no rows, every file-list command is disabled.
TEST_F(FrameFixture, FileListCommandsFollowThePaneAndTheOthersAreAlwaysEnabled)
{
    MakeFrame();
    frame->UpdateCommandUI();
    for (const PopupMenuDef& popup : MainMenu165())
        for (const MenuItemDef& item : popup.items)
            if (item.id) {
                const bool paneSays = frame->GetLeftView()->IsCommandEnabled(item.id);
                EXPECT_EQ(frame->GetCommandAction(item.id)->isEnabled(),
                          CMainFrame::IsFileListCommand(item.id) ? paneSays : true)
                    << item.text;
            }
    FakeFileList({CmdRemoveAll});
    EXPECT_TRUE(frame->GetCommandAction(CmdRemoveAll)->isEnabled());
    EXPECT_FALSE(frame->GetCommandAction(CmdInvertSelect)->isEnabled());
}

class AcceleratorTest : public FrameFixture, public testing::WithParamInterface<AcceleratorDef> {};

TEST_P(AcceleratorTest, ReachesTheFileListWhenEnabled)
{
    MakeFrame();
    const AcceleratorDef& accelerator = GetParam();
    FakeFileList({accelerator.id});
    const QKeyCombination key = accelerator.key[0];
    QTest::keyClick(frame.get(), key.key(), key.keyboardModifiers());
    Settle();
    EXPECT_EQ(ran, std::vector<int>{accelerator.id});
}

TEST_P(AcceleratorTest, IsIgnoredWhenTheCommandIsDisabled)
{
    MakeFrame();
    FakeFileList({});
    const QKeyCombination key = GetParam().key[0];
    QTest::keyClick(frame.get(), key.key(), key.keyboardModifiers());
    Settle();
    EXPECT_TRUE(ran.empty());
}

INSTANTIATE_TEST_SUITE_P(Table128, AcceleratorTest, testing::ValuesIn(AcceleratorTable128()));

TEST_F(FrameFixture, ADisabledAcceleratorLeavesTheKeyToTheFocusedControl)
{
    MakeFrame();
    FakeFileList({});
    auto* edit = new QLineEdit(frame->GetLeftView());
    edit->show();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Space);
    EXPECT_EQ(edit->text(), QStringLiteral(" "));
}

TEST_F(FrameFixture, F1HasNoAccelerator)
{
    MakeFrame();
    QTest::keyClick(frame.get(), Qt::Key_F1);
    Settle();
    EXPECT_TRUE(shell.empty());
}

struct HelpCase {
    int id;
    QString target; // empty: the manual next to the executable
};

class HelpCommandTest : public FrameFixture, public testing::WithParamInterface<HelpCase> {};

TEST_P(HelpCommandTest, AsksTheShellToOpenItsAddress)
{
    MakeFrame();
    frame->OnCommand(GetParam().id);
    const QString target = GetParam().target.isEmpty() ? dir.filePath("manual.html") : GetParam().target;
    EXPECT_EQ(shell, (std::vector<ShellCall>{{"open", target}}));
}

INSTANTIATE_TEST_SUITE_P(Table, HelpCommandTest, testing::Values(
    HelpCase{CmdManual, QString()},
    HelpCase{CmdCheckNewVersion, QStringLiteral("https://www.example.org/quillary/")},
    HelpCase{CmdVisitWebSite, QStringLiteral("https://www.example.org/")},
    HelpCase{CmdTellToFriend, QStringLiteral(
        "mailto:?subject=Invitation from Quillary&Body=Hello!%0A%0DQuillary from https://www.example.org/ is a "
        "excellent Text to PDF converter!%0A%0DLearn more by visiting%0Ahttps://www.example.org/%0A%0DTo download "
        "it right now click here%0Ahttps://www.example.org/quillary/download/%0A%0D[please type your text here]%0A%0D")}));

TEST_F(FrameFixture, AManualThatCannotBeFoundIsReportedWithItsPath)
{
    MakeFrame();
    shellResult = SE_ERR_FNF;
    MessageBoxAnswers answers;
    frame->OnCommand(CmdManual);
    ASSERT_EQ(answers.seen.size(), 1u);
    EXPECT_TRUE(answers.seen[0].text.contains(dir.filePath("manual.html")));
}

TEST_F(FrameFixture, ResetAllOptionsAnsweredNoChangesNothingAndYesRestoresTheDefaults)
{
    MakeFrame();
    options.FontSize = 31;
    options.Title = "Kept";
    {
        MessageBoxAnswers answers({QMessageBox::No});
        frame->OnCommand(CmdResetAllOptions);
        ASSERT_EQ(answers.seen.size(), 1u);
        EXPECT_EQ(answers.seen[0].text, QStringLiteral("Reset all the convert options?"));
        EXPECT_EQ(answers.seen[0].buttons, QMessageBox::Yes | QMessageBox::No);
    }
    EXPECT_EQ(options.FontSize, 31);
    MessageBoxAnswers answers({QMessageBox::Yes});
    frame->OnCommand(CmdResetAllOptions);
    EXPECT_EQ(options.FontSize, ConversionOptions().FontSize);
    EXPECT_EQ(options.Title, ConversionOptions().Title);
}

TEST_F(FrameFixture, ClosingAsksTheRunToStopAndThenWaitsForIt)
{
    MakeFrame();
    FakeFileList({});
    frame->close();
    EXPECT_EQ(ran, (std::vector<int>{CmdStopConvert, -1}));
}

TEST_F(FrameFixture, ClosingKeepsAnOptionStillBeingTyped)
{
    MakeFrame();
    COptionTreeCtrl* tree = frame->GetRightView()->GetOptionTree();
    COptionTreeEditItem* size = nullptr;
    for (int id = 1; tree->FindItem(id); ++id) {
        if (tree->FindItem(id)->GetLabelText() == "Font Size")
            size = dynamic_cast<COptionTreeEditItem*>(tree->FindItem(id));
    }
    ASSERT_NE(size, nullptr);
    size->Activate();
    size->GetEdit()->setText("17");
    ASSERT_NE(options.FontSize, 17);
    frame->close();
    EXPECT_EQ(options.FontSize, 17);
}

TEST_F(FrameFixture, KeepsItsMinimumSizeAndTheFileListWidth)
{
    MakeFrame();
    frame->resize(200, 100);
    EXPECT_EQ(frame->size(), QSize(930, 565));
    EXPECT_GE(frame->GetLeftView()->width(), 640);
    EXPECT_FALSE(frame->windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint));
}

TEST_F(FrameFixture, TheSplashConsumesTheFirstKeyAndThenGoes)
{
    MakeFrame(true);
    auto* edit = new QLineEdit(frame->GetLeftView());
    edit->show();
    edit->setFocus();
    ASSERT_TRUE(frame->GetSplash());
    QTest::keyClick(edit, Qt::Key_A);
    Settle();
    EXPECT_EQ(edit->text(), QString());
    EXPECT_FALSE(frame->GetSplash() && frame->GetSplash()->IsUp());
    QTest::keyClick(edit, Qt::Key_B);
    EXPECT_EQ(edit->text(), QStringLiteral("b"));
}

// The whole of Ctrl+O is the splash's key: neither the Ctrl that comes first nor the
// accelerator runs anything, and the next Ctrl+O opens files again.
TEST_F(FrameFixture, TheSplashConsumesAnAcceleratorWithItsModifier)
{
    MakeFrame(true);
    FakeFileList({CmdOpenFile});
    ASSERT_TRUE(frame->GetSplash());
    QTest::keyClick(frame.get(), Qt::Key_O, Qt::ControlModifier);
    Settle();
    EXPECT_TRUE(ran.empty());
    EXPECT_FALSE(frame->GetSplash() && frame->GetSplash()->IsUp());
    QTest::keyClick(frame.get(), Qt::Key_O, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(ran, std::vector<int>{CmdOpenFile});
}

TEST(AboutDlg, ShowsTheProductAndItsLinksAndClosesOnAPressOutsideThem)
{
    SetShellHandler([](const QString&, const QString&) { return SHELL_SUCCESS; });
    CAboutDlg about;
    about.show();
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Quillary 2.1"));
    EXPECT_EQ(about.GetWebLink()->GetURL(), QStringLiteral("https://www.example.org/"));
    EXPECT_EQ(about.GetSupportLink()->GetURL(), QStringLiteral("mailto:support@example.org"));
    EXPECT_EQ(about.grab().toImage().pixelColor(2, 2), QColor(207, 234, 254));
    QTest::mouseClick(about.GetWebLink(), Qt::LeftButton);
    EXPECT_TRUE(about.isVisible());
    EXPECT_TRUE(about.GetWebLink()->GetVisited());
    QTest::mousePress(&about, Qt::RightButton, {}, QPoint(3, 3));
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
    SetShellHandler({});
}

} // namespace
