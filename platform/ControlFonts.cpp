#include "platform/ControlFonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QRawFont>
#include <QtEndian>

#include <memory>

namespace {

const QString Tahoma = QStringLiteral("Tahoma");
const QString SansSerif = QStringLiteral("MS Sans Serif");
// Debian's fonts-wine puts its metric-compatible face here, outside the folders fontconfig
// indexes, so the program registers it itself. Its bold file has the bold advances but the
// regular outlines and would draw bold text thin; the font engine emboldens the regular face.
const QString WineTahoma = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");

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

QString ClassicFace()
{
    static bool looked = false;
    if (!looked && !QFontDatabase::hasFamily(Tahoma))
        QFontDatabase::addApplicationFont(WineTahoma);
    looked = true;
    return QFontDatabase::hasFamily(Tahoma) ? Tahoma : SansSerif;
}

// Only the menu font's weight and slant are taken over: its face and size on this platform are
// not those the controls were laid out for, and a desktop setting such as underline on menus
// must not leak into the controls.
std::unique_ptr<FontPair> MakePair()
{
    const QFont menu = QApplication::font("QMenu");
    QFont normal(ClassicFace());
    normal.setPointSize(ControlFonts::PointSize);
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

// How many character-height pixels one pixel of cell height stands for in face: the classic
// platform measures a cell by the face's "Windows" ascent and descent (OS/2 table), which can
// be taller than the line Qt lays out.
qreal CellPerCharacterHeight(const QFont& face)
{
    const QRawFont raw = QRawFont::fromFont(face);
    const QByteArray os2 = raw.fontTable("OS/2");
    constexpr int WinAscentOffset = 74;
    if (raw.isValid() && raw.unitsPerEm() > 0 && os2.size() >= WinAscentOffset + 4) {
        const quint16 ascent = qFromBigEndian<quint16>(os2.constData() + WinAscentOffset);
        const quint16 descent = qFromBigEndian<quint16>(os2.constData() + WinAscentOffset + 2);
        return (ascent + descent) / raw.unitsPerEm();
    }
    const QFontMetricsF metrics(face);
    return (metrics.ascent() + metrics.descent()) / qMax(1, QFontInfo(face).pixelSize());
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

QFont ControlFonts::AtHeight(int height, QFont::Weight weight)
{
    QFont font = Normal();
    font.setWeight(weight);
    const int characterHeight = height < 0 ? -height : qRound(height / CellPerCharacterHeight(font));
    font.setPixelSize(qMax(1, characterHeight));
    return font;
}

void ControlFonts::Recreate()
{
    Pair() = MakePair();
}

int ControlFonts::Holders()
{
    return HolderCount();
}
