#pragma once
// A row whose value is picked from a drop-down list. The list window is made by
// CreateComboItem after the row is inserted; fill it with AddString and pick with SetCurSel.
// While the list is closed the row paints the chosen entry itself. GUI thread only.
#include "optiontree/OptionTreeEditorItem.h"

class TitleTipComboBox;

class COptionTreeComboItem : public COptionTreeEditorItem {
    Q_OBJECT
public:
    static constexpr int CB_ERR = -1;
    static constexpr int DefaultDropHeight = 100;

    // FALSE when the row is not inserted into a created tree or already has its window.
    BOOL CreateComboItem();
    TitleTipComboBox* GetComboBox() const;

    // The list's messages: index of the new entry, or CB_ERR without a window.
    int AddString(const QString& entry);
    // An index outside the list leaves nothing selected; CB_ERR without a window.
    int SetCurSel(int index);
    int GetCurSel() const;
    int GetCount() const;
    QString GetWindowText() const;

    void SetDropHeight(int height);
    int GetDropHeight() const { return m_dropHeight; }

    void DrawAttribute(QPainter& painter, const QRect& rect) override;
    void OnActivate() override;

protected:
    void RevertEditor() override;

private:
    int m_dropHeight = DefaultDropHeight;
    int m_startIndex = CB_ERR;
};
