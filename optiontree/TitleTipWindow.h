#pragma once
// The tooltip window that shows a clipped text in full, laid over the place where the text is
// clipped: it covers at least the given box and grows to the right to fit the text. It stays up while its keep-test answers true, checked every 80 ms, and
// hides by itself after that. GUI thread only.
#include <QLabel>
#include <QTimer>

#include <functional>

class TitleTipWindow : public QLabel {
    Q_OBJECT
public:
    static constexpr int CheckInterval = 80;

    // A bordered tip gets a one-pixel frame around the text.
    enum class Frame { None, Bordered };
    explicit TitleTipWindow(Frame frame);

    void ShowTip(const QString& text, const QRect& globalCover, const QFont& font,
                 const QColor& textColor, const QColor& backColor, std::function<bool()> keep);
    void HideTip();

private:
    void Check();

    QTimer m_timer;
    std::function<bool()> m_keep;
    Frame m_frame;
};
