#include "app/DialogUnits.h"

#include <QFontMetrics>

namespace {

int MulDiv(int value, int numerator, int denominator)
{
    return int((static_cast<long long>(value) * numerator * 2 + denominator) / (2LL * denominator));
}

} // namespace

CDialogUnits::CDialogUnits(const QFont& dialogFont)
{
    const QFontMetrics metrics(dialogFont);
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_baseX = (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
    m_baseY = metrics.height();
}

QRect CDialogUnits::MapDialogRect(int x, int y, int width, int height) const
{
    return QRect(MulDiv(x, m_baseX, 4), MulDiv(y, m_baseY, 8), MulDiv(width, m_baseX, 4), MulDiv(height, m_baseY, 8));
}

QSize CDialogUnits::MapDialogSize(int width, int height) const
{
    return MapDialogRect(0, 0, width, height).size();
}

QFont CDialogUnits::DialogFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    return font;
}
