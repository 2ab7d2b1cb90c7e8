#pragma once
// The options pane: one option tree that shows every field of the conversion options and writes
// each edit back into the record at once. It never reads or writes Settings.ini. GUI thread only.
#include <QWidget>

struct ConversionOptions;

class CRightView : public QWidget {
    Q_OBJECT
public:
    // The record must outlive the view.
    explicit CRightView(ConversionOptions& options, QWidget* parent = nullptr);
    ~CRightView() override;

    // Builds or rebuilds the tree from the record (at creation and after Reset All Options).
    void BuildOptionTree();

private:
    ConversionOptions& m_options;
};
