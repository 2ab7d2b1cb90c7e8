#include "controls/PaneSplitter.h"

#include "platform/SysColors.h"

#include <QPainter>
#include <QSplitterHandle>

namespace {

// A splitter bar that is a plain strip of the pane colour.
class PaneSplitterBar : public QSplitterHandle {
public:
    using QSplitterHandle::QSplitterHandle;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter(this).fillRect(rect(), ToQColor(PANE_COLOR));
    }
};

} // namespace

CPaneSplitter::CPaneSplitter(QWidget* parent)
    : QSplitter(Qt::Horizontal, parent)
{
    setChildrenCollapsible(false);
}

QSplitterHandle* CPaneSplitter::createHandle()
{
    return new PaneSplitterBar(orientation(), this);
}

void CPaneSplitter::SetColumnInfo(int col, int ideal, int minimum)
{
    QWidget* column = widget(col);
    if (!column)
        return;
    column->setMinimumWidth(minimum);
    // Only the last column stretches, as the window grows or shrinks.
    for (int i = 0; i < count(); ++i)
        setStretchFactor(i, i == count() - 1 ? 1 : 0);
    QList<int> widths = sizes();
    if (widths.size() != count())
        widths = QList<int>(count(), 0);
    widths[col] = std::max(ideal, minimum);
    setSizes(widths);
}
