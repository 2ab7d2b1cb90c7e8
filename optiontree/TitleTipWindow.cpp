#include "optiontree/TitleTipWindow.h"

#include <QFontMetrics>

TitleTipWindow::TitleTipWindow(bool bordered)
    : QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_bordered(bordered)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setTextFormat(Qt::PlainText);
    setAutoFillBackground(true);
    setContentsMargins(0, 0, 0, 0);
    setIndent(0);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setFrameShape(bordered ? QFrame::Box : QFrame::NoFrame);
    setLineWidth(1);
    m_timer.setInterval(CheckInterval);
    connect(&m_timer, &QTimer::timeout, this, &TitleTipWindow::Check);
}

void TitleTipWindow::ShowTip(const QString& text, const QRect& globalCover, const QFont& font,
                             const QColor& textColor, const QColor& backColor, std::function<bool()> keep)
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, textColor);
    colours.setColor(QPalette::Window, backColor);
    setPalette(colours);
    setFont(font);
    setText(text);

    const QFontMetrics metrics(font);
    const int frame = m_bordered ? 2 : 0;
    setGeometry(globalCover.x(), globalCover.y(), qMax(globalCover.width(), metrics.horizontalAdvance(text) + frame),
                qMax(globalCover.height(), metrics.height() + frame));
    show();
    raise();
    m_keep = std::move(keep);
    m_timer.start();
}

void TitleTipWindow::HideTip()
{
    m_timer.stop();
    m_keep = nullptr;
    hide();
}

void TitleTipWindow::Check()
{
    if (!m_keep || !m_keep())
        HideTip();
}
