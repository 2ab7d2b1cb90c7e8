#pragma once
// The in-place edit box of a grid cell. It is a child of the grid's viewport, lives from the
// start of an edit until the edit ends, and deletes itself afterwards. When the edit ends (the
// box loses the focus, the grid scrolls, or Tab, Return, Escape or a navigation key ends it) it
// hands one GridDispInfo record with code EndEdit to the grid and gives a focus it held back to
// the grid; Cancel closes it without a record.
#include "platform/WinTypes.h"

#include <QLineEdit>

class CGridCtrl;

// The control id of the edit box.
constexpr int IDC_INPLACE_CONTROL = 8;

class CGridCellEdit : public QLineEdit {
public:
    CGridCellEdit(CGridCtrl* grid, const QRect& rect, Qt::Alignment alignment, bool digitsOnly, int id,
                  int row, int col, const QString& text, UINT firstKey);

    // Shows the box, takes the focus and treats the key that started the edit.
    void Start();
    // A further key for an edit already open; printable characters are typed into the box.
    void SendKey(UINT key);
    void EndEdit();
    void Cancel();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool EndsEdit(int key, Qt::KeyboardModifiers modifiers) const;
    void TypeCharacter(UINT character);
    void Widen();

    CGridCtrl* m_pGrid;
    int m_nRow;
    int m_nColumn;
    QString m_sInitText;
    UINT m_nFirstKey;
    UINT m_nLastKey = 0;
    bool m_bExitOnArrows;
    bool m_bEnded = false;
};
