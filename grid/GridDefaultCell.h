#pragma once
// One of the grid's four default cells: the attributes an ordinary cell falls back to, plus the
// default width and height of new columns and rows, which follow the default cell's font.
#include "grid/GridCell.h"

#include <QFont>

class CGridDefaultCell : public CGridCell {
public:
    static const GridCellClass Class;
    const GridCellClass* GetRuntimeClass() const override { return &Class; }
    CGridDefaultCell();

    // Also recomputes margin, width and height from the font.
    void SetFont(const std::optional<QFont>& font) override;
    const QFont& GetFont() const override { return m_DefaultFont; }
    bool IsDefaultFont() const override { return false; }
    const CGridDefaultCell* GetDefaultCell() const override { return nullptr; }

    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    void SetWidth(int width) { m_nWidth = width; }
    void SetHeight(int height) { m_nHeight = height; }

private:
    QFont m_DefaultFont;
    int m_nWidth = 30;
    int m_nHeight = 10;
};
