#pragma once
// The file dialog of a path row: a non-native QFileDialog set up from a Win32-style filter
// ("description|pattern|..." pairs, patterns separated by ';') and dialog flags.
//
// Tests replace the modal run with SetRunner, which receives the prepared dialog and returns
// QDialog::Accepted or Rejected as exec() would. GUI thread only.
#include "platform/FileFilters.h"

#include <QStringList>

#include <functional>

class QFileDialog;
class QWidget;

class COptionTreePathDialog {
public:
    using Runner = std::function<int(QFileDialog& dialog)>;
    // Replaces how every path dialog is run; an empty runner restores exec().
    static void SetRunner(Runner runner);

    // Runs the dialog over owner, starting at initialFile. Returns the chosen files, absolute
    // (several only with OFN_ALLOWMULTISELECT); empty when cancelled.
    static QStringList Run(QWidget* owner, const QString& initialFile, bool openDialog, const QString& filter,
                    const QString& defaultExtension, DWORD flags);
};
