// Runs in the window, end to end: files added, ticked, given passwords, options changed in the
// tree, Start, Stop; the PDFs read back and the shell requests recorded.
#include "PaneHost.h"

#include "../controls/MessageBoxAnswers.h"
#include "../controls/QStringPrinter.h"
#include "app/CommandIds.h"
#include "controls/IconButton.h"
#include "controls/PreviewEdit.h"
#include "controls/TextProgressCtrl.h"
#include "grid/GridCtrl.h"
#include "support/PdfInspector.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

using ConvertInWindow = PaneHost;

QByteArray Lines(int count, const QByteArray& line = "A line of text that fills part of the page.")
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += line + "\n";
    return text;
}

std::string Pdf(const QString& textPath)
{
    return (QFileInfo(textPath).path() + "/" + QFileInfo(textPath).completeBaseName() + ".pdf").toStdString();
}

bool Exists(const std::string& path)
{
    return QFileInfo::exists(QString::fromStdString(path));
}

} // namespace

TEST_F(ConvertInWindow, TickedFilesWithTheirPasswordsAndTheTreesOptions)
{
    const QString a = Write("docs/a.txt", Lines(3));
    const QString b = Write("docs/b.txt", Lines(3));
    const QString c = Write("docs/c.txt", Lines(3));
    AddWithOpenFile({"docs/a.txt", "docs/b.txt", "docs/c.txt"});
    ASSERT_EQ(left->GetEntryCount(), 3);
    TypePassword(1, 4, "owner-a");
    TypePassword(1, 5, "user-a");
    TypePassword(3, 4, "owner-c");
    ClickCheckBox(2);
    ClickCheckBox(2);
    ClickCheckBox(2);
    ASSERT_FALSE(IsChecked(2));
    Choose(2, 0);  // Letter
    Choose(11, 8); // Times-Roman
    Choose(36 - 3, kNo); // Print Permission

    ClickStart();

    const PdfFacts first = InspectPdf(Pdf(a), "user-a");
    ASSERT_EQ(first.pages.size(), 1u);
    EXPECT_EQ(first.pages[0].width, 612);
    EXPECT_EQ(first.pages[0].height, 792);
    ASSERT_FALSE(first.fonts.empty());
    EXPECT_EQ(first.fonts[0].baseFont, "/Times-Roman");
    EXPECT_TRUE(first.encrypted);
    EXPECT_TRUE(first.userPasswordMatched);
    EXPECT_TRUE(InspectPdf(Pdf(a), "owner-a").ownerPasswordMatched);
    EXPECT_EQ(first.permissions & 4, 0); // no printing
    EXPECT_THROW(InspectPdf(Pdf(a), "wrong"), std::exception);
    EXPECT_FALSE(Exists(Pdf(b)));
    const PdfFacts third = InspectPdf(Pdf(c));
    EXPECT_TRUE(third.encrypted);
    EXPECT_TRUE(third.userPasswordMatched); // an empty user password opens it
    EXPECT_TRUE(InspectPdf(Pdf(c), "owner-c").ownerPasswordMatched);

    EXPECT_EQ(shell, (std::vector<ShellCall>{{"explore", scratch.filePath("docs")}}));
    EXPECT_EQ(left->GetCurrentBar()->GetWindowText(), "Convert Finished");
    EXPECT_EQ(left->GetTotalBar()->GetWindowText(), "Convert Finished");
    EXPECT_EQ(left->GetCurrentBar()->GetPos(), left->GetCurrentBar()->GetRange(FALSE)); // the last file shown whole
    EXPECT_TRUE(left->GetButton(CmdOpenFile)->isEnabled());
    EXPECT_TRUE(left->IsCommandEnabled(CmdStartConvert));
}

TEST_F(ConvertInWindow, StopDuringTheSecondOfFiveFilesFinishesItAndStartsNoOther)
{
    QStringList names;
    for (int i = 1; i <= 5; ++i)
        names << Write(QString("%1.txt").arg(i), Lines(i == 2 ? 20000 : 10));
    for (const QString& name : names)
        left->AddEntries({name});
    QStringList seenAtStop;
    QObject::connect(left, &CLeftView::FileStarted, left, [&](int number, int count) {
        EXPECT_EQ(count, 5);
        EXPECT_TRUE(left->IsBusy());
        EXPECT_FALSE(left->GetButton(CmdStartConvert)->isEnabled());
        EXPECT_TRUE(left->GetButton(CmdStopConvert)->isEnabled());
        left->OnCommand(CmdStartConvert); // a second Start while busy does nothing
        if (number != 2)
            return;
        ClickButton(CmdStopConvert);
        seenAtStop = {left->GetCurrentBar()->GetWindowText(), left->GetTotalBar()->GetWindowText()};
        EXPECT_FALSE(left->IsBusy());
    });
    ClickStart();
    EXPECT_EQ(seenAtStop, QStringList({"Convert stopped.", "Convert stopped."}));
    EXPECT_TRUE(Exists(Pdf(names[0])));
    EXPECT_GT(InspectPdf(Pdf(names[1])).pages.size(), 100u); // written whole
    for (int i = 2; i < 5; ++i)
        EXPECT_FALSE(Exists(Pdf(names[i]))) << i;
    EXPECT_TRUE(shell.empty());
    EXPECT_EQ(left->GetTotalBar()->GetWindowText(), "Convert stopped.");
    EXPECT_EQ(left->GetTotalBar()->GetPos(), 0);
}

TEST_F(ConvertInWindow, OneFileOpensItsPdfUnlessOpenResultsIsNo)
{
    const QString a = Write("a.txt", Lines(2));
    left->AddEntries({a});
    ClickStart();
    EXPECT_EQ(shell, (std::vector<ShellCall>{{"open", QString::fromStdString(Pdf(a))}}));
    shell.clear();
    Choose(24, kNo);
    ClickStart();
    EXPECT_TRUE(Exists(Pdf(a)));
    EXPECT_TRUE(shell.empty());
}

// One file opens its PDF, two their folder: when nothing can open it, the run says so once.
class OpenWithoutAProgram : public PaneHost, public testing::WithParamInterface<int> {};

TEST_P(OpenWithoutAProgram, IsToldOnce)
{
    shellResult = 31; // no associated program
    QStringList files;
    for (int file = 0; file < GetParam(); ++file)
        files << Write(QStringLiteral("f%1.txt").arg(file), Lines(2));
    left->AddEntries(files);
    MessageBoxAnswers boxes;
    ClickStart();
    ASSERT_EQ(shell.size(), 1u);
    const QString what = GetParam() == 1 ? "PDFs" : "folders";
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text, "No program to open " + what + " was found, so " + shell[0].target + " was not opened.");
}

INSTANTIATE_TEST_SUITE_P(Files, OpenWithoutAProgram, testing::Values(1, 2));

TEST_F(ConvertInWindow, ARunWithNothingTickedEndsAtOnceAndKeepsTheCaptions)
{
    left->AddEntries({Write("a.txt", Lines(2))});
    left->OnCommand(CmdClearAllSelected);
    MessageBoxAnswers boxes;
    ClickStart();
    EXPECT_FALSE(Exists(Pdf(Path("a.txt"))));
    EXPECT_EQ(left->GetTotalBar()->GetWindowText(), "Waiting for converting.");
    EXPECT_TRUE(shell.empty());
    EXPECT_TRUE(boxes.seen.empty());
}

TEST_F(ConvertInWindow, FilesNotWrittenAreListedWithTheirReasonsInOneMessage)
{
    const QString gone = Write("gone.txt", Lines(2));
    const QString kept = Write("kept.txt", Lines(2));
    const QString same = Write("same.txt", Lines(2));
    left->AddEntries({gone, kept, same});
    TypePassword(3, 4, "pw");
    TypePassword(3, 5, "pw");
    QFile::remove(gone);
    MessageBoxAnswers boxes;
    ClickStart();
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text, "These files were not converted:\n\n" + gone +
                                      ": Cannot read the input file: No such file or directory.\n" + same +
                                      ": The owner password and the user password are the same; they must differ.");
    EXPECT_TRUE(Exists(Pdf(kept)));
    EXPECT_EQ(left->GetTotalBar()->GetWindowText(), "Convert Finished");
}

TEST_F(ConvertInWindow, TheCurrentBarStillShowsItsCaptionWhenNoFileReachedItsPages)
{
    const QString gone = Write("gone.txt", "text");
    left->AddEntries({gone});
    QFile::remove(gone); // the file fails before its pages
    MessageBoxAnswers boxes;
    ClickStart();
    ASSERT_EQ(boxes.seen.size(), 1u);
    CTextProgressCtrl* bar = left->GetCurrentBar();
    EXPECT_EQ(bar->GetWindowText(), "Convert Finished");
    EXPECT_LT(bar->GetRange(TRUE), bar->GetRange(FALSE)); // a bar with an empty range draws nothing
}

TEST_F(ConvertInWindow, OptionsThatFailEveryFileAreReportedOnceAndNoPdfIsTouched)
{
    const QString text = Write("a.txt", "text");
    const QString pdf = Write("a.pdf", "old pdf");
    left->AddEntries({text});
    TypeIntoRow(7, "900"); // no room left for text on any page
    MessageBoxAnswers boxes;
    ClickStart();
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_TRUE(boxes.seen[0].text.startsWith("No file was converted or touched: ")) << boxes.seen[0].text.toStdString();
    QFile old(pdf);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old pdf");
    EXPECT_TRUE(left->IsCommandEnabled(CmdStartConvert));
}

TEST_F(ConvertInWindow, ARefusedRunLeavesTheBarsAsTheyWere)
{
    left->AddEntries({Write("a.txt", Lines(2))});
    ClickStart();
    ASSERT_EQ(left->GetCurrentBar()->GetWindowText(), "Convert Finished");
    TypeIntoRow(7, "900");
    MessageBoxAnswers boxes;
    ClickStart();
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(left->GetCurrentBar()->GetWindowText(), "Convert Finished");
    EXPECT_EQ(left->GetTotalBar()->GetWindowText(), "Convert Finished");
}

TEST_F(ConvertInWindow, AFontSizeWarningIsAModalBoxTheRunWaitsFor)
{
    const QString a = Write("a.txt", Lines(2));
    left->AddEntries({a});
    TypeIntoRow(21, "0");
    MessageBoxAnswers boxes({QMessageBox::Ok});
    ClickStart();
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text, "Font size can not be 0. Set default 9.");
    EXPECT_TRUE(Exists(Pdf(a)));
}

TEST_F(ConvertInWindow, APasswordStillBeingTypedWhenStartIsPressedCounts)
{
    const QString a = Write("a.txt", Lines(2));
    left->AddEntries({a});
    QTest::mouseDClick(left->GetGrid()->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(1, 4));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "typed");
    QTest::keyClick(editor, Qt::Key_F5);
    EXPECT_EQ(CellText(1, 4), "typed");
    EXPECT_TRUE(InspectPdf(Pdf(a), "typed").ownerPasswordMatched);
}

TEST_F(ConvertInWindow, APasswordTypedDuringTheRunCountsForAFileNotYetStarted)
{
    const QString first = Write("1.txt", Lines(20000));
    const QString second = Write("2.txt", Lines(2));
    left->AddEntries({first, second});
    QObject::connect(left, &CLeftView::FileStarted, left, [&](int number) {
        if (number == 1)
            TypePassword(2, 4, "late");
    });
    ClickStart();
    EXPECT_FALSE(InspectPdf(Pdf(first)).encrypted);
    EXPECT_TRUE(InspectPdf(Pdf(second), "late").ownerPasswordMatched);
}

TEST_F(ConvertInWindow, DuringARunDropsAreTakenAndTheMenuKeepsOnlyItsThreeItems)
{
    const QString first = Write("1.txt", Lines(20000));
    left->AddEntries({first});
    const QString dropped = Write("dropped.txt", Lines(2));
    std::vector<int> enabled;
    QObject::connect(left, &CLeftView::FileStarted, left, [&] {
        Drop({dropped});
        QTimer::singleShot(50, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            for (QAction* action : menu->actions()) {
                if (!action->isSeparator() && action->isEnabled())
                    enabled.push_back(action->data().toInt());
            }
            menu->close();
        });
        ClickCell(1, 1, Qt::RightButton);
        QTest::qWait(150);
    });
    ClickStart();
    EXPECT_EQ(left->GetEntryCount(), 2);
    EXPECT_EQ(enabled, (std::vector<int>{CmdOpenFileDirectory, CmdOpenWithAssociatedApp, CmdStopConvert}));
    EXPECT_FALSE(Exists(Pdf(dropped))); // the run list was made at the start
}

TEST_F(ConvertInWindow, StartRightAfterStopWaitsForTheStoppedFileThenRunsAgain)
{
    // Long enough that the worker is still on it when its start is handled, under load too.
    const QString first = Write("1.txt", Lines(60000));
    const QString second = Write("2.txt", Lines(2));
    left->AddEntries({first, second});
    int starts = 0;
    QObject::connect(left, &CLeftView::FileStarted, left, [&](int number) {
        if (++starts != 1 || number != 1)
            return;
        ClickButton(CmdStopConvert);
        ClickButton(CmdStartConvert); // the stopped worker is still on its file
    });
    ClickStart();
    EXPECT_EQ(starts, 3); // file 1 of the stopped run, then both files of the new one
    EXPECT_TRUE(Exists(Pdf(first)));
    EXPECT_TRUE(Exists(Pdf(second)));
    EXPECT_EQ(left->GetTotalBar()->GetWindowText(), "Convert Finished");
}

TEST_F(ConvertInWindow, ClosingDuringARunWaitsForTheCurrentFileOnly)
{
    QStringList names;
    for (int i = 1; i <= 3; ++i)
        names << Write(QString("%1.txt").arg(i), Lines(20000));
    left->AddEntries(names);
    bool waited = false;
    QObject::connect(left, &CLeftView::FileStarted, left, [&](int number) {
        if (number != 1)
            return;
        // What the frame does when it closes.
        left->OnCommand(CmdStopConvert);
        left->WaitForRunEnd();
        waited = true;
        EXPECT_GT(InspectPdf(Pdf(names[0])).pages.size(), 100u);
        EXPECT_FALSE(Exists(Pdf(names[1])));
    });
    ClickButton(CmdStartConvert);
    EXPECT_TRUE(waited);
    EXPECT_FALSE(Exists(Pdf(names[1])));
}

namespace {

// Where the focus is when F5 is pressed.
enum class KeyTarget { CellEditor, Preview, Grid };

struct OneKeyCase {
    const char* name;
    KeyTarget target;
};

void PrintTo(const OneKeyCase& keyCase, std::ostream* out)
{
    *out << keyCase.name;
}

class OneKeyOneRun : public PaneHost, public testing::WithParamInterface<OneKeyCase> {};

} // namespace

// A control that ignores F5 hands it to its parents, the pane among them.
TEST_P(OneKeyOneRun, WhateverHasTheFocus)
{
    const QString a = Write("a.txt", Lines(2));
    left->AddEntries({a});
    int runs = 0;
    QObject::connect(left, &CLeftView::RunEnded, left, [&] { ++runs; });
    QWidget* target = left->GetGrid()->viewport();
    if (GetParam().target == KeyTarget::CellEditor) {
        QTest::mouseDClick(left->GetGrid()->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(1, 4));
        target = QApplication::focusWidget();
        ASSERT_NE(qobject_cast<QLineEdit*>(target), nullptr);
        QTest::keyClicks(target, "pw");
    } else if (GetParam().target == KeyTarget::Preview) {
        target = left->GetPreview();
        target->setFocus();
    }
    QTest::keyClick(target, Qt::Key_F5);
    QTest::qWait(50); // a second run would have been started by now
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(Exists(Pdf(a)));
}

INSTANTIATE_TEST_SUITE_P(Table, OneKeyOneRun, testing::Values(
    OneKeyCase{"CellEditor", KeyTarget::CellEditor},
    OneKeyCase{"Preview", KeyTarget::Preview},
    OneKeyCase{"Grid", KeyTarget::Grid}),
    [](const testing::TestParamInfo<OneKeyCase>& info) { return info.param.name; });

TEST_F(ConvertInWindow, StopWhileAStartWaitsForTheStoppedWorkerTakesTheStartBack)
{
    // Long enough that the worker is still on it when its start is handled, under load too.
    const QString first = Write("1.txt", Lines(60000));
    const QString second = Write("2.txt", Lines(2));
    left->AddEntries({first, second});
    int starts = 0;
    QObject::connect(left, &CLeftView::FileStarted, left, [&] {
        if (++starts != 1)
            return;
        ClickButton(CmdStopConvert);
        ClickButton(CmdStartConvert); // queued behind the stopped worker
        EXPECT_TRUE(left->IsBusy());
        ClickButton(CmdStopConvert);
        EXPECT_FALSE(left->IsBusy());
    });
    ClickStart();
    EXPECT_EQ(starts, 1);
    EXPECT_FALSE(Exists(Pdf(second)));
    EXPECT_EQ(left->GetTotalBar()->GetWindowText(), "Convert stopped.");
    EXPECT_TRUE(left->GetButton(CmdStartConvert)->isEnabled());
}

TEST_F(ConvertInWindow, TheRunWaitsWhileItsWarningIsOpen)
{
    const QString a = Write("a.txt", Lines(2));
    left->AddEntries({a});
    TypeIntoRow(21, "0");
    bool writtenWhileOpen = true;
    WithModal([this] { ClickStart(); }, [&](QWidget* box) {
        QTest::qWait(300); // ample for a two-line file, were the worker going on
        writtenWhileOpen = Exists(Pdf(a));
        qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    });
    EXPECT_FALSE(writtenWhileOpen);
    EXPECT_TRUE(Exists(Pdf(a)));
}

TEST_F(ConvertInWindow, TheTotalBarFillsAsItsCaptionCounts)
{
    QStringList names;
    for (int i = 1; i <= 3; ++i)
        // The third file is long enough that the second's count shows before the run ends.
        names << Write(QString("%1.txt").arg(i), Lines(i == 3 ? 200000 : 2));
    left->AddEntries(names);
    CTextProgressCtrl* total = left->GetTotalBar();
    QString caption;
    int position = -1;
    QObject::connect(left, &CLeftView::FileStarted, left, [&](int number) {
        if (number != 3)
            return;
        EXPECT_TRUE(QTest::qWaitFor([&] { return total->GetWindowText() == "File 2 of 3, 66%"; }, 5000));
        caption = total->GetWindowText();
        position = total->GetPos() * 100 / total->GetRange(FALSE);
    });
    ClickStart();
    EXPECT_EQ(caption, "File 2 of 3, 66%");
    EXPECT_EQ(position, 66);
    EXPECT_EQ(total->GetPos(), total->GetRange(FALSE)); // full when the run has finished
}
