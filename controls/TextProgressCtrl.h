#pragma once
// A progress bar that writes its percentage, or a caption, across the bar. It keeps its own
// range, position and colours; the text is drawn twice, clipped to the done part and to the
// rest, so that text in the default colours shows inverted where it crosses the boundary.
// GUI thread only. Colours are COLORREF values; CLR_DEFAULT means "use the system colour".
#include "platform/WinTypes.h"

#include <QString>
#include <QWidget>

// Style bits given at construction.
constexpr DWORD PBS_SMOOTH = 0x01;
constexpr DWORD PBS_VERTICAL = 0x04;

// The range record that GetRange fills.
struct PBRANGE {
    int iLow = 0;
    int iHigh = 0;
};

class CTextProgressCtrl : public QWidget {
    Q_OBJECT
public:
    static constexpr COLORREF DefaultColour = CLR_DEFAULT;

    explicit CTextProgressCtrl(QWidget* parent = nullptr, DWORD style = 0);

    DWORD GetStyle() const { return m_dwStyle; }

    // Bounds of 16 bits each, as the classic range request carries them; SetRange32 takes any
    // int. Both return 0.
    LRESULT SetRange(unsigned short lower, unsigned short upper);
    LRESULT SetRange32(int lower, int upper);
    // The lower bound when whichLimit is non-zero, else the upper; fills range when given.
    int GetRange(BOOL whichLimit, PBRANGE* range = nullptr) const;

    // Position changes return the previous position. The bar repaints at once, but only when
    // the filled width in whole pixels changes. A position outside the range is kept as given
    // and drawn at the nearer end of the range.
    int SetPos(int position);
    int OffsetPos(int delta);
    int StepIt();
    int SetStep(int step); // returns the previous step
    int GetPos() const { return m_nPos; }

    // Each returns the previous colour and repaints.
    COLORREF SetBarColor(COLORREF colour);
    COLORREF SetBkColor(COLORREF colour);
    COLORREF SetTextColor(COLORREF colour);
    void SetShowText(BOOL show);

    // The caption is the window text: shown instead of the percentage when it is not empty.
    void SetWindowText(const QString& caption);
    QString GetWindowText() const { return m_strText; }
    // Copies the caption as UTF-8 into buffer, at most maxCount - 1 bytes without splitting a
    // character, always terminated; returns the number of bytes copied.
    int GetWindowText(char* buffer, int maxCount) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    double Fraction() const;
    int FilledExtent() const;
    QString ShownText() const;
    COLORREF EffectiveBarColor() const;
    COLORREF EffectiveBkColor() const;
    void DrawBar(QPainter& painter, const QRect& done, const QRect& rest);
    void DrawCaption(QPainter& painter, const QRect& done, const QRect& rest);
    COLORREF ReplaceColour(COLORREF& field, COLORREF colour);

    DWORD m_dwStyle;
    int m_nPos = 0;
    int m_nStepSize = 1;
    int m_nMax = 100;
    int m_nMin = 0;
    QString m_strText;
    BOOL m_bShowText = TRUE;
    int m_nBarWidth = -1;
    COLORREF m_crBarClr = DefaultColour;
    COLORREF m_crBgClr = DefaultColour;
    COLORREF m_crTextClr = DefaultColour;
    UINT m_dwTextStyle;
};
