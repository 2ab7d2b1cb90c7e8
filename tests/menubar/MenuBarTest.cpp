#include "menubar/CustomCoolBar.h"
#include "menubar/MenuBar.h"
#include "menubar/MenuXP.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

// File (two items), Edit (an item, then a submenu "More"), Help (one item).
class MenuBarFixture : public testing::Test {
protected:
    void SetUp() override
    {
        InstallMenuHook();
        SetMenuXPWindow(&frame, true);
        menu = new QMenu(&frame);
        QMenu* file = menu->addMenu(QStringLiteral("&File"));
        file->addAction(QStringLiteral("&Open"));
        file->addAction(QStringLiteral("E&xit"));
        QMenu* edit = menu->addMenu(QStringLiteral("&Edit"));
        edit->addAction(QStringLiteral("&Cut"));
        edit->addMenu(QStringLiteral("&More"))->addAction(QStringLiteral("&Deeper"));
        menu->addMenu(QStringLiteral("&Help"))->addAction(QStringLiteral("&About"));
        coolBar = new CCustomCoolBar(&frame, menu, &frame);
        ASSERT_TRUE(coolBar->Create());
        frame.setMenuWidget(coolBar);
        frame.resize(600, 400);
        frame.show();
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
        bar = coolBar->GetMenuBar();
    }

    QPoint ButtonCentre(int index) const { return bar->GetItemRect(index).center(); }

    // Runs TrackPopup(start); each time the open pop-up changes, the next step acts on it.
    // Returns the titles of the pop-ups that were open, in order.
    QStringList Track(int start, std::vector<std::function<void()>> steps)
    {
        QStringList seen;
        std::size_t next = 0;
        int ticks = 0;
        QTimer timer;
        timer.setInterval(30);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* active = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!active)
                return;
            if (seen.isEmpty() || seen.back() != active->title())
                seen << active->title();
            if (next < steps.size() && ++ticks > 1) {
                ticks = 0;
                steps[next++]();
            } else if (next == steps.size() && ++ticks > 3) {
                while (QWidget* popup = QApplication::activePopupWidget())
                    popup->close();
            }
        });
        timer.start();
        bar->TrackPopup(start);
        return seen;
    }

    std::function<void()> Key(Qt::Key key)
    {
        return [key] { QTest::keyClick(QApplication::activePopupWidget(), key); };
    }

    QMainWindow frame;
    QMenu* menu = nullptr;
    CCustomCoolBar* coolBar = nullptr;
    CMenuBar* bar = nullptr;
};

TEST_F(MenuBarFixture, ShowsOneButtonPerMenuInOneBand)
{
    ASSERT_EQ(bar->GetButtonCount(), 3);
    EXPECT_EQ(bar->GetButtonText(1), QStringLiteral("&Edit"));
    EXPECT_EQ(coolBar->GetBandCount(), 1);
    EXPECT_LT(bar->GetItemRect(0).right(), bar->GetItemRect(1).left());
}

TEST_F(MenuBarFixture, OpensBelowTheButtonWithTheFirstItemHighlighted)
{
    QAction* highlighted = nullptr;
    QPoint topLeft;
    Track(0, {[&] {
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        highlighted = popup->activeAction();
        topLeft = popup->pos();
    }});
    EXPECT_EQ(highlighted, menu->actions()[0]->menu()->actions()[0]);
    const QPoint buttonBottomLeft = bar->mapToGlobal(bar->GetItemRect(0).bottomLeft());
    EXPECT_EQ(topLeft, buttonBottomLeft); // one pixel up, onto the button's bottom edge
}

struct WalkCase {
    const char* name;
    int start;
    std::vector<Qt::Key> keys;
    QStringList expected;
};

class MenuBarWalk : public MenuBarFixture, public testing::WithParamInterface<WalkCase> {};

TEST_P(MenuBarWalk, MovesBetweenMenusWithTheArrowKeys)
{
    std::vector<std::function<void()>> steps;
    for (Qt::Key key : GetParam().keys)
        steps.push_back(Key(key));
    EXPECT_EQ(Track(GetParam().start, steps), GetParam().expected);
    EXPECT_EQ(bar->GetTrackingState(), CMenuBar::Idle);
}

INSTANTIATE_TEST_SUITE_P(Table, MenuBarWalk, testing::Values(
    WalkCase{"RightWrapsFromTheLastMenuToTheFirst", 0, {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right},
             {"&File", "&Edit", "&Help", "&File"}},
    WalkCase{"LeftWrapsFromTheFirstMenuToTheLast", 0, {Qt::Key_Left}, {"&File", "&Help"}},
    WalkCase{"RightOnAnItemWithASubmenuOpensTheSubmenu", 1, {Qt::Key_Down, Qt::Key_Right}, {"&Edit", "&More"}},
    WalkCase{"LeftInASubmenuClosesOnlyTheSubmenu", 1, {Qt::Key_Down, Qt::Key_Right, Qt::Key_Left, Qt::Key_Left},
             {"&Edit", "&More", "&Edit", "&File"}},
    WalkCase{"RightOnASubmenuItemMovesToTheNextMenu", 1, {Qt::Key_Down, Qt::Key_Right, Qt::Key_Right},
             {"&Edit", "&More", "&Help"}}),
    [](const testing::TestParamInfo<WalkCase>& info) { return info.param.name; });

TEST_F(MenuBarFixture, EscapeLeavesTheButtonHotAndTheBarTakesTheKeys)
{
    EXPECT_EQ(Track(1, {Key(Qt::Key_Escape)}), QStringList{"&Edit"});
    EXPECT_EQ(bar->GetTrackingState(), CMenuBar::HotAfterEscape);
    EXPECT_EQ(bar->GetHotItem(), 1);
    QTest::keyClick(bar, Qt::Key_Right);
    EXPECT_EQ(bar->GetHotItem(), 2);
    QTest::keyClick(bar, Qt::Key_Escape);
    EXPECT_EQ(bar->GetTrackingState(), CMenuBar::Idle);
    EXPECT_EQ(bar->GetHotItem(), -1);
}

TEST_F(MenuBarFixture, MovingTheMouseOntoAnotherButtonSwitchesMenus)
{
    EXPECT_EQ(Track(0, {[this] { QTest::mouseMove(bar, ButtonCentre(2)); }}), (QStringList{"&File", "&Help"}));
}

TEST_F(MenuBarFixture, APressOnTheOpenButtonClosesItsMenu)
{
    // While a pop-up is open it receives every press, also those outside it.
    const auto pressOnButton = [this] {
        QWidget* popup = QApplication::activePopupWidget();
        QTest::mousePress(popup, Qt::LeftButton, {}, popup->mapFromGlobal(bar->mapToGlobal(ButtonCentre(0))));
    };
    EXPECT_EQ(Track(0, {pressOnButton}), QStringList{"&File"});
    EXPECT_EQ(bar->GetTrackingState(), CMenuBar::Idle);
    EXPECT_FALSE(bar->IsPressed(0));
}

TEST_F(MenuBarFixture, AltAndTheMnemonicOpenThatMenu)
{
    QString opened;
    QTimer::singleShot(100, &frame, [&] {
        if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            opened = popup->title();
            popup->close();
        }
    });
    QTest::keyClick(&frame, Qt::Key_H, Qt::AltModifier);
    EXPECT_EQ(opened, QStringLiteral("&Help"));
}

} // namespace
