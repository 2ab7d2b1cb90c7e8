// The value kinds: creation rules, numbers, the drop-down list and the path row's dialog.
#include "TreeFixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFileDialog>
#include <QFontInfo>
#include <QScreen>
#include <QTemporaryDir>

namespace {

using Kinds = TreeFixture;

struct NumericCase {
    const char* text;
    bool numeric;
    int number;
};

TEST(EditNumbers, IsNumericAndGetNumberReadLeadingDigits)
{
    const NumericCase cases[] = {
        {"12.5", true, 12},  {"-5", false, 0},     {"1e3", false, 0},   {"  42", true, 42},
        {"7;8", true, 7},    {"3 4", true, 3},     {".5", true, 0},     {"", false, 0},
        {"   ", false, 0},   {"+5", false, 0},     {"1/2", false, 0},   {"100!", true, 100},
        {"0", true, 0},      {"99999999999", true, 2147483647},         {"12x", false, 0},
    };
    COptionTreeCtrl tree;
    ASSERT_TRUE(tree.Create(QRect(0, 0, 300, 300), nullptr, 0, 1));
    auto* numeric = tree.InsertItem(std::make_unique<COptionTreeEditItem>());
    ASSERT_TRUE(numeric->CreateEditItem(COptionTreeEditItem::NumericOnly));
    for (const NumericCase& each : cases) {
        EXPECT_EQ(bool(COptionTreeEditItem::IsNumeric(each.text)), each.numeric) << each.text;
        numeric->SetWindowText(each.text);
        int number = -1;
        EXPECT_EQ(bool(numeric->GetNumber(number)), each.numeric) << each.text;
        EXPECT_EQ(number, each.number) << each.text;
    }
    numeric->SetNumber(-17);
    EXPECT_EQ(numeric->GetWindowText(), "-17");

    auto* text = tree.InsertItem(std::make_unique<COptionTreeEditItem>());
    ASSERT_TRUE(text->CreateEditItem(0));
    text->SetNumber(12);
    int number = -1;
    EXPECT_FALSE(text->GetNumber(number)) << "a text row is no number";
    EXPECT_EQ(number, 0);
}

TEST_F(Kinds, CreationNeedsAnInsertedRowAndHappensOnce)
{
    COptionTreeComboItem loose;
    EXPECT_FALSE(loose.CreateComboItem());
    EXPECT_EQ(loose.GetComboBox(), nullptr);
    EXPECT_EQ(loose.AddString("x"), COptionTreeComboItem::CB_ERR);
    EXPECT_EQ(loose.GetCurSel(), COptionTreeComboItem::CB_ERR);
    COptionTreeEditItem looseEdit;
    EXPECT_FALSE(looseEdit.CreateEditItem(COptionTreeEditItem::NumericOnly));
    int number = 5;
    EXPECT_FALSE(looseEdit.GetNumber(number));
    EXPECT_EQ(number, 0);
    COptionTreePathItem loosePath;
    EXPECT_FALSE(loosePath.CreatePathItem("", "", "", 0, 0));

    auto* combo = tree->InsertItem(std::make_unique<COptionTreeComboItem>());
    ASSERT_TRUE(combo->CreateComboItem());
    TitleTipComboBox* window = combo->GetComboBox();
    EXPECT_FALSE(combo->CreateComboItem());
    EXPECT_EQ(combo->GetComboBox(), window);
    EXPECT_EQ(window->parentWidget(), Client());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->font(), ControlFonts::Normal());

    COptionTreeCtrl uncreated;
    auto* orphan = uncreated.InsertItem(std::make_unique<COptionTreeEditItem>());
    EXPECT_FALSE(orphan->CreateEditItem(0)) << "no rows window to live in";
}

TEST_F(Kinds, ComboSelectionOutsideTheListSelectsNothing)
{
    BuildPaneTree();
    auto* size = Row<COptionTreeComboItem>(2);
    EXPECT_EQ(size->GetCount(), 5);
    EXPECT_EQ(size->SetCurSel(4), 4);
    EXPECT_EQ(size->GetWindowText(), "Custom Page Size");
    EXPECT_EQ(size->SetCurSel(9), COptionTreeComboItem::CB_ERR);
    EXPECT_EQ(size->GetCurSel(), -1);
    EXPECT_EQ(size->GetWindowText(), "");
}

struct DropCase {
    const char* name;
    int selected;     // of 38 entries
    int roomBelow;    // pixels between the combo's bottom and the screen's bottom edge; 0: plenty
    bool opensAbove;
};

void PrintTo(const DropCase& each, std::ostream* out)
{
    *out << each.name;
}

class DroppedList : public TreeFixture, public ::testing::WithParamInterface<DropCase> {};

TEST_P(DroppedList, OpensAgainstTheBoxHundredPixelsHighShowingTheChoice)
{
    const DropCase& param = GetParam();
    BuildPaneTree();
    auto* size = Row<COptionTreeComboItem>(2);
    for (int i = size->GetCount(); i < 38; ++i)
        size->AddString(QString("Paper %1").arg(i));
    size->SetCurSel(param.selected);
    Click(size, ValueX());
    TitleTipComboBox* combo = size->GetComboBox();
    if (param.roomBelow > 0) {
        const int screenBottom = combo->screen()->availableGeometry().bottom();
        const QPoint boxBottom = combo->mapToGlobal(QPoint(0, combo->height() - 1));
        host->move(host->x(), host->y() + screenBottom - param.roomBelow - boxBottom.y());
        QApplication::processEvents();
    }
    combo->showPopup();
    QApplication::processEvents();
    QWidget* popup = combo->view()->window();
    ASSERT_TRUE(popup->isVisible());

    const QRect box(combo->mapToGlobal(QPoint(0, 0)), combo->size());
    EXPECT_EQ(popup->height(), COptionTreeComboItem::DefaultDropHeight);
    EXPECT_EQ(popup->width(), box.width()) << "as wide as the box";
    EXPECT_EQ(popup->x(), box.x());
    if (param.opensAbove)
        EXPECT_EQ(popup->geometry().bottom(), box.top() - 1);
    else
        EXPECT_EQ(popup->y(), box.bottom() + 1);
    QAbstractItemView* list = combo->view();
    const QRect chosen = list->visualRect(list->model()->index(param.selected, 0));
    EXPECT_TRUE(list->viewport()->rect().contains(chosen)) << "the choice is scrolled into view";
    combo->hidePopup();
}

const DropCase DropCases[] = {
    {"FirstEntryDropsBelow", 0, 0, false},
    {"LaterEntryDropsBelowScrolledToIt", 30, 0, false},
    {"LastEntryDropsBelowScrolledToIt", 37, 0, false},
    {"NoRoomBelowOpensAbove", 0, 60, true},
    {"JustRoomBelowDropsBelow", 20, 100, false},
};
INSTANTIATE_TEST_SUITE_P(Kinds, DroppedList, ::testing::ValuesIn(DropCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Kinds, ClosedComboPaintsItsChoice)
{
    BuildPaneTree();
    auto* print = Row<COptionTreeComboItem>(33);
    RowPoint(print, 0);
    auto valueInk = [&] {
        const QImage image = Grab();
        const QRect value = print->GetAttributeRect();
        int ink = 0;
        for (int x = value.left() + 1; x < value.left() + 40; ++x)
            for (int y = value.top() + 2; y < value.bottom() - 1; ++y)
                ink += image.pixelColor(x, y).lightness() < 128;
        return ink;
    };
    EXPECT_GT(valueInk(), 10) << "\"Yes\" is painted";
    print->SetCurSel(-1);
    EXPECT_EQ(valueInk(), 0);
}

TEST_F(Kinds, PathRowShowsNoSelectionUntilAFileIsChosen)
{
    BuildPaneTree();
    auto* metrics = Row<COptionTreePathItem>(13);
    EXPECT_EQ(metrics->GetSelectedPath(), "");
    EXPECT_EQ(metrics->GetPaths(), QStringList{""});

    QTemporaryDir dir;
    const QString chosen = dir.filePath("font.afm");
    QFile(chosen).open(QIODevice::WriteOnly);
    QStringList filters;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    COptionTreePathDialog::SetRunner([&](QFileDialog& dialog) {
        filters = dialog.nameFilters();
        mode = dialog.fileMode();
        EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
        dialog.setDirectory(dir.path());
        dialog.selectFile(chosen);
        return int(QDialog::Accepted);
    });
    Click(metrics, ValueX());
    EXPECT_EQ(filters, (QStringList{"AFM Files (*.afm)", "All Files (*)"}));
    EXPECT_EQ(mode, QFileDialog::ExistingFile);
    EXPECT_EQ(metrics->GetSelectedPath(), chosen);
    EXPECT_EQ(Codes(), (std::vector<int>{NotifyFocusChanged, NotifyItemActivating, NotifyItemChanged}));
    EXPECT_EQ(metrics->GetHeight(), 21) << "one path fits the row";

    log.clear();
    COptionTreePathDialog::SetRunner([](QFileDialog&) { return int(QDialog::Rejected); });
    Click(tree->FindItem(12), LabelX());
    Click(metrics, ValueX());
    EXPECT_EQ(metrics->GetSelectedPath(), chosen) << "cancel keeps the previous choice";
    EXPECT_TRUE(Notices(NotifyItemChanged).empty());
}

TEST_F(Kinds, PathRowGrowsForSeveralPaths)
{
    auto* category = AddGroup("Fonts", nullptr);
    auto* paths = tree->InsertItem(std::make_unique<COptionTreePathItem>(), category);
    paths->SetLabelText("Font Files");
    ASSERT_TRUE(paths->CreatePathItem("", "", "All Files (*.*)|*.*|", COptionTreePathItem::OpenDialog,
                                      OFN_ALLOWMULTISELECT));
    auto* below = AddEdit("Below", category, 0, "x");
    tree->ExpandAllItems();

    QTemporaryDir dir;
    for (const char* name : {"a.ttf", "b.ttf", "c.ttf"})
        QFile(dir.filePath(name)).open(QIODevice::WriteOnly);
    COptionTreePathDialog::SetRunner([&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFiles);
        dialog.setDirectory(dir.path());
        dialog.selectFile(QString("\"a.ttf\" \"b.ttf\" \"c.ttf\""));
        return int(QDialog::Accepted);
    });
    Click(paths, ValueX());
    ASSERT_EQ(paths->GetPaths().size(), 3);
    EXPECT_EQ(paths->GetSelectedPath(), dir.filePath("a.ttf"));
    const int line = QFontInfo(ControlFonts::Normal()).pixelSize() + 3;
    EXPECT_EQ(paths->GetHeight(), 3 * line + 5);
    EXPECT_TRUE(paths->IsLabelAtTop());
    EXPECT_EQ(below->GetLocation().y(), paths->GetLocation().y() + paths->GetHeight());

    COptionTreePathDialog::SetRunner([&](QFileDialog& dialog) {
        dialog.setDirectory(dir.path());
        dialog.selectFile(QString("\"c.ttf\""));
        return int(QDialog::Accepted);
    });
    Click(paths, ValueX());
    EXPECT_EQ(paths->GetPaths(), QStringList{dir.filePath("c.ttf")});
    EXPECT_EQ(paths->GetHeight(), 21);
    EXPECT_FALSE(paths->IsLabelAtTop());
}

TEST_F(Kinds, PathDialogReallyRunsModal)
{
    BuildPaneTree();
    auto* trueType = Row<COptionTreePathItem>(15);
    QTemporaryDir dir;
    const QString chosen = dir.filePath("sans.ttf");
    QFile(chosen).open(QIODevice::WriteOnly);
    QTimer::singleShot(100, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        dialog->setDirectory(dir.path());
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        name->setText("sans.ttf");
        QTest::keyClick(name, Qt::Key_Return);
        if (dialog->isVisible())
            dialog->reject();
    });
    Click(trueType, ValueX());
    EXPECT_EQ(trueType->GetSelectedPath(), chosen);
}

} // namespace
