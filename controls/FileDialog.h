#pragma once
// The common open/save file dialog, in the toolkit's own (non-native) form so that its parts
// can be adjusted and driven by tests. Takes the classic construction arguments: the OFN_*
// flags that mean something here, and a filter string of "description|patterns|" pairs ending
// in "||", patterns separated by ';'. GUI thread only.
#include "platform/FileFilters.h"

#include <QFileDialog>

class CFileDialog : public QFileDialog {
    Q_OBJECT
public:
    CFileDialog(BOOL openFileDialog, const QString& defaultExt = QString(),
                const QString& fileName = QString(), DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                const QString& filter = QString(), QWidget* parent = nullptr);

private:
    void FitDetailViewToText();
};
