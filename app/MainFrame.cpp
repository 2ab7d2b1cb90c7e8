#include "app/MainFrame.h"

#include "app/AboutDlg.h"
#include "app/AppMessageBox.h"
#include "app/CommandIds.h"
#include "app/LeftView.h"
#include "app/MenuResources.h"
#include "app/RightView.h"
#include "app/SplashWnd.h"
#include "app/TipDlg.h"
#include "controls/PaneSplitter.h"
#include "conversion/ConversionOptions.h"
#include "menubar/CustomCoolBar.h"
#include "menubar/MenuBar.h"
#include "menubar/MenuXP.h"
#include "platform/ShellRequest.h"
#include "platform/SysColors.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QPainter>
#include <QWindow>

#include <algorithm>

namespace {

constexpr int kPaneWidth = 640;
constexpr QSize kMinimumSize(930, 565);

constexpr int kFileListCommands[] = {
    CmdOpenFile, CmdImportDirectory, CmdOpenFileDirectory, CmdOpenWithAssociatedApp,
    CmdRemoveAll, CmdRemoveSelected, CmdSelectCurrentItem, CmdSelectAllItems,
    CmdClearAllSelected, CmdInvertSelect, CmdStartConvert, CmdStopConvert,
};

QKeySequence AcceleratorOf(int id)
{
    for (const AcceleratorDef& accelerator : AcceleratorTable128()) {
        if (accelerator.id == id)
            return accelerator.key;
    }
    return {};
}

QString TellToFriendMail()
{
    const QString home = QString::fromLatin1(kHomePage);
    const QString download = QString::fromLatin1(kDownloadPage);
    return QStringLiteral("mailto:?subject=Invitation from Quillary&Body=") + QStringLiteral("Hello!%0A%0DQuillary from ")
        + home + QStringLiteral(" is a excellent Text to PDF converter!%0A%0DLearn more by visiting%0A") + home
        + QStringLiteral("%0A%0DTo download it right now click here%0A") + download
        + QStringLiteral("%0A%0D[please type your text here]%0A%0D");
}

} // namespace

CMainFrame::CMainFrame(ConversionOptions& options, Settings settings)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_options(options)
    , m_settings(std::move(settings))
{
    setMinimumSize(kMinimumSize);
}

CMainFrame::~CMainFrame()
{
    qApp->removeEventFilter(this);
}

bool CMainFrame::Create()
{
    setProperty(m_settings.instanceProperty.toUtf8().constData(), 1);
    SetMenuXPWindow(this, true);
    BuildMenus();
    m_wndCoolBar = new CCustomCoolBar(this, m_menu, this);
    if (!m_wndCoolBar->Create())
        return false;
    setMenuWidget(m_wndCoolBar);
    if (m_settings.showSplash)
        m_splash = new CSplashWnd(this);
    if (!CreateClientArea())
        return false;
    // Shortcuts are matched after the focus widget was asked whether it wants the key; the
    // enabled states are brought up to date at that moment.
    qApp->installEventFilter(this);
    return true;
}

bool CMainFrame::CreateClientArea()
{
    auto* splitter = new CPaneSplitter(this);
    m_pLeftView = new CLeftView(splitter);
    m_pRightView = new CRightView(m_options, splitter);
    splitter->addWidget(m_pLeftView);
    splitter->addWidget(m_pRightView);
    splitter->SetColumnInfo(0, kPaneWidth, kPaneWidth);
    m_pLeftView->SetOptionsView(m_pRightView);
    setCentralWidget(splitter);
    SetFileListCommands({[this](int id) { return m_pLeftView->IsCommandEnabled(id); },
                         [this](int id) { m_pLeftView->OnCommand(id); },
                         [this] { m_pLeftView->WaitForRunEnd(); }});
    return true;
}

void CMainFrame::BuildMenus()
{
    m_menu = new QMenu(this);
    for (const PopupMenuDef& popupDef : MainMenu165()) {
        auto* popup = new QMenu(QString::fromLatin1(popupDef.title), this);
        for (const MenuItemDef& item : popupDef.items) {
            if (item.id == 0) {
                popup->addSeparator();
                continue;
            }
            auto* action = new QAction(QString::fromLatin1(item.text), this);
            action->setData(item.id);
            action->setStatusTip(StatusPrompt(item.id));
            if (!TooltipPrompt(item.id).isEmpty())
                action->setToolTip(TooltipPrompt(item.id));
            action->setShortcut(AcceleratorOf(item.id));
            action->setShortcutContext(Qt::WindowShortcut);
            // Queued, as a posted command is: the menu is closed and its button released first.
            connect(action, &QAction::triggered, this, [this, id = item.id] { OnCommand(id); }, Qt::QueuedConnection);
            popup->addAction(action);
            addAction(action);
            m_actions[item.id] = action;
        }
        connect(popup, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
        m_menu->addMenu(popup);
    }
}

void CMainFrame::SetFileListCommands(FileListCommands commands)
{
    m_fileList = std::move(commands);
    UpdateCommandUI();
}

bool CMainFrame::IsFileListCommand(int id)
{
    return std::find(std::begin(kFileListCommands), std::end(kFileListCommands), id) != std::end(kFileListCommands);
}

bool CMainFrame::IsCommandEnabled(int id) const
{
    if (m_splash && m_splash->IsUp())
        return false;
    if (IsFileListCommand(id))
        return m_fileList.isEnabled && m_fileList.isEnabled(id);
    return m_actions.count(id) != 0;
}

void CMainFrame::UpdateCommandUI()
{
    for (const auto& [id, action] : m_actions)
        action->setEnabled(IsCommandEnabled(id));
}

void CMainFrame::OnCommand(int id)
{
    if (!IsCommandEnabled(id))
        return;
    if (IsFileListCommand(id)) {
        m_fileList.run(id);
        return;
    }
    switch (id) {
    case CmdResetAllOptions: OnResetAllOptions(); break;
    case CmdExit: close(); break;
    case CmdManual: OnManual(); break;
    case CmdShowTipOfTheDay: OnShowTip(); break;
    case CmdTellToFriend: OnTellToFriend(); break;
    case CmdCheckNewVersion: ShellExecute(QStringLiteral("open"), QString::fromLatin1(kProductPage)); break;
    case CmdVisitWebSite: ShellExecute(QStringLiteral("open"), QString::fromLatin1(kHomePage)); break;
    case CmdAbout: CAboutDlg(this).exec(); break;
    default: break;
    }
}

void CMainFrame::AddEntries(const QByteArrayList& paths)
{
    if (!paths.isEmpty())
        m_pLeftView->AddNamedEntries(paths);
}

// Web pages and the mail link are the desktop's business; a manual that cannot be opened is
// ours, because it is installed with the program.
void CMainFrame::OnManual()
{
    const QString manual = QString::fromStdString(m_settings.exeDirectory) + QStringLiteral("manual.html");
    const int result = ShellExecute(QStringLiteral("open"), manual);
    if (result > 32)
        return;
    const bool missing = result == SE_ERR_FNF || result == SE_ERR_PNF;
    AppMessageBox(this, missing ? QStringLiteral("The manual is missing: %1\nInstall Quillary again to restore it.").arg(manual)
                                : QStringLiteral("No program on this computer could open the manual %1.").arg(manual));
}

void CMainFrame::OnResetAllOptions()
{
    if (AppMessageBox(this, QStringLiteral("Reset all the convert options?"), QMessageBox::Question,
                      QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    ResetOptionsToDefaults(m_options);
    m_pRightView->BuildOptionTree();
}

void CMainFrame::OnShowTip()
{
    CTipDlg tip(m_settings.exeDirectory, m_settings.settingsPath, this);
    tip.exec();
}

void CMainFrame::OnTellToFriend()
{
    ShellExecute(QStringLiteral("open"), TellToFriendMail());
}

QAction* CMainFrame::GetCommandAction(int id) const
{
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

CSplashWnd* CMainFrame::GetSplash() const
{
    return m_splash;
}

CMenuBar* CMainFrame::GetMenuBar() const
{
    return m_wndCoolBar ? m_wndCoolBar->GetMenuBar() : nullptr;
}

void CMainFrame::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), ToQColor(PANE_COLOR));
}

// The run is asked to stop, and the window stays until the worker has finished its current
// file, so that no pane goes away under it and that file's PDF is complete.
void CMainFrame::closeEvent(QCloseEvent* event)
{
    // An option still being typed counts, as it does for a run.
    if (m_pRightView)
        m_pRightView->ReadOptionsFromTree();
    if (m_fileList.run)
        m_fileList.run(CmdStopConvert);
    if (m_fileList.waitForRunEnd)
        m_fileList.waitForRunEnd();
    QMainWindow::closeEvent(event);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* widget = qobject_cast<QWidget*>(watched);
        const auto* window = qobject_cast<QWindow*>(watched);
        if ((widget && widget->window() == this) || (window && window == windowHandle()))
            UpdateCommandUI();
    }
    return QMainWindow::eventFilter(watched, event);
}
