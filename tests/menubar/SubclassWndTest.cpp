#include "menubar/SubclassWnd.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Writes its name into a shared log for each event of the chosen type; consumes it if asked.
class LoggingHook : public CSubclassWnd {
public:
    LoggingHook(std::string name, std::string& log, bool consume = false)
        : m_name(std::move(name)), m_log(log), m_consume(consume) {}

    bool WindowProc(QEvent* event) override
    {
        if (event->type() != QEvent::User)
            return CSubclassWnd::WindowProc(event);
        m_log += m_name;
        return m_consume || CSubclassWnd::WindowProc(event);
    }

private:
    std::string m_name;
    std::string& m_log;
    bool m_consume;
};

// Counts the events that reach the window itself.
class Window : public QWidget {
public:
    int reached = 0;

protected:
    bool event(QEvent* event) override
    {
        reached += event->type() == QEvent::User;
        return QWidget::event(event);
    }
};

void Send(QWidget& window)
{
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&window, &event);
}

TEST(SubclassWnd, LastInstalledHookSeesEventsFirstAndTheWindowLast)
{
    Window window;
    std::string log;
    LoggingHook a("a", log), b("b", log), c("c", log);
    a.HookWindow(&window);
    b.HookWindow(&window);
    c.HookWindow(&window);
    Send(window);
    EXPECT_EQ(log, "cba");
    EXPECT_EQ(window.reached, 1);
}

TEST(SubclassWnd, AHookRemovedFromTheMiddleLeavesTheRestChained)
{
    Window window;
    std::string log;
    LoggingHook a("a", log), b("b", log), c("c", log);
    a.HookWindow(&window);
    b.HookWindow(&window);
    c.HookWindow(&window);
    b.HookWindow(nullptr);
    Send(window);
    EXPECT_EQ(log, "ca");
    EXPECT_FALSE(b.IsHooked());
}

TEST(SubclassWnd, AConsumedEventReachesNeitherLaterHooksNorTheWindow)
{
    Window window;
    std::string log;
    LoggingHook inner("i", log), outer("o", log, true);
    inner.HookWindow(&window);
    outer.HookWindow(&window);
    Send(window);
    EXPECT_EQ(log, "o");
    EXPECT_EQ(window.reached, 0);
}

TEST(SubclassWnd, RemovingTheLastHookGivesTheWindowItsEventsBack)
{
    Window window;
    std::string log;
    LoggingHook only("x", log, true);
    only.HookWindow(&window);
    only.HookWindow(nullptr);
    Send(window);
    EXPECT_EQ(log, "");
    EXPECT_EQ(window.reached, 1);
}

TEST(SubclassWnd, HookingAnotherWindowLeavesTheFirst)
{
    Window first, second;
    std::string log;
    LoggingHook hook("h", log);
    hook.HookWindow(&first);
    hook.HookWindow(&second);
    Send(first);
    EXPECT_EQ(log, "");
    Send(second);
    EXPECT_EQ(log, "h");
}

TEST(SubclassWnd, EveryHookIsReleasedWhenTheWindowIsDestroyed)
{
    std::string log;
    LoggingHook a("a", log), b("b", log);
    auto window = std::make_unique<Window>();
    a.HookWindow(window.get());
    b.HookWindow(window.get());
    window.reset();
    EXPECT_FALSE(a.IsHooked());
    EXPECT_FALSE(b.IsHooked());
    a.HookWindow(nullptr); // must not touch the gone window
}

TEST(SubclassWnd, ADestroyedHookLeavesItsChain)
{
    Window window;
    std::string log;
    LoggingHook a("a", log);
    a.HookWindow(&window);
    {
        LoggingHook b("b", log);
        b.HookWindow(&window);
    }
    Send(window);
    EXPECT_EQ(log, "a");
}

} // namespace
