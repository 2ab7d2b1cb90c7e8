#pragma once
// A label that paints its own text on the pane colour, word-wrapped, in a font built from its
// own face name, height and flags. GUI thread only. Each setter repaints only on a real change.
#include "platform/WinTypes.h"

#include <QFont>
#include <QString>
#include <QWidget>

class CPaneLabel : public QWidget {
    Q_OBJECT
public:
    explicit CPaneLabel(const QString& text = QString(), QWidget* parent = nullptr);

    void SetWindowText(const QString& text);
    QString GetWindowText() const { return m_strText; }

    void SetFaceName(const QString& faceName);
    void SetFontHeight(int height); // in points
    void SetBold(BOOL bold);
    void SetItalic(BOOL italic);
    void SetUnderline(BOOL underline);
    void SetStrikeOut(BOOL strikeOut);
    void SetSmooth(BOOL smooth); // antialiased glyphs
    void SetCentered(BOOL centered);
    void SetRightAligned(BOOL rightAligned);
    void SetTextColor(COLORREF colour);
    void SetBkColor(COLORREF colour);

    BOOL IsCentered() const { return m_bCenter; }
    BOOL IsRightAligned() const { return m_bRight; }

    // The font a paint uses, built afresh from the fields.
    QFont CreatePaintFont() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Change(BOOL& field, BOOL value);
    UINT TextFormat() const;

    QString m_strText;
    QString m_strFaceName = QStringLiteral("MS Sans Serif");
    int m_nFontHeight = 8;
    BOOL m_bBold = FALSE;
    BOOL m_bItalic = FALSE;
    BOOL m_bUnderline = FALSE;
    BOOL m_bStrikeOut = FALSE;
    BOOL m_bSmooth = FALSE;
    BOOL m_bCenter = FALSE;
    BOOL m_bRight = FALSE;
    COLORREF m_crText = RGB(0, 0, 0);
    COLORREF m_crBack = PANE_COLOR;
};
