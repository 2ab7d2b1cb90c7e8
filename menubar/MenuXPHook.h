#pragma once
// The process-wide menu hook: it sees every event of the application first and gives each
// pop-up that opens for a marked window the flat look (the style at polish time, a pop-up
// record while it is shown). Installed once by InstallMenuHook. GUI thread only.
#include <QObject>

#include <memory>

class CMenuXPStyle;
class QMenu;

class CMenuXPHook : public QObject {
    Q_OBJECT
public:
    static void Install();
    // Number of InstallMenuHook calls so far (0 before the first).
    static int InstallCount();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CMenuXPHook();
    ~CMenuXPHook() override;

    void Polish(QMenu* menu);
    static void Open(QMenu* menu);
    static void Close(QMenu* menu);

    std::unique_ptr<CMenuXPStyle> m_style;
};
