// The grid's data model: structure, cell classes, attributes, default cells, selection state and
// bad arguments. No window needs to be shown for these.
#include "GridTestSupport.h"

#include "grid/GridCellNumeric.h"
#include "grid/GridSizeIndex.h"

#include <gtest/gtest.h>

using namespace gridtest;

namespace {

struct Construction {
    int rows, cols, fixedRows, fixedCols; // constructor arguments
    int builtRows, builtCols;             // the table made of them
};

void PrintTo(const Construction& c, std::ostream* os)
{
    *os << "CGridCtrl(" << c.rows << ", " << c.cols << ", " << c.fixedRows << ", " << c.fixedCols << ')';
}

class GridConstruction : public testing::TestWithParam<Construction> {};

TEST_P(GridConstruction, BuildsEveryCellWithItsFixedFlags)
{
    const Construction c = GetParam();
    CGridCtrl grid(c.rows, c.cols, c.fixedRows, c.fixedCols);
    ASSERT_EQ(grid.GetRowCount(), c.builtRows);
    ASSERT_EQ(grid.GetColumnCount(), c.builtCols);
    EXPECT_EQ(grid.GetFixedRowCount(), std::max(c.fixedRows, 0));
    EXPECT_EQ(grid.GetFixedColumnCount(), std::max(c.fixedCols, 0));
    EXPECT_EQ(grid.GetFocusCell(), CellID());
    EXPECT_EQ(grid.GetCell(c.builtRows, 0), nullptr);
    EXPECT_EQ(grid.GetItemText(c.builtRows, 0), QString());
    for (int row = 0; row < c.builtRows; ++row) {
        EXPECT_EQ(grid.GetRowHeight(row), grid.GetDefaultCell(0)->GetHeight());
        for (int col = 0; col < c.builtCols; ++col) {
            const CGridCellBase* cell = grid.GetCell(row, col);
            ASSERT_NE(cell, nullptr);
            EXPECT_EQ(cell->IsFixedRow(), row < c.fixedRows);
            EXPECT_EQ(cell->IsFixedCol(), col < c.fixedCols);
            EXPECT_EQ(cell->GetFormat(), cell->GetDefaultCell()->GetFormat());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Counts, GridConstruction,
                         testing::Values(Construction{0, 0, 0, 0, 0, 0}, Construction{3, 6, 1, 0, 3, 6},
                                         Construction{2, 4, 1, 2, 2, 4}, Construction{1, 2, 3, 1, 3, 2},
                                         Construction{0, 0, 1, 1, 1, 1}, Construction{-2, 3, 0, 0, 0, 3}));

// A grid whose cell creation the tests watch.
class WatchedGrid : public CGridCtrl {
public:
    using CGridCtrl::CGridCtrl;
    int created = 0;

protected:
    std::unique_ptr<CGridCellBase> CreateCell(int row, int col) override
    {
        ++created;
        return CGridCtrl::CreateCell(row, col);
    }
};

TEST(GridModel, LaterCountChangesCreateCellsThroughTheSubclass)
{
    WatchedGrid grid(2, 3);
    grid.SetRowCount(3);
    grid.SetColumnCount(4);
    EXPECT_EQ(grid.created, 3 + 3);
}

// Cells of this class can be created until the budget runs out; then creation throws as an
// allocation that fails would. A negative budget never runs out.
int g_cellBudget = -1;
std::unique_ptr<CGridCellBase> CreateCellWithinBudget()
{
    if (g_cellBudget == 0)
        throw std::bad_alloc();
    if (g_cellBudget > 0)
        --g_cellBudget;
    return std::make_unique<CGridCell>();
}
const GridCellClass BudgetCellClass = {"CBudgetCell", &CGridCell::Class, &CreateCellWithinBudget};

struct Shortage {
    bool columns;   // which count grows
    int budget;     // cells that can still be made
    int reached;    // the count the grid ends with
};

void PrintTo(const Shortage& s, std::ostream* os)
{
    *os << (s.columns ? "columns" : "rows") << " with " << s.budget << " cells left";
}

class GridOutOfMemory : public testing::TestWithParam<Shortage> {
protected:
    void TearDown() override { g_cellBudget = -1; }
};

// From 2 rows and 2 columns towards 6 of the growing kind: each added line needs 2 cells.
TEST_P(GridOutOfMemory, KeepsTheWholeLinesAddedBeforeTheFailure)
{
    const Shortage s = GetParam();
    CGridCtrl grid(2, 2);
    grid.resize(300, 200);
    grid.SetDefaultCellType(&BudgetCellClass);
    g_cellBudget = s.budget;
    const BOOL grown = s.columns ? grid.SetColumnCount(6) : grid.SetRowCount(6);
    g_cellBudget = -1;
    EXPECT_EQ(bool(grown), s.reached == 6);
    const int rows = s.columns ? 2 : s.reached;
    const int cols = s.columns ? s.reached : 2;
    ASSERT_EQ(grid.GetRowCount(), rows);
    ASSERT_EQ(grid.GetColumnCount(), cols);
    EXPECT_EQ(grid.GetRowHeight(rows - 1), grid.GetDefaultCell(0)->GetHeight());
    EXPECT_EQ(grid.GetColumnWidth(cols - 1), grid.GetDefaultCell(0)->GetWidth());
    EXPECT_EQ(grid.GetRowHeight(rows), -1);
    EXPECT_EQ(grid.GetColumnWidth(cols), -1);
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < cols; ++col)
            EXPECT_NE(grid.GetCell(row, col), nullptr) << row << ", " << col;
    }
    EXPECT_FALSE(grid.viewport()->grab().isNull());
    // The grid goes on working once memory is back.
    EXPECT_TRUE(s.columns ? grid.SetColumnCount(6) : grid.SetRowCount(6));
    EXPECT_NE(grid.GetCell(5, 1) ? grid.GetCell(5, 1) : grid.GetCell(1, 5), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Shortages, GridOutOfMemory,
                         testing::Values(Shortage{true, 0, 2}, Shortage{true, 5, 4}, Shortage{true, 7, 5},
                                         Shortage{true, 8, 6}, Shortage{false, 0, 2}, Shortage{false, 3, 3},
                                         Shortage{false, 7, 5}, Shortage{false, 8, 6}));

TEST(GridModel, AppendedRowHasPlainCellsWithDefaultHeightAndFormat)
{
    CGridCtrl grid(3, 6, 1, 0);
    ASSERT_TRUE(grid.SetRowCount(4));
    const CGridDefaultCell* def = grid.GetDefaultCell(0);
    EXPECT_EQ(grid.GetRowHeight(3), def->GetHeight());
    for (int col = 0; col < 6; ++col) {
        const CGridCellBase* cell = grid.GetCell(3, col);
        ASSERT_NE(cell, nullptr);
        EXPECT_STREQ(cell->GetRuntimeClass()->className, "CGridCell");
        EXPECT_EQ(cell->GetFormat(), 0x8824u);
    }
}

TEST(GridModel, SetCellTypeKeepsTextAndStateAndRejectsWrongClasses)
{
    CGridCtrl grid(3, 6, 1, 0);
    grid.SetItemText(2, 0, "keep");
    grid.SetItemState(2, 0, CellReadOnly | CellSelected);
    ASSERT_TRUE(grid.SetCellType(2, 0, &CGridCellCheck::Class));
    EXPECT_EQ(grid.GetCell(2, 0)->GetRuntimeClass(), &CGridCellCheck::Class);
    EXPECT_EQ(grid.GetItemText(2, 0), "keep");
    EXPECT_EQ(grid.GetItemState(2, 0), UINT(CellReadOnly | CellSelected));
    EXPECT_TRUE(grid.IsCellSelected(2, 0));

    static const GridCellClass stranger = {"CStranger", nullptr, [] { return std::unique_ptr<CGridCellBase>(); }};
    EXPECT_FALSE(grid.SetCellType(2, 1, &stranger));
    EXPECT_FALSE(grid.SetCellType(2, 1, &CGridCellBase::Class)); // abstract
    EXPECT_FALSE(grid.SetCellType(2, 1, nullptr));
    EXPECT_FALSE(grid.SetCellType(9, 1, &CGridCellNumeric::Class));
    EXPECT_EQ(grid.GetCell(2, 1)->GetRuntimeClass(), &CGridCell::Class);
}

TEST(GridModel, NewCellsUseTheDefaultCellType)
{
    CGridCtrl grid;
    ASSERT_TRUE(grid.SetDefaultCellType(&CGridCellNumeric::Class));
    grid.SetColumnCount(2);
    grid.SetRowCount(1);
    EXPECT_EQ(grid.GetCell(0, 1)->GetRuntimeClass(), &CGridCellNumeric::Class);
}

TEST(GridModel, AttributesFallBackToTheDefaultCellOfTheirKind)
{
    CGridCtrl grid(3, 3, 1, 1);
    CGridCellBase* cell = grid.GetCell(2, 2);
    cell->SetFormat(0xFFFFFFFF);
    grid.GetDefaultCell(0)->SetFormat(0x8826);
    EXPECT_EQ(cell->GetFormat(), 0x8826u);
    EXPECT_EQ(cell->GetMargin(), grid.GetDefaultCell(0)->GetMargin());
    EXPECT_TRUE(cell->IsDefaultFont());

    QFont bold;
    bold.setBold(true);
    grid.GetDefaultCell(CellFixedRow)->SetFont(bold);
    EXPECT_TRUE(grid.GetCell(0, 2)->GetFont().bold());
    EXPECT_FALSE(grid.GetCell(2, 2)->GetFont().bold());
    EXPECT_EQ(grid.GetCell(0, 0)->GetDefaultCell(), grid.GetDefaultCell(CellFixedRow | CellFixedColumn));
    EXPECT_EQ(grid.GetCell(2, 0)->GetDefaultCell(), grid.GetDefaultCell(CellFixedColumn));
}

TEST(GridModel, DefaultCellMetricsFollowItsFont)
{
    CGridDefaultCell def;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(20);
    def.SetFont(font);
    const QFontMetrics metrics(font);
    EXPECT_EQ(def.GetMargin(), UINT(metrics.horizontalAdvance(' ')));
    EXPECT_EQ(def.GetWidth(), metrics.horizontalAdvance(QStringLiteral(" XXXXXXXXXXXX ")));
    EXPECT_EQ(def.GetHeight(), metrics.height() * 3 / 2);
}

TEST(GridModel, ResetRestoresInitialValues)
{
    CGridCell cell;
    cell.SetText("x");
    cell.SetData(7);
    cell.SetImage(2);
    cell.SetState(CellSelected);
    cell.SetBackClr(0x123456);
    QFont font;
    cell.SetFont(font);
    cell.Reset();
    EXPECT_EQ(cell.GetText(), QString());
    EXPECT_EQ(cell.GetData(), 0u);
    EXPECT_EQ(cell.GetImage(), -1);
    EXPECT_EQ(cell.GetState(), 0u);
    EXPECT_EQ(cell.GetBackClr(), DefaultColour);
    EXPECT_TRUE(cell.IsDefaultFont());
}

TEST(GridModel, FixedCountsMarkCellsAndGrowTheTable)
{
    CGridCtrl grid;
    grid.SetColumnCount(2);
    ASSERT_TRUE(grid.SetFixedRowCount(1));
    EXPECT_EQ(grid.GetRowCount(), 1);
    EXPECT_EQ(grid.GetItemState(0, 1), UINT(CellFixed | CellFixedRow));
    grid.SetRowCount(3);
    grid.SetFixedColumnCount(1);
    EXPECT_EQ(grid.GetItemState(0, 0), UINT(CellFixed | CellFixedRow | CellFixedColumn));
    EXPECT_EQ(grid.GetItemState(2, 0), UINT(CellFixed | CellFixedColumn));
    grid.SetFixedRowCount(0);
    EXPECT_EQ(grid.GetItemState(0, 0), UINT(CellFixed | CellFixedColumn));
    EXPECT_EQ(grid.GetItemState(0, 1), 0u);
    grid.SetRowCount(0);
    EXPECT_EQ(grid.GetFixedRowCount(), 0);
}

TEST(GridModel, DeleteRowKeepsTheFocusCellOnItsRow)
{
    CGridCtrl grid(6, 3, 1, 0);
    grid.SetFocusCell(4, 1);
    ASSERT_TRUE(grid.DeleteRow(2));
    EXPECT_EQ(grid.GetFocusCell(), (CellID{3, 1}));
    EXPECT_TRUE(grid.GetItemState(3, 1) & CellFocused);
    ASSERT_TRUE(grid.DeleteRow(3));
    EXPECT_EQ(grid.GetFocusCell(), CellID());
    EXPECT_EQ(grid.GetRowCount(), 4);
    ASSERT_TRUE(grid.DeleteRow(0));
    EXPECT_EQ(grid.GetFixedRowCount(), 0);
}

TEST(GridModel, DeleteAllItemsEmptiesEverything)
{
    CGridCtrl grid(5, 4, 1, 1);
    grid.SetSelectedRange(1, 1, 3, 3);
    ASSERT_TRUE(grid.DeleteAllItems());
    EXPECT_EQ(grid.GetRowCount() + grid.GetColumnCount() + grid.GetFixedRowCount() + grid.GetFixedColumnCount(), 0);
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_EQ(grid.GetColumnWidth(0), -1);
}

TEST(GridModel, ModifiedFlagsOfCellsFollowTheGrid)
{
    CGridCtrl grid(2, 2);
    grid.SetItemText(1, 1, "x");
    EXPECT_TRUE(grid.GetModified(1, 1));
    EXPECT_TRUE(grid.GetModified());
    grid.SetModified(FALSE);
    EXPECT_FALSE(grid.GetModified(1, 1));
    grid.SetModified(TRUE, 0, 1);
    EXPECT_TRUE(grid.GetModified());
}

TEST(GridModel, SetItemAppliesOnlyMaskedFields)
{
    CGridCtrl grid(2, 2);
    GridItem item;
    item.row = 1;
    item.col = 0;
    item.mask = GridItem::ItemText | GridItem::ItemState | GridItem::ItemBackColour;
    item.text = "t";
    item.state = CellSelected;
    item.backColour = 0x00FF00;
    item.textColour = 0x0000FF; // not in the mask
    ASSERT_TRUE(grid.SetItem(item));
    EXPECT_EQ(grid.GetItemText(1, 0), "t");
    EXPECT_TRUE(grid.IsCellSelected(1, 0));
    EXPECT_EQ(grid.GetCell(1, 0)->GetBackClr(), 0x00FF00u);
    EXPECT_EQ(grid.GetCell(1, 0)->GetTextClr(), DefaultColour);
    item.row = 5;
    EXPECT_FALSE(grid.SetItem(item));
}

TEST(GridModel, SelectionBoundsAndValidity)
{
    CGridCtrl grid(10, 6, 1, 0);
    const CellRange empty = grid.GetSelectionBounds();
    EXPECT_EQ(empty, (CellRange{10, 6, -1, -1}));
    EXPECT_FALSE(grid.IsValid(empty));
    grid.SetSelectedRange(2, 1, 4, 3);
    EXPECT_EQ(grid.GetSelectionBounds(), (CellRange{2, 1, 4, 3}));
    EXPECT_EQ(grid.GetSelectedCount(), 9);
    // Bounds inside the fixed rows are raised to the first ordinary row.
    grid.SetSelectedRange(0, 0, 1, 0);
    EXPECT_EQ(grid.GetSelectionBounds(), (CellRange{1, 0, 1, 0}));
    grid.ClearSelection();
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_FALSE(grid.IsValid(CellRange{3, 0, 2, 0}));
    EXPECT_FALSE(grid.IsValid(CellRange{0, 0, 10, 0}));
}

TEST(GridModel, SelectionOfRowsBeyond65535IsKeptApart)
{
    CGridCtrl grid(70000, 1);
    grid.SetItemState(1, 0, CellSelected);
    grid.SetItemState(65537, 0, CellSelected);
    EXPECT_EQ(grid.GetSelectedCount(), 2);
    grid.ClearSelection();
    EXPECT_FALSE(grid.IsCellSelected(1, 0));
    EXPECT_FALSE(grid.IsCellSelected(65537, 0));
}

TEST(GridModel, BadArgumentsChangeNothing)
{
    CGridCtrl grid(3, 3);
    EXPECT_FALSE(grid.SetRowCount(-1));
    EXPECT_FALSE(grid.SetColumnCount(-5));
    EXPECT_FALSE(grid.SetColumnCount(CGridCtrl::MaxColumnCount + 1));
    EXPECT_FALSE(grid.SetColumnWidth(1, -1));
    EXPECT_FALSE(grid.SetColumnWidth(3, 10));
    EXPECT_FALSE(grid.SetRowHeight(-1, 10));
    EXPECT_EQ(grid.GetColumnWidth(-1), -1);
    EXPECT_EQ(grid.GetRowHeight(3), -1);
    EXPECT_FALSE(grid.DeleteRow(3));
    EXPECT_FALSE(grid.DeleteRow(-1));
    EXPECT_FALSE(grid.SetItemText(-1, 0, "x"));
    EXPECT_EQ(grid.GetItemState(0, 7), 0u);
    EXPECT_FALSE(grid.SetItemState(3, 0, CellSelected));
    grid.SetSelectedRange(2, 2, 1, 1); // minimum above maximum
    grid.SetSelectedRange(-4, 0, 99, 99);
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    grid.EnsureVisible(50, 50);
    grid.ReplaceCellText(9, 9, "x");
    EXPECT_EQ(grid.GetRowCount(), 3);
    EXPECT_EQ(grid.GetColumnCount(), 3);
}

class GridFocusOutside : public testing::TestWithParam<CellID> {};

TEST_P(GridFocusOutside, IsIgnored)
{
    CGridCtrl grid(3, 3, 1, 0);
    grid.SetFocusCell(1, 1);
    grid.SetFocusCell(GetParam().row, GetParam().col);
    EXPECT_EQ(grid.GetFocusCell(), (CellID{1, 1}));
    EXPECT_TRUE(grid.GetItemState(1, 1) & CellFocused);
}

// (-1, -1) means no cell and clears the focus; a fixed row is raised to row 1, which exists.
INSTANTIATE_TEST_SUITE_P(Cells, GridFocusOutside,
                         testing::Values(CellID{50, 50}, CellID{3, 1}, CellID{1, 3}, CellID{-1, 2}, CellID{2, -1},
                                         CellID{-5, -5}));

TEST(GridSizeIndex, OffsetsAndLookupsSkipHiddenEntries)
{
    CGridSizeIndex sizes;
    for (int size : {10, 0, 5, 20, 0, 7})
        sizes.Append(size);
    EXPECT_EQ(sizes.Total(), 42);
    EXPECT_EQ(sizes.Offset(3), 15);
    EXPECT_EQ(sizes.IndexAt(9), 0);
    EXPECT_EQ(sizes.IndexAt(10), 2);
    EXPECT_EQ(sizes.IndexAt(35), 5);
    EXPECT_EQ(sizes.IndexAt(42), 6);
    EXPECT_EQ(sizes.IndexAt(-1), -1);
    sizes.SetSize(0, 1);
    EXPECT_EQ(sizes.Offset(3), 6);
    sizes.Remove(2);
    EXPECT_EQ(sizes.Offset(3), 21);
    sizes.Truncate(2);
    sizes.Append(4);
    EXPECT_EQ(sizes.Total(), 5);
}

} // namespace
