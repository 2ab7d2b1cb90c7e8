// The shared control fonts: the classic 8-point dialog face, bold at weight 700, alive while
// held; and the texts whose boxes were sized for that face fit them.
#include "platform/ControlFonts.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(ControlFonts, ClassicFaceAtEightPointsWithTheMenuFontsSlant)
{
    const ControlFonts hold;
    EXPECT_EQ(QFontInfo(ControlFonts::Normal()).family(), "Tahoma") << "scripts/install-deps installs it";
    EXPECT_EQ(ControlFonts::Normal().pointSize(), 8);
    EXPECT_EQ(ControlFonts::Normal().italic(), QApplication::font("QMenu").italic());
    EXPECT_EQ(ControlFonts::Bold().weight(), QFont::Bold);
    EXPECT_EQ(ControlFonts::Bold().family(), ControlFonts::Normal().family());
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

TEST(ControlFonts, RecreateTakesANewMenuSlant)
{
    const ControlFonts hold;
    const QFont saved = QApplication::font("QMenu");
    QFont italic = saved;
    italic.setItalic(!saved.italic());
    QApplication::setFont(italic, "QMenu");
    EXPECT_EQ(ControlFonts::Normal().italic(), saved.italic()) << "kept until recreated";
    ControlFonts::Recreate();
    EXPECT_EQ(ControlFonts::Normal().italic(), !saved.italic());
    EXPECT_EQ(ControlFonts::Bold().italic(), !saved.italic());
    EXPECT_EQ(ControlFonts::Normal().pointSize(), 8);
    QApplication::setFont(saved, "QMenu");
    ControlFonts::Recreate();
}

TEST(ControlFonts, HeightsCountCharactersWhenNegativeAndCellsWhenPositive)
{
    const ControlFonts hold;
    EXPECT_EQ(ControlFonts::AtHeight(-14, QFont::Bold).pixelSize(), 14);
    EXPECT_EQ(ControlFonts::AtHeight(-14, QFont::Bold).weight(), QFont::Bold);
    const int cell14 = ControlFonts::AtHeight(14, QFont::Bold).pixelSize();
    EXPECT_LT(cell14, 14) << "a cell of 14 pixels holds a smaller character";
    EXPECT_GE(cell14, 10);
    EXPECT_LE(ControlFonts::AtHeight(14, QFont::Normal).pixelSize(), ControlFonts::AtHeight(28, QFont::Normal).pixelSize() / 2 + 1);
}

// Texts of the panes in the boxes sized for the classic face.
struct FitCase {
    const char* name;
    const char* text;
    int fontHeight; // 0: the normal control font; else a height for AtHeight, bold
    int boxWidth;   // the box, less the cell margins (a space of the control font each side)
    int boxHeight;
};

void PrintTo(const FitCase& each, std::ostream* out)
{
    *out << each.name;
}

class Fits : public ::testing::TestWithParam<FitCase> {};

TEST_P(Fits, WithoutBeingShortenedOrCut)
{
    const FitCase& param = GetParam();
    const ControlFonts hold;
    const QFont font = param.fontHeight ? ControlFonts::AtHeight(param.fontHeight, QFont::Bold) : ControlFonts::Normal();
    const QFontMetrics metrics(font);
    const int margins = 2 * QFontMetrics(ControlFonts::Normal()).horizontalAdvance(QLatin1Char(' '));
    EXPECT_LE(metrics.horizontalAdvance(QString::fromLatin1(param.text)), param.boxWidth - margins);
    EXPECT_LE(metrics.height(), param.boxHeight);
}

// The file list's header row is 18 pixels high, its font "14 pixels bold"; the progress bars
// are 12 pixels high and as wide as the pane.
const FitCase FitCases[] = {
    {"OwnerPasswordHeader", "Owner Password", 14, 110, 18},
    {"UserPasswordHeader", "User Password", 14, 100, 18},
    {"CreationDateHeader", "Creation Date", 14, 154, 18},
    {"WaitingCaption", "Waiting for converting.", 0, 300, 12},
    {"FinishedCaption", "Convert Finished", 0, 300, 12},
};
INSTANTIATE_TEST_SUITE_P(ControlFonts, Fits, ::testing::ValuesIn(FitCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
