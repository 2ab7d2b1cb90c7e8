#pragma once
// Every message of the program is a modal box with the application's title "Quillary" as its
// caption. GUI thread only; a worker asks the GUI thread to show one (see the batch run).
#include <QMessageBox>
#include <QString>

QMessageBox::StandardButton AppMessageBox(QWidget* parent, const QString& text,
                                          QMessageBox::Icon icon = QMessageBox::Warning,
                                          QMessageBox::StandardButtons buttons = QMessageBox::Ok);
