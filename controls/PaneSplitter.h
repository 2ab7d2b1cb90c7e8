#pragma once
// The main window's splitter: its bars are painted in the pane colour and nothing else (no
// split boxes, no pane borders). Columns keep their widths when the window is resized, except
// the last, which takes the difference; a column never becomes narrower than its minimum.
// GUI thread only.
#include <QSplitter>

class CPaneSplitter : public QSplitter {
    Q_OBJECT
public:
    explicit CPaneSplitter(QWidget* parent = nullptr);

    // Column col (a widget already added) starts ideal pixels wide and never goes below
    // minimum, neither by dragging the bar nor by resizing the window.
    void SetColumnInfo(int col, int ideal, int minimum);

protected:
    QSplitterHandle* createHandle() override;
};
