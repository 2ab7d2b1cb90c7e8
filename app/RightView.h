#pragma once
// The options pane: one option tree that shows every field of the conversion options and writes
// each edit back into the record at once. It never reads or writes Settings.ini. GUI thread only.
//
// The tree's rows are numbered 1 to 41 in the order of insertion (their OptionItemId); the run
// and this pane find rows by these numbers. Rows that do not apply to the chosen font kind, and
// the page width and height of a standard paper, are read-only. Nothing is range checked here:
// the conversion refuses what cannot work, with a reason.
#include <QWidget>

struct ConversionOptions;
class COptionTreeCtrl;
class COptionTreeItemBase;

class CRightView : public QWidget {
    Q_OBJECT
public:
    static constexpr int TreeId = 101;
    static constexpr int TreeFlags = 25;

    // The record must outlive the view.
    explicit CRightView(ConversionOptions& options, QWidget* parent = nullptr);
    ~CRightView() override;

    // Builds or rebuilds the tree from the record (at creation and after Reset All Options).
    void BuildOptionTree();

    // Copies every row as it shows now (an edit not yet committed included) into the record
    // and returns it; a run does this when it starts.
    ConversionOptions ReadOptionsFromTree();

    const ConversionOptions& Options() const { return m_options; }
    COptionTreeCtrl* GetOptionTree() const { return m_tree; }

signals:
    // The record has taken a committed edit, or was rebuilt from the record after a reset.
    void OptionsChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // What rows 3 and 4 show when the custom paper size is chosen.
    enum class CustomSize { FromRecord, Emptied, AsTyped };

    void AddRow(int index);
    void StoreRow(COptionTreeItemBase* item, CustomSize customSize);
    void OnOptionChanged(COptionTreeItemBase* item);
    // Rows 3 and 4 for paper position `paper`: the table size read-only, or editable for the
    // custom size.
    void ShowPaperSize(int paper, CustomSize customSize);
    void ApplyFontKind(int kind);

    ConversionOptions& m_options;
    COptionTreeCtrl* m_tree = nullptr;
};
