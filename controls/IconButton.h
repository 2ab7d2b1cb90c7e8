#pragma once
// A flat push button that shows only an icon on its parent's background: a raised edge while
// the mouse is over it, a sunken edge while it is pressed, a darkened icon while disabled, and
// a tooltip. Clicks are ordinary button clicks (clicked()); a double click counts as two.
// GUI thread only.
#include "platform/WinTypes.h"

#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QPushButton>

// The icon resources of the file-list pane's buttons.
constexpr UINT IDI_OPEN_FILE = 155;
constexpr UINT IDI_IMPORT_DIRECTORY = 156;
constexpr UINT IDI_REMOVE_SELECTED = 157;
constexpr UINT IDI_CLEAR_ALL_SELECTED = 158;
constexpr UINT IDI_STOP_CONVERT = 161;
constexpr UINT IDI_START_CONVERT = 162;

class CIconButton : public QPushButton {
    Q_OBJECT
public:
    explicit CIconButton(QWidget* parent = nullptr);

    // Loads icon resource iconId (":/icons/<id>.png") at its own size; FALSE when there is no
    // such resource, and the button then shows no icon.
    BOOL SetIcon(UINT iconId);
    // Uses icon and a darkened copy of it for the disabled state, replacing any previous pair.
    void SetIcon(const QImage& icon);
    // A null text is ignored; activate shows or suppresses the tooltip.
    void SetTooltipText(const QString& text, BOOL activate = TRUE);
    // Lets the parent's background show through instead of the button face.
    void DrawTransparent(BOOL repaint = FALSE);

    // Every pixel that is not black gets its red, green and blue times 0.75, truncated.
    static QImage Darkened(const QImage& icon);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void SetHot(bool hot);
    void DrawBorder(QPainter& painter);
    void DrawIcon(QPainter& painter);

    bool m_bMouseOnButton = false; // hot
    QPoint m_ptPressedOffset{1, 1};
    QPoint m_ptMargin{3, 3};
    QPixmap m_icon;
    QPixmap m_disabledIcon;
    bool m_bDrawTransparent = false;
};
