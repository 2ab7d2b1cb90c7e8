#include "optiontree/OptionTreeEditorItem.h"

#include "optiontree/OptionTreeCtrl.h"
#include "optiontree/OptionTreeRowsWnd.h"
#include "platform/ControlFonts.h"
#include "platform/DrawTextFlags.h"

#include <QApplication>
#include <QKeyEvent>

BOOL COptionTreeEditorItem::AttachEditor(QWidget* editor)
{
    if (!GetOwner() || !GetOwner()->GetRowsWnd() || m_editor) {
        delete editor;
        return FALSE;
    }
    m_editor = editor;
    m_editor->setParent(GetOwner()->GetRowsWnd()->Client());
    m_editor->setFont(ControlFonts::Normal());
    PlaceEditor();
    m_editor->hide();
    m_editor->installEventFilter(this);
    return TRUE;
}

void COptionTreeEditorItem::ShowEditor()
{
    if (!m_editor)
        return;
    PlaceEditor();
    m_editor->show();
    m_editor->setFocus(Qt::OtherFocusReason);
}

void COptionTreeEditorItem::HideEditor()
{
    if (!m_editor)
        return;
    // The keyboard stays with the tree rather than wandering to the next widget of the window.
    if (m_editor->hasFocus())
        GetOwner()->GetRowsWnd()->setFocus(Qt::OtherFocusReason);
    m_editor->hide();
}

void COptionTreeEditorItem::DrawEditorText(QPainter& painter, const QRect& rect, const QString& text)
{
    if (m_editing || !GetOwner() || !m_editor)
        return;
    QRect box = rect;
    DrawValueText(painter, text, box, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void COptionTreeEditorItem::OnMove()
{
    if (!m_editor)
        return;
    PlaceEditor();
    if (!m_editing)
        m_editor->hide();
}

void COptionTreeEditorItem::OnRefresh()
{
    PlaceEditor();
}

void COptionTreeEditorItem::OnLayout()
{
    PlaceEditor();
}

void COptionTreeEditorItem::PlaceEditor()
{
    if (m_editor)
        m_editor->setGeometry(GetAttributeRect());
}

void COptionTreeEditorItem::OnCommit()
{
    HideEditor();
}

void COptionTreeEditorItem::OnDeSelect()
{
    HideEditor();
    // The focus went elsewhere in the program without a commit and the edit was left open; the
    // row closing it is where that edit ends, or the choice would be lost and the row drawn blank.
    if (!m_editing)
        return;
    m_editing = false;
    CommitChanges();
}

void COptionTreeEditorItem::CleanUp()
{
    if (!m_editor)
        return;
    // Going away is no commit: the window is cut loose before it loses the focus.
    QWidget* editor = m_editor;
    m_editor = nullptr;
    editor->removeEventFilter(this);
    if (editor->hasFocus())
        GetOwner()->GetRowsWnd()->setFocus(Qt::OtherFocusReason);
    editor->hide();
    // Deleted later: CleanUp may run inside one of the window's own event handlers.
    editor->deleteLater();
}

bool COptionTreeEditorItem::FocusStaysInTree() const
{
    // Another window, a pop-up list or menu, or no window at all (the program was left) is no
    // part of the tree: Qt keeps windows apart in the parent chain.
    QWidget* next = QApplication::focusWidget();
    return next && next != m_editor && GetOwner()->isAncestorOf(next);
}

bool COptionTreeEditorItem::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_editor)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn:
        m_editing = true;
        break;
    case QEvent::FocusOut:
        if (FocusStaysInTree()) {
            m_editing = false;
            // Nothing of this item may be touched after the commit: the owner's handler may
            // have deleted it.
            CommitChanges();
        }
        break;
    case QEvent::KeyPress:
        return OnEditorKey(static_cast<QKeyEvent*>(event));
    default:
        break;
    }
    return false;
}

bool COptionTreeEditorItem::OnEditorKey(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape: CancelEdit(); return true;
    case Qt::Key_Tab: CommitAndLeaveTree(!(event->modifiers() & Qt::ShiftModifier)); return true;
    case Qt::Key_Backtab: CommitAndLeaveTree(false); return true;
    default: return false;
    }
}

void COptionTreeEditorItem::CancelEdit()
{
    RevertEditor();
    // The focus going back to the rows commits the value the edit started with.
    HideEditor();
}

namespace {

QWidget* NextFocusOutside(QWidget* area, bool forward)
{
    for (QWidget* next = forward ? area->nextInFocusChain() : area->previousInFocusChain(); next && next != area;
         next = forward ? next->nextInFocusChain() : next->previousInFocusChain()) {
        if (!area->isAncestorOf(next) && next->window() == area->window() && (next->focusPolicy() & Qt::TabFocus)
            && next->isVisible() && next->isEnabled())
            return next;
    }
    return nullptr;
}

} // namespace

void COptionTreeEditorItem::CommitAndLeaveTree(bool forward)
{
    // Nothing of this item may be touched after the commit: the owner's handler may have deleted it.
    QWidget* owner = GetOwner();
    m_editing = false;
    CommitChanges();
    if (QWidget* next = NextFocusOutside(owner, forward))
        next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}
