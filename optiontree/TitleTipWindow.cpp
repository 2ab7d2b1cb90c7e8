#include "optiontree/TitleTipWindow.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

TitleTipWindow::TitleTipWindow(Frame frame)
    : QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowTransparentForInput)
    , m_frame(frame)
{
    // The tip opens under the pointer. Were it to take the pointer, the window beneath would
    // be told the pointer left, and that hides the tip at once.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setTextFormat(Qt::PlainText);
    setAutoFillBackground(true);
    setContentsMargins(0, 0, 0, 0);
    setIndent(0);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setFrameShape(frame == Frame::Bordered ? QFrame::Box : QFrame::NoFrame);
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
    const int frame = m_frame == Frame::Bordered ? 2 : 0;
    QRect tip(globalCover.topLeft(), QSize(qMax(globalCover.width(), metrics.horizontalAdvance(text) + frame),
                                           qMax(globalCover.height(), metrics.height() + frame)));
    // A tip that would run off the screen's right edge moves left, so all of the text can be read.
    if (const QScreen* screen = QGuiApplication::screenAt(globalCover.topLeft())) {
        const QRect room = screen->availableGeometry();
        if (tip.right() > room.right())
            tip.moveRight(qMax(room.right(), room.left() + tip.width() - 1));
    }
    setGeometry(tip);
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
