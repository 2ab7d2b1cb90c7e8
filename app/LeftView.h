#pragma once
// The file-list pane: the list of input files, their check marks and passwords, the preview, and
// the controls of a run. The frame hands it every file-list command and asks it whether each is
// enabled. GUI thread only.
#include <QStringList>
#include <QWidget>

class CRightView;

class CLeftView : public QWidget {
    Q_OBJECT
public:
    explicit CLeftView(QWidget* parent = nullptr);
    ~CLeftView() override;

    // The options pane whose rows a run reads back when it starts. Set once by the frame.
    void SetOptionsView(CRightView* view);

    bool IsCommandEnabled(int id) const;
    // Carries out a file-list command; commands of other panes are ignored.
    void OnCommand(int id);

    // Adds files as a drop or the command line does: duplicates are reported in one message.
    void AddEntries(const QStringList& paths);

    bool IsBusy() const;
    // Blocks (keeping the window live) until the running worker has finished its current file;
    // returns at once when no run is going. The frame calls it after Stop Convert when closing.
    void WaitForRunEnd();
};
