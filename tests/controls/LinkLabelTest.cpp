#include "controls/LinkLabel.h"

#include "MessageBoxAnswers.h"
#include "platform/ShellRequest.h"

#include <QFontMetricsF>
#include <QMap>
#include <QTest>

#include "QStringPrinter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Records shell requests and answers each with a fixed result.
struct ShellRecorder {
    QStringList requests;
    explicit ShellRecorder(int result)
    {
        SetShellHandler([this, result](const QString& verb, const QString& target) {
            requests << verb + " " + target;
            return result;
        });
    }
    ~ShellRecorder() { SetShellHandler({}); }
};

// The commonest colour other than the pane colour: the underline runs the whole width in the
// pen colour, so it outnumbers the blended edges of the glyphs.
QColor TextColour(QWidget& widget)
{
    const QImage image = widget.grab().toImage();
    QMap<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != QColor(207, 234, 254))
                ++counts[image.pixel(x, y)];
    QRgb commonest = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > counts.value(commonest))
            commonest = it.key();
    return QColor::fromRgb(commonest);
}

int TextWidth(const CLinkLabel& label)
{
    return int(std::ceil(QFontMetricsF(label.CreatePaintFont()).horizontalAdvance(label.GetWindowText())));
}

} // namespace

TEST(LinkLabel, AddressAndTextStandInForEachOther)
{
    CLinkLabel onlyText("www.example.org");
    EXPECT_EQ(onlyText.GetURL(), "www.example.org");
    CLinkLabel onlyAddress("", "mailto:help@example.org");
    EXPECT_EQ(onlyAddress.GetWindowText(), "mailto:help@example.org");
    CLinkLabel both("Support", "mailto:help@example.org");
    EXPECT_EQ(both.GetWindowText(), "Support");
    EXPECT_EQ(both.toolTip(), "mailto:help@example.org");
    both.SetURL("https://example.org/");
    EXPECT_EQ(both.toolTip(), "https://example.org/");
}

TEST(LinkLabel, FitsItselfToTheTextKeepingItsAnchor)
{
    QWidget parent;
    CLinkLabel left("Website", "", &parent);
    left.setGeometry(100, 50, 300, 40);
    left.PositionWindow();
    EXPECT_EQ(left.geometry().topLeft(), QPoint(100, 50));
    EXPECT_EQ(left.width(), TextWidth(left));
    EXPECT_EQ(left.height(), int(std::ceil(QFontMetricsF(left.CreatePaintFont()).height())));

    CLinkLabel right("Website", "", &parent);
    right.SetRightAligned(TRUE);
    right.setGeometry(100, 50, 300, 40);
    right.PositionWindow();
    EXPECT_EQ(right.geometry().right(), 399);

    CLinkLabel centred("Website", "", &parent);
    centred.SetCentered(TRUE);
    centred.SetCenterImage(TRUE);
    centred.setGeometry(100, 50, 300, 40);
    centred.PositionWindow();
    EXPECT_NEAR(centred.geometry().center().x(), 250, 1);
    EXPECT_NEAR(centred.geometry().center().y(), 70, 1);

    // The fitted text is shown whole, underlined, on one line.
    const QImage image = left.grab().toImage();
    int inkedInLastRows = 0;
    for (int y = image.height() - 4; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            inkedInLastRows += image.pixelColor(x, y) != QColor(207, 234, 254);
    EXPECT_GE(inkedInLastRows, left.width() - 2);
}

TEST(LinkLabel, ClickOpensTheAddressAndMarksItVisited)
{
    ShellRecorder shell(SHELL_SUCCESS);
    CLinkLabel label("Website", "https://example.org/");
    label.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&label));
    EXPECT_EQ(TextColour(label), QColor(0, 0, 0));
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(shell.requests, QStringList{"open https://example.org/"});
    EXPECT_TRUE(label.GetVisited());
    EXPECT_EQ(TextColour(label), QColor(0, 0, 0));

    QTest::mouseClick(&label, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(shell.requests.size(), 1);
}

TEST(LinkLabel, WritesInTheLabelTextColour)
{
    CLinkLabel label("Website", "https://example.org/");
    label.SetTextColor(RGB(200, 0, 0));
    EXPECT_EQ(TextColour(label), QColor(200, 0, 0));
    label.SetVisited(TRUE);
    EXPECT_EQ(TextColour(label), QColor(200, 0, 0));
}

TEST(LinkLabel, FailureExplainsTheShellResult)
{
    const struct {
        int result;
        QString text;
    } cases[] = {
        {26, "A sharing violation occurred. "},
        {0, "The operating system is out\nof memory or resources."},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
        {4, "Unknown Error (4) occurred."},
        {-7, "Unknown Error (-7) occurred."},
    };
    for (const auto& c : cases) {
        ShellRecorder shell(c.result);
        CLinkLabel label("Website", "https://example.org/");
        MessageBoxAnswers boxes;
        QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(3, 3));
        ASSERT_EQ(boxes.seen.size(), 1u) << c.result;
        EXPECT_EQ(boxes.seen[0].text, "Unable to open hyperlink:\n\n" + c.text);
        EXPECT_EQ(boxes.seen[0].icon, QMessageBox::Warning);
        EXPECT_FALSE(label.GetVisited());
    }
}

TEST(LinkLabel, EmptyAddressIsReportedNotLaunched)
{
    CLinkLabel label("", "");
    label.resize(40, 20);
    MessageBoxAnswers boxes;
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(3, 3));
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text, "Unable to open hyperlink:\n\nThe specified file was not found.");
}
