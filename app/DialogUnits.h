#pragma once
// Dialog layouts are given in dialog units: a quarter of the dialog font's average character
// width across, an eighth of its height down. This maps them to pixels, rounding to the
// nearest pixel. GUI thread only.
#include <QFont>
#include <QRect>

class CDialogUnits {
public:
    explicit CDialogUnits(const QFont& dialogFont);

    QRect MapDialogRect(int x, int y, int width, int height) const;
    QSize MapDialogSize(int width, int height) const;

    int BaseUnitX() const { return m_baseX; }
    int BaseUnitY() const { return m_baseY; }

    // The classic dialog font ("MS Sans Serif", 8 points), as the desktop maps it.
    static QFont DialogFont();

private:
    int m_baseX;
    int m_baseY;
};
