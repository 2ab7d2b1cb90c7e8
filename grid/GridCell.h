#pragma once
// The ordinary text cell. Unset attributes (format and margin -1, colours DefaultColour, no
// font) fall back to the grid's default cell for this cell's kind (fixed row, fixed column,
// both, or neither). While the cell is being edited it owns the in-place edit box; destroying
// the cell closes the box without taking its text.
#include "grid/GridCellBase.h"
#include "grid/GridCellEdit.h"

#include <QPointer>

class CGridCell : public CGridCellBase {
public:
    static const GridCellClass Class;
    const GridCellClass* GetRuntimeClass() const override { return &Class; }
    CGridCell() = default;
    ~CGridCell() override;

    void SetText(const QString& text) override { m_strText = text; }
    void SetImage(int image) override { m_nImage = image; }
    void SetData(DWORD data) override { m_lParam = data; }
    void SetFormat(UINT format) override { m_nFormat = format; }
    void SetTextClr(COLORREF colour) override { m_crFgClr = colour; }
    void SetBackClr(COLORREF colour) override { m_crBkClr = colour; }
    void SetFont(const std::optional<QFont>& font) override { m_Font = font; }
    void SetMargin(UINT margin) override { m_nMargin = margin; }
    void SetGrid(CGridCtrl* grid) override { m_pGrid = grid; }

    QString GetText() const override { return m_strText; }
    int GetImage() const override { return m_nImage; }
    DWORD GetData() const override { return m_lParam; }
    UINT GetFormat() const override;
    COLORREF GetTextClr() const override { return m_crFgClr; }
    COLORREF GetBackClr() const override { return m_crBkClr; }
    const QFont& GetFont() const override;
    CGridCtrl* GetGrid() const override { return m_pGrid; }
    CGridCellEdit* GetEditWnd() const override { return m_pEditWnd; }
    UINT GetMargin() const override;
    bool IsDefaultFont() const override { return !m_Font; }
    bool IsEditing() const override { return m_bEditing; }

    void Reset() override;

    bool Edit(int row, int col, const QRect& rect, QPoint point, int id, UINT key) override;
    void EndEdit() override;
    void OnEndEdit() override;

protected:
    // Opens the edit box; a subclass changes what the box accepts.
    void OpenEditBox(int row, int col, const QRect& rect, int id, UINT key, bool digitsOnly);

private:
    QString m_strText;
    DWORD m_lParam = 0;
    int m_nImage = -1;
    UINT m_nFormat = 0xFFFFFFFF;
    COLORREF m_crFgClr = DefaultColour;
    COLORREF m_crBkClr = DefaultColour;
    std::optional<QFont> m_Font;
    UINT m_nMargin = 0xFFFFFFFF;
    bool m_bEditing = false;
    CGridCtrl* m_pGrid = nullptr;
    QPointer<CGridCellEdit> m_pEditWnd;
};
