// A run of the window with "Combine Into One PDF": one PDF with a bookmark per checked file,
// where the user expects it, with the rows' passwords left out and said so.
#include "PaneHost.h"

#include "../controls/MessageBoxAnswers.h"
#include "../controls/QStringPrinter.h"
#include "app/CommandIds.h"
#include "controls/TextProgressCtrl.h"
#include "conversion/ConversionRun.h"
#include "optiontree/OptionTreeItemBase.h"
#include "support/ArchivalChecker.h"
#include "support/PdfInspector.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

class CombineInWindow : public PaneHost {
protected:
    // Rows are found by their labels, so that renumbered rows do not matter here; 0 when none.
    int RowLabelled(const QString& label) const
    {
        for (int id = 1; Row(id); ++id)
            if (Row(id)->GetLabelText() == label)
                return id;
        return 0;
    }

    void TypeCombineInto(const QString& path)
    {
        const int id = RowLabelled("Combine Into One PDF");
        ASSERT_NE(id, 0) << "no row Combine Into One PDF";
        TypeIntoRow(id, path);
    }

    std::vector<std::string> TitlesIn(const QString& pdf) const
    {
        std::vector<std::string> titles;
        for (const PdfOutlineEntry& entry : InspectPdf(pdf.toStdString()).outline)
            titles.push_back(entry.title);
        return titles;
    }
};

struct PlaceCase {
    const char* what;
    const char* typed;   // "@" stands for the scratch folder
    const char* written; // relative to the scratch folder
};
void PrintTo(const PlaceCase& c, std::ostream* out) { *out << c.what; }

class CombinePlace : public CombineInWindow, public testing::WithParamInterface<PlaceCase> {};

TEST_P(CombinePlace, TheCombinedPdfGoesWhereTheRowSaysAndIsOpened)
{
    const PlaceCase& c = GetParam();
    QDir(scratch.path()).mkpath("out");
    left->AddEntries({Write("docs/one.txt", "first\n"), Write("docs/two.txt", "second\n")});
    TypeCombineInto(QString::fromUtf8(c.typed).replace("@", scratch.path()));
    MessageBoxAnswers boxes;
    ClickStart();
    EXPECT_TRUE(boxes.seen.empty());
    const QString pdf = Path(c.written);
    EXPECT_EQ(TitlesIn(pdf), (std::vector<std::string>{"one.txt", "two.txt"}));
    EXPECT_FALSE(QFileInfo::exists(Path("docs/one.pdf")));
    EXPECT_EQ(shell, (std::vector<ShellCall>{{"open", pdf}}));
}

INSTANTIATE_TEST_SUITE_P(Cases, CombinePlace,
                         testing::Values(PlaceCase{"a bare name beside the first file", "all.pdf", "docs/all.pdf"},
                                         PlaceCase{"a name without an extension", "all", "docs/all.pdf"},
                                         PlaceCase{"a relative path from the first file's folder", "../out/all.pdf",
                                                   "out/all.pdf"},
                                         PlaceCase{"a full path as it stands", "@/out/full.pdf", "out/full.pdf"}));

TEST_F(CombineInWindow, AFileThatCannotBeReadIsListedAndTheOthersGoIn)
{
    const QString gone = Write("gone.txt", "x\n");
    left->AddEntries({Write("a.txt", "a\n"), gone, Write("c.txt", "c\n")});
    QFile::remove(gone);
    TypeCombineInto("all.pdf");
    MessageBoxAnswers boxes;
    ClickStart();
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text,
              "These files were not converted:\n\n" + gone + ": Cannot read the input file: No such file or directory.");
    EXPECT_EQ(TitlesIn(Path("all.pdf")), (std::vector<std::string>{"a.txt", "c.txt"}));
    EXPECT_EQ(left->GetTotalBar()->GetWindowText(), "Convert Finished");
}

TEST_F(CombineInWindow, RowPasswordsAreWarnedOfAndLeaveTheCombinedPdfUnencrypted)
{
    left->AddEntries({Write("a.txt", "a\n"), Write("b.txt", "b\n")});
    TypePassword(2, 4, "owner");
    TypeCombineInto("all.pdf");
    MessageBoxAnswers boxes{QMessageBox::Ok};
    ClickStart();
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text, QString::fromLatin1(kRowPasswordsNotApplied));
    const PdfFacts pdf = InspectPdf(Path("all.pdf").toStdString());
    EXPECT_FALSE(pdf.encrypted);
    EXPECT_EQ(pdf.outline.size(), 2u);
}

// Cancel and Escape both decline: nothing is written and the run ends without a word more.
class CombineDeclined : public CombineInWindow, public testing::WithParamInterface<QMessageBox::StandardButton> {};

TEST_P(CombineDeclined, RowPasswordsWarningDeclinedWritesNothing)
{
    left->AddEntries({Write("a.txt", "a\n"), Write("b.txt", "b\n")});
    TypePassword(1, 5, "user");
    TypeCombineInto("all.pdf");
    MessageBoxAnswers boxes{GetParam()};
    ClickStart();
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_FALSE(QFileInfo::exists(Path("all.pdf")));
    EXPECT_FALSE(QFileInfo::exists(Path("a.pdf")));
    EXPECT_TRUE(shell.empty());
}

// NoButton is no button of the box: the answer is Escape.
INSTANTIATE_TEST_SUITE_P(Answers, CombineDeclined, testing::Values(QMessageBox::Cancel, QMessageBox::NoButton));

// The window's run makes the combined PDF the command line makes: archival with a title and a
// paragraph per file, and the page count of the whole document in the header from page 1 on.
TEST_F(CombineInWindow, AnArchivalCombinedPdfWithThePageCountInItsHeader)
{
    std::string longText;
    for (int line = 1; line <= 120; ++line)
        longText += "long " + std::to_string(line) + "\n";
    left->AddEntries({Write("a.txt", "a one\na two\n"), Write("b.txt", QByteArray::fromStdString(longText))});
    options.CombinedNumbering = 1; // Settings.ini only
    const int archive = RowLabelled("PDF/A");
    const int language = RowLabelled("Document Language");
    const int header = RowLabelled("Header Centre");
    ASSERT_TRUE(archive && language && header);
    Choose(archive, kArchivePdfA);
    TypeIntoRow(language, "en-US");
    TypeIntoRow(header, "Page %p of %P");
    TypeCombineInto("all.pdf");
    MessageBoxAnswers boxes;
    ClickStart();
    EXPECT_TRUE(boxes.seen.empty());

    const std::string pdf = Path("all.pdf").toStdString();
    const ArchivalReport report = CheckArchival(pdf);
    EXPECT_EQ(report.broken, std::set<ArchivalRule>{});
    ASSERT_FALSE(report.paragraphs.empty());
    EXPECT_EQ(report.paragraphs.front(), "a one a two ");
    EXPECT_EQ(InspectPdf(pdf).infoText["/Title"], "all.pdf");
    const std::vector<std::string> pages = ExtractPdfPageTexts(pdf);
    ASSERT_GE(pages.size(), 3u);
    for (std::size_t page = 0; page < pages.size(); ++page) {
        const std::string expected = "Page " + std::to_string(page + 1) + " of " + std::to_string(pages.size());
        EXPECT_NE(pages[page].find(expected), std::string::npos) << pages[page];
    }
}

struct RefusedPlaceCase {
    const char* what;
    const char* typed;
    const char* reasonPart;
};
void PrintTo(const RefusedPlaceCase& c, std::ostream* out) { *out << c.what; }

class CombineRefused : public CombineInWindow, public testing::WithParamInterface<RefusedPlaceCase> {};

TEST_P(CombineRefused, NothingIsWrittenAndTheMessageSaysWhy)
{
    const RefusedPlaceCase& c = GetParam();
    left->AddEntries({Write("a.txt", "a\n"), Write("b.txt", "b\n")});
    Write("notes.txt", "my notes\n");
    TypeCombineInto(c.typed);
    MessageBoxAnswers boxes;
    ClickStart();
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_TRUE(boxes.seen[0].text.startsWith("No file was converted or touched: ")) << boxes.seen[0].text.toStdString();
    EXPECT_TRUE(boxes.seen[0].text.contains(c.reasonPart)) << boxes.seen[0].text.toStdString();
    EXPECT_EQ(QDir(scratch.path()).entryList(QDir::Files), QStringList({"a.txt", "b.txt", "notes.txt"}));
    QFile input(Path("a.txt"));
    ASSERT_TRUE(input.open(QIODevice::ReadOnly));
    EXPECT_EQ(input.readAll(), "a\n");
    EXPECT_TRUE(shell.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CombineRefused,
    testing::Values(RefusedPlaceCase{"the bare name of a checked file", "a.txt", "would replace the input file"},
                    RefusedPlaceCase{"a file that is not a PDF", "notes.txt", "is not a PDF"}));

TEST_F(CombineInWindow, StopSaysTheCombinedPdfWasNotWrittenAndKeepsTheOldOne)
{
    left->AddEntries({Write("a.txt", "a\n"), Write("b.txt", QByteArray("a line of text\n").repeated(20000)),
                      Write("c.txt", "c\n")});
    Write("all.pdf", "%PDF- the old one");
    TypeCombineInto("all.pdf");
    QObject::connect(left, &CLeftView::FileStarted, left, [&](int number, int) {
        if (number == 2)
            ClickButton(CmdStopConvert);
    });
    MessageBoxAnswers boxes;
    ClickStart();
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_TRUE(boxes.seen[0].text.startsWith("These files were not converted:")) << boxes.seen[0].text.toStdString();
    EXPECT_TRUE(boxes.seen[0].text.contains("the combined PDF was not written")) << boxes.seen[0].text.toStdString();
    EXPECT_FALSE(boxes.seen[0].text.contains("Converted, with a note")) << boxes.seen[0].text.toStdString();
    QFile old(Path("all.pdf"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "%PDF- the old one");
}

} // namespace
