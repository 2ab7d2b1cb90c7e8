#include "controls/TextProgressCtrl.h"

#include "platform/DrawTextFlags.h"
#include "platform/SysColors.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cstring>
#include <utility>

CTextProgressCtrl::CTextProgressCtrl(QWidget* parent, DWORD style)
    : QWidget(parent)
    , m_dwStyle(style)
    , m_dwTextStyle(DT_CENTER | DT_VCENTER | DT_SINGLELINE)
{
}

LRESULT CTextProgressCtrl::SetRange(unsigned short lower, unsigned short upper)
{
    return SetRange32(lower, upper);
}

LRESULT CTextProgressCtrl::SetRange32(int lower, int upper)
{
    m_nMin = lower;
    m_nMax = upper;
    return 0;
}

int CTextProgressCtrl::GetRange(BOOL whichLimit, PBRANGE* range) const
{
    if (range) {
        range->iLow = m_nMin;
        range->iHigh = m_nMax;
    }
    return whichLimit ? m_nMin : m_nMax;
}

int CTextProgressCtrl::SetPos(int position)
{
    const int previous = m_nPos;
    m_nPos = position;
    if (FilledExtent() != m_nBarWidth)
        repaint();
    return previous;
}

int CTextProgressCtrl::OffsetPos(int delta)
{
    return SetPos(int(static_cast<unsigned>(m_nPos) + static_cast<unsigned>(delta)));
}

int CTextProgressCtrl::StepIt()
{
    return OffsetPos(m_nStepSize);
}

int CTextProgressCtrl::SetStep(int step)
{
    return std::exchange(m_nStepSize, step);
}

COLORREF CTextProgressCtrl::ReplaceColour(COLORREF& field, COLORREF colour)
{
    const COLORREF previous = std::exchange(field, colour);
    update();
    return previous;
}

COLORREF CTextProgressCtrl::SetBarColor(COLORREF colour)
{
    return ReplaceColour(m_crBarClr, colour);
}

COLORREF CTextProgressCtrl::SetBkColor(COLORREF colour)
{
    return ReplaceColour(m_crBgClr, colour);
}

COLORREF CTextProgressCtrl::SetTextColor(COLORREF colour)
{
    return ReplaceColour(m_crTextClr, colour);
}

void CTextProgressCtrl::SetShowText(BOOL show)
{
    if (bool(show) == bool(m_bShowText))
        return;
    m_bShowText = show;
    update();
}

void CTextProgressCtrl::SetWindowText(const QString& caption)
{
    if (caption == m_strText)
        return;
    m_strText = caption;
    update();
}

int CTextProgressCtrl::GetWindowText(char* buffer, int maxCount) const
{
    if (!buffer || maxCount <= 0)
        return 0;
    const QByteArray bytes = m_strText.toUtf8();
    int count = std::min<int>(bytes.size(), maxCount - 1);
    // Step back over continuation bytes so that the copy never ends inside a character.
    if (count < bytes.size()) {
        while (count > 0 && (static_cast<unsigned char>(bytes[count]) & 0xC0) == 0x80)
            --count;
    }
    std::memcpy(buffer, bytes.constData(), count);
    buffer[count] = '\0';
    return count;
}

void CTextProgressCtrl::resizeEvent(QResizeEvent* event)
{
    m_nBarWidth = -1;
    QWidget::resizeEvent(event);
}

// The done share of the range. A position outside the range (a new range set under an old
// position, say) shows as the nearer end: never a fill or a percentage the range cannot have.
double CTextProgressCtrl::Fraction() const
{
    return std::clamp((double(m_nPos) - m_nMin) / (double(m_nMax) - m_nMin), 0.0, 1.0);
}

// The pixels of the done part along the bar's length; 0 while the range is empty.
int CTextProgressCtrl::FilledExtent() const
{
    if (m_nMin >= m_nMax)
        return 0;
    const int length = (m_dwStyle & PBS_VERTICAL) ? height() : width();
    return int(Fraction() * length);
}

QString CTextProgressCtrl::ShownText() const
{
    if (!m_strText.isEmpty())
        return m_strText;
    return QString::asprintf("%d%%", int(Fraction() * 100));
}

COLORREF CTextProgressCtrl::EffectiveBarColor() const
{
    return m_crBarClr == DefaultColour ? GetSysColor(COLOR_HIGHLIGHT) : m_crBarClr;
}

COLORREF CTextProgressCtrl::EffectiveBkColor() const
{
    return m_crBgClr == DefaultColour ? GetSysColor(COLOR_WINDOW) : m_crBgClr;
}

void CTextProgressCtrl::paintEvent(QPaintEvent*)
{
    // An empty or reversed range has no fraction to show; the parent shows through.
    if (m_nMin >= m_nMax)
        return;
    m_nBarWidth = FilledExtent();
    const QRect client = rect();
    const int filled = std::clamp(m_nBarWidth, 0, (m_dwStyle & PBS_VERTICAL) ? client.height() : client.width());
    QRect done;
    QRect rest;
    if (m_dwStyle & PBS_VERTICAL) {
        done = QRect(client.left(), client.bottom() + 1 - filled, client.width(), filled);
        rest = QRect(client.left(), client.top(), client.width(), client.height() - filled);
    } else {
        done = QRect(client.left(), client.top(), filled, client.height());
        rest = QRect(client.left() + filled, client.top(), client.width() - filled, client.height());
    }
    QPainter painter(this);
    DrawBar(painter, done, rest);
    if (m_bShowText && !(m_dwStyle & PBS_VERTICAL))
        DrawCaption(painter, done, rest);
}

void CTextProgressCtrl::DrawBar(QPainter& painter, const QRect& done, const QRect& rest)
{
    painter.fillRect(done, ToQColor(EffectiveBarColor()));
    painter.fillRect(rest, ToQColor(EffectiveBkColor()));
}

void CTextProgressCtrl::DrawCaption(QPainter& painter, const QRect& done, const QRect& rest)
{
    const QString text = ShownText();
    const bool defaultText = m_crTextClr == DefaultColour;
    const struct {
        QRect clip;
        COLORREF colour;
    } passes[] = {
        {done, defaultText ? EffectiveBkColor() : m_crTextClr},
        {rest, defaultText ? EffectiveBarColor() : m_crTextClr},
    };
    painter.setFont(font());
    for (const auto& pass : passes) {
        if (pass.clip.isEmpty())
            continue;
        QRect bounds = rect();
        painter.setClipRect(pass.clip);
        painter.setPen(ToQColor(pass.colour));
        ::DrawText(painter, text, bounds, m_dwTextStyle);
    }
}
