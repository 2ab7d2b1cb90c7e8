#include "controls/IconButton.h"

#include "platform/SysColors.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

// The icons live in the controls library's resources; a static library's resource initialiser
// is only linked in when something calls it.
static void LoadIconResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)loaded;
}

CIconButton::CIconButton(QWidget* parent)
    : QPushButton(parent)
{
    setMouseTracking(true);
}

BOOL CIconButton::SetIcon(UINT iconId)
{
    LoadIconResources();
    const QImage icon(QStringLiteral(":/icons/%1.png").arg(iconId));
    SetIcon(icon);
    return !icon.isNull();
}

void CIconButton::SetIcon(const QImage& icon)
{
    m_icon = QPixmap::fromImage(icon);
    m_disabledIcon = QPixmap::fromImage(Darkened(icon));
    updateGeometry();
    update();
}

QImage CIconButton::Darkened(const QImage& icon)
{
    QImage dark = icon.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < dark.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(dark.scanLine(y));
        for (int x = 0; x < dark.width(); ++x) {
            const QRgb p = line[x];
            if ((p & RGB_MASK) != 0)
                line[x] = qRgba(qRed(p) * 3 / 4, qGreen(p) * 3 / 4, qBlue(p) * 3 / 4, qAlpha(p));
        }
    }
    return dark;
}

void CIconButton::SetTooltipText(const QString& text, BOOL activate)
{
    if (text.isNull())
        return;
    setToolTip(activate ? text : QString());
}

void CIconButton::DrawTransparent(BOOL repaint)
{
    m_bDrawTransparent = true;
    if (repaint)
        update();
}

QSize CIconButton::sizeHint() const
{
    return m_icon.size() + QSize(2 * m_ptMargin.x(), 2 * m_ptMargin.y());
}

void CIconButton::SetHot(bool hot)
{
    if (hot == m_bMouseOnButton)
        return;
    m_bMouseOnButton = hot;
    update();
}

void CIconButton::mouseMoveEvent(QMouseEvent* event)
{
    QPushButton::mouseMoveEvent(event);
    // A drag that started elsewhere does not light the button up.
    if ((event->buttons() & Qt::LeftButton) && !m_bMouseOnButton)
        return;
    SetHot(isEnabled() && rect().contains(event->position().toPoint()));
}

void CIconButton::leaveEvent(QEvent* event)
{
    SetHot(false);
    QPushButton::leaveEvent(event);
}

void CIconButton::focusOutEvent(QFocusEvent* event)
{
    SetHot(false);
    QPushButton::focusOutEvent(event);
}

void CIconButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        SetHot(false);
    else if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        SetHot(false);
    QPushButton::changeEvent(event);
}

void CIconButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_bDrawTransparent)
        painter.fillRect(rect(), ToQColor(GetSysColor(COLOR_BTNFACE)));
    DrawBorder(painter);
    DrawIcon(painter);
}

void CIconButton::DrawBorder(QPainter& painter)
{
    const bool pressed = isDown();
    if (!pressed && !m_bMouseOnButton)
        return;
    const QColor shadow = ToQColor(GetSysColor(COLOR_BTNSHADOW));
    const QColor light = ToQColor(GetSysColor(COLOR_BTNHIGHLIGHT));
    const QColor topLeft = pressed ? shadow : light;
    const QColor bottomRight = pressed ? light : shadow;
    const QRect r = rect();
    painter.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), topLeft);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), topLeft);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
}

void CIconButton::DrawIcon(QPainter& painter)
{
    const QPixmap& icon = isEnabled() ? m_icon : m_disabledIcon;
    if (icon.isNull())
        return;
    QPoint topLeft((width() - icon.width()) / 2, (height() - icon.height()) / 2);
    if (isDown())
        topLeft += m_ptPressedOffset;
    painter.drawPixmap(topLeft, icon);
}
