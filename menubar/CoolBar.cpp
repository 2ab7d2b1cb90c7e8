#include "menubar/CoolBar.h"

#include "platform/SysColors.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace {

// A band as wide as this fills its row, as the widest band of a rebar does.
constexpr int kFillRow = 2047;

} // namespace

CCoolBar::CCoolBar(QWidget* parent)
    : QWidget(parent)
    , m_rows(new QVBoxLayout(this))
{
    m_rows->setContentsMargins(0, 0, 0, 0);
    m_rows->setSpacing(0);
}

bool CCoolBar::Create()
{
    return OnCreateBands();
}

bool CCoolBar::InsertBand(QWidget* child, int minWidth, int minHeight, int width, bool newRow)
{
    if (!child)
        return false;
    auto* row = m_rows->count() ? static_cast<QHBoxLayout*>(m_rows->itemAt(m_rows->count() - 1)->layout()) : nullptr;
    if (!row || newRow) {
        row = new QHBoxLayout;
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(0);
        m_rows->addLayout(row);
    }
    child->setParent(this);
    child->setMinimumSize(minWidth, minHeight);
    if (width > 0 && width < kFillRow)
        child->resize(width, child->height());
    row->addWidget(child, 0, Qt::AlignLeft | Qt::AlignVCenter);
    if (width >= kFillRow)
        row->addStretch(1);
    child->show();
    ++m_nBands;
    return true;
}

void CCoolBar::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), ToQColor(PANE_COLOR));
}
