#pragma once
// The common open/save file dialog, in the toolkit's own (non-native) form so that its parts
// can be adjusted and driven by tests. Takes the classic construction arguments: the OFN_*
// flags that mean something here, and a filter string of "description|patterns|" pairs ending
// in "||", patterns separated by ';'. GUI thread only.
#include "platform/WinTypes.h"

#include <QFileDialog>

constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;

class CFileDialog : public QFileDialog {
    Q_OBJECT
public:
    CFileDialog(BOOL openFileDialog, const QString& defaultExt = QString(),
                const QString& fileName = QString(), DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                const QString& filter = QString(), QWidget* parent = nullptr);

    // "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||" -> {"Text Files (*.txt)", "All Files (*)"}.
    // "*.*" becomes "*", which matches names without a dot too, as it does on the classic desktop.
    static QStringList NameFilters(const QString& filter);
};
