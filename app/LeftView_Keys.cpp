// The pane's own keys and its context menu.
//
// The pane runs the command of a key of its table before the frame's accelerators see the key,
// whichever of its controls has the focus, and then passes the key on to that control, with two
// exceptions that keep the passwords typed into the grid safe: a key that the open cell editor
// uses for editing (Space, Delete, Ctrl+Delete, Ctrl+X, Ctrl+A) goes to the editor alone, and no
// key of the table reaches the grid itself, where Ctrl+X would cut the selected row's
// passwords, Delete clear them and Space open one with its text selected.
#include "app/LeftView.h"

#include "app/CommandIds.h"
#include "app/MenuResources.h"
#include "grid/GridCtrl.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QScopedValueRollback>

namespace {

struct PaneKey {
    int key;
    Qt::KeyboardModifiers modifiers;
    int id;
    bool editing; // the cell editor uses the key itself
};

constexpr PaneKey kPaneKeys[] = {
    {Qt::Key_O, Qt::ControlModifier, CmdOpenFile, false},
    {Qt::Key_D, Qt::ControlModifier, CmdImportDirectory, false},
    {Qt::Key_E, Qt::ControlModifier, CmdOpenFileDirectory, false},
    {Qt::Key_W, Qt::ControlModifier, CmdOpenWithAssociatedApp, false},
    {Qt::Key_Delete, Qt::NoModifier, CmdRemoveSelected, true},
    {Qt::Key_Delete, Qt::ControlModifier, CmdRemoveAll, true},
    {Qt::Key_Space, Qt::NoModifier, CmdSelectCurrentItem, true},
    {Qt::Key_A, Qt::ControlModifier, CmdSelectAllItems, true},
    {Qt::Key_X, Qt::ControlModifier, CmdClearAllSelected, true},
    {Qt::Key_I, Qt::ControlModifier, CmdInvertSelect, false},
    {Qt::Key_F5, Qt::NoModifier, CmdStartConvert, false},
};

const PaneKey* FindPaneKey(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    for (const PaneKey& entry : kPaneKeys) {
        if (entry.key == event.key() && entry.modifiers == modifiers)
            return &entry;
    }
    return nullptr;
}

} // namespace

bool CLeftView::IsCellEditor(const QObject* object) const
{
    const auto* widget = qobject_cast<const QLineEdit*>(object);
    return widget && m_grid->isAncestorOf(widget);
}

bool CLeftView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && watched == m_grid)
        EnsureCurrentRow();
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || (widget != this && !isAncestorOf(widget)))
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const PaneKey* paneKey = FindPaneKey(*key);
    if (!paneKey || (paneKey->editing && IsCellEditor(widget)))
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        // Claimed here, so that no accelerator of the frame runs the command a second time.
        key->accept();
        return true;
    }
    if (m_passingKeyOn)
        return false;
    // A command may close the control the key was meant for (Start ends an open cell editor).
    const QPointer<QWidget> receiver(widget);
    OnCommand(paneKey->id);
    if (receiver && widget != m_grid && !(m_grid->isAncestorOf(widget) && !IsCellEditor(widget)))
        PassKeyOn(widget, key);
    key->accept();
    return true;
}

// A control that ignores the key makes Qt offer it to the control's parents, the pane among
// them, whose filter would run the command a second time (F5 in a cell editor ran two whole
// runs): the key goes to the control here, with the filter stood aside. Delivering it asks the
// shortcuts again, which the filter still claims, or the frame's accelerator would run it.
void CLeftView::PassKeyOn(QWidget* control, QKeyEvent* key)
{
    const QScopedValueRollback passing(m_passingKeyOn, true);
    QCoreApplication::sendEvent(control, key);
}

void CLeftView::ShowContextMenu(const QPoint& globalPos)
{
    QMenu menu(this);
    for (const MenuItemDef& item : ContextMenu137()) {
        if (item.id == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(QString::fromLatin1(item.text));
        action->setData(item.id);
        action->setEnabled(IsCommandEnabled(item.id));
    }
    // The menu's right edge at the cursor.
    const QPoint at(globalPos.x() - menu.sizeHint().width(), globalPos.y());
    if (const QAction* chosen = menu.exec(at))
        OnCommand(chosen->data().toInt());
}
