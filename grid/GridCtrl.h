#pragma once
// A spreadsheet-like table of cells with optional fixed (header) rows and columns, selection of
// cells or whole rows, in-place editing, check-box cells, resizing of columns and rows with the
// mouse, keyboard navigation and the clipboard.
//
// Ownership: the grid owns every cell and its four default cells; GetCell hands out a pointer
// that stays valid until the cell is destroyed (count shrink, DeleteRow, DeleteAllItems,
// SetCellType, destruction). Threads: GUI thread only, GetItemText included: the user may edit a
// cell at any time, so another thread that needs cell texts has the GUI thread read them for it.
//
// The owner learns what happens through one NotifyHandler (GridNotify records: selection
// changing and changed, begin and end of an edit, clicks, double clicks, right clicks); a
// negative answer to BeginEdit or EndEdit vetoes the edit. After every left-button release whose
// press was on a valid cell the grid posts Command(control id), delivered from the event loop.
//
// Operations given a row or column outside the table do nothing and return FALSE, -1, 0, an
// empty string or nullptr.
#include "grid/GridCellID.h"
#include "grid/GridCellRange.h"
#include "grid/GridDefaultCell.h"
#include "grid/GridNotify.h"
#include "grid/GridSizeIndex.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QPixmap>
#include <QTimer>

#include <memory>
#include <vector>

class CGridCellBase;
struct GridCellClass;

class CGridCtrl : public QAbstractScrollArea {
    Q_OBJECT

public:
    enum MouseMode {
        Idle = 0,
        SelectAll = 1,
        SelectColumn = 2,
        SelectRow = 3,
        SelectCells = 4,
        OverRowDivider = 6,
        SizingRow = 7,
        OverColumnDivider = 8,
        SizingColumn = 9,
        PrepareEdit = 10,
    };
    enum GridLines { GridLinesNone = 0, GridLinesHorz = 1, GridLinesVert = 2, GridLinesBoth = 3 };
    // When a changed cell is drawn: at once, or with the next paint of the grid.
    enum class Repaint { Later, Now };
    // What SetSelectedRange does with the cells of its range.
    enum class SelectAction { Select, Unselect };

    static constexpr int AutoScrollPeriod = 25;
    static constexpr int ResizeCaptureRange = 3;
    static constexpr COLORREF GridLineColour = 0xC0C0C0;
    // Selection keys hold the column in 16 bits.
    static constexpr int MaxColumnCount = 0x10000;

    explicit CGridCtrl(int rows = 0, int cols = 0, int fixedRows = 0, int fixedCols = 0,
                       QWidget* parent = nullptr);
    ~CGridCtrl() override;

    // Places the grid in parent with the given control id and shows it.
    BOOL Create(const QRect& rect, QWidget* parent, int id);
    int GetDlgCtrlID() const { return m_nID; }
    void SetNotifyHandler(NotifyHandler handler) { m_NotifyHandler = std::move(handler); }

    // Structure.
    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    int GetFixedRowCount() const { return m_nFixedRows; }
    int GetFixedColumnCount() const { return m_nFixedCols; }
    // Out of memory, a count that grows stops growing: the rows or columns added before stay,
    // each one complete, and the result is FALSE.
    BOOL SetRowCount(int rows) { return SetLineCount(Axis::Rows, rows); }
    BOOL SetColumnCount(int cols) { return SetLineCount(Axis::Columns, cols); }
    BOOL SetFixedRowCount(int fixedRows) { return SetFixedLineCount(Axis::Rows, fixedRows); }
    BOOL SetFixedColumnCount(int fixedCols) { return SetFixedLineCount(Axis::Columns, fixedCols); }
    BOOL DeleteRow(int row);
    BOOL DeleteAllItems();
    BOOL SetColumnWidth(int col, int width) { return SetLineSize(Axis::Columns, col, width); }
    BOOL SetRowHeight(int row, int height) { return SetLineSize(Axis::Rows, row, height); }
    int GetColumnWidth(int col) const { return LineSize(Axis::Columns, col); }
    int GetRowHeight(int row) const { return LineSize(Axis::Rows, row); }
    int GetFixedRowHeight() const { return FixedExtent(Axis::Rows); }
    int GetFixedColumnWidth() const { return FixedExtent(Axis::Columns); }

    // Cells.
    CGridCellBase* GetCell(int row, int col) const;
    BOOL SetCellType(int row, int col, const GridCellClass* cellClass);
    BOOL SetDefaultCellType(const GridCellClass* cellClass);
    // The default cell for cells with these fixed flags (CellFixedRow, CellFixedColumn).
    CGridDefaultCell* GetDefaultCell(UINT fixedFlags) const;
    BOOL SetItem(const GridItem& item);
    BOOL SetItemText(int row, int col, const QString& text);
    QString GetItemText(int row, int col) const;
    BOOL SetItemState(int row, int col, UINT state);
    UINT GetItemState(int row, int col) const;
    BOOL SetItemFormat(int row, int col, UINT format);
    BOOL SetItemFont(int row, int col, const QFont& font);
    BOOL SetItemBkColour(int row, int col, COLORREF colour);
    BOOL SetItemFgColour(int row, int col, COLORREF colour);
    void SetModified(BOOL modified = TRUE, int row = -1, int col = -1);
    BOOL GetModified(int row = -1, int col = -1) const;

    // Appearance and modes.
    void SetGridLines(int which);
    int GetGridLines() const { return m_nGridLines; }
    void SetGridBkColor(COLORREF colour);
    COLORREF GetGridBkColor() const { return m_crGridBkColour; }
    void SetListMode(bool on);
    bool GetListMode() const { return m_bListMode; }
    void SetSingleRowSelection(bool on) { m_bSingleRowSelection = on; }
    void SetSingleColSelection(bool on) { m_bSingleColSelection = on; }
    void EnableSelection(bool on);
    void SetFixedRowSelection(bool on) { m_bFixedRowSelection = on; }
    void SetFixedColumnSelection(bool on) { m_bFixedColumnSelection = on; }
    void SetEditable(bool on) { m_bEditable = on; }
    bool IsEditable() const { return m_bEditable; }
    void SetColumnResize(bool on) { m_bAllowColumnResize = on; }
    void SetRowResize(bool on) { m_bAllowRowResize = on; }
    void SetColumnHideAllowed(bool on) { m_bAllowColumnHide = on; }
    void SetRowHideAllowed(bool on) { m_bAllowRowHide = on; }
    void SetTrackFocusCell(bool on) { m_bTrackFocusCell = on; }
    bool GetTrackFocusCell() const { return m_bTrackFocusCell; }
    void SetFrameFocusCell(bool on) { m_bFrameFocusCell = on; }
    bool GetFrameFocusCell() const { return m_bFrameFocusCell; }
    void SetHandleTabKey(bool on) { m_bHandleTabKey = on; }
    void SetImageList(const std::vector<QPixmap>& images);
    const QPixmap* GetImage(int index) const;
    MouseMode GetMouseMode() const { return m_MouseMode; }
    int GetRowsPerWheelNotch() const { return m_nRowsPerWheelNotch; }
    void SetRowsPerWheelNotch(int rows) { m_nRowsPerWheelNotch = rows; }

    // Selection and focus.
    bool IsValid(int row, int col) const;
    bool IsValid(const CellID& cell) const { return IsValid(cell.row, cell.col); }
    bool IsValid(const CellRange& range) const;
    BOOL IsCellSelected(int row, int col) const;
    CellRange GetSelectionBounds() const;
    int GetSelectedCount() const { return int(m_SelectedCellMap.size()); }
    void ClearSelection();
    void SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, Repaint repaint = Repaint::Later,
                          SelectAction action = SelectAction::Select);
    void SelectAllCells();
    CellID GetFocusCell() const { return m_idCurrentCell; }
    // (-1, -1) clears the focus; a cell outside the table is ignored.
    void SetFocusCell(int row, int col);
    void EnsureVisible(int row, int col);

    // Geometry, in viewport coordinates.
    CellID GetCellFromPoint(QPoint point, bool allowFixed = true) const;
    BOOL GetCellRect(int row, int col, QRect& rect) const;
    bool IsCellVisible(int row, int col) const;
    CellID GetTopleftNonFixedCell() const;
    CellRange GetVisibleNonFixedCellRange() const;
    BOOL AutoSizeColumn(int col) { return AutoSizeLine(Axis::Columns, col); }
    BOOL AutoSizeRow(int row) { return AutoSizeLine(Axis::Rows, row); }
    void RedrawCell(int row, int col, Repaint repaint = Repaint::Later);

    // Editing.
    bool IsCellEditable(int row, int col) const;
    virtual void BeginCellEdit(int row, int col, QPoint point, UINT key);
    virtual void EndCellEdit(int row, int col, const QString& text);
    virtual void FinishEditing();
    virtual bool ValidateEdit(int row, int col, const QString& text);
    void ReplaceCellText(int row, int col, const QString& text);
    void CommitCellText(CGridCellBase* cell, int row, int col, const QString& text);
    // The end-of-edit record of the in-place edit box.
    void OnEndInPlaceEdit(GridDispInfo& info);

    // Clipboard.
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void ClearSelectedText();
    QString SelectionText() const;

    LRESULT NotifyOwner(int row, int col, int code);

signals:
    void Command(int controlId);

protected:
    // A new cell of the grid's cell class for (row, col), with its fixed flags and format. Called
    // whenever a count grows, except while the grid itself is being constructed.
    virtual std::unique_ptr<CGridCellBase> CreateCell(int row, int col);
    virtual void DestroyCell(int row, int col);
    virtual void OnFixedRowClick(const CellID& cell);
    virtual void OnFixedColumnClick(const CellID& cell);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;

private:
    // Rows and columns share one set of routines that take the axis (GridCtrl_Structure.cpp).
    enum class Axis { Rows, Columns };
    struct AxisFields {
        int& count;
        int& fixedCount;
        CGridSizeIndex& sizes;
    };
    struct ConstAxisFields {
        int count;
        int fixedCount;
        const CGridSizeIndex& sizes;
    };
    using CellMaker = std::unique_ptr<CGridCellBase> (CGridCtrl::*)(int row, int col);
    static Axis Across(Axis axis) { return axis == Axis::Rows ? Axis::Columns : Axis::Rows; }
    static CellID CellAt(Axis axis, int line, int across)
    {
        return axis == Axis::Rows ? CellID{line, across} : CellID{across, line};
    }
    static int LineOf(const CellID& cell, Axis axis) { return axis == Axis::Rows ? cell.row : cell.col; }
    AxisFields Fields(Axis axis);
    ConstAxisFields Fields(Axis axis) const;
    void BuildInitialTable(int rows, int cols, int fixedRows, int fixedCols);
    std::unique_ptr<CGridCellBase> NewCell(int row, int col);
    BOOL SetLineCount(Axis axis, int count);
    void RemoveLinesFrom(Axis axis, int count);
    bool AddLinesUpTo(Axis axis, int count, CellMaker make);
    void AppendLine(Axis axis, CellMaker make);
    void StoreLine(Axis axis, std::vector<std::unique_ptr<CGridCellBase>> cells);
    BOOL SetFixedLineCount(Axis axis, int count);
    void UpdateFixedStates(Axis axis, int oldCount, int newCount);
    BOOL SetLineSize(Axis axis, int index, int size);
    int LineSize(Axis axis, int index) const;
    int FixedExtent(Axis axis) const;
    int NextVisibleLine(Axis axis, int index, int step) const;
    int NextVisibleRow(int row, int step) const { return NextVisibleLine(Axis::Rows, row, step); }
    int NextVisibleColumn(int col, int step) const { return NextVisibleLine(Axis::Columns, col, step); }
    BOOL AutoSizeLine(Axis axis, int index);

    // Other structure helpers (GridCtrl.cpp).
    void ResetScrollBars();
    bool IsFixedCell(const CellID& cell) const;
    // The cell with a row in the fixed rows moved to the first ordinary row, and a column in the
    // fixed columns to the first ordinary column; -1 stays -1.
    CellID OutOfFixed(const CellID& cell) const;
    static qint64 SelectionKey(int row, int col) { return (qint64(row) << 16) | (col & 0xFFFF); }

    // Selection helpers (GridCtrl_Selection.cpp).
    void SetCellSelected(int row, int col, SelectAction action, Repaint repaint);
    void SelectColumnRange(const CellID& current);
    void SelectRowRange(const CellID& current);
    void SelectCellRange(const CellID& current);
    void OnSelecting(const CellID& current);
    void RedrawFocusHeaders(const CellID& oldFocus, const CellID& newFocus);

    // Mouse helpers (GridCtrl_Mouse.cpp).
    void OnLButtonDown(QPoint point, Qt::KeyboardModifiers modifiers);
    void OnLButtonUp(QPoint point);
    void OnRButtonUp(QPoint point);
    void OnHover(QPoint point);
    void OnMouseLeave();
    // A button operation (selecting, sizing, a press that starts an edit) is under way. A pointer
    // merely resting over a divider is none.
    bool IsMouseOperationUnderway() const;
    void OnAutoScroll();
    MouseMode DividerAt(QPoint point) const;
    bool StartSizing(QPoint point);
    void FinishSizing(QPoint point);
    int ClampSizingPoint(QPoint point) const;
    int SizedIndexAt(QPoint point, bool columns) const;
    QPoint PointInCell(const CellID& cell, QPoint point) const;
    bool PointInTextRect(const CellID& cell, QPoint point) const;

    // Keyboard helpers (GridCtrl_Keys.cpp).
    bool OnKeyDown(int key, Qt::KeyboardModifiers modifiers);
    bool OnClipboardKey(int key, Qt::KeyboardModifiers modifiers);
    CellID NextCellForKey(int key, Qt::KeyboardModifiers modifiers, bool& handled);
    CellID TabTarget(bool forward) const;
    // Whether a keyboard move starts a new selection at the cell it moves to (no Shift held).
    enum class SelectionStart { Keep, MoveToNewCell };
    void MoveToCell(const CellID& next, SelectionStart start);
    int PageRows(bool down);
    void ScrollRows(int rows);
    UINT EditKeyForEvent(const QKeyEvent& event) const;

    // Painting helpers (GridCtrl_Paint.cpp).
    QPoint CellOrigin(int row, int col) const;
    void DrawCells(QPainter& painter, int firstRow, int lastRow, int firstCol, int lastCol, const QRect& clip);
    void DrawGridLines(QPainter& painter, const CellRange& visible);
    void DrawSizingLine(QPainter& painter);
    QRect SizingLineRect() const;

    int m_nID = 0;
    NotifyHandler m_NotifyHandler;

    int m_nRows = 0;
    int m_nCols = 0;
    int m_nFixedRows = 0;
    int m_nFixedCols = 0;
    CGridSizeIndex m_RowHeights;
    CGridSizeIndex m_ColWidths;
    std::vector<std::vector<std::unique_ptr<CGridCellBase>>> m_RowData;
    const GridCellClass* m_pCellClass;
    std::unique_ptr<CGridDefaultCell> m_cellDefault;
    std::unique_ptr<CGridDefaultCell> m_cellFixedColDef;
    std::unique_ptr<CGridDefaultCell> m_cellFixedRowDef;
    std::unique_ptr<CGridDefaultCell> m_cellFixedRowColDef;

    COLORREF m_crGridBkColour;
    COLORREF m_crGridLineColour = GridLineColour;
    std::vector<QPixmap> m_ImageList;

    CellID m_idCurrentCell;
    CellID m_SelectionStartCell;
    CellID m_LeftClickDownCell;
    CellID m_idEditCell;
    QPoint m_LeftClickDownPoint;
    QPoint m_LastMousePoint;
    MouseMode m_MouseMode = Idle;
    int m_nSizingIndex = -1;  // the column or row being resized
    int m_nSizingStart = 0;   // its left (top) edge
    int m_nSizingLine = -1;   // where the resize line is drawn

    QHash<qint64, CellID> m_SelectedCellMap;
    QHash<qint64, CellID> m_PrevSelectedCellMap;

    int m_nRowsPerWheelNotch = 3;
    QTimer m_AutoScrollTimer;

    bool m_bModified = false;
    bool m_bEditable = true;
    bool m_bListMode = false;
    bool m_bSingleRowSelection = false;
    bool m_bSingleColSelection = false;
    bool m_bEnableSelection = true;
    bool m_bFixedRowSelection = true;
    bool m_bFixedColumnSelection = true;
    bool m_bAllowColumnResize = true;
    bool m_bAllowRowResize = true;
    bool m_bAllowColumnHide = true;
    bool m_bAllowRowHide = true;
    bool m_bTrackFocusCell = true;
    bool m_bFrameFocusCell = true;
    bool m_bHandleTabKey = true;
    int m_nGridLines = GridLinesBoth;
};
