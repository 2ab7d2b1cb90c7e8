// What the rows window and the description area put on screen, read back pixel by pixel.
#include "TreeFixture.h"

#include "optiontree/OptionTreeDescriptionWnd.h"

namespace {

using Painting = TreeFixture;

QColor Sys(int index)
{
    return ToQColor(GetSysColor(index));
}

// The darkest pixel inside rect: text drawn in a colour leaves at least one pixel of it.
int DarkestLightness(const QImage& image, const QRect& rect)
{
    int darkest = 255;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            darkest = qMin(darkest, image.pixelColor(x, y).lightness());
    return darkest;
}

int CountColour(const QImage& image, const QRect& rect, const QColor& colour)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += image.pixelColor(x, y) == colour;
    return count;
}

int ShownTop(COptionTreeCtrl* tree, COptionTreeItemBase* item)
{
    return item->GetLocation().y() - tree->GetYOffset();
}

TEST_F(Painting, CategoriesMarginAndLines)
{
    BuildPaneTree();
    const QImage image = Grab();
    COptionTreeItemBase* paper = tree->FindItem(1);
    COptionTreeItemBase* size = tree->FindItem(2);
    const int paperY = ShownTop(tree, paper);
    const int sizeY = ShownTop(tree, size);

    EXPECT_EQ(image.pixelColor(300, paperY + 10), QColor(207, 234, 254)) << "category fill";
    EXPECT_EQ(image.pixelColor(tree->GetColumn(), paperY + 10), QColor(207, 234, 254)) << "no column line on categories";
    EXPECT_EQ(image.pixelColor(tree->GetColumn(), sizeY + 10), Sys(COLOR_BTNSHADOW)) << "column line";
    EXPECT_EQ(image.pixelColor(300, sizeY + 20), Sys(COLOR_BTNSHADOW)) << "row's last line";
    EXPECT_EQ(image.pixelColor(300, sizeY + 19), Sys(COLOR_WINDOW)) << "value fill";
    EXPECT_EQ(image.pixelColor(16, sizeY + 10), Sys(COLOR_BTNSHADOW)) << "margin line";
    EXPECT_EQ(image.pixelColor(14, 300), Sys(COLOR_3DFACE)) << "shaded margin";
    EXPECT_EQ(image.pixelColor(0, 300), Sys(COLOR_BTNSHADOW)) << "sunken edge, left";
    const QRect client = tree->GetRowsWnd()->ClientRect();
    EXPECT_EQ(image.pixelColor(client.width() - 1, 300), Sys(COLOR_BTNHIGHLIGHT)) << "sunken edge, right";

    // Expand boxes at x 4: the category's is hollow, a group's is filled; plus when collapsed.
    EXPECT_EQ(image.pixelColor(4, paperY + 5), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(image.pixelColor(12, paperY + 13), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(image.pixelColor(6, paperY + 9), QColor(Qt::black)) << "minus";
    EXPECT_EQ(image.pixelColor(8, paperY + 7), Sys(COLOR_3DFACE)) << "expanded: no stroke, the margin shows through";
    EXPECT_EQ(image.pixelColor(5, sizeY + 6), Sys(COLOR_WINDOW));
    tree->FindItem(2)->Expand(FALSE);
    tree->UpdateList();
    EXPECT_EQ(Grab().pixelColor(8, sizeY + 7), QColor(Qt::black)) << "collapsed: plus";
    EXPECT_EQ(tree->FindItem(3)->GetExpandBox(), QRect()) << "childless rows have no box";
}

TEST_F(Painting, UnshadedCategoriesUseTheWindowColour)
{
    auto* host2 = new QWidget(host.get());
    host2->setGeometry(0, 0, 300, 200);
    COptionTreeCtrl plain;
    ASSERT_TRUE(plain.Create(QRect(0, 0, 300, 200), host2, COptionTreeCtrl::ShowDescription, 5));
    auto* category = plain.InsertItem(std::make_unique<COptionTreeItemBase>());
    category->SetLabelBackColor(RGB(207, 234, 254));
    host2->show();
    const QImage image = plain.GetRowsWnd()->Client()->grab().toImage();
    EXPECT_EQ(image.pixelColor(250, 10), Sys(COLOR_WINDOW));
    EXPECT_EQ(image.pixelColor(8, 100), Sys(COLOR_WINDOW)) << "unshaded margin";
    EXPECT_EQ(plain.GetRowsWnd()->ClientRect().height(), 150) << "the description takes 50 pixels";

    plain.setEnabled(false);
    const QImage disabled = plain.GetRowsWnd()->Client()->grab().toImage();
    EXPECT_EQ(disabled.pixelColor(250, 10), QColor(207, 234, 254)) << "disabled: shaded";
    EXPECT_EQ(disabled.pixelColor(200, 100), Sys(COLOR_3DFACE));
}

TEST_F(Painting, SelectionHighlightsTheLabel)
{
    BuildPaneTree();
    COptionTreeItemBase* left = tree->FindItem(6);
    Click(left, LabelX());
    const QImage image = Grab();
    const int y = ShownTop(tree, left);
    EXPECT_EQ(image.pixelColor(tree->GetColumn() - 2, y + 10), Sys(COLOR_HIGHLIGHT)) << "to the label's end";
    EXPECT_EQ(image.pixelColor(tree->GetColumn() + 30, y + 3), Sys(COLOR_WINDOW)) << "not into the value";
    EXPECT_EQ(image.pixelColor(20, ShownTop(tree, tree->FindItem(7)) + 10), Sys(COLOR_WINDOW));

    Click(tree->FindItem(22), LabelX());
    const QImage category = Grab();
    EXPECT_EQ(category.pixelColor(380, ShownTop(tree, tree->FindItem(22)) + 10), Sys(COLOR_HIGHLIGHT))
        << "a category highlights the whole row";
}

TEST_F(Painting, ReadOnlyValuesAreGrey)
{
    BuildPaneTree();
    const QImage image = Grab();
    const int grey = Sys(COLOR_GRAYTEXT).lightness();
    const int black = Sys(COLOR_BTNTEXT).lightness();
    auto valueArea = [&](int id) {
        const QRect value = tree->FindItem(id)->GetAttributeRect();
        return QRect(value.left(), value.top() + 1, 40, value.height() - 2);
    };
    EXPECT_NEAR(DarkestLightness(image, valueArea(3)), grey, 12) << "read-only width";
    EXPECT_NEAR(DarkestLightness(image, valueArea(6)), black, 12) << "editable margin";
    Row<COptionTreeEditItem>(6)->SetReadOnly(TRUE);
    tree->UpdateList();
    EXPECT_NEAR(DarkestLightness(Grab(), valueArea(6)), grey, 12);
}

TEST_F(Painting, LongLabelsAreShortenedAndBlankLabelsDrawNothing)
{
    auto* category = AddGroup("Category", nullptr);
    auto* longRow = AddEdit(QString(1000, QChar('W')), category, 0, "v");
    auto* blank = AddEdit("     ", category, 0, "v");
    tree->ExpandAllItems();
    Click(blank, LabelX());
    const QImage image = Grab();
    const QRect drawn = longRow->GetLabelRect();
    EXPECT_GT(drawn.width(), 50);
    EXPECT_LE(GdiRight(drawn), tree->GetColumn());
    const QFontMetrics metrics(ControlFonts::Normal());
    const int room = tree->GetColumn() - 21;
    const QString expected = QString(1000, QChar('W')).left((room - metrics.horizontalAdvance("...") - 1) / metrics.horizontalAdvance("W")) + "...";
    EXPECT_NEAR(drawn.width(), metrics.horizontalAdvance(expected), 1);

    const int blankY = ShownTop(tree, blank);
    EXPECT_EQ(CountColour(image, QRect(17, blankY, tree->GetColumn() - 17, 20), Sys(COLOR_HIGHLIGHT)), 0);
    EXPECT_EQ(blank->GetLabelRect(), QRect());
}

TEST_F(Painting, LabelFitsWholeWhenThereIsRoom)
{
    auto* category = AddGroup("Category", nullptr);
    auto* row = AddEdit("Left Margin", category, 0, "v");
    tree->ExpandAllItems();
    EXPECT_NEAR(row->GetLabelRect().width(), QFontMetrics(ControlFonts::Normal()).horizontalAdvance("Left Margin"), 1);
    EXPECT_EQ(row->GetLabelRect().left(), 21);
    EXPECT_EQ(tree->FindItem(1)->GetLabelRect().left(), 21) << "categories start at the margin too";
}

TEST_F(Painting, IndentationBySixteenPerLevel)
{
    BuildPaneTree();
    EXPECT_EQ(tree->FindItem(1)->GetLocation().x(), 0);
    EXPECT_EQ(tree->FindItem(2)->GetLocation().x(), 0) << "category children start at 0";
    EXPECT_EQ(tree->FindItem(3)->GetLocation().x(), 16);
    EXPECT_EQ(tree->FindItem(13)->GetLocation().x(), 32);
    EXPECT_EQ(tree->FindItem(16)->GetLocation().x(), 32);
    EXPECT_EQ(tree->FindItem(13)->GetAttributeRect().left(), tree->GetColumn() + 5);
}

TEST_F(Painting, DragBarInvertsACheckerboard)
{
    BuildPaneTree();
    const QImage before = Grab();
    const QPoint onBoundary = RowPoint(tree->FindItem(6), tree->GetColumn());
    QTest::mousePress(Client(), Qt::LeftButton, Qt::NoModifier, onBoundary);
    QTest::mouseMove(Client(), QPoint(250, onBoundary.y()));
    const QImage during = Grab();
    // Rows of the pattern alternate 0xAA and 0x55, the high bit leftmost, from the window's
    // origin: pixel (0, 0) is inverted.
    for (int y = 100; y < 116; ++y) {
        for (int x = 248; x < 252; ++x) {
            const QColor was = before.pixelColor(x, y);
            const QColor inverted(255 - was.red(), 255 - was.green(), 255 - was.blue());
            EXPECT_EQ(during.pixelColor(x, y), (x + y) % 2 == 0 ? inverted : was) << x << "," << y;
        }
    }
    EXPECT_EQ(during.pixelColor(253, 105), before.pixelColor(253, 105));
    QTest::mouseRelease(Client(), Qt::LeftButton, Qt::NoModifier, QPoint(250, onBoundary.y()));
}

TEST_F(Painting, DescriptionShowsTheFocusedRow)
{
    BuildPaneTree();
    COptionTreeDescriptionWnd* description = tree->GetDescriptionWnd();
    EXPECT_EQ(description->geometry(), QRect(0, Height - 50, Width, 50));
    const QColor face = Sys(COLOR_3DFACE);
    auto ink = [&](int top, int bottom) {
        description->repaint();
        const QImage image = description->grab().toImage();
        return image.width() * (bottom - top) - CountColour(image, QRect(4, top, image.width() - 8, bottom - top), face)
            - 8 * (bottom - top);
    };
    EXPECT_EQ(ink(4, 46), 0);
    Click(tree->FindItem(11), LabelX()); // a long help text that wraps
    const int titleHeight = QFontMetrics(ControlFonts::Bold()).height();
    EXPECT_GT(ink(4, 4 + titleHeight), 0);
    EXPECT_GT(ink(4 + titleHeight, 46), 0);
    tree->FindItem(11)->SetInfoText("");
    EXPECT_EQ(ink(4 + titleHeight + 1, 46), 0);
}

} // namespace
