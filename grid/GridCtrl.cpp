#include "grid/GridCtrl.h"

#include "grid/GridCell.h"
#include "platform/SysColors.h"

#include <QApplication>
#include <QScrollBar>

CGridCtrl::CGridCtrl(int rows, int cols, int fixedRows, int fixedCols, QWidget* parent)
    : QAbstractScrollArea(parent), m_pCellClass(&CGridCell::Class),
      m_cellDefault(std::make_unique<CGridDefaultCell>()),
      m_cellFixedColDef(std::make_unique<CGridDefaultCell>()),
      m_cellFixedRowDef(std::make_unique<CGridDefaultCell>()),
      m_cellFixedRowColDef(std::make_unique<CGridDefaultCell>()),
      m_crGridBkColour(GetSysColor(COLOR_BTNSHADOW))
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setFocusPolicy(Qt::StrongFocus);
    // Committed input-method text starts an edit as typed characters do.
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setMouseTracking(true);
    // Right clicks reach the grid as plain button events; the owner opens its menu on NM_RCLICK.
    viewport()->setContextMenuPolicy(Qt::PreventContextMenu);
    viewport()->setAutoFillBackground(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    for (CGridDefaultCell* def : {m_cellDefault.get(), m_cellFixedColDef.get(), m_cellFixedRowDef.get(),
                                  m_cellFixedRowColDef.get()}) {
        def->SetGrid(this);
        def->SetTextClr(GetSysColor(COLOR_WINDOWTEXT));
        def->SetBackClr(GetSysColor(COLOR_BTNFACE));
    }
    m_cellDefault->SetBackClr(GetSysColor(COLOR_WINDOW));

    BuildInitialTable(rows, cols, fixedRows, fixedCols);
    m_nRowsPerWheelNotch = QApplication::wheelScrollLines();

    m_AutoScrollTimer.setInterval(AutoScrollPeriod);
    connect(&m_AutoScrollTimer, &QTimer::timeout, this, &CGridCtrl::OnAutoScroll);
}

CGridCtrl::~CGridCtrl()
{
    m_AutoScrollTimer.stop();
    m_RowData.clear();
}

BOOL CGridCtrl::Create(const QRect& rect, QWidget* parent, int id)
{
    if (!parent)
        return FALSE;
    setParent(parent);
    setGeometry(rect);
    m_nID = id;
    show();
    return TRUE;
}

// ---- Appearance and modes -------------------------------------------------------------------

void CGridCtrl::SetGridLines(int which)
{
    if (which < GridLinesNone || which > GridLinesBoth || which == m_nGridLines)
        return;
    m_nGridLines = which;
    viewport()->update();
}

void CGridCtrl::SetGridBkColor(COLORREF colour)
{
    if (colour == m_crGridBkColour)
        return;
    m_crGridBkColour = colour;
    viewport()->update();
}

void CGridCtrl::SetListMode(bool on)
{
    ClearSelection();
    m_bListMode = on;
    m_bFixedColumnSelection = false;
    viewport()->update();
}

void CGridCtrl::EnableSelection(bool on)
{
    ClearSelection();
    m_bEnableSelection = on;
}

void CGridCtrl::SetImageList(const std::vector<QPixmap>& images)
{
    m_ImageList = images;
    viewport()->update();
}

const QPixmap* CGridCtrl::GetImage(int index) const
{
    if (index < 0 || index >= int(m_ImageList.size()))
        return nullptr;
    return &m_ImageList[std::size_t(index)];
}

LRESULT CGridCtrl::NotifyOwner(int row, int col, int code)
{
    if (!m_NotifyHandler)
        return 0;
    GridNotify record;
    record.hwndFrom = this;
    record.idFrom = m_nID;
    record.code = code;
    record.iRow = row;
    record.iColumn = col;
    return m_NotifyHandler(m_nID, record);
}
