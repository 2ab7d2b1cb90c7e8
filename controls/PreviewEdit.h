#pragma once
// The read-only box that previews a file's text. Plain text only, so that a file of many
// megabytes is laid out lazily instead of all at once. A right click opens a two-item menu,
// "C&opy" (greyed without a selection) and "Select &All"; Ctrl+A selects the whole text.
// GUI thread only.
#include <QPlainTextEdit>

class QMenu;

// Command ids of the context menu's items (QAction::data()).
constexpr int ID_PREVIEW_COPY = 1103;
constexpr int ID_PREVIEW_SELECTALL = 1106;

class CPreviewEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CPreviewEdit(QWidget* parent = nullptr);

    // Tabs reach the next multiple of this many space widths of the box's font (at least one).
    void SetTabSize(int spaces);
    // Shows `text` with each form feed as a line of its own that marks the page break.
    void SetPreviewText(QString text);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FillContextMenu(QMenu& menu);
    void OnCommand(int id);
};
