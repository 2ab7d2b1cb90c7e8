#pragma once
// The folder chooser of Import Directory: an open-file dialog whose file-name box is replaced
// by a "Current Folder:" box that follows the folder being browsed and can be typed into.
// "&Select" accepts the typed folder, or the browsed one when the box is empty; a folder that
// does not exist can be created on the spot, parents included. GUI thread only.
#include "controls/FileDialog.h"

class QLineEdit;
class QPushButton;

constexpr int IDC_FOLDER_EDIT = 102;

class CSelectFolderDialog : public CFileDialog {
    Q_OBJECT
public:
    // showFileTypes: list the files of the filter (all files without one) beside the folders;
    // otherwise only folders are listed. An empty initialFolder starts where the last file
    // dialog of the program was left.
    CSelectFolderDialog(BOOL showFileTypes, const QString& initialFolder = QString(),
                        DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                        const QString& filter = QString(), QWidget* parent = nullptr);

    // The accepted folder, absolute, always ending with "/".
    QString GetSelectedFolder() const { return m_strSelectedFolder; }

public slots:
    void accept() override;

private:
    void AddFolderEdit();
    void FollowFolderChanges();
    void ShowFileTypes(bool show, bool hasFilter);
    bool AskToCreate(const QString& folder);
    int Message(const QString& text, int icon, int buttons);

    QString m_strSelectedFolder;
    QLineEdit* m_folderEdit = nullptr;
    QPushButton* m_selectButton = nullptr;
};
