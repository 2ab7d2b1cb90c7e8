#include "app/LeftView.h"

// Placeholder until the file-list pane lands: an empty pane with the interface the frame uses.
CLeftView::CLeftView(QWidget* parent)
    : QWidget(parent)
{
    setMinimumWidth(640);
}

CLeftView::~CLeftView() = default;

void CLeftView::SetOptionsView(CRightView*) {}

bool CLeftView::IsCommandEnabled(int) const
{
    return false;
}

void CLeftView::OnCommand(int) {}

void CLeftView::AddEntries(const QStringList&) {}

bool CLeftView::IsBusy() const
{
    return false;
}

void CLeftView::WaitForRunEnd() {}
