#include "grid/GridDefaultCell.h"

#include "platform/DrawTextFlags.h"

#include <QApplication>
#include <QFontMetrics>

const GridCellClass CGridDefaultCell::Class = {
    "CGridDefaultCell", &CGridCell::Class, &CreateCellOf<CGridDefaultCell>};

CGridDefaultCell::CGridDefaultCell()
{
    SetFormat(DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    const QFont messageBoxFont = qApp ? QApplication::font("QMessageBox") : QFont();
    SetFont(messageBoxFont);
}

void CGridDefaultCell::SetFont(const std::optional<QFont>& font)
{
    // A default cell always has a font.
    if (!font)
        return;
    m_DefaultFont = *font;
    // Without an application there is no font engine to measure with.
    if (!qApp) {
        SetMargin(3);
        m_nWidth = 40;
        m_nHeight = 16;
        return;
    }
    const QFontMetrics metrics(m_DefaultFont);
    const QString sample = QStringLiteral(" XXXXXXXXXXXX ");
    SetMargin(UINT(metrics.horizontalAdvance(QLatin1Char(' '))));
    m_nWidth = metrics.horizontalAdvance(sample);
    m_nHeight = metrics.height() * 3 / 2;
}
