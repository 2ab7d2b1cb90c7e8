// The keyboard on the rows: Tab and Shift+Tab walk and open the editors, Enter opens the
// focused row's editor, Home/End/Up/Down move the focus, Left/Right collapse and expand.
#include "optiontree/OptionTreeRowsWnd.h"

#include "optiontree/OptionTreeCtrl.h"

#include <QApplication>
#include <QKeyEvent>

void COptionTreeRowsWnd::keyPressEvent(QKeyEvent* event)
{
    // A key that an open editor left unused reaches here only because Qt passes it on to the
    // parent; it stays with the editor instead of moving the rows under it.
    const QWidget* focus = QApplication::focusWidget();
    const bool fromEditor = focus && focus != viewport() && viewport()->isAncestorOf(focus);
    if (!m_tree->isEnabled() || fromEditor)
        return;
    COptionTreeItemBase* moved = nullptr;
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        KeyTab(event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier));
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ActivateFocused();
        return;
    case Qt::Key_Home:
        moved = m_tree->FocusFirst();
        break;
    case Qt::Key_End:
        moved = m_tree->FocusLast();
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
        KeyLeftRight(event->key() == Qt::Key_Right);
        return;
    case Qt::Key_Up:
        moved = m_tree->FocusPrev();
        break;
    case Qt::Key_Down:
        moved = m_tree->FocusNext();
        break;
    default:
        // Only the keys above act: the scroll area's page and arrow scrolling is left out.
        QFrame::keyPressEvent(event);
        return;
    }
    if (moved)
        viewport()->update();
}

void COptionTreeRowsWnd::ActivateFocused()
{
    COptionTreeItemBase* focused = m_tree->GetFocusedItem();
    if (focused && !focused->IsCategory() && !focused->IsReadOnly())
        focused->Activate();
}

void COptionTreeRowsWnd::KeyTab(bool backwards)
{
    COptionTreeItemBase* focused = m_tree->GetFocusedItem();
    if (focused && !focused->IsCategory()) {
        if (backwards)
            m_tree->FocusPrev();
        else
            m_tree->FocusNext();
    }
    ActivateFocused();
    viewport()->update();
}

void COptionTreeRowsWnd::KeyLeftRight(bool right)
{
    COptionTreeItemBase* focused = m_tree->GetFocusedItem();
    const bool toggles = focused && focused->HasChildren() && focused->IsExpanded() != right;
    if (toggles && ToggleItem(focused, right)) {
        DropHiddenFocus();
        return;
    }
    if ((right ? m_tree->FocusNext() : m_tree->FocusPrev()))
        viewport()->update();
}
