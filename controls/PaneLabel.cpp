#include "controls/PaneLabel.h"

#include "platform/DrawTextFlags.h"
#include "platform/SysColors.h"

#include <QPainter>

CPaneLabel::CPaneLabel(const QString& text, QWidget* parent)
    : QWidget(parent)
    , m_strText(text)
{
}

void CPaneLabel::SetWindowText(const QString& text)
{
    if (text == m_strText)
        return;
    m_strText = text;
    update();
}

void CPaneLabel::SetFaceName(const QString& faceName)
{
    if (faceName == m_strFaceName)
        return;
    m_strFaceName = faceName;
    update();
}

void CPaneLabel::SetFontHeight(int height)
{
    if (height == m_nFontHeight)
        return;
    m_nFontHeight = height;
    update();
}

void CPaneLabel::Change(BOOL& field, BOOL value)
{
    if (bool(field) == bool(value))
        return;
    field = value;
    update();
}

void CPaneLabel::SetBold(BOOL bold) { Change(m_bBold, bold); }
void CPaneLabel::SetItalic(BOOL italic) { Change(m_bItalic, italic); }
void CPaneLabel::SetUnderline(BOOL underline) { Change(m_bUnderline, underline); }
void CPaneLabel::SetStrikeOut(BOOL strikeOut) { Change(m_bStrikeOut, strikeOut); }
void CPaneLabel::SetSmooth(BOOL smooth) { Change(m_bSmooth, smooth); }
void CPaneLabel::SetCentered(BOOL centered) { Change(m_bCenter, centered); }
void CPaneLabel::SetRightAligned(BOOL rightAligned) { Change(m_bRight, rightAligned); }

void CPaneLabel::SetTextColor(COLORREF colour)
{
    if (colour == m_crText)
        return;
    m_crText = colour;
    update();
}

void CPaneLabel::SetBkColor(COLORREF colour)
{
    if (colour == m_crBack)
        return;
    m_crBack = colour;
    update();
}

QFont CPaneLabel::CreatePaintFont() const
{
    QFont font(m_strFaceName);
    // The classic face is rarely installed; fall back to a sans-serif face, not to a serif one.
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(std::max(1, m_nFontHeight));
    font.setWeight(m_bBold ? QFont::Black : QFont::Normal);
    font.setItalic(m_bItalic);
    font.setUnderline(m_bUnderline);
    font.setStrikeOut(m_bStrikeOut);
    font.setStyleStrategy(m_bSmooth ? QFont::PreferAntialias : QFont::PreferDefault);
    return font;
}

UINT CPaneLabel::TextFormat() const
{
    UINT format = DT_WORDBREAK | DT_NOPREFIX;
    if (m_bCenter)
        format |= DT_CENTER;
    else if (m_bRight)
        format |= DT_RIGHT;
    return format;
}

void CPaneLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(m_crBack));
    painter.setFont(CreatePaintFont());
    painter.setPen(ToQColor(m_crText));
    QRect client = rect();
    DrawText(painter, m_strText, client, TextFormat());
}
