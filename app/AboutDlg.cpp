#include "app/AboutDlg.h"

#include "app/AppBitmaps.h"
#include "app/DialogUnits.h"
#include "app/MenuResources.h"
#include "controls/LinkLabel.h"
#include "platform/SysColors.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace {

CPaneLabel* AddLabel(QWidget* parent, const QString& text, const QRect& rect)
{
    auto* label = new CPaneLabel(text, parent);
    label->setGeometry(rect);
    return label;
}

CLinkLabel* AddLink(QWidget* parent, const QString& text, const QString& url, const QRect& rect)
{
    auto* link = new CLinkLabel(text, url, parent);
    link->SetTextColor(RGB(0, 0, 255));
    link->setGeometry(rect);
    link->PositionWindow();
    link->setCursor(Qt::PointingHandCursor);
    return link;
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    const QString title = QString::fromLatin1(kWindowTitle);
    setWindowTitle(title);
    const QFont font = CDialogUnits::DialogFont();
    setFont(font);
    const CDialogUnits units(font);
    setFixedSize(units.MapDialogSize(200, 72));

    auto* icon = new QLabel(this);
    icon->setPixmap(AppBitmap(128));
    icon->setGeometry(units.MapDialogRect(11, 10, 24, 24));
    icon->setAttribute(Qt::WA_TransparentForMouseEvents);

    CPaneLabel* name = AddLabel(this, title, units.MapDialogRect(45, 10, 145, 10));
    name->SetBold(TRUE);
    AddLabel(this, QStringLiteral("Converts plain-text files into PDF documents."), units.MapDialogRect(45, 22, 150, 10));
    AddLabel(this, QStringLiteral("Website:"), units.MapDialogRect(45, 40, 38, 10));
    m_webLink = AddLink(this, QString::fromLatin1(kHomePage), QString::fromLatin1(kHomePage), units.MapDialogRect(85, 40, 110, 10));
    AddLabel(this, QStringLiteral("Support:"), units.MapDialogRect(45, 53, 38, 10));
    const QString mail = QString::fromLatin1(kSupportMail);
    m_supportLink = AddLink(this, mail, QStringLiteral("mailto:") + mail, units.MapDialogRect(85, 53, 110, 10));
}

void CAboutDlg::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), ToQColor(PANE_COLOR));
}

// A press on a link is the link's: it opens the address when the button is released there.
void CAboutDlg::mousePressEvent(QMouseEvent* event)
{
    const bool closingButton = event->button() == Qt::LeftButton || event->button() == Qt::RightButton;
    if (closingButton && !qobject_cast<CLinkLabel*>(childAt(event->position().toPoint()))) {
        accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

void CAboutDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
