#pragma once
// The application object: it owns the conversion options and the settings path, lets one
// instance run per user, loads the settings, makes the main window and saves the settings at
// exit. A later start hands its file paths to the running instance, brings that window (and
// its open dialog) forward and ends. Made in main after the QApplication; GUI thread only.
#include "conversion/ConversionOptions.h"

#include <QObject>
#include <QByteArrayList>

#include <memory>
#include <string>
#include <vector>

class CMainFrame;
class SingleInstance;

class CConverterApp : public QObject {
    Q_OBJECT
public:
    // arguments as main received them, after the QApplication took its own: "--nologo" (or
    // "-nologo") turns the splash screen and the start-up tip off; other arguments are files to
    // add to the list, kept as bytes (a name need not be valid UTF-8).
    explicit CConverterApp(const std::vector<std::string>& arguments);
    ~CConverterApp() override;

    // The start-up steps. false: the process ends now (another instance runs, or the window
    // could not be made).
    bool InitInstance();
    // Saves the settings (when they were loaded); returns the exit code: 1 when they could not
    // be saved, or when another instance runs but did not answer, so that its window did not
    // come forward and the files of this start were not added; else 0.
    int ExitInstance();

    static CConverterApp* Instance();

    ConversionOptions& Options() { return m_options; }
    const std::string& GetSettingsPath() const { return m_settingsPath; }
    const std::string& GetExeDirectory() const { return m_exeDirectory; }
    CMainFrame* GetMainWnd() const { return m_pMainWnd.get(); }
    bool ShowSplash() const { return m_bShowSplash; }
    const QByteArrayList& StartPaths() const { return m_paths; }

private:
    void ParseCommandLine(const std::vector<std::string>& arguments);
    bool BringForward(const QByteArrayList& paths);
    void RunStartupTip();

    QString m_programName;
    bool m_bShowSplash = true;
    QByteArrayList m_paths;
    std::unique_ptr<SingleInstance> m_instance;
    std::string m_exeDirectory;
    std::string m_settingsPath;    // empty when there is no place for it (m_settingsProblem says why)
    std::string m_settingsProblem;
    bool m_bSettingsLoaded = false;
    int m_exitCode = 0;
    ConversionOptions m_options;
    std::unique_ptr<CMainFrame> m_pMainWnd;
};
