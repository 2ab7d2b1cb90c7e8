#include "controls/PreviewEdit.h"

#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QMenu>
#include <QRegularExpression>

#include <algorithm>

CPreviewEdit::CPreviewEdit(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setReadOnly(true);
    // Read-only still lets the keyboard move and extend the selection, as a read-only box does.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(false);
}

void CPreviewEdit::SetTabSize(int spaces)
{
    setTabStopDistance(QFontMetricsF(font()).horizontalAdvance(QLatin1Char(' ')) * std::max(spaces, 1));
}

void CPreviewEdit::SetPreviewText(QString text)
{
    // A form feed starts a new page in the PDF; the line end that follows it is that same break.
    static const QRegularExpression formFeed(QStringLiteral("\f(\r?\n)?"));
    text.replace(formFeed, QStringLiteral("\n- - - - - - - - page break - - - - - - - -\n"));
    setPlainText(text);
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
