#pragma once
// The splash screen: bitmap 136 in a borderless window centred on the screen. It closes after
// 750 ms, or at the first key or mouse-button press anywhere in the application, which it
// consumes; the frame then repaints at once. Deletes itself when it closes. GUI thread only.
#include <QPointer>
#include <QTimer>
#include <QWidget>

class CSplashWnd : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDisplayMs = 750;

    // frame owns the splash and is repainted when it goes.
    explicit CSplashWnd(QWidget* frame);
    ~CSplashWnd() override;

    void HideSplashScreen();
    // Until it hides, every key and mouse press is the splash screen's.
    bool IsUp() const { return m_timer.isActive(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_bitmap;
    QTimer m_timer;
    QPointer<QWidget> m_frame;
};
