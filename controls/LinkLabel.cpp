#include "controls/LinkLabel.h"

#include "platform/ShellRequest.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QMessageBox>
#include <QMouseEvent>

#include <cmath>

namespace {

struct ShellError {
    int result;
    const char* text;
};

constexpr ShellError kShellErrors[] = {
    {0, "The operating system is out\nof memory or resources."},
    {2, "The specified file was not found."},
    {3, "The specified path was not found."},
    {5, "The operating system denied\naccess to the specified file."},
    {8, "There was not enough memory to complete the operation."},
    {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {26, "A sharing violation occurred. "},
    {27, "The filename association is\nincomplete or invalid."},
    {28, "The DDE transaction could not\nbe completed because the request timed out."},
    {29, "The DDE transaction failed."},
    {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
    {31, "There is no application associated\nwith the given filename extension."},
    {32, "The specified dynamic-link library was not found."},
};

QString ShellErrorText(int result)
{
    for (const ShellError& error : kShellErrors) {
        if (error.result == result)
            return QString::fromLatin1(error.text);
    }
    return QString::asprintf("Unknown Error (%d) occurred.", result);
}

} // namespace

CLinkLabel::CLinkLabel(const QString& text, const QString& url, QWidget* parent)
    : CPaneLabel(text.isEmpty() ? url : text, parent)
{
    SetUnderline(TRUE);
    SetURL(url.isEmpty() ? text : url);
}

void CLinkLabel::SetURL(const QString& url)
{
    m_strURL = url;
    if (m_bAdjustToFit)
        PositionWindow();
    setToolTip(m_strURL);
}

void CLinkLabel::SetVisited(BOOL visited)
{
    m_bVisited = visited;
    update();
}

void CLinkLabel::PositionWindow()
{
    const QSizeF extent = QFontMetricsF(CreatePaintFont()).size(0, GetWindowText());
    const int width = int(std::ceil(extent.width()));
    const int height = int(std::ceil(extent.height()));
    const QRect old = geometry();
    int left = old.left();
    if (IsCentered())
        left = old.left() + old.width() / 2 - width / 2;
    else if (IsRightAligned())
        left = old.left() + old.width() - width;
    const int top = m_bCenterImage ? old.top() + old.height() / 2 - height / 2 : old.top();
    setGeometry(left, top, width, height);
}

void CLinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        FollowLink();
    CPaneLabel::mouseReleaseEvent(event);
}

void CLinkLabel::FollowLink()
{
    const int result = ShellExecute(QStringLiteral("open"), m_strURL);
    if (result > 32) {
        SetVisited(TRUE);
        return;
    }
    QApplication::beep();
    QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(),
                    QStringLiteral("Unable to open hyperlink:\n\n") + ShellErrorText(result),
                    QMessageBox::Ok, this);
    box.exec();
}
