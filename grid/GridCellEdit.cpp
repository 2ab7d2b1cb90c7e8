#include "grid/GridCellEdit.h"

#include "grid/GridCellBase.h"
#include "grid/GridCtrl.h"
#include "grid/GridNotify.h"

#include <QApplication>
#include <QKeyEvent>
#include <QRegularExpressionValidator>

namespace {

bool IsNavigationKey(int key)
{
    switch (key) {
    case Qt::Key_PageUp: case Qt::Key_PageDown: case Qt::Key_End: case Qt::Key_Home:
    case Qt::Key_Left: case Qt::Key_Up: case Qt::Key_Right: case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

bool IsArrowKey(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
}

bool IsPrintable(UINT key)
{
    return key >= 0x20 && key < 0x110000 && key != 0x7F;
}

} // namespace

CGridCellEdit::CGridCellEdit(CGridCtrl* grid, const QRect& rect, Qt::Alignment alignment, bool digitsOnly,
                             int id, int row, int col, const QString& text, UINT firstKey)
    : QLineEdit(grid->viewport()), m_pGrid(grid), m_nRow(row), m_nColumn(col), m_sInitText(text),
      m_nFirstKey(firstKey), m_bExitOnArrows(firstKey != VK_LBUTTON)
{
    setObjectName(QStringLiteral("GridCellEdit%1").arg(id));
    setAttribute(Qt::WA_DeleteOnClose);
    setFrame(false);
    setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid palette(text); padding: 0px; }"));
    setAlignment(alignment | Qt::AlignVCenter);
    if (digitsOnly)
        setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    setGeometry(rect);
    setText(text);
}

void CGridCellEdit::Start()
{
    show();
    setFocus(Qt::OtherFocusReason);
    switch (m_nFirstKey) {
    case VK_LBUTTON:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        end(false);
        return;
    case Qt::Key_Backspace:
        end(false);
        backspace();
        Widen();
        return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Space:
        selectAll();
        return;
    default:
        selectAll();
        if (!IsNavigationKey(int(m_nFirstKey)))
            TypeCharacter(m_nFirstKey);
    }
}

void CGridCellEdit::SendKey(UINT key)
{
    if (key == Qt::Key_Backspace)
        backspace();
    else
        TypeCharacter(key);
}

void CGridCellEdit::TypeCharacter(UINT character)
{
    if (!IsPrintable(character))
        return;
    const char32_t code = character;
    insert(QString::fromUcs4(&code, 1));
    Widen();
}

void CGridCellEdit::Widen()
{
    const int needed = fontMetrics().horizontalAdvance(text() + QStringLiteral("  ")) + 4;
    if (needed <= width())
        return;
    const int limit = m_pGrid->viewport()->width() - x();
    resize(std::max(width(), std::min(needed, limit)), height());
}

bool CGridCellEdit::event(QEvent* event)
{
    // Tab ends the edit instead of moving the focus to the next widget.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QLineEdit::event(event);
}

bool CGridCellEdit::EndsEdit(int key, Qt::KeyboardModifiers modifiers) const
{
    switch (key) {
    case Qt::Key_Tab: case Qt::Key_Backtab: case Qt::Key_Return: case Qt::Key_Enter:
    case Qt::Key_Escape: case Qt::Key_PageUp: case Qt::Key_PageDown:
        return true;
    default:
        return IsArrowKey(key) && (m_bExitOnArrows || (modifiers & Qt::ControlModifier));
    }
}

void CGridCellEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() & Qt::AltModifier)
        return;
    const int key = event->key();
    if (EndsEdit(key, event->modifiers())) {
        if (key == Qt::Key_Escape)
            setText(m_sInitText);
        m_nLastKey = (key == Qt::Key_Tab && (event->modifiers() & Qt::ShiftModifier)) ? Qt::Key_Backtab : key;
        m_pGrid->setFocus(Qt::OtherFocusReason);
        EndEdit(); // the focus may not move while the window is inactive
        return;
    }
    QLineEdit::keyPressEvent(event);
    if (!event->text().isEmpty())
        Widen();
}

void CGridCellEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // The box's own context menu takes the focus while it is open; its Paste and Undo must still
    // find the box open, and the focus comes back when the menu closes.
    const QWidget* popup = QApplication::activePopupWidget();
    if (event->reason() == Qt::PopupFocusReason && popup && popup->parentWidget() == this)
        return;
    EndEdit();
}

void CGridCellEdit::EndEdit()
{
    if (m_bEnded)
        return;
    m_bEnded = true;
    // Hiding a focused box would hand the focus to whichever widget comes next.
    if (hasFocus())
        m_pGrid->setFocus(Qt::OtherFocusReason);
    GridDispInfo info;
    info.hwndFrom = this;
    info.idFrom = IDC_INPLACE_CONTROL;
    info.code = GridNotify::EndEdit;
    info.item.row = m_nRow;
    info.item.col = m_nColumn;
    info.item.mask = GridItem::ItemText | GridItem::ItemData;
    info.item.text = text();
    info.item.data = m_nLastKey;
    hide();
    m_pGrid->OnEndInPlaceEdit(info);
    close();
}

void CGridCellEdit::Cancel()
{
    m_bEnded = true;
    hide();
    deleteLater();
}
