#pragma once
// A self-drawn property grid: labelled rows in two columns (label, value) grouped under
// coloured category rows, with a description area along the bottom that shows the focused
// row's label and help text.
//
// The control owns its items once they are inserted and deletes them in DeleteItem,
// DeleteAllItems and its destructor. It reports to the owner through SetNotify's handler.
// A layout pass builds the visible list and every visible row's geometry whenever the rows,
// the column, the scroll position or the client size change; painting, hit testing, keyboard
// movement and the in-place editors all read that one layout. GUI thread only.
#include "optiontree/OptionTreeItemBase.h"
#include "optiontree/OptionTreeNotify.h"
#include "platform/ControlFonts.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class COptionTreeRowsWnd;
class COptionTreeDescriptionWnd;

class COptionTreeCtrl : public QWidget {
    Q_OBJECT
public:
    enum OptionFlags {
        ShowDescription = 1,
        NotifyEnabled = 2,
        ShadeMargin = 8,
        ShadeCategories = 16,
    };
    enum HitResult {
        HitLabel = 2024,
        HitColumn = 2025,
        HitExpandBox = 2026,
        HitAttribute = 2027,
        HitNowhere = 2028,
    };
    static constexpr int RowsWndId = 30000;
    static constexpr int DescriptionWndId = 0xFFFF;
    static constexpr int DescriptionHeight = 50;
    static constexpr int ExpandMargin = 16;

    // A visitor answers FALSE to stop the walk below the item it was given.
    using Visitor = std::function<BOOL(COptionTreeItemBase* item)>;

    explicit COptionTreeCtrl(QWidget* parent = nullptr);
    ~COptionTreeCtrl() override;

    // Makes the rows window and the description area, places the control at rect inside
    // parent and shows it. FALSE if the control was created already.
    BOOL Create(const QRect& rect, QWidget* parent, int optionFlags, int id);
    int GetOptions() const { return m_options; }
    int GetDlgCtrlID() const { return m_id; }

    // Sets or clears NotifyEnabled; notifications go to handler while window lives.
    void SetNotify(BOOL enable, QObject* window, NotifyHandler handler);
    // Sends code with item to the owner; 0 when nothing is sent.
    LRESULT SendNotify(int code, COptionTreeItemBase* item);

    // Takes item over as the last child of parent (null: a category under the root) and returns
    // it. Refused, with null, when item is null or parent is no row of this tree; the item
    // given is then deleted. (An item already in a tree stays with that tree.)
    COptionTreeItemBase* InsertItem(std::unique_ptr<COptionTreeItemBase> item, COptionTreeItemBase* parent = nullptr);
    // The same for a value kind, returned as that kind.
    template <class Item>
    Item* InsertItem(std::unique_ptr<Item> item, COptionTreeItemBase* parent = nullptr)
    {
        return static_cast<Item*>(InsertItem(std::unique_ptr<COptionTreeItemBase>(std::move(item)), parent));
    }
    void DeleteItem(COptionTreeItemBase* item);
    void DeleteAllItems();
    COptionTreeItemBase* FindItem(int id);
    BOOL Traverse(COptionTreeItemBase* start, const Visitor& visitor);
    COptionTreeItemBase* GetRootItem() { return &m_root; }

    void ExpandAllItems();
    void RefreshItems(COptionTreeItemBase* item = nullptr);
    void MoveAllItems();
    void SelectItems(COptionTreeItemBase* item, BOOL select);
    void UpdateList();

    COptionTreeItemBase* GetFocusedItem() const { return m_focused; }
    void SetFocusedItem(COptionTreeItemBase* item);
    COptionTreeItemBase* FocusFirst();
    COptionTreeItemBase* FocusLast();
    COptionTreeItemBase* FocusPrev();
    COptionTreeItemBase* FocusNext();
    void EnsureVisible(COptionTreeItemBase* item);

    // Geometry shared by painting and input; points are in rows-window coordinates.
    HitResult HitTest(const QPoint& point);
    COptionTreeItemBase* ItemAt(const QPoint& point);
    void SetColumn(int x);
    int GetColumn() const { return m_column; }
    QRect GetLargestLabelRect();

    // The visible list, in drawing order: the rows whose ancestors are all expanded.
    COptionTreeItemBase* GetVisibleHead();
    BOOL IsInVisibleList(const COptionTreeItemBase* item);

    // Marks the layout stale; the next reader, or the next change of rows, lays the rows out.
    void InvalidateLayout() { m_layoutValid = false; }
    // Lays the rows out unless the layout is current.
    void EnsureLayout();

    // Counts deleted items, so that code that notified the owner can tell whether rows went.
    int GetDeletionCount() const { return m_deletions; }

    int GetYOffset() const { return m_yOffset; }
    // Stores the scroll position; the rows are laid out again when it changed.
    void SetYOffset(int offset);
    COptionTreeRowsWnd* GetRowsWnd() const { return m_rows; }
    COptionTreeDescriptionWnd* GetDescriptionWnd() const { return m_description; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Layout(int cx, int cy);
    void Repaint();
    void LayoutRows();
    int LayoutSubtree(COptionTreeItemBase* item, const QRect& client, int x, int y);
    void AppendVisible(COptionTreeItemBase* item);
    // FocusFirst moves the focus even to no row at all; the other moves need a row to go to.
    enum class FocusTarget { AnyOrNone, RowOnly };
    void MoveFocusTo(COptionTreeItemBase* target, FocusTarget accepted);
    COptionTreeItemBase* LastVisible();
    COptionTreeItemBase* VisibleBefore(const COptionTreeItemBase* item);
    void ScrollToShow(const COptionTreeItemBase* item);

    ControlFonts m_fonts;
    int m_options = 0;
    COptionTreeDescriptionWnd* m_description = nullptr;
    COptionTreeItemBase m_root;
    COptionTreeItemBase* m_visibleHead = nullptr;
    COptionTreeItemBase* m_visibleTail = nullptr;
    COptionTreeItemBase* m_focused = nullptr;
    int m_column = 150;
    int m_yOffset = 0;
    bool m_layoutValid = false;
    COptionTreeRowsWnd* m_rows = nullptr;
    int m_itemCounter = 0;
    int m_deletions = 0;
    int m_id = 0;
    QPointer<QObject> m_notifyWindow;
    NotifyHandler m_notifyHandler;
};
