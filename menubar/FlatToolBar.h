#pragma once
// A flat tool bar of text buttons, as the menu bar needs it: each button sizes itself to its
// text, the button under the mouse is shown hot, a button can be shown pressed, and a bar that
// sits in a cool bar draws no border of its own (the cool bar paints the background). Buttons
// are addressed by their position. GUI thread only.
#include <QString>
#include <QWidget>

#include <vector>

class CFlatToolBar : public QWidget {
    Q_OBJECT
public:
    explicit CFlatToolBar(QWidget* parent = nullptr);

    // Adds an enabled button at the end; returns its position.
    int AddButton(const QString& text, int commandId);
    void DeleteAllButtons();
    int GetButtonCount() const { return int(m_buttons.size()); }
    QString GetButtonText(int index) const;
    int GetCommandId(int index) const;
    bool IsButtonEnabled(int index) const;
    void EnableButton(int index, bool enabled);

    // The button's rectangle in the bar; empty for a position without a button.
    QRect GetItemRect(int index) const;
    // The position of the button under the point, or -1.
    int HitTest(const QPoint& point) const;

    // -1 for none.
    void SetHotItem(int index);
    int GetHotItem() const { return m_nHotItem; }
    void SetPressed(int index, bool pressed);
    bool IsPressed(int index) const;

    // When on, the bar leaves its border to the cool bar that holds it.
    void SetInReBar(bool inReBar);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

    // Whether leaving the bar clears the hot button (a derived bar may keep it).
    virtual bool KeepsHotItemOnLeave() const { return false; }
    // The look of a pressed button; the default is the hot look.
    virtual void DrawPressedButton(QPainter& painter, const QRect& rect, const QString& text) const;

    void DrawButtonText(QPainter& painter, const QRect& rect, const QString& text, bool enabled) const;

private:
    struct Button {
        QString text;
        int commandId;
        bool enabled = true;
        bool pressed = false;
    };
    int ButtonWidth(const Button& button) const;
    int ButtonHeight() const;
    int Margin() const;
    bool IsIndex(int index) const { return index >= 0 && index < GetButtonCount(); }

    std::vector<Button> m_buttons;
    int m_nHotItem = -1;
    bool m_bInReBar = false;
};
