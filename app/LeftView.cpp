// The pane's creation, its layout on every resize, and the command table.
#include "app/LeftView.h"

#include "app/CommandIds.h"
#include "app/RightView.h"
#include "controls/IconButton.h"
#include "controls/PaneLabel.h"
#include "controls/PreviewEdit.h"
#include "controls/TextProgressCtrl.h"
#include "grid/GridCtrl.h"
#include "platform/SysColors.h"

#include <QApplication>

namespace {

constexpr int kButtonSide = 32;

struct Column {
    const char* header;
    int width;
};

constexpr Column kColumns[] = {
    {"", 25}, {"File Name", 144}, {"File Size", 100}, {"Creation Date", 154}, {"Owner Password", 110}, {"User Password", 100},
};

struct ButtonDef {
    int id;
    UINT icon;
    const char* tooltip;
};

constexpr ButtonDef kButtons[] = {
    {CmdOpenFile, IDI_OPEN_FILE, "Open File (Ctrl+O)"},
    {CmdImportDirectory, IDI_IMPORT_DIRECTORY, "Open Directory (Ctrl+D)"},
    {CmdRemoveSelected, IDI_REMOVE_SELECTED, "Remove Current Selected Item (Del)"},
    {CmdClearAllSelected, IDI_CLEAR_ALL_SELECTED, "Clear All Selected (Ctrl+X)"},
    {CmdStartConvert, IDI_START_CONVERT, "Start Convert (F5)"},
    {CmdStopConvert, IDI_STOP_CONVERT, "Stop Convert (Shift+F5)"},
};

// The buttons a run disables; Stop stays usable.
constexpr int kRunSensitiveButtons[] = {CmdStartConvert, CmdClearAllSelected, CmdImportDirectory, CmdOpenFile,
                                        CmdRemoveSelected};

} // namespace

CLeftView::CLeftView(QWidget* parent)
    : QWidget(parent)
{
    setMinimumWidth(640);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ToQColor(PANE_COLOR));
    setPalette(colours);
    setAutoFillBackground(true);
    setAcceptDrops(true);
    CreateGrid();
    CreateButtons();
    CreateRunControls();
    m_progressTimer.setSingleShot(true);
    m_progressTimer.setInterval(16); // one update of the bars per frame
    connect(&m_progressTimer, &QTimer::timeout, this, &CLeftView::ApplyProgress);
    // The pane's keys act before the frame's accelerators, whichever of its controls has the
    // focus; only the application sees the shortcut requests of all of them.
    qApp->installEventFilter(this);
    LayoutControls();
}

CLeftView::~CLeftView()
{
    qApp->removeEventFilter(this);
    Ask(CRunLifecycle::Command::Close);
    WaitForRunEnd();
}

void CLeftView::SetOptionsView(CRightView* view)
{
    m_optionsView = view;
    if (view)
        connect(view, &CRightView::OptionsChanged, this, &CLeftView::RefreshPreview);
}

void CLeftView::CreateGrid()
{
    m_grid = new CGridCtrl(0, 0, 0, 0);
    m_grid->Create(QRect(0, 0, 100, 100), this, GridId);
    m_grid->SetEditable(true);
    m_grid->SetListMode(true);
    m_grid->SetSingleRowSelection(true);
    m_grid->EnableSelection(true);
    m_grid->SetRowResize(false);
    m_grid->SetGridLines(CGridCtrl::GridLinesBoth);
    m_grid->SetGridBkColor(RGB(255, 255, 255));
    m_grid->SetNotifyHandler([this](int, NMHDR& header) { return OnGridNotify(header); });
    // Dropped files go to the pane whichever control is under the pointer.
    m_grid->viewport()->setAcceptDrops(false);
    BuildGridHeader();
}

void CLeftView::BuildGridHeader()
{
    QFont headerFont = m_grid->font();
    headerFont.setPixelSize(14);
    headerFont.setWeight(QFont::Bold);
    m_grid->SetColumnCount(int(std::size(kColumns)));
    m_grid->SetFixedRowCount(1);
    m_grid->SetRowHeight(0, RowHeight);
    for (int col = 0; col < int(std::size(kColumns)); ++col) {
        m_grid->SetColumnWidth(col, kColumns[col].width);
        m_grid->SetItemText(0, col, QString::fromLatin1(kColumns[col].header));
        m_grid->SetItemFormat(0, col, CentreFormat);
        m_grid->SetItemFont(0, col, headerFont);
        m_grid->SetItemState(0, col, m_grid->GetItemState(0, col) | CellReadOnly);
    }
}

void CLeftView::CreateButtons()
{
    for (const ButtonDef& def : kButtons) {
        auto* button = new CIconButton(this);
        button->SetIcon(def.icon);
        button->SetTooltipText(QString::fromLatin1(def.tooltip), TRUE);
        button->DrawTransparent(FALSE);
        const int id = def.id;
        connect(button, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
        m_buttons[id] = button;
    }
}

void CLeftView::CreateRunControls()
{
    m_preview = new CPreviewEdit(this);
    m_preview->setAcceptDrops(false);
    m_preview->viewport()->setAcceptDrops(false);
    m_currentLabel = new CPaneLabel(QStringLiteral("Current"), this);
    m_totalLabel = new CPaneLabel(QStringLiteral("Total"), this);
    m_currentBar = new CTextProgressCtrl(this);
    m_totalBar = new CTextProgressCtrl(this);
    ResetBars(WaitingCaption());
}

void CLeftView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutControls();
}

void CLeftView::LayoutControls()
{
    const QRect client = rect();
    const int left = client.left();
    const int top = client.top();
    const int right = client.right() + 1;
    const int bottom = client.bottom() + 1;
    const int width = right - left;
    const int half = (bottom - top) / 2;
    m_grid->setGeometry(left, top, width, half - 44);
    const int topButtons[] = {CmdOpenFile, CmdImportDirectory, CmdRemoveSelected, CmdClearAllSelected};
    for (int i = 0; i < 4; ++i)
        m_buttons[topButtons[i]]->setGeometry(left + 5 + 52 * i, top + half - 36, kButtonSide, kButtonSide);
    m_preview->setGeometry(left, bottom - half + 4, width, half - 52);
    m_buttons[CmdStartConvert]->setGeometry(left + 5, bottom - 40, kButtonSide, kButtonSide);
    m_buttons[CmdStopConvert]->setGeometry(left + 57, bottom - 40, kButtonSide, kButtonSide);
    m_currentLabel->setGeometry(left + 97, bottom - 40, 40, 12);
    m_currentBar->setGeometry(left + 145, bottom - 40, width - 145, 12);
    m_totalLabel->setGeometry(left + 97, bottom - 20, 40, 12);
    m_totalBar->setGeometry(left + 145, bottom - 20, width - 145, 12);
}

void CLeftView::ResetBars(const QString& caption)
{
    for (CTextProgressCtrl* bar : {m_currentBar, m_totalBar}) {
        bar->SetPos(0);
        bar->SetWindowText(caption);
    }
}

void CLeftView::SetRunButtonsEnabled(bool enabled)
{
    for (int id : kRunSensitiveButtons)
        m_buttons[id]->setEnabled(enabled);
}

CIconButton* CLeftView::GetButton(int id) const
{
    const auto found = m_buttons.find(id);
    return found == m_buttons.end() ? nullptr : found->second;
}

QString CLeftView::GetEntryPath(int row) const
{
    if (row < 1 || row > m_files.Count())
        return QString();
    return QString::fromLocal8Bit(m_files.PathAt(row - 1));
}

// The last row of the grid's selected range, or -1 when nothing is selected.
int CLeftView::LastSelectedRow() const
{
    const CellRange range = m_grid->GetSelectionBounds();
    return m_grid->IsValid(range) && range.maxRow >= 1 ? range.maxRow : -1;
}

void CLeftView::EnsureCurrentRow()
{
    const int first = m_grid->GetFixedRowCount();
    if (m_grid->GetRowCount() <= first || m_grid->IsValid(m_grid->GetFocusCell()))
        return;
    m_grid->SetFocusCell(first, 1);
    m_grid->SetSelectedRange(first, m_grid->GetFixedColumnCount(), first, m_grid->GetColumnCount() - 1);
}

bool CLeftView::IsCommandEnabled(int id) const
{
    switch (id) {
    case CmdOpenFile:
    case CmdImportDirectory:
        return !IsBusy();
    case CmdOpenFileDirectory:
    case CmdOpenWithAssociatedApp:
    case CmdStopConvert:
        return HasDataRow();
    case CmdRemoveSelected:
    case CmdRemoveAll:
    case CmdSelectCurrentItem:
    case CmdSelectAllItems:
    case CmdClearAllSelected:
    case CmdInvertSelect:
    case CmdStartConvert:
        return HasDataRow() && !IsBusy();
    default:
        return false;
    }
}

void CLeftView::OnCommand(int id)
{
    if (!IsCommandEnabled(id))
        return;
    switch (id) {
    case CmdOpenFile: OpenFiles(); break;
    case CmdImportDirectory: ImportDirectory(); break;
    case CmdOpenFileDirectory: OpenSelectedEntry(true); break;
    case CmdOpenWithAssociatedApp: OpenSelectedEntry(false); break;
    case CmdRemoveSelected: RemoveSelected(); break;
    case CmdRemoveAll: RemoveAll(); break;
    case CmdSelectCurrentItem: ChangeCheck(LastSelectedRow(), Check); break;
    case CmdSelectAllItems: ChangeAllChecks(Check); break;
    case CmdClearAllSelected: ChangeAllChecks(Uncheck); break;
    case CmdInvertSelect: ChangeAllChecks(Toggle); break;
    case CmdStartConvert: StartConvert(); break;
    case CmdStopConvert: Ask(CRunLifecycle::Command::Stop); break;
    default: break;
    }
}
