#pragma once
// The open-file dialog of Open File: any number of files can be chosen at once; each comes
// back as its folder, "/" and its name. GUI thread only.
#include "controls/FileDialog.h"

class CFECFileDialog : public CFileDialog {
    Q_OBJECT
public:
    CFECFileDialog(BOOL openFileDialog, const QString& defaultExt = QString(),
                   const QString& fileName = QString(),
                   DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_ALLOWMULTISELECT,
                   const QString& filter = QString(), QWidget* parent = nullptr);

    // Walks the chosen paths after the dialog closed with OK: start with GetStartPosition();
    // each GetNextPathName returns one path and advances position, which is -1 after the last
    // (and from the start when nothing was chosen).
    int GetStartPosition() const;
    QString GetNextPathName(int& position) const;

public slots:
    void done(int result) override;

private:
    QStringList m_paths; // taken when the dialog closes with OK
};
