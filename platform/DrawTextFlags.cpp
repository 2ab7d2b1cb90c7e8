#include "platform/DrawTextFlags.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRect>
#include <QString>

namespace {

int QtFlags(UINT format)
{
    int flags = 0;
    if (format & DT_CENTER)
        flags |= Qt::AlignHCenter;
    else if (format & DT_RIGHT)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;

    // GDI centres vertically only on single-line text; multi-line text starts at the top.
    if ((format & DT_SINGLELINE) && (format & DT_VCENTER))
        flags |= Qt::AlignVCenter;
    else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM))
        flags |= Qt::AlignBottom;
    else
        flags |= Qt::AlignTop;

    if (format & DT_SINGLELINE)
        flags |= Qt::TextSingleLine;
    else if (format & DT_WORDBREAK)
        flags |= Qt::TextWordWrap;
    if (format & DT_EXPANDTABS)
        flags |= Qt::TextExpandTabs;
    if (!(format & DT_NOPREFIX))
        flags |= Qt::TextShowMnemonic;
    if (format & DT_NOCLIP)
        flags |= Qt::TextDontClip;
    return flags;
}

QString ElideIfAsked(const QFontMetrics& metrics, const QString& text, int width, UINT format)
{
    if (format & DT_END_ELLIPSIS)
        return metrics.elidedText(text, Qt::ElideRight, width);
    if (format & DT_PATH_ELLIPSIS)
        return metrics.elidedText(text, Qt::ElideMiddle, width);
    if (format & DT_WORD_ELLIPSIS)
        return metrics.elidedText(text, Qt::ElideRight, width);
    return text;
}

} // namespace

QRect CalcTextRect(const QFontMetrics& metrics, const QString& text, const QRect& rect, UINT format)
{
    const int wrapWidth = (format & DT_WORDBREAK) && rect.width() > 0 ? rect.width() : 1 << 20;
    const QRect needed = metrics.boundingRect(QRect(rect.left(), rect.top(), wrapWidth, 1 << 20),
                                              QtFlags(format) & ~(Qt::AlignVCenter | Qt::AlignBottom), text);
    return QRect(rect.topLeft(), needed.size());
}

int DrawText(QPainter& painter, const QString& text, QRect& rect, UINT format)
{
    const int flags = QtFlags(format);
    const QFontMetrics metrics = painter.fontMetrics();

    if (format & DT_CALCRECT) {
        rect = CalcTextRect(metrics, text, rect, format);
        return rect.height();
    }

    const QString shown = ElideIfAsked(metrics, text, rect.width(), format);
    QRect drawn;
    painter.save();
    if (!(format & DT_NOCLIP))
        painter.setClipRect(rect, Qt::IntersectClip);
    painter.drawText(rect, flags, shown, &drawn);
    painter.restore();
    return drawn.height();
}
