#pragma once
// The bar at the top of the frame that holds bands: each band is a child window in a row,
// at least as large as its band minimum, the last band of a row taking what is left. The bar
// paints the pane colour behind its bands and grows or shrinks with them. GUI thread only.
#include <QWidget>

class QVBoxLayout;

class CCoolBar : public QWidget {
    Q_OBJECT
public:
    explicit CCoolBar(QWidget* parent = nullptr);

    // Creates the bands (OnCreateBands). FALSE when that fails; the bar is then unusable.
    bool Create();

    // Puts child in a band at the end of the current row, or of a new row. width > 0 asks for
    // that width; a band of the greatest width stretches to the end of its row.
    bool InsertBand(QWidget* child, int minWidth, int minHeight, int width, bool newRow);

    int GetBandCount() const { return m_nBands; }

protected:
    virtual bool OnCreateBands() = 0;
    void paintEvent(QPaintEvent* event) override;

private:
    QVBoxLayout* m_rows;
    int m_nBands = 0;
};
