// In-place editing, text replacement and the clipboard.
#include "grid/GridCtrl.h"

#include "grid/GridCellEdit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QRegularExpression>

namespace {

bool IsMoveAfterEditKey(DWORD key)
{
    switch (key) {
    case Qt::Key_Tab: case Qt::Key_Backtab: case Qt::Key_PageUp: case Qt::Key_PageDown:
    case Qt::Key_End: case Qt::Key_Home: case Qt::Key_Left: case Qt::Key_Up:
    case Qt::Key_Right: case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

// The lines of pasted text; a line break at the very end starts no further line.
QStringList PastedLines(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// A pasted line's fields end at each tab or comma; a separator at the end leaves an empty field.
QStringList PastedFields(const QString& line)
{
    static const QRegularExpression separator(QStringLiteral("[\t,]"));
    return line.split(separator);
}

} // namespace

bool CGridCtrl::IsCellEditable(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return m_bEditable && cell && !cell->IsReadOnly();
}

void CGridCtrl::BeginCellEdit(int row, int col, QPoint point, UINT key)
{
    if (!IsCellEditable(row, col))
        return;
    EnsureVisible(row, col);
    QRect rect;
    if (!IsCellVisible(row, col) || !GetCellRect(row, col, rect))
        return;
    if (NotifyOwner(row, col, GridNotify::BeginEdit) < 0)
        return;
    if (GetCell(row, col)->Edit(row, col, rect, point, IDC_INPLACE_CONTROL, key))
        m_idEditCell = CellID{row, col};
}

void CGridCtrl::EndCellEdit(int row, int col, const QString& text)
{
    CGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return;
    CommitCellText(cell, row, col, text);
    cell->OnEndEdit();
}

void CGridCtrl::FinishEditing()
{
    if (CGridCellBase* cell = GetCell(m_idEditCell.row, m_idEditCell.col))
        cell->EndEdit();
    m_idEditCell = CellID();
}

bool CGridCtrl::ValidateEdit(int row, int col, const QString& text)
{
    CGridCellBase* cell = GetCell(row, col);
    return cell && cell->ValidateEdit(text);
}

void CGridCtrl::OnEndInPlaceEdit(GridDispInfo& info)
{
    if (info.code != GridNotify::EndEdit || info.idFrom != IDC_INPLACE_CONTROL)
        return;
    m_idEditCell = CellID();
    EndCellEdit(info.item.row, info.item.col, info.item.text);
    const DWORD key = info.item.data;
    if (!IsMoveAfterEditKey(key))
        return;
    // At an edge the focus cell stays and its edit opens again, so the keys keep editing.
    OnKeyDown(int(key), Qt::NoModifier);
    BeginCellEdit(m_idCurrentCell.row, m_idCurrentCell.col, QPoint(-1, -1), key);
}

void CGridCtrl::ReplaceCellText(int row, int col, const QString& text)
{
    if (!IsCellEditable(row, col) || NotifyOwner(row, col, GridNotify::BeginEdit) < 0)
        return;
    CommitCellText(GetCell(row, col), row, col, text);
}

// A changed text stays only when the cell accepts it and the owner does not veto EndEdit;
// otherwise the old text comes back.
void CGridCtrl::CommitCellText(CGridCellBase* cell, int row, int col, const QString& text)
{
    const QString old = cell->GetText();
    if (text == old)
        return;
    cell->SetText(text);
    if (ValidateEdit(row, col, text) && NotifyOwner(row, col, GridNotify::EndEdit) >= 0) {
        SetModified(TRUE, row, col);
        RedrawCell(row, col);
    } else {
        cell->SetText(old);
    }
}

// ---- Clipboard ------------------------------------------------------------------------------

QString CGridCtrl::SelectionText() const
{
    const CellRange range = GetSelectionBounds();
    if (!IsValid(range))
        return QString();
    QStringList rows;
    for (int row = range.minRow; row <= range.maxRow; ++row) {
        if (GetRowHeight(row) <= 0)
            continue;
        QStringList fields;
        for (int col = range.minCol; col <= range.maxCol; ++col) {
            if (GetColumnWidth(col) > 0)
                fields << (IsCellSelected(row, col) ? GetItemText(row, col) : QString());
        }
        rows << fields.join(QLatin1Char('\t'));
    }
    return rows.join(QStringLiteral("\r\n"));
}

void CGridCtrl::OnEditCopy()
{
    if (IsValid(GetSelectionBounds()))
        QGuiApplication::clipboard()->setText(SelectionText());
}

void CGridCtrl::OnEditCut()
{
    if (!m_bEditable)
        return;
    OnEditCopy();
    ClearSelectedText();
}

void CGridCtrl::ClearSelectedText()
{
    if (!m_bEditable)
        return;
    const QList<CellID> selected = m_SelectedCellMap.values();
    for (const CellID& cell : selected)
        ReplaceCellText(cell.row, cell.col, QString());
}

void CGridCtrl::OnEditPaste()
{
    if (!m_bEditable)
        return;
    const CellRange bounds = GetSelectionBounds();
    CellID target = IsValid(bounds) ? CellID{bounds.minRow, bounds.minCol} : m_idCurrentCell;
    if (!IsValid(target))
        target = GetTopleftNonFixedCell();
    if (!IsCellEditable(target.row, target.col))
        return;

    const QStringList lines = PastedLines(QGuiApplication::clipboard()->text());
    CellID last = target;
    int row = target.row;
    for (qsizetype i = 0; i < lines.size() && row >= 0; ++i, row = NextVisibleRow(row, 1)) {
        const QStringList fields = PastedFields(lines[i]);
        int col = target.col;
        for (qsizetype j = 0; j < fields.size() && col >= 0; ++j, col = NextVisibleColumn(col, 1)) {
            ReplaceCellText(row, col, fields[j].trimmed());
            SetCellSelected(row, col, SelectAction::Unselect, Repaint::Later);
            last.col = std::max(last.col, col);
        }
        last.row = row;
    }
    SetSelectedRange(target.row, target.col, last.row, last.col);
}
