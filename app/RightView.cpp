#include "app/RightView.h"

// Placeholder until the options pane lands: an empty pane with the interface the frame uses.
CRightView::CRightView(ConversionOptions& options, QWidget* parent)
    : QWidget(parent)
    , m_options(options)
{
}

CRightView::~CRightView() = default;

void CRightView::BuildOptionTree() {}
