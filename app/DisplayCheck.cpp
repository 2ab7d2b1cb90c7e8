#include "app/DisplayCheck.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

// ":N" and "unix:N" name a local server whose socket can be looked for; other forms are
// trusted as they stand.
bool LocalXServerMissing(const QString& display)
{
    static const QRegularExpression local(QStringLiteral("^(unix)?:(\\d+)(\\.\\d+)?$"));
    const QRegularExpressionMatch match = local.match(display);
    return match.hasMatch() && !QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X") + match.captured(2));
}

} // namespace

QString MissingDisplayMessage()
{
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    const bool needsDisplay = platform.isEmpty() || platform.startsWith(QStringLiteral("xcb"))
        || platform.startsWith(QStringLiteral("wayland"));
    if (!needsDisplay)
        return {};
    const QString display = qEnvironmentVariable("DISPLAY");
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && !platform.startsWith(QStringLiteral("xcb"));
    if (wayland || (!display.isEmpty() && !LocalXServerMissing(display)))
        return {};
    const QString why = display.isEmpty() ? QStringLiteral("no display is set (DISPLAY is empty)")
                                          : QStringLiteral("the display %1 cannot be reached").arg(display);
    return QStringLiteral("quillary: %1, so the window cannot open; quillary-convert converts without a display, "
                          "or start the window under a virtual one: xvfb-run make run")
        .arg(why);
}
