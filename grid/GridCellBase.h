#pragma once
// The abstract cell of CGridCtrl. A cell holds its state word; its class decides how it is
// drawn, measured, clicked and edited. The grid owns every cell and is the only caller of the
// drawing and mouse hooks. Cells are used on the GUI thread only.
#include "grid/GridCellClass.h"
#include "platform/WinTypes.h"

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

class CGridCtrl;
class CGridCellEdit;
class CGridDefaultCell;
class QPainter;

enum GridCellState : UINT {
    CellFocused = 0x01,
    CellSelected = 0x02,
    CellDropHighlighted = 0x04,
    CellReadOnly = 0x08,
    CellFixed = 0x10,
    CellFixedRow = 0x20,
    CellFixedColumn = 0x40,
    CellModified = 0x80,
};

// A colour of 0xFF000000 in a cell means "the default cell's colour".
constexpr COLORREF DefaultColour = 0xFF000000;
// The key passed to editing when a mouse click (or F2) started it. Other keys are Qt key codes;
// a typed character is passed as its Unicode value.
constexpr UINT VK_LBUTTON = 0x01;

class CGridCellBase {
public:
    static const GridCellClass Class;
    virtual const GridCellClass* GetRuntimeClass() const { return &Class; }
    virtual ~CGridCellBase() = default;

    virtual void SetText(const QString& text) = 0;
    virtual void SetImage(int image) = 0;
    virtual void SetData(DWORD data) = 0;
    virtual void SetState(UINT state) { m_nState = state; }
    virtual void SetFormat(UINT format) = 0;
    virtual void SetTextClr(COLORREF colour) = 0;
    virtual void SetBackClr(COLORREF colour) = 0;
    virtual void SetFont(const std::optional<QFont>& font) = 0; // none: the default cell's font
    virtual void SetMargin(UINT margin) = 0;
    virtual void SetGrid(CGridCtrl* grid) = 0;
    virtual void SetCoords(int /*row*/, int /*col*/) {}

    virtual QString GetText() const = 0;
    virtual QString GetTipText() const { return GetText(); }
    virtual int GetImage() const = 0;
    virtual DWORD GetData() const = 0;
    virtual UINT GetState() const { return m_nState; }
    virtual UINT GetFormat() const = 0;
    virtual COLORREF GetTextClr() const = 0;
    virtual COLORREF GetBackClr() const = 0;
    virtual const QFont& GetFont() const = 0;
    virtual CGridCtrl* GetGrid() const = 0;
    virtual CGridCellEdit* GetEditWnd() const = 0;
    virtual UINT GetMargin() const = 0;
    virtual const CGridDefaultCell* GetDefaultCell() const;
    virtual bool IsDefaultFont() const = 0;
    virtual bool IsEditing() const = 0;

    virtual bool IsFocused() const { return m_nState & CellFocused; }
    virtual bool IsFixed() const { return m_nState & CellFixed; }
    virtual bool IsFixedCol() const { return m_nState & CellFixedColumn; }
    virtual bool IsFixedRow() const { return m_nState & CellFixedRow; }
    virtual bool IsSelected() const { return m_nState & CellSelected; }
    virtual bool IsReadOnly() const { return m_nState & CellReadOnly; }
    virtual bool IsModified() const { return m_nState & CellModified; }
    virtual bool IsDropHighlighted() const { return m_nState & CellDropHighlighted; }

    virtual void Assign(const CGridCellBase& other);
    virtual void Reset() = 0;

    // Draws the cell into rect (viewport coordinates of the grid) at (row, col).
    virtual bool Draw(QPainter& painter, int row, int col, QRect rect);
    // Turns a cell rectangle into the rectangle its text is drawn in.
    virtual bool GetTextRect(QRect& rect) const;
    virtual QRect GetTipTextRect(const QRect& rect) const { return rect; }
    virtual QSize GetTextExtent(const QString& text) const;
    virtual QSize GetCellExtent() const;

    virtual bool Edit(int row, int col, const QRect& rect, QPoint point, int id, UINT key) = 0;
    virtual bool ValidateEdit(const QString& /*text*/) { return true; }
    virtual void EndEdit() = 0;
    virtual void OnEndEdit() = 0;

    // Mouse hooks; points are relative to the cell's top-left corner.
    virtual void OnMouseEnter() {}
    virtual void OnMouseOver() {}
    virtual void OnMouseLeave() {}
    virtual void OnClick(QPoint /*point*/) {}
    virtual void OnClickDown(QPoint /*point*/) {}
    virtual void OnRClick(QPoint /*point*/) {}
    virtual void OnDblClick(QPoint /*point*/) {}
    virtual bool OnSetCursor();

protected:
    COLORREF DrawingTextColour() const;
    COLORREF DrawingBackColour() const;

private:
    void DrawFixedFrame(QPainter& painter, int row, int col, const QRect& rect) const;
    void DrawImage(QPainter& painter, QRect& textRect) const;

    UINT m_nState = 0;
};
