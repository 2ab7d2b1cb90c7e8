// The keyboard: moving the focus cell, the clipboard keys, and typing to start an edit.
#include "grid/GridCtrl.h"

#include "grid/GridCellBase.h"
#include "grid/GridCellEdit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QScrollBar>

void CGridCtrl::ScrollRows(int rows)
{
    const int top = GetTopleftNonFixedCell().row;
    const int target = std::clamp(top + rows, m_nFixedRows, std::max(m_nFixedRows, m_nRows - 1));
    verticalScrollBar()->setValue(int(m_RowHeights.Offset(target) - GetFixedRowHeight()));
}

// Scrolls one page and returns how many rows the top row moved.
int CGridCtrl::PageRows(bool down)
{
    const int before = GetTopleftNonFixedCell().row;
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + (down ? bar->pageStep() : -bar->pageStep()));
    return GetTopleftNonFixedCell().row - before;
}

CellID CGridCtrl::TabTarget(bool forward) const
{
    const int step = forward ? 1 : -1;
    CellID next = m_idCurrentCell;
    next.col = NextVisibleColumn(next.col, step);
    if (next.col >= 0)
        return next;
    next.row = NextVisibleRow(m_idCurrentCell.row, step);
    if (next.row < 0)
        return CellID();
    next.col = forward ? NextVisibleColumn(m_nFixedCols - 1, 1) : NextVisibleColumn(m_nCols, -1);
    return next.col < 0 ? CellID() : next;
}

bool CGridCtrl::OnClipboardKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::ControlModifier) {
        switch (key) {
        case Qt::Key_C: case Qt::Key_Insert: OnEditCopy(); return true;
        case Qt::Key_A: SelectAllCells(); return true;
        case Qt::Key_V: OnEditPaste(); return true;
        case Qt::Key_X: OnEditCut(); return true;
        default: return false;
        }
    }
    if ((modifiers & Qt::ShiftModifier) && key == Qt::Key_Insert) {
        OnEditPaste();
        return true;
    }
    return false;
}

// The cell a navigation key moves to; handled is false for keys that are not the grid's.
CellID CGridCtrl::NextCellForKey(int key, Qt::KeyboardModifiers modifiers, bool& handled)
{
    handled = true;
    const bool ctrl = modifiers & Qt::ControlModifier;
    CellID next = m_idCurrentCell;
    const auto moveTo = [&next](int index, bool row) {
        if (index >= 0)
            (row ? next.row : next.col) = index;
    };
    switch (key) {
    case Qt::Key_Down: moveTo(NextVisibleRow(next.row, 1), true); break;
    case Qt::Key_Up: moveTo(NextVisibleRow(next.row, -1), true); break;
    case Qt::Key_Right: moveTo(NextVisibleColumn(next.col, 1), false); break;
    case Qt::Key_Left: moveTo(NextVisibleColumn(next.col, -1), false); break;
    case Qt::Key_PageDown: {
        const int moved = PageRows(true);
        next.row = moved ? std::min(next.row + moved, m_nRows - 1) : m_nRows - 1;
        break;
    }
    case Qt::Key_PageUp: {
        const int moved = PageRows(false);
        next.row = moved ? std::max(next.row + moved, m_nFixedRows) : m_nFixedRows;
        break;
    }
    case Qt::Key_Home:
        horizontalScrollBar()->setValue(0);
        moveTo(NextVisibleColumn(m_nFixedCols - 1, 1), false);
        if (ctrl) {
            verticalScrollBar()->setValue(0);
            moveTo(NextVisibleRow(m_nFixedRows - 1, 1), true);
        }
        break;
    case Qt::Key_End:
        moveTo(NextVisibleColumn(m_nCols, -1), false);
        if (ctrl)
            moveTo(NextVisibleRow(m_nRows, -1), true);
        break;
    default:
        handled = false;
    }
    return next;
}

// Returns false when the key is left to default processing.
bool CGridCtrl::OnKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (!IsValid(m_idCurrentCell))
        return false;
    if (OnClipboardKey(key, modifiers))
        return true;
    if (key == Qt::Key_Delete) {
        ClearSelectedText();
        return true;
    }
    if (key == Qt::Key_F2) {
        BeginCellEdit(m_idCurrentCell.row, m_idCurrentCell.col, QPoint(-1, -1), VK_LBUTTON);
        return true;
    }
    const bool tab = key == Qt::Key_Tab || key == Qt::Key_Backtab;
    if (tab && (modifiers & Qt::ControlModifier))
        return false;
    if (tab) {
        const bool forward = key == Qt::Key_Tab && !(modifiers & Qt::ShiftModifier);
        const CellID next = TabTarget(forward);
        if (!IsValid(next))
            return QAbstractScrollArea::focusNextPrevChild(forward);
        MoveToCell(next, SelectionStart::MoveToNewCell);
        return true;
    }
    bool handled = false;
    const CellID next = NextCellForKey(key, modifiers, handled);
    if (!handled)
        return false;
    if (next != m_idCurrentCell)
        MoveToCell(next, (modifiers & Qt::ShiftModifier) ? SelectionStart::Keep : SelectionStart::MoveToNewCell);
    return true;
}

void CGridCtrl::MoveToCell(const CellID& next, SelectionStart start)
{
    if (!IsMouseOperationUnderway()) {
        const MouseMode hover = m_MouseMode;
        m_PrevSelectedCellMap.clear();
        m_MouseMode = m_bListMode ? SelectRow : SelectCells;
        if (start == SelectionStart::MoveToNewCell)
            m_SelectionStartCell = next;
        NotifyOwner(next.row, next.col, GridNotify::SelectionChanging);
        OnSelecting(next);
        NotifyOwner(next.row, next.col, GridNotify::SelectionChanged);
        m_MouseMode = hover;
    }
    SetFocusCell(next.row, next.col);
    EnsureVisible(next.row, next.col);
}

bool CGridCtrl::focusNextPrevChild(bool next)
{
    // Tab moves between cells while the grid has the focus.
    if (m_bHandleTabKey)
        return false;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

// The key an edit starts with when a key press is typed into the grid, or 0 for none.
UINT CGridCtrl::EditKeyForEvent(const QKeyEvent& event) const
{
    if (IsMouseOperationUnderway() || (event.modifiers() & Qt::ControlModifier))
        return 0;
    switch (event.key()) {
    case Qt::Key_Escape: return 0;
    case Qt::Key_Tab: case Qt::Key_Backtab: return m_bHandleTabKey ? 0 : UINT(Qt::Key_Tab);
    case Qt::Key_Return: case Qt::Key_Enter: return Qt::Key_Return;
    case Qt::Key_Backspace: return Qt::Key_Backspace;
    default: break;
    }
    const QString text = event.text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return 0;
    return text.toUcs4().value(0);
}

// Text an input method commits edits the focus cell as typed characters do: the first one opens
// the edit box, the rest are typed into it.
void CGridCtrl::inputMethodEvent(QInputMethodEvent* event)
{
    const QList<uint> characters = event->commitString().toUcs4();
    if (characters.isEmpty() || IsMouseOperationUnderway())
        return;
    const CellID focus = m_idCurrentCell;
    BeginCellEdit(focus.row, focus.col, QPoint(-1, -1), characters.first());
    const CGridCellBase* cell = GetCell(focus.row, focus.col);
    CGridCellEdit* edit = cell ? cell->GetEditWnd() : nullptr;
    for (qsizetype i = 1; edit && i < characters.size(); ++i)
        edit->SendKey(characters[i]);
}

// Keys the grid does not handle go on to the parent. They never reach the scroll area's own
// handling, which would scroll the view on arrows and page keys without moving the focus cell.
void CGridCtrl::keyPressEvent(QKeyEvent* event)
{
    // Alt without Ctrl makes system keys (menu mnemonics and the like): they neither move the
    // focus cell, nor clear, nor start an edit. Ctrl+Alt is AltGr on some keyboards.
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if ((modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    if (OnKeyDown(event->key(), modifiers))
        return;
    const UINT key = EditKeyForEvent(*event);
    if (key != 0) {
        BeginCellEdit(m_idCurrentCell.row, m_idCurrentCell.col, QPoint(-1, -1), key);
        return;
    }
    event->ignore();
}
