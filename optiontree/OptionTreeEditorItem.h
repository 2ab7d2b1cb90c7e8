#pragma once
// A row whose value is edited in place by a child widget of the rows window (the combo and
// edit kinds). The widget exists from the kind's create operation until CleanUp, is hidden
// except while editing, and commits the edit once when the keyboard focus moves to another
// window inside the tree; focus that leaves the tree commits nothing until the row is deselected,
// which ends the edit that was left open. In the widget, Escape puts back the value the edit
// started with and closes it; Tab and Shift+Tab commit and move the keyboard focus on to the
// window's next or previous widget outside the tree. GUI thread only.
#include "optiontree/OptionTreeItemBase.h"

#include <QObject>

class QKeyEvent;
class QWidget;

class COptionTreeEditorItem : public QObject, public COptionTreeItemBase {
    Q_OBJECT
public:
    bool IsEditing() const { return m_editing; }

    void OnMove() override;
    void OnRefresh() override;
    void OnCommit() override;
    void CleanUp() override;
    void OnDeSelect() override;
    void OnLayout() override;

protected:
    // Takes over editor as this row's window: parented to the rows window, given the shared
    // font, placed on the value area and hidden. FALSE (and editor deleted) when the row is not
    // in a created tree or already has a window.
    BOOL AttachEditor(QWidget* editor);
    QWidget* Editor() const { return m_editor; }
    // Places the window on the value area, shows it and gives it the keyboard focus.
    void ShowEditor();
    // Draws the window's text in the value area unless the window is open for editing.
    void DrawEditorText(QPainter& painter, const QRect& rect, const QString& text);

    bool eventFilter(QObject* watched, QEvent* event) override;
    // Keys the kind handles itself; true when the key was used.
    virtual bool OnEditorKey(QKeyEvent* event);
    // Puts back the value the widget showed when the edit was opened.
    virtual void RevertEditor() = 0;

private:
    // Puts the window on the value area as the tree laid it out.
    void PlaceEditor();
    void HideEditor();
    bool FocusStaysInTree() const;
    void CancelEdit();
    // Commits, then gives the focus to the nearest widget of the window outside the tree.
    void CommitAndLeaveTree(bool forward);

    QWidget* m_editor = nullptr;
    bool m_editing = false;
};
