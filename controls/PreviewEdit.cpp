#include "controls/PreviewEdit.h"

#include <QContextMenuEvent>
#include <QMenu>

CPreviewEdit::CPreviewEdit(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setReadOnly(true);
    // Read-only still lets the keyboard move and extend the selection, as a read-only box does.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(false);
}

void CPreviewEdit::FillContextMenu(QMenu& menu)
{
    QAction* copy = menu.addAction(QStringLiteral("C&opy"));
    copy->setData(ID_PREVIEW_COPY);
    copy->setEnabled(textCursor().hasSelection());
    menu.addAction(QStringLiteral("Select &All"))->setData(ID_PREVIEW_SELECTALL);
}

void CPreviewEdit::contextMenuEvent(QContextMenuEvent* event)
{
    setFocus(Qt::PopupFocusReason);
    QMenu menu(this);
    FillContextMenu(menu);
    if (const QAction* chosen = menu.exec(event->globalPos()))
        OnCommand(chosen->data().toInt());
}

void CPreviewEdit::OnCommand(int id)
{
    if (id == ID_PREVIEW_COPY)
        copy();
    else if (id == ID_PREVIEW_SELECTALL)
        selectAll();
}

void CPreviewEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_A && (event->modifiers() & Qt::ControlModifier))
        selectAll();
    QPlainTextEdit::keyPressEvent(event);
}
