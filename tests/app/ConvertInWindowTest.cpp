// Runs in the window, end to end: files added, ticked, given passwords, options changed in the
// tree, Start, Stop; the PDFs read back and the shell requests recorded.
#include "PaneHost.h"

#include "../controls/MessageBoxAnswers.h"
#include "../controls/QStringPrinter.h"
#include "app/CommandIds.h"
#include "controls/IconButton.h"
#include "controls/TextProgressCtrl.h"
#include "grid/GridCtrl.h"
#include "support/PdfInspector.h"

#include <QFileInfo>

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
