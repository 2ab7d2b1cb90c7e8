// The options pane: its 36 rows, the read-only rules, and each edit written into the record.
#include "PaneHost.h"

#include "optiontree/OptionTreeComboItem.h"
#include "optiontree/OptionTreeCtrl.h"
#include "optiontree/OptionTreeEditItem.h"
#include "optiontree/OptionTreePathItem.h"
#include "optiontree/TitleTipComboBox.h"
#include "optiontree/TitleTipEdit.h"

#include "../controls/QStringPrinter.h"

namespace {

using OptionsPane = PaneHost;

QString Text(COptionTreeItemBase* item)
{
    return static_cast<COptionTreeEditItem*>(item)->GetWindowText();
}

} // namespace

TEST_F(OptionsPane, RowsKeepTheirNumbersListsAndColoursAcrossRebuilds)
{
    for (int build = 0; build < 2; ++build) {
        right->BuildOptionTree();
        EXPECT_EQ(Row(1)->GetLabelText(), "Paper Options");
        EXPECT_EQ(Row(36)->GetLabelText(), "Encrypt Level");
        EXPECT_EQ(Row(37)->GetLabelText(), "Text Options");
        EXPECT_EQ(Row(38)->GetParent(), Row(37));
        EXPECT_EQ(Row(39)->GetLabelText(), "Form Feed");
        EXPECT_EQ(Row(40)->GetLabelText(), "Page Furniture");
        EXPECT_EQ(Row(52)->GetLabelText(), "Combine Options");
        EXPECT_EQ(Row(54)->GetLabelText(), "Archive Options");
        EXPECT_EQ(Row(56)->GetParent(), Row(54));
        EXPECT_EQ(Row(57), nullptr);
        EXPECT_EQ(Row(16)->GetParent(), Row(15));
        EXPECT_EQ(Row(13)->GetParent(), Row(12));
        for (int category : {1, 22, 25, 31, 37, 40, 52, 54}) {
            EXPECT_TRUE(Row(category)->IsCategory());
            EXPECT_EQ(Row(category)->GetLabelBackColor(), RGB(207, 234, 254));
            EXPECT_EQ(Row(category)->GetLabelTextColor(), RGB(0, 0, 0));
        }
        const std::pair<int, int> listSizes[] = {{2, 38}, {10, 4}, {11, 14}, {16, 2}, {17, 11}, {19, 30}, {20, 16}, {23, 4}, {33, 2}, {39, 2}, {55, 2}};
        for (const auto& [id, count] : listSizes)
            EXPECT_EQ(static_cast<COptionTreeComboItem*>(Row(id))->GetCount(), count) << id;
        EXPECT_EQ(static_cast<COptionTreeComboItem*>(Row(2))->GetComboBox()->itemText(37), "Custom Page Size");
        EXPECT_EQ(static_cast<COptionTreeComboItem*>(Row(19))->GetComboBox()->itemText(28), "UTF-8");
        EXPECT_NE(dynamic_cast<COptionTreePathItem*>(Row(15)), nullptr);
        EXPECT_EQ(static_cast<COptionTreePathItem*>(Row(14))->GetFilter(), "PFA/PFB Files (*.pfa;*.pfb)|*.pfa;*.pfb|All Files (*.*)|*.*|");
    }
}

TEST_F(OptionsPane, TheArchiveRowsSetPdfAAndTheLanguage)
{
    Choose(55, kArchivePdfA);
    EXPECT_EQ(options.Archive, kArchivePdfA);
    TypeIntoRow(56, "de-DE");
    EXPECT_EQ(options.Language, "de-DE");
}

TEST_F(OptionsPane, ACustomSizeIsKeptWhenATablePaperIsChosen)
{
    Choose(2, 37);
    EXPECT_EQ(Text(Row(3)), "");
    EXPECT_FALSE(Row(3)->IsReadOnly());
    EXPECT_FALSE(Row(4)->IsReadOnly());
    TypeIntoRow(3, "300");
    EXPECT_EQ(options.PageWidth, 300);
    Choose(2, 7);
    EXPECT_EQ(options.PageSize, 7);
    EXPECT_EQ(Text(Row(3)), "595");
    EXPECT_EQ(Text(Row(4)), "842");
    EXPECT_TRUE(Row(3)->IsReadOnly());
    EXPECT_EQ(options.PageWidth, 300);
}

TEST_F(OptionsPane, EditsReachTheRecordAtOnceAndTouchNoOtherField)
{
    const ConversionOptions before = options;
    Choose(33, kNo);
    ConversionOptions expected = before;
    expected.PermitPrint = kNo;
    EXPECT_EQ(options, expected);
    TypeIntoRow(21, "abc"); // letters cannot be typed: the row is left empty
    EXPECT_EQ(options.FontSize, 0);
    TypeIntoRow(26, "Ann Smith");
    EXPECT_EQ(options.Author, "Ann Smith");
}

class FontKindRows : public PaneHost, public testing::WithParamInterface<int> {};

TEST_P(FontKindRows, LeaveOnlyTheRowsOfTheChosenKindEditable)
{
    const int kind = GetParam();
    // Editable rows by kind, for rows 11, 13, 14, 15, 16, 17, 19 and 20.
    const std::map<int, std::vector<int>> editable = {
        {Base14Font, {11, 19}}, {Type1Font, {13, 14, 19}}, {TrueTypeFont, {15, 16, 19, 20}}, {CidFont, {17, 20}}};
    Choose(10, kind);
    EXPECT_EQ(options.PageFont, kind);
    for (int id : {11, 13, 14, 15, 16, 17, 19, 20}) {
        const auto& rows = editable.at(kind);
        EXPECT_EQ(!Row(id)->IsReadOnly(), std::count(rows.begin(), rows.end(), id) == 1) << "row " << id;
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, FontKindRows, testing::Values(Base14Font, Type1Font, TrueTypeFont, CidFont));

TEST_F(OptionsPane, ABuildShowsTheRecordAsLoadedFromTheSettings)
{
    options.PageFont = TrueTypeFont;
    options.PageSize = kCustomPageSize;
    options.PageWidth = 300;
    options.PageHeight = 400;
    options.TrueTypeFile = "/fonts/a.ttf";
    right->BuildOptionTree();
    EXPECT_FALSE(Row(16)->IsReadOnly());
    EXPECT_TRUE(Row(11)->IsReadOnly());
    EXPECT_EQ(Text(Row(3)), "300");
    EXPECT_EQ(Text(Row(4)), "400");
    EXPECT_EQ(static_cast<COptionTreePathItem*>(Row(15))->GetSelectedPath(), "/fonts/a.ttf");
    // A run reads back what is shown, so nothing loaded is lost.
    const ConversionOptions loaded = options;
    EXPECT_EQ(right->ReadOptionsFromTree(), loaded);
}

TEST_F(OptionsPane, ARunReadsBackTextNotYetCommittedAndTheTableSizeOfAPaper)
{
    Choose(2, 0); // Letter
    options.PageWidth = 1;
    auto* size = static_cast<COptionTreeEditItem*>(Row(21));
    size->GetEdit()->setText("14"); // typed, the editor still open
    const ConversionOptions read = right->ReadOptionsFromTree();
    EXPECT_EQ(read.FontSize, 14);
    EXPECT_EQ(read.PageWidth, 612);
    EXPECT_EQ(read.PageHeight, 792);
    EXPECT_EQ(options, read);
}
