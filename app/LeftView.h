#pragma once
// The file-list pane: the list of input files, their check marks and passwords, the preview, and
// the controls of a run. The frame hands it every file-list command and asks it whether each is
// enabled. GUI thread only.
//
// Rows: row r of the grid (from 1; row 0 is the header) shows entry r - 1 of the file list
// (CFileListModel); the same path (compared byte for byte) is never listed twice.
//
// A run converts the checked rows on a worker thread; its lifecycle, and the map of who owns
// and waits for what, are in CRunLifecycle. This pane carries out the lifecycle's actions, reads
// the option tree for the worker, shows its warnings and its progress at most once per frame.
#include "app/FileListModel.h"
#include "app/PendingNotice.h"
#include "app/RunBridge.h"
#include "app/RunLifecycle.h"
#include "conversion/ConversionRun.h"
#include "platform/WinTypes.h"

#include <QByteArrayList>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class CGridCtrl;
class CIconButton;
class CPaneLabel;
class CPreviewEdit;
class CRightView;
class CTextProgressCtrl;
struct NMHDR;
class QKeyEvent;

class CLeftView : public QWidget {
    Q_OBJECT
public:
    static constexpr int GridId = 1021;
    // The preview shows at most this much of a file, so that a click on a file of 100 MB
    // answers at once.
    static constexpr std::size_t PreviewBytes = 128 * 1024;

    explicit CLeftView(QWidget* parent = nullptr);
    // Stops a run that is still going and waits for its current file (keeping events flowing);
    // nothing of that run is shown any more.
    ~CLeftView() override;

    // The options pane whose rows a run reads back when it starts. Set once by the frame.
    void SetOptionsView(CRightView* view);

    bool IsCommandEnabled(int id) const;
    // Carries out a file-list command while it is enabled; commands of other panes are ignored.
    // Start Convert returns when its run has ended, dispatching events meanwhile; a Start while
    // a stopped worker finishes its file is queued and returns at once.
    void OnCommand(int id);

    // Adds files as a drop or the command line does: duplicates, and files that do not exist,
    // are reported in one message; while a notice is open, later ones join the next.
    void AddEntries(const QStringList& paths);
    // The same for paths given as the file system's bytes, which need not be valid UTF-8.
    void AddEntriesByName(const QByteArrayList& paths);
    // Files named on the command line: added as AddEntriesByName adds them, and what it passes
    // over (a folder, a name that does not end in txt) is listed in the same message.
    void AddNamedEntries(const QByteArrayList& paths);

    bool IsBusy() const { return m_lifecycle.IsBusy(); }
    // Blocks (keeping the window live) until the running worker has finished its current file;
    // returns at once when no run is going. The frame calls it after Stop Convert when closing.
    void WaitForRunEnd();

    // The pane's parts, for the frame and the tests.
    CGridCtrl* GetGrid() const { return m_grid; }
    CPreviewEdit* GetPreview() const { return m_preview; }
    CTextProgressCtrl* GetCurrentBar() const { return m_currentBar; }
    CTextProgressCtrl* GetTotalBar() const { return m_totalBar; }
    // The icon button that sends command id, or nullptr.
    CIconButton* GetButton(int id) const;
    int GetEntryCount() const { return m_files.Count(); }
    // The path of the entry shown in grid row `row` (from 1); empty for other rows.
    QString GetEntryPath(int row) const;

signals:
    // The worker has come to file `number` (from 1) of `count`. Sent from the event loop while
    // the worker converts the file.
    void FileStarted(int number, int count);
    // A run's worker has ended and the pane has shown how it ended.
    void RunEnded();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr UINT LeftFormat = 0x8824;  // DT_LEFT | DT_VCENTER | DT_SINGLELINE | ...
    static constexpr UINT CentreFormat = 0x8825;
    static constexpr UINT RightFormat = 0x8826;
    static constexpr int RowHeight = 18;
    static constexpr int OwnerColumn = 4;
    static constexpr int UserColumn = 5;
    static QString WaitingCaption() { return QStringLiteral("Waiting for converting."); }

    // Creation and layout (LeftView.cpp).
    void CreateGrid();
    void BuildGridHeader();
    void CreateButtons();
    void CreateRunControls();
    void LayoutControls();
    void ResetBars(const QString& caption);
    void SetRunButtonsEnabled(bool enabled);
    bool HasDataRow() const { return m_files.Count() > 0; }
    int LastSelectedRow() const;
    // Gives a list without a current row its first row as the current, selected one, so that
    // the keyboard has a row to move from and Space a row to tick.
    void EnsureCurrentRow();

    // Files (LeftView_Files.cpp).
    void OpenFiles();
    void ImportDirectory();
    // Adds each path that is not listed yet; one notice names the ones that were, and the
    // files that do not exist.
    void AddPaths(const std::vector<std::string>& paths);
    enum RowAdded { RowNotAdded, RowOfFile, RowOfMissingFile };
    RowAdded AppendRow(const std::string& path);
    // Shows the pending notice, unless a notice is open: the pending one then follows it.
    void ShowNotices();
    void RemoveSelected();
    void RemoveAll();
    enum CheckChange { Uncheck, Check, Toggle };
    void ChangeCheck(int row, CheckChange change);
    // The grid ticks a box on a click without telling: the list takes the row's tick then.
    void KeepCheck(int row);
    void ChangeAllChecks(CheckChange change);
    void OpenSelectedEntry(bool folder);
    void ShowPreview(int row);
    // Shows the file decoded as the options say, and remembers both for RefreshPreview.
    void PreviewFile(const std::string& path);
    // Follows the options' tab size, and decodes the file shown again when the options now
    // decode it differently.
    void RefreshPreview();
    void ClearPreview();
    ConversionOptions PreviewOptions() const;
    LRESULT OnGridNotify(NMHDR& header);

    // Keys and the context menu (LeftView_Keys.cpp).
    bool IsCellEditor(const QObject* object) const;
    // Gives the control the key whose command has run, without the pane seeing it again.
    void PassKeyOn(QWidget* control, QKeyEvent* key);
    void ShowContextMenu(const QPoint& globalPos);

    // Runs (LeftView_Run.cpp).
    void StartConvert();
    // Asks the lifecycle, carries out its answer and returns it; `outcome` is the ended run's,
    // for WorkerEnded.
    CRunLifecycle::Action Ask(CRunLifecycle::Command command, const RunOutcome* outcome = nullptr);
    void LaunchRun();
    void ShowStopped();
    void FinishRun(const RunOutcome& outcome, bool show);
    CRunBridge::Handlers BridgeHandlers(const ConversionRun* run);
    void KeepPasswords(int row);
    void WarnForRun(const QString& message);
    bool ConfirmForRun(const QString& message);
    void ApplyProgress();
    void ShowRunEnd(const RunOutcome& outcome, bool stopped);
    void ReportRunProblems(const RunOutcome& outcome);
    void OpenRunResult(const RunOutcome& outcome);

    CRightView* m_optionsView = nullptr;
    CGridCtrl* m_grid = nullptr;
    CPreviewEdit* m_preview = nullptr;
    std::map<int, CIconButton*> m_buttons;
    CPaneLabel* m_currentLabel = nullptr;
    CPaneLabel* m_totalLabel = nullptr;
    CTextProgressCtrl* m_currentBar = nullptr;
    CTextProgressCtrl* m_totalBar = nullptr;

    CFileListModel m_files;
    CPendingNotice m_pendingNotice; // notice lines waiting for the open notice to close
    bool m_noticeOpen = false;
    bool m_passingKeyOn = false;

    std::string m_previewPath;    // the file the preview shows, empty when it shows none
    std::string m_previewCharset; // the encoding it was decoded with

    CRunLifecycle m_lifecycle;
    std::shared_ptr<ConversionRun> m_run; // the latest run, until its worker's end is handled
    std::thread m_worker;
    bool m_barsShowRun = false; // the latest run's progress has replaced the earlier captions
    QTimer m_progressTimer;
};
