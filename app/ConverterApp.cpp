#include "app/ConverterApp.h"

#include "app/AppBitmaps.h"
#include "app/AppMessageBox.h"
#include "app/MainFrame.h"
#include "app/MenuResources.h"
#include "app/SplashWnd.h"
#include "app/TipDlg.h"
#include "app/WindowPlace.h"
#include "conversion/SettingsFile.h"
#include "conversion/SettingsLocation.h"
#include "menubar/MenuXP.h"
#include "platform/ControlFonts.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>

#include <cerrno>
#include <filesystem>
#include <cstdio>
#include <cstring>

namespace {

CConverterApp*& TheApp()
{
    static CConverterApp* app = nullptr;
    return app;
}

bool IsNoLogo(const std::string& argument)
{
    const QByteArray lower = QByteArray::fromStdString(argument).toLower();
    return lower == "--nologo" || lower == "-nologo";
}

void CentreOnScreen(QWidget& window)
{
    if (const QScreen* screen = window.screen()) {
        window.move(CentredWindowPlace(window.frameGeometry(), screen->availableGeometry()));
    }
}

} // namespace

CConverterApp::CConverterApp(const std::vector<std::string>& arguments)
    : m_programName(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName())
{
    TheApp() = this;
    QCoreApplication::setApplicationName(QString::fromLatin1(kAppTitle));
    ParseCommandLine(arguments);
}

CConverterApp::~CConverterApp()
{
    m_pMainWnd.reset();
    TheApp() = nullptr;
}

CConverterApp* CConverterApp::Instance()
{
    return TheApp();
}

void CConverterApp::ParseCommandLine(const std::vector<std::string>& arguments)
{
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        std::error_code error;
        if (IsNoLogo(argument))
            m_bShowSplash = false;
        else if (argument.starts_with('-'))
            std::fprintf(stderr, "quillary: unknown option %s ignored\n", argument.c_str());
        else if (const auto path = std::filesystem::absolute(argument, error); !error)
            m_paths << QByteArray::fromStdString(path.lexically_normal().string());
    }
}

bool CConverterApp::InitInstance()
{
    m_instance = std::make_unique<SingleInstance>(m_programName);
    if (!m_instance->TryLock()) {
        m_exitCode = m_instance->AskFirst(m_paths) ? 0 : 1;
        return false;
    }
    m_instance->Listen([this](const QByteArrayList& paths) { return BringForward(paths); });

    InstallMenuHook();
    // Every window of the program uses the controls' font, whose metrics the fixed pixel sizes
    // of the panes and dialogs were made for.
    QApplication::setFont(ControlFonts::Normal());
    m_exeDirectory = ExeDirectory();
    const SettingsLocation settings = LocateSettings();
    m_settingsPath = settings.path;
    m_settingsProblem = settings.problem;
    const std::string settingsWarning = LoadSettings(m_options, m_settingsPath);
    m_bSettingsLoaded = true;
    if (!settingsWarning.empty())
        AppMessageBox(nullptr, QString::fromStdString(settingsWarning) + '.');

    m_pMainWnd = std::make_unique<CMainFrame>(
        m_options, CMainFrame::Settings{m_exeDirectory, m_settingsPath, m_programName, m_bShowSplash});
    if (!m_pMainWnd->Create())
        return false;
    m_pMainWnd->setWindowTitle(QString::fromLatin1(kWindowTitle));
    m_pMainWnd->setWindowIcon(QIcon(AppBitmap(128)));
    // Centred before it is mapped too, so that the window manager places it there at once and
    // a dialog shown right after (the start-up tip) is centred on where the window really is.
    CentreOnScreen(*m_pMainWnd);
    m_pMainWnd->showNormal();
    CentreOnScreen(*m_pMainWnd);
    m_pMainWnd->repaint();
    if (CSplashWnd* splash = m_pMainWnd->GetSplash()) {
        splash->show();
        splash->raise();
    }
    m_pMainWnd->AddEntries(m_paths);
    RunStartupTip();
    return true;
}

void CConverterApp::RunStartupTip()
{
    if (!m_bShowSplash)
        return;
    CTipDlg tip(m_exeDirectory, m_settingsPath, m_pMainWnd.get());
    if (tip.GetShowAtStartup())
        tip.exec();
}

// The request is answered only once the frame exists and carries its mark; paths are added
// after the answer, so that a message about them does not hold the other instance up.
bool CConverterApp::BringForward(const QByteArrayList& paths)
{
    CMainFrame* frame = m_pMainWnd.get();
    if (!frame || frame->property(m_programName.toUtf8().constData()).toInt() != 1)
        return false;
    if (frame->isMinimized())
        frame->showNormal();
    frame->raise();
    frame->activateWindow();
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
    if (!paths.isEmpty())
        QTimer::singleShot(0, frame, [frame, paths] { frame->AddEntries(paths); });
    return true;
}

int CConverterApp::ExitInstance()
{
    // A start that ended before the settings were read must not overwrite them.
    if (!m_bSettingsLoaded)
        return m_exitCode;
    if (m_settingsPath.empty()) {
        AppMessageBox(nullptr, QStringLiteral("The settings could not be saved: %1.")
                                   .arg(QString::fromStdString(m_settingsProblem)));
        return 1;
    }
    errno = 0;
    if (MakeSettingsFolder(m_settingsPath) && SaveSettings(m_options, m_settingsPath))
        return 0;
    const int error = errno;
    const QString reason = error ? QString::fromLocal8Bit(std::strerror(error)) : QStringLiteral("unknown error");
    AppMessageBox(nullptr, QStringLiteral("The settings could not be saved to %1:\n%2.")
                               .arg(QString::fromStdString(m_settingsPath), reason));
    return 1;
}
