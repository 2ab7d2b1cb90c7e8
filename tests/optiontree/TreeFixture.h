#pragma once
// A tree like the options pane builds (four categories, groups, 36 rows of the three value
// kinds) in a shown window, with a log of every notification and per-code vetoes.
#include "optiontree/OptionTreeComboItem.h"
#include "optiontree/OptionTreeCtrl.h"
#include "optiontree/OptionTreeEditItem.h"
#include "optiontree/OptionTreeGdi.h"
#include "optiontree/OptionTreePathDialog.h"
#include "optiontree/OptionTreePathItem.h"
#include "optiontree/OptionTreeRowsWnd.h"
#include "optiontree/TitleTipComboBox.h"
#include "optiontree/TitleTipEdit.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

// The paper-size entry of the fixture's tree that is wider than any list.
QString PaperSizesLongEntry();

struct Received {
    int code;
    COptionTreeItemBase* item;
    bool operator==(const Received&) const = default;
};

class TreeFixture : public ::testing::Test {
protected:
    static constexpr int Width = 420;
    static constexpr int Height = 520;

    void SetUp() override;
    void TearDown() override;

    // The 36 rows of the options pane, all expanded; ids 1 to 36 in table order.
    void BuildPaneTree();
    COptionTreeItemBase* AddGroup(const QString& label, COptionTreeItemBase* parent);
    COptionTreeComboItem* AddCombo(const QString& label, COptionTreeItemBase* parent, const QStringList& entries, int selected);
    COptionTreeEditItem* AddEdit(const QString& label, COptionTreeItemBase* parent, DWORD options, const QString& text);
    COptionTreePathItem* AddPath(const QString& label, COptionTreeItemBase* parent, const QString& filter);

    template <class T> T* Row(int id) { return dynamic_cast<T*>(tree->FindItem(id)); }

    QWidget* Client() const { return tree->GetRowsWnd()->Client(); }
    QImage Grab() { return Client()->grab().toImage(); }
    // A point on item's row at window x, its row scrolled into view first.
    QPoint RowPoint(COptionTreeItemBase* item, int x);
    void Click(COptionTreeItemBase* item, int x);
    void DoubleClick(COptionTreeItemBase* item, int x);
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // The value column's x middle, where a click activates.
    int ValueX() const { return tree->GetColumn() + 40; }
    int LabelX() const { return tree->GetColumn() - 40; }

    std::vector<int> Codes() const;
    std::vector<Received> Notices(int code) const;

    std::unique_ptr<QWidget> host;
    QWidget* outside = nullptr; // a focusable window part outside the tree
    COptionTreeCtrl* tree = nullptr;
    std::vector<Received> log;
    std::set<int> vetoes;
};
