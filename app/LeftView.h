#pragma once
// The file-list pane: the list of input files, their check marks and passwords, the preview, and
// the controls of a run. The frame hands it every file-list command and asks it whether each is
// enabled. GUI thread only.
//
// Rows: row r of the grid (from 1; row 0 is the header) shows entry r, whose path is held in a
// list beside the grid; the same path (compared byte for byte) is never listed twice.
//
// A run converts the checked rows on a worker thread (see ConversionRun). The worker touches no
// widget: this pane reads the option tree for it on the GUI thread, keeps each row's passwords
// in a book the worker reads when the file's turn comes, shows its warnings, and shows its
// progress at most once per frame.
#include "conversion/ConversionRun.h"
#include "conversion/PasswordBook.h"
#include "platform/WinTypes.h"

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

class CLeftView : public QWidget {
    Q_OBJECT
public:
    static constexpr int GridId = 1021;
    // The preview shows at most this much of a file, so that a click on a file of 100 MB
    // answers at once.
    static constexpr std::size_t PreviewBytes = 128 * 1024;

    explicit CLeftView(QWidget* parent = nullptr);
    // Stops a run that is still going and waits for its current file (keeping events flowing).
    ~CLeftView() override;

    // The options pane whose rows a run reads back when it starts. Set once by the frame.
    void SetOptionsView(CRightView* view);

    bool IsCommandEnabled(int id) const;
    // Carries out a file-list command while it is enabled; commands of other panes are ignored.
    // Start Convert returns when its run has ended, dispatching events meanwhile.
    void OnCommand(int id);

    // Adds files as a drop or the command line does: duplicates are reported in one message.
    void AddEntries(const QStringList& paths);

    bool IsBusy() const { return m_busy; }
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
    int GetEntryCount() const { return int(m_paths.size()); }
    // The path of the entry shown in grid row `row` (from 1); empty for other rows.
    QString GetEntryPath(int row) const;

signals:
    // The worker has come to file `number` (from 1) of `count` and has read its passwords.
    // Sent from the event loop while the worker converts the file.
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
    friend class CRunBridge;

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
    bool HasDataRow() const { return !m_paths.empty(); }
    int LastSelectedRow() const;

    // Files (LeftView_Files.cpp).
    void OpenFiles();
    void ImportDirectory();
    // Adds each path that is not listed yet; returns the ones that were.
    QStringList AddPaths(const std::vector<std::string>& paths);
    void AppendRow(const std::string& path);
    void ReportDuplicates(const QStringList& duplicates);
    void RemoveSelected();
    void RemoveAll();
    enum CheckChange { Uncheck, Check, Toggle };
    void ChangeCheck(int row, CheckChange change);
    void ChangeAllChecks(CheckChange change);
    void OpenSelectedEntry(bool folder);
    void ShowPreview(int row);
    // Shows the file decoded as the options say, and remembers both for RefreshPreview.
    void PreviewFile(const std::string& path);
    // Decodes the file shown again when the options now decode it differently.
    void RefreshPreview();
    void ClearPreview();
    ConversionOptions PreviewOptions() const;
    LRESULT OnGridNotify(NMHDR& header);

    // Keys and the context menu (LeftView_Keys.cpp).
    bool IsCellEditor(const QObject* object) const;
    void ShowContextMenu(const QPoint& globalPos);

    // Runs (LeftView_Run.cpp).
    void StartConvert();
    void StopConvert();
    std::vector<RunEntry> CheckedEntries() const;
    // Served on the GUI thread for the worker, through CRunBridge.
    ConversionOptions OptionsForRun();
    void AnnounceFile(const ConversionRun* run);
    void KeepPasswords(int row);
    void WarnForRun(const QString& message);
    void OnProgressTold(const ConversionRun* run);
    void ApplyProgress();
    void OnRunFinished(const ConversionRun* run, const RunOutcome& outcome);
    void ReportRunProblems(const RunOutcome& outcome);

    CRightView* m_optionsView = nullptr;
    CGridCtrl* m_grid = nullptr;
    CPreviewEdit* m_preview = nullptr;
    std::map<int, CIconButton*> m_buttons;
    CPaneLabel* m_currentLabel = nullptr;
    CPaneLabel* m_totalLabel = nullptr;
    CTextProgressCtrl* m_currentBar = nullptr;
    CTextProgressCtrl* m_totalBar = nullptr;

    std::vector<std::string> m_paths; // entry r at index r - 1
    PasswordBook m_passwords;         // every listed path, with its row's passwords

    std::string m_previewPath;    // the file the preview shows, empty when it shows none
    std::string m_previewCharset; // the encoding it was decoded with

    bool m_busy = false;
    bool m_closing = false;
    std::shared_ptr<ConversionRun> m_run; // the latest run, until its worker has ended
    std::thread m_worker;
    int m_filesStarted = 0;
    bool m_barsShowRun = false; // the latest run's progress has replaced the earlier captions
    QTimer m_progressTimer;
};
