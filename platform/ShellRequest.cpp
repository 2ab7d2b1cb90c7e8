#include "platform/ShellRequest.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace {

ShellHandler& InstalledHandler()
{
    static ShellHandler handler;
    return handler;
}

// A target without a scheme is a path on this machine; the desktop opens only what exists,
// so a missing path is reported as the shell would report it.
int OpenWithDesktop(const QString& target)
{
    if (target.trimmed().isEmpty())
        return SE_ERR_FNF;
    const QUrl url = QUrl::fromUserInput(target);
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))
        return QFileInfo::exists(QFileInfo(url.toLocalFile()).path()) ? SE_ERR_FNF : SE_ERR_PNF;
    return QDesktopServices::openUrl(url) ? SHELL_SUCCESS : SE_ERR_NOASSOC;
}

} // namespace

int ShellExecute(const QString& verb, const QString& target)
{
    if (InstalledHandler())
        return InstalledHandler()(verb, target);
    // "explore" on a folder and "open" on a document both go to the desktop's default handler.
    return OpenWithDesktop(target);
}

void SetShellHandler(ShellHandler handler)
{
    InstalledHandler() = std::move(handler);
}
