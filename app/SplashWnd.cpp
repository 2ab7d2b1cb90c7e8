#include "app/SplashWnd.h"

#include "app/AppBitmaps.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QScreen>

CSplashWnd::CSplashWnd(QWidget* frame)
    : QWidget(frame, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_bitmap(AppBitmap(136))
    , m_frame(frame)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(m_bitmap.size());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CSplashWnd::HideSplashScreen);
    m_timer.start(kDisplayMs);
    qApp->installEventFilter(this);
}

CSplashWnd::~CSplashWnd()
{
    qApp->removeEventFilter(this);
}

void CSplashWnd::HideSplashScreen()
{
    qApp->removeEventFilter(this);
    m_timer.stop();
    close();
    if (m_frame)
        m_frame->repaint();
}

// A key first asks whether some widget wants it before shortcuts run (ShortcutOverride); the
// splash claims it, and the frame keeps its commands disabled while the splash is up, so that
// no accelerator runs and the press itself is swallowed here.
bool CSplashWnd::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
        HideSplashScreen();
        return true;
    default:
        return false;
    }
}

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter(this).drawPixmap(0, 0, m_bitmap);
}
