#pragma once
// One row of the option tree. The base class carries no value: the tree uses it for category
// rows (children of the root) and for group rows; the value kinds derive from it.
//
// Items are made by the user of the tree and handed over by COptionTreeCtrl::InsertItem; the
// tree deletes them. Geometry (location, attribute rect, expand box, label rect) is what the
// tree's layout pass stored; the getters bring it up to date first. GUI thread only.
#include "platform/WinTypes.h"

#include <QPoint>
#include <QRect>
#include <QString>

class COptionTreeCtrl;
class QPainter;

class COptionTreeItemBase {
public:
    COptionTreeItemBase();
    virtual ~COptionTreeItemBase();
    COptionTreeItemBase(const COptionTreeItemBase&) = delete;
    COptionTreeItemBase& operator=(const COptionTreeItemBase&) = delete;

    // What a value kind does at each step of its life; the base versions do nothing.
    virtual void DrawAttribute(QPainter& painter, const QRect& rect);
    virtual void OnActivate();
    virtual void OnMove();
    virtual void OnRefresh();
    virtual void OnCommit();
    virtual void CleanUp();
    virtual void OnDeSelect();
    virtual void OnSelect();
    virtual void OnExpand(BOOL expand);
    // The tree laid the row out anew (rows changed, scrolled or were resized): an editor follows.
    virtual void OnLayout();

    void SetLabelText(const QString& text);
    QString GetLabelText() const { return m_label; }
    void SetInfoText(const QString& text) { m_info = text; }
    QString GetInfoText() const { return m_info; }

    void SetReadOnly(BOOL readOnly) { m_readOnly = readOnly; }
    BOOL IsReadOnly() const { return m_readOnly; }
    void SetLabelAtTop(BOOL atTop);
    BOOL IsLabelAtTop() const { return m_labelAtTop; }

    void SetLabelTextColor(COLORREF color) { m_labelTextColor = color; }
    COLORREF GetLabelTextColor() const { return m_labelTextColor; }
    void SetLabelBackColor(COLORREF color) { m_labelBackColor = color; }
    COLORREF GetLabelBackColor() const { return m_labelBackColor; }
    void SetLabelAreaColor(COLORREF color) { m_labelAreaColor = color; }
    COLORREF GetLabelAreaColor() const { return m_labelAreaColor; }
    void SetAttributeTextColor(COLORREF color) { m_attributeTextColor = color; }
    COLORREF GetAttributeTextColor() const { return m_attributeTextColor; }
    void SetAttributeBackColor(COLORREF color) { m_attributeBackColor = color; }
    COLORREF GetAttributeBackColor() const { return m_attributeBackColor; }

    // Stores the flag and tells the item and every descendant; ignored while not inserted.
    // Does not repaint.
    void Expand(BOOL expand);
    BOOL IsExpanded() const { return m_expanded; }
    void Select(BOOL select);
    BOOL IsSelected() const { return m_selected; }

    // Arms one commit and starts editing; the editor calls CommitChanges when editing ends,
    // and only the first call after an activation takes effect.
    void Activate();
    void CommitChanges();
    BOOL IsCommitted() const { return m_committed; }

    // Paints the row where the tree's layout placed it (client: the rows window's client area).
    void DrawItem(QPainter& painter, const QRect& client);

    int GetHeight() const { return m_height; }
    void SetHeight(int height);
    // The label as laid out: the extent of the text that shows (empty for a blank label or a
    // hidden row), and the text itself, shortened with "..." when the column is too narrow.
    QRect GetLabelRect() const;
    QString GetShownLabel() const;
    // Content coordinates of the row's top-left.
    QPoint GetLocation() const;
    // Window coordinates of the value area.
    QRect GetAttributeRect() const;
    // Content coordinates of the plus/minus box; empty without children.
    QRect GetExpandBox() const;

    // The insertion number handed out by the tree: 1, 2, 3, ... (0 while not inserted).
    int GetOptionItemId() const { return m_id; }
    COptionTreeCtrl* GetOwner() const { return m_owner; }
    COptionTreeItemBase* GetParent() const { return m_parent; }
    COptionTreeItemBase* GetSibling() const { return m_sibling; }
    COptionTreeItemBase* GetChild() const { return m_child; }
    COptionTreeItemBase* GetNextVisible() const;
    BOOL HasChildren() const { return m_child != nullptr; }
    // A category is a direct child of the tree's root.
    BOOL IsCategory() const;

protected:
    // Draws a value: the shared normal font, the attribute text colour (grey when read-only or
    // when the tree is disabled), no background.
    void DrawValueText(QPainter& painter, const QString& text, QRect& rect, UINT format) const;

private:
    friend class COptionTreeCtrl;

    // Lays the row out at content position (x, y) of the rows window's client area.
    void Place(const QRect& client, int x, int y);
    void PlaceLabel();
    QRect LabelTextRect() const;
    UINT LabelFormat() const;
    // Asks the tree for a current layout before geometry is read.
    void RequireLayout() const;
    void InvalidateLayout() const;

    void DrawBackground(QPainter& painter, const QRect& client, int shownY) const;
    void DrawExpandBox(QPainter& painter, int shownY) const;
    void DrawLabel(QPainter& painter, int shownY) const;
    void DrawLines(QPainter& painter, const QRect& client, int shownY) const;

    QString m_label;
    QString m_info;
    int m_id = 0;
    COptionTreeItemBase* m_parent = nullptr;
    COptionTreeItemBase* m_sibling = nullptr;
    COptionTreeItemBase* m_child = nullptr;
    COptionTreeItemBase* m_nextVisible = nullptr;
    QRect m_expandBox;
    COptionTreeCtrl* m_owner = nullptr;
    QPoint m_location;
    QRect m_attributeRect;
    bool m_committed = false;
    int m_height = 21;
    QRect m_labelRect;
    QRect m_labelArea;
    QString m_shownLabel;
    bool m_selected = false;
    bool m_expanded = false;
    bool m_readOnly = false;
    bool m_labelAtTop = false;
    COLORREF m_attributeBackColor;
    COLORREF m_attributeTextColor;
    COLORREF m_labelBackColor;
    COLORREF m_labelTextColor;
    COLORREF m_labelAreaColor;
};
