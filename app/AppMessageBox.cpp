#include "app/AppMessageBox.h"

#include "app/MenuResources.h"

QMessageBox::StandardButton AppMessageBox(QWidget* parent, const QString& text,
                                          QMessageBox::Icon icon,
                                          QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, QString::fromLatin1(kAppTitle), text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
