#include "platform/ControlFonts.h"

#include <QApplication>

#include <memory>

namespace {

struct FontPair {
    QFont normal;
    QFont bold;
};

std::unique_ptr<FontPair>& Pair()
{
    static std::unique_ptr<FontPair> pair;
    return pair;
}

int& HolderCount()
{
    static int count = 0;
    return count;
}

// Only the menu font's face, size, weight and slant are taken over, so that a desktop setting
// such as underline or strike-out on menus does not leak into the controls.
std::unique_ptr<FontPair> MakePair()
{
    const QFont menu = QApplication::font("QMenu");
    QFont normal;
    normal.setFamilies(menu.families());
    if (menu.pixelSize() > 0)
        normal.setPixelSize(menu.pixelSize());
    else
        normal.setPointSizeF(menu.pointSizeF());
    normal.setWeight(menu.weight());
    normal.setItalic(menu.italic());

    QFont bold = normal;
    bold.setWeight(QFont::Bold);
    return std::make_unique<FontPair>(FontPair{normal, bold});
}

const FontPair& CurrentPair()
{
    if (!Pair())
        Pair() = MakePair();
    return *Pair();
}

} // namespace

ControlFonts::ControlFonts()
{
    if (HolderCount()++ == 0)
        Pair() = MakePair();
}

ControlFonts::~ControlFonts()
{
    if (--HolderCount() == 0)
        Pair().reset();
}

const QFont& ControlFonts::Normal()
{
    return CurrentPair().normal;
}

const QFont& ControlFonts::Bold()
{
    return CurrentPair().bold;
}

void ControlFonts::Recreate()
{
    Pair() = MakePair();
}

int ControlFonts::Holders()
{
    return HolderCount();
}
