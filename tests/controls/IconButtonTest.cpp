#include "controls/IconButton.h"

#include "platform/SysColors.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QColor kPane(207, 234, 254);
const QColor kIconColour(100, 201, 43);

QColor Shadow() { return ToQColor(GetSysColor(COLOR_BTNSHADOW)); }
QColor Light() { return ToQColor(GetSysColor(COLOR_BTNHIGHLIGHT)); }

// A transparent 40 x 40 button on a pane-coloured parent, showing a solid 16 x 16 icon that
// covers pixels 12..27 both ways.
struct PaneWithButton {
    QWidget pane;
    CIconButton* button;

    PaneWithButton()
    {
        QPalette palette;
        palette.setColor(QPalette::Window, kPane);
        pane.setPalette(palette);
        pane.setAutoFillBackground(true);
        pane.resize(100, 100);
        button = new CIconButton(&pane);
        button->setGeometry(10, 10, 40, 40);
        QImage icon(16, 16, QImage::Format_ARGB32);
        icon.fill(kIconColour);
        button->SetIcon(icon);
        button->DrawTransparent(FALSE);
        pane.show();
        pane.activateWindow();
        // A click gives the button the focus only in the active window.
        EXPECT_TRUE(QTest::qWaitForWindowActive(&pane));
    }
    QImage Image() { return pane.grab(QRect(10, 10, 40, 40)).toImage(); }
    // Through the window, as the window system delivers the pointer: entering and leaving the
    // button follow from the moves, at once and on every platform.
    void PointerAt(const QPoint& inPane) { QTest::mouseMove(pane.windowHandle(), inPane); }
    void PointerOnButton(const QPoint& inButton) { PointerAt(button->mapTo(&pane, inButton)); }
};

} // namespace

TEST(IconButton, LoadsThePaneIconsByResourceNumber)
{
    CIconButton button;
    for (UINT id : {IDI_OPEN_FILE, IDI_IMPORT_DIRECTORY, IDI_REMOVE_SELECTED, IDI_CLEAR_ALL_SELECTED,
                    IDI_START_CONVERT, IDI_STOP_CONVERT}) {
        EXPECT_TRUE(button.SetIcon(id)) << id;
        EXPECT_EQ(button.sizeHint(), QSize(38, 38)) << id;
    }
    EXPECT_FALSE(button.SetIcon(999));
}

TEST(IconButton, DarkenedIconScalesEveryNonBlackPixel)
{
    QImage icon(4, 1, QImage::Format_ARGB32);
    icon.setPixel(0, 0, qRgba(200, 101, 3, 255));
    icon.setPixel(1, 0, qRgba(0, 0, 0, 255));
    icon.setPixel(2, 0, qRgba(255, 255, 255, 128));
    icon.setPixel(3, 0, qRgba(0, 0, 1, 0));
    const QImage dark = CIconButton::Darkened(icon);
    EXPECT_EQ(dark.pixel(0, 0), qRgba(150, 75, 2, 255));
    EXPECT_EQ(dark.pixel(1, 0), qRgba(0, 0, 0, 255));
    EXPECT_EQ(dark.pixel(2, 0), qRgba(191, 191, 191, 128));
    EXPECT_EQ(dark.pixel(3, 0), qRgba(0, 0, 0, 0));
}

TEST(IconButton, IdleButtonShowsItsIconOnTheParentBackground)
{
    PaneWithButton shown;
    const QImage image = shown.Image();
    EXPECT_EQ(image.pixelColor(0, 0), kPane);
    EXPECT_EQ(image.pixelColor(39, 39), kPane);
    EXPECT_EQ(image.pixelColor(12, 12), kIconColour);
    EXPECT_EQ(image.pixelColor(27, 27), kIconColour);
    EXPECT_EQ(image.pixelColor(28, 28), kPane);
}

TEST(IconButton, HoverRaisesTheEdgeAndLeavingRemovesIt)
{
    PaneWithButton shown;
    shown.PointerOnButton(QPoint(20, 20));
    QImage image = shown.Image();
    EXPECT_EQ(image.pixelColor(0, 0), Light());
    EXPECT_EQ(image.pixelColor(0, 38), Light());
    EXPECT_EQ(image.pixelColor(39, 0), Shadow());
    EXPECT_EQ(image.pixelColor(39, 39), Shadow());
    EXPECT_EQ(image.pixelColor(1, 1), kPane);

    shown.PointerAt(QPoint(80, 80));
    EXPECT_EQ(shown.Image().pixelColor(0, 0), kPane);

    // Switching to another window also ends the hover.
    shown.PointerOnButton(QPoint(20, 20));
    EXPECT_EQ(shown.Image().pixelColor(0, 0), Light());
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_EQ(shown.Image().pixelColor(0, 0), kPane);
}

TEST(IconButton, PressSinksTheEdgeAndShiftsTheIcon)
{
    PaneWithButton shown;
    QSignalSpy clicks(shown.button, &QAbstractButton::clicked);
    QTest::mousePress(shown.button, Qt::LeftButton, {}, QPoint(20, 20));
    const QImage image = shown.Image();
    EXPECT_EQ(image.pixelColor(0, 0), Shadow());
    EXPECT_EQ(image.pixelColor(39, 39), Light());
    EXPECT_EQ(image.pixelColor(12, 12), kPane);
    EXPECT_EQ(image.pixelColor(13, 13), kIconColour);
    EXPECT_EQ(image.pixelColor(28, 28), kIconColour);
    QTest::mouseRelease(shown.button, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(shown.button->hasFocus());
    EXPECT_EQ(shown.Image().pixelColor(12, 12), kIconColour);
}

TEST(IconButton, DisabledShowsTheDarkenedIconAndIgnoresHover)
{
    PaneWithButton shown;
    shown.PointerOnButton(QPoint(20, 20));
    shown.button->setEnabled(false);
    QImage image = shown.Image();
    EXPECT_EQ(image.pixelColor(0, 0), kPane);
    EXPECT_EQ(image.pixelColor(20, 20), QColor(75, 150, 32));
    shown.PointerOnButton(QPoint(25, 25));
    EXPECT_EQ(shown.Image().pixelColor(0, 0), kPane);
    shown.button->setEnabled(true);
    EXPECT_EQ(shown.Image().pixelColor(20, 20), kIconColour);
}

TEST(IconButton, DisablingHandsTheFocusOn)
{
    QWidget pane;
    auto* first = new CIconButton(&pane);
    auto* second = new CIconButton(&pane);
    first->setGeometry(0, 0, 32, 32);
    second->setGeometry(40, 0, 32, 32);
    pane.show();
    pane.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&pane));
    first->setFocus();
    ASSERT_TRUE(first->hasFocus());
    first->setEnabled(false);
    EXPECT_TRUE(second->hasFocus());
}

TEST(IconButton, DoubleClickCountsAsTwoClicks)
{
    PaneWithButton shown;
    QSignalSpy clicks(shown.button, &QAbstractButton::clicked);
    // Through the window, as the desktop delivers it: press, release, press + double click,
    // release.
    QTest::mouseDClick(shown.pane.windowHandle(), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(clicks.count(), 2);
}

TEST(IconButton, TooltipTextAndActivation)
{
    CIconButton button;
    button.SetTooltipText("Open File (Ctrl+O)");
    EXPECT_EQ(button.toolTip(), "Open File (Ctrl+O)");
    button.SetTooltipText(QString());
    EXPECT_EQ(button.toolTip(), "Open File (Ctrl+O)");
    button.SetTooltipText("Start Convert (F5)", FALSE);
    EXPECT_EQ(button.toolTip(), "");
}

TEST(IconButton, OpaqueButtonFillsWithTheButtonFace)
{
    QWidget pane;
    CIconButton button(&pane);
    button.resize(32, 32);
    EXPECT_EQ(button.grab().toImage().pixelColor(1, 1), ToQColor(GetSysColor(COLOR_BTNFACE)));
}
