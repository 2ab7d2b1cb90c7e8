#pragma once
// One row of the option tree. The base class carries no value: the tree uses it for category
// rows (children of the root) and for group rows; the value kinds derive from it.
//
// Items are made with new by the user of the tree and belong to the tree once inserted
// (COptionTreeCtrl::InsertItem); the tree deletes them. Geometry (location, attribute rect,
// expand box, label rect) is stored by the last paint. GUI thread only.
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

    void SetLabelText(const QString& text) { m_label = text; }
    QString GetLabelText() const { return m_label; }
    void SetInfoText(const QString& text) { m_info = text; }
    QString GetInfoText() const { return m_info; }

    void SetReadOnly(BOOL readOnly) { m_readOnly = readOnly; }
    BOOL IsReadOnly() const { return m_readOnly; }
    void SetLabelAtTop(BOOL atTop) { m_labelAtTop = atTop; }
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

    // Paints the row at content position (x, y) and, when expanded, its descendants below it;
    // returns the height drawn. Also stores the row's geometry for hit testing.
    int DrawItem(QPainter& painter, const QRect& client, int x, int y);

    int GetHeight() const { return m_height; }
    void SetHeight(int height) { m_height = height; }
    QRect GetLabelRect() const { return m_labelRect; }
    void SetLabelRect(const QRect& rect) { m_labelRect = rect; }
    QPoint GetLocation() const { return m_location; }
    QRect GetAttributeRect() const { return m_attributeRect; }
    QRect GetExpandBox() const { return m_expandBox; }

    // The insertion number handed out by the tree: 1, 2, 3, ... (0 while not inserted).
    int GetOptionItemId() const { return m_id; }
    COptionTreeCtrl* GetOwner() const { return m_owner; }
    COptionTreeItemBase* GetParent() const { return m_parent; }
    COptionTreeItemBase* GetSibling() const { return m_sibling; }
    COptionTreeItemBase* GetChild() const { return m_child; }
    COptionTreeItemBase* GetNextVisible() const { return m_nextVisible; }
    BOOL HasChildren() const { return m_child != nullptr; }
    // A category is a direct child of the tree's root.
    BOOL IsCategory() const;

protected:
    // Draws a value: the shared normal font, the attribute text colour (grey when read-only or
    // when the tree is disabled), no background.
    void DrawValueText(QPainter& painter, const QString& text, QRect& rect, UINT format) const;

private:
    friend class COptionTreeCtrl;

    void DrawBackground(QPainter& painter, const QRect& client, const QRect& fill, int y) const;
    void DrawExpandBox(QPainter& painter, int y, int shownY);
    void DrawLabel(QPainter& painter, const QRect& labelRect, int shownY);
    void DrawLines(QPainter& painter, const QRect& client, int shownY) const;
    int DrawChildren(QPainter& painter, const QRect& client, int x, int y);

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
    BOOL m_committed = FALSE;
    int m_height = 21;
    QRect m_labelRect;
    BOOL m_selected = FALSE;
    BOOL m_expanded = FALSE;
    BOOL m_readOnly = FALSE;
    BOOL m_labelAtTop = FALSE;
    COLORREF m_attributeBackColor;
    COLORREF m_attributeTextColor;
    COLORREF m_labelBackColor;
    COLORREF m_labelTextColor;
    COLORREF m_labelAreaColor;
};
