#include "menubar/MenuColors.h"
#include "menubar/MenuXP.h"
#include "menubar/MenuXPStyle.h"
#include "platform/SysColors.h"

#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

struct MeasureCase {
    MenuItemData data;
    QSize expected;
};

class MeasureMenuItemTest : public testing::TestWithParam<MeasureCase> {};

TEST_P(MeasureMenuItemTest, UnpacksWidthAndHeight)
{
    EXPECT_EQ(MeasureMenuItem(GetParam().data), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, MeasureMenuItemTest, testing::Values(
    MeasureCase{(100u << 16) | (40u << 8) | 20u, QSize(100 + 40 + 42, 20)},
    MeasureCase{(100u << 16) | 23u, QSize(142, 23)},         // no shortcut in the whole menu
    MeasureCase{(1u << 16) | (255u << 8) | 255u, QSize(1 + 255 + 42, 255)},
    MeasureCase{9u, QSize(0, 9)}));                          // a separator: its height alone

struct MnemonicCase {
    QChar typed;
    int expected;
};

class FindMenuMnemonicTest : public testing::TestWithParam<MnemonicCase> {};

TEST_P(FindMenuMnemonicTest, FindsTheFirstItemWhoseMarkedLetterWasTyped)
{
    QMenu menu;
    menu.addAction(QStringLiteral("&Open File...\tCtrl+O"));
    menu.addSeparator();
    menu.addAction(QStringLiteral("Save && &Quit"));
    menu.addAction(QStringLiteral("Open &Directory..."));
    menu.addAction(QStringLiteral("An&other"));
    EXPECT_EQ(FindMenuMnemonic(menu, GetParam().typed), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, FindMenuMnemonicTest, testing::Values(
    MnemonicCase{QLatin1Char('o'), 0},   // upper-cased, first of two matches
    MnemonicCase{QLatin1Char('O'), 0},
    MnemonicCase{QLatin1Char('q'), 2},   // "&&" is a plain ampersand, not a mark
    MnemonicCase{QLatin1Char(' '), -1},
    MnemonicCase{QLatin1Char('d'), 3},
    MnemonicCase{QLatin1Char('s'), -1},  // the S of "Save" is not marked
    MnemonicCase{QLatin1Char('z'), -1}));

TEST(ConvertMenu, EveryItemSharesTheWidestTextAndShortcutAndSeparatorsKeepTheirHeight)
{
    QMenu menu;
    menu.addAction(QStringLiteral("&Wide text of an item"));
    menu.addSeparator();
    menu.addAction(QStringLiteral("X\tCtrl+Shift+F12"));
    const QFontMetrics metrics = menu.fontMetrics();
    const MenuItemData item = (MenuItemData(metrics.horizontalAdvance(QStringLiteral("Wide text of an item"))) << 16)
        | (MenuItemData(metrics.horizontalAdvance(QStringLiteral("Ctrl+Shift+F12"))) << 8)
        | MenuItemData(MenuItemHeight(metrics));
    EXPECT_EQ(ConvertMenu(menu), (std::vector<MenuItemData>{item, MenuItemData(MenuSeparatorHeight(metrics)), item}));
}

TEST(MenuItemHeight, IsTwentyForSmallFontsAndTextHeightPlusSixForLargeOnes)
{
    QFont small;
    small.setPixelSize(8);
    QFont large;
    large.setPixelSize(30);
    EXPECT_EQ(MenuItemHeight(QFontMetrics(small)), 20);
    EXPECT_EQ(MenuItemHeight(QFontMetrics(large)), QFontMetrics(large).height() + 6);
    EXPECT_EQ(MenuSeparatorHeight(QFontMetrics(large)), QFontMetrics(large).height() / 2 + 2);
}

QColor Adjusted(int index, int l, int s)
{
    return ToQColor(AdjustSysColor(index, l, s));
}

QImage Draw(const MenuItemDraw& item)
{
    QImage image(item.rect.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    painter.setFont(QApplication::font("QMenu"));
    DrawMenuItem(painter, item);
    return image;
}

MenuItemDraw Item(bool highlighted, bool disabled)
{
    MenuItemDraw item;
    item.rect = QRect(0, 0, 240, 22);
    item.text = QStringLiteral("&Open File...\tCtrl+O");
    item.highlighted = highlighted;
    item.disabled = disabled;
    return item;
}

struct ItemColourCase {
    bool highlighted;
    bool disabled;
    QPoint at;
    int index, lightness, saturation; // the expected colour, as adjust(index, l, s)
};

class DrawMenuItemColourTest : public testing::TestWithParam<ItemColourCase> {};

TEST_P(DrawMenuItemColourTest, PaintsTheColumnsAndTheHighlightInBlendedSystemColours)
{
    const ItemColourCase& c = GetParam();
    const QImage image = Draw(Item(c.highlighted, c.disabled));
    EXPECT_EQ(image.pixelColor(c.at), Adjusted(c.index, c.lightness, c.saturation)) << c.at.x() << "," << c.at.y();
}

INSTANTIATE_TEST_SUITE_P(Table, DrawMenuItemColourTest, testing::Values(
    ItemColourCase{false, false, QPoint(5, 2), COLOR_BTNFACE, 20, 0},      // icon column
    ItemColourCase{false, false, QPoint(23, 2), COLOR_BTNFACE, 75, 0},     // right of it
    ItemColourCase{true, false, QPoint(5, 2), COLOR_HIGHLIGHT, 70, -57},   // highlight fill
    ItemColourCase{true, true, QPoint(5, 2), COLOR_BTNFACE, 73, 0},        // disabled highlight
    ItemColourCase{true, false, QPoint(0, 0), COLOR_HIGHLIGHT, 0, 0}));    // highlight frame

// The columns of text pixels: anything darker than the item backgrounds.
std::pair<int, int> InkColumns(const QImage& image, int from, int to)
{
    int first = -1, last = -1;
    for (int x = from; x < to; ++x)
        for (int y = 2; y < image.height() - 2; ++y)
            if (qGray(image.pixel(x, y)) < 128) {
                if (first < 0)
                    first = x;
                last = x;
            }
    return {first, last};
}

TEST(DrawMenuItem, TextStartsAtThirtyPixelsAndTheShortcutEndsTwelveFromTheRight)
{
    const QImage image = Draw(Item(false, false));
    const auto [textStart, textEnd] = InkColumns(image, 0, 120);
    const auto [shortcutStart, shortcutEnd] = InkColumns(image, 120, 240);
    EXPECT_GE(textStart, 30);
    EXPECT_LE(textStart, 32);
    EXPECT_LE(shortcutEnd, 240 - 12);
    EXPECT_GE(shortcutEnd, 240 - 12 - 3);
    EXPECT_GT(shortcutStart, textEnd);
}

TEST(DrawMenuItem, ASeparatorIsALineFromThirtyPixelsThroughTheMiddle)
{
    MenuItemDraw item;
    item.rect = QRect(0, 0, 200, 9);
    item.separator = true;
    const QImage image = Draw(item);
    EXPECT_EQ(image.pixelColor(29, 4), Adjusted(COLOR_BTNFACE, 75, 0));
    EXPECT_EQ(image.pixelColor(30, 4), Adjusted(COLOR_BTNFACE, -18, 0));
    EXPECT_EQ(image.pixelColor(199, 4), Adjusted(COLOR_BTNFACE, -18, 0));
    EXPECT_EQ(image.pixelColor(100, 2), Adjusted(COLOR_BTNFACE, 75, 0));
}

// A window marked for the flat look, with a pop-up of its own.
class MarkedWindowMenu : public testing::Test {
protected:
    void SetUp() override
    {
        InstallMenuHook();
        SetMenuXPWindow(&window, true);
        window.resize(400, 300);
        window.show();
        menu = new QMenu(&window);
        open = menu->addAction(QStringLiteral("&Open File...\tCtrl+O"));
        menu->addSeparator();
        disabled = menu->addAction(QStringLiteral("&Disabled"));
        disabled->setEnabled(false);
        exit = menu->addAction(QStringLiteral("E&xit"));
    }

    // Runs the pop-up, typing the given key once it is open; returns the action chosen.
    QAction* ExecTyping(Qt::Key key)
    {
        QTimer::singleShot(50, menu, [this, key] {
            QTest::keyClick(menu, key);
            QTimer::singleShot(50, menu, [this] {
                highlightedAfterTyping = menu->activeAction();
                if (menu->isVisible())
                    menu->close();
            });
        });
        return menu->exec(window.mapToGlobal(QPoint(10, 10)));
    }

    QAction* highlightedAfterTyping = nullptr;

    QWidget window;
    QMenu* menu = nullptr;
    QAction* open = nullptr;
    QAction* disabled = nullptr;
    QAction* exit = nullptr;
};

TEST_F(MarkedWindowMenu, TakesTheFlatSizesWithRoomForTheShadow)
{
    menu->popup(window.mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(qobject_cast<const CMenuXPStyle*>(menu->style()));
    EXPECT_EQ(menu->contentsMargins(), QMargins(0, 0, 4, 4));
    const QSize measured = MeasureMenuItem(ConvertMenu(*menu).front());
    EXPECT_EQ(menu->actionGeometry(open).size(), QSize(measured.width() + kSystemCheckWidth, measured.height()));
    EXPECT_EQ(menu->actionGeometry(open).topLeft(), QPoint(3, 3)); // inside the three-pixel border
    EXPECT_EQ(menu->width(), measured.width() + kSystemCheckWidth + 2 * 3 + 4);
    menu->close();
}

TEST_F(MarkedWindowMenu, PaintsADarkOuterBorderAndTwoPaleLinesInside)
{
    menu->popup(window.mapToGlobal(QPoint(10, 10)));
    const QImage image = menu->grab().toImage();
    const int bottom = menu->height() - 1 - 4;
    EXPECT_EQ(image.pixelColor(0, 10), ToQColor(GetSysColor(COLOR_3DDKSHADOW)));
    EXPECT_EQ(image.pixelColor(1, 10), Adjusted(COLOR_BTNFACE, 75, 0));
    EXPECT_EQ(image.pixelColor(2, 10), Adjusted(COLOR_BTNFACE, 75, 0));
    EXPECT_EQ(image.pixelColor(10, bottom), ToQColor(GetSysColor(COLOR_3DDKSHADOW)));
    menu->close();
}

TEST_F(MarkedWindowMenu, TypingAMarkedLetterExecutesItsItem)
{
    EXPECT_EQ(ExecTyping(Qt::Key_X), exit);
}

TEST_F(MarkedWindowMenu, TypingTheLetterOfADisabledItemOnlyHighlightsIt)
{
    EXPECT_EQ(ExecTyping(Qt::Key_D), nullptr);
    EXPECT_EQ(highlightedAfterTyping, disabled);
}

TEST(UnmarkedWindowMenu, KeepsTheApplicationLook)
{
    InstallMenuHook();
    QWidget window;
    window.show();
    QMenu menu(&window);
    menu.addAction(QStringLiteral("&Open"));
    menu.popup(window.mapToGlobal(QPoint(10, 10)));
    EXPECT_FALSE(qobject_cast<const CMenuXPStyle*>(menu.style()));
    EXPECT_EQ(menu.contentsMargins(), QMargins());
    menu.close();
}

} // namespace
