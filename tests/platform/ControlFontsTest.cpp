// The shared control fonts: made from the menu font, bold at weight 700, alive while held.
#include "platform/ControlFonts.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(ControlFonts, FollowTheMenuFontWithABoldTwin)
{
    const ControlFonts hold;
    const QFont menu = QApplication::font("QMenu");
    EXPECT_EQ(ControlFonts::Normal().families(), menu.families());
    EXPECT_EQ(ControlFonts::Normal().italic(), menu.italic());
    EXPECT_EQ(ControlFonts::Normal().weight(), menu.weight());
    EXPECT_EQ(ControlFonts::Bold().weight(), QFont::Bold);
    EXPECT_EQ(ControlFonts::Bold().pointSizeF(), ControlFonts::Normal().pointSizeF());
}

TEST(ControlFonts, LiveAsLongAsAnyHolder)
{
    const int before = ControlFonts::Holders();
    std::optional<ControlFonts> first(std::in_place);
    std::optional<ControlFonts> second(std::in_place);
    EXPECT_EQ(ControlFonts::Holders(), before + 2);
    first.reset();
    EXPECT_EQ(ControlFonts::Holders(), before + 1);
    second.reset();
    EXPECT_EQ(ControlFonts::Holders(), before);
}

TEST(ControlFonts, RecreateTakesANewMenuFont)
{
    const ControlFonts hold;
    const QFont saved = QApplication::font("QMenu");
    QFont larger = saved;
    larger.setPointSize(31);
    QApplication::setFont(larger, "QMenu");
    EXPECT_NE(ControlFonts::Normal().pointSize(), 31) << "kept until recreated";
    ControlFonts::Recreate();
    EXPECT_EQ(ControlFonts::Normal().pointSize(), 31);
    EXPECT_EQ(ControlFonts::Bold().pointSize(), 31);
    QApplication::setFont(saved, "QMenu");
    ControlFonts::Recreate();
}

} // namespace
