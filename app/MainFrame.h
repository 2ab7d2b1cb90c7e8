#pragma once
// The main window: the cool bar with the menu bar at the top, and a splitter with the file-list
// pane (left, 640 pixels and never narrower) and the options pane. It owns the command of every
// menu item and accelerator: file-list commands, and the question whether each is enabled, go
// to the file-list pane; the Help commands, Reset All Options and Exit are carried out here.
// Closing the window asks a running conversion to stop and waits until its current file is
// finished. GUI thread only.
#include <QMainWindow>
#include <QByteArrayList>
#include <QPointer>

#include <functional>
#include <map>
#include <string>

struct ConversionOptions;
class CCustomCoolBar;
class CLeftView;
class CMenuBar;
class CRightView;
class CSplashWnd;
class QAction;
class QMenu;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    struct Settings {
        std::string exeDirectory;  // with a trailing separator
        std::string settingsPath;
        QString instanceProperty;  // the window property the single-instance check looks for
        bool showSplash = true;
    };

    // The options must outlive the frame.
    CMainFrame(ConversionOptions& options, Settings settings);
    ~CMainFrame() override;

    // The frame's creation steps; false when a part of the window could not be made.
    bool Create();

    // Where the file-list commands go; the file-list pane unless replaced.
    struct FileListCommands {
        std::function<bool(int id)> isEnabled;
        std::function<void(int id)> run;
        std::function<void()> waitForRunEnd;
    };
    void SetFileListCommands(FileListCommands commands);
    static bool IsFileListCommand(int id);

    bool IsCommandEnabled(int id) const;
    // Carries out a command when it is enabled (menus, accelerators and tests come here).
    void OnCommand(int id);
    // Sets every command's enabled state from IsCommandEnabled.
    void UpdateCommandUI();

    // Adds paths to the file list (command line, a second start).
    void AddEntries(const QByteArrayList& paths);

    QAction* GetCommandAction(int id) const;
    QMenu* GetMainMenu() const { return m_menu; }
    CMenuBar* GetMenuBar() const;
    CLeftView* GetLeftView() const { return m_pLeftView; }
    CRightView* GetRightView() const { return m_pRightView; }
    // The splash screen while it is up, else null.
    CSplashWnd* GetSplash() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    bool CreateClientArea();
    void OnManual();
    void OnResetAllOptions();
    void OnShowTip();
    void OnTellToFriend();

    ConversionOptions& m_options;
    const Settings m_settings;
    QMenu* m_menu = nullptr;
    std::map<int, QAction*> m_actions;
    CCustomCoolBar* m_wndCoolBar = nullptr;
    CLeftView* m_pLeftView = nullptr;
    CRightView* m_pRightView = nullptr;
    QPointer<CSplashWnd> m_splash;
    FileListCommands m_fileList;
};
