// startup_timer [--runs N] PROGRAM [ARGUMENTS...]
//
// Start-up time of a window program under a running X server with a window manager (DISPLAY):
// for each run, the time from just before the process is made until its window titled
// "Quillary 2.1" is mapped and viewable ("shown"), and until it answers: once the window has
// the keyboard focus, Alt+H is typed (by xdotool) and the Help menu's pop-up window maps. The
// times come from the server's events, not from polling, so no tool's polling pace is counted.
// Prints the best and the median of the runs. Used by bench/startup.sh.
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <set>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kTitle = "Quillary 2.1";
constexpr int kTimeoutMs = 20000;

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

class Display {
public:
    Display()
        : m_connection(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(m_connection)) {
            std::fprintf(stderr, "startup_timer: cannot open the display\n");
            std::exit(2);
        }
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        Select(m_root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY);
        m_netWmName = Atom("_NET_WM_NAME");
        m_wmProtocols = Atom("WM_PROTOCOLS");
        m_wmDeleteWindow = Atom("WM_DELETE_WINDOW");
    }
    ~Display() { xcb_disconnect(m_connection); }

    xcb_window_t Root() const { return m_root; }

    void Select(xcb_window_t window, uint32_t mask)
    {
        xcb_change_window_attributes(m_connection, window, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
    }

    // The next event, or none when the time is up.
    Reply<xcb_generic_event_t> NextEvent(Clock::time_point deadline)
    {
        for (;;) {
            if (xcb_generic_event_t* event = xcb_poll_for_event(m_connection))
                return {event, &std::free};
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0)
                return {nullptr, &std::free};
            pollfd fd{xcb_get_file_descriptor(m_connection), POLLIN, 0};
            poll(&fd, 1, static_cast<int>(left));
        }
    }

    bool IsViewable(xcb_window_t window)
    {
        Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(m_connection, xcb_get_window_attributes(m_connection, window), nullptr), &std::free);
        return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    }

    std::string Title(xcb_window_t window)
    {
        Reply<xcb_get_property_reply_t> name(
            xcb_get_property_reply(m_connection, xcb_get_property(m_connection, 0, window, m_netWmName, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr),
            &std::free);
        if (!name)
            return {};
        return std::string(static_cast<const char*>(xcb_get_property_value(name.get())), static_cast<std::size_t>(xcb_get_property_value_length(name.get())));
    }

    // Asks the window to close, as the window manager's close box does.
    void Close(xcb_window_t window)
    {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = m_wmProtocols;
        message.data.data32[0] = m_wmDeleteWindow;
        message.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
        xcb_flush(m_connection);
    }

private:
    xcb_atom_t Atom(const char* name)
    {
        Reply<xcb_intern_atom_reply_t> atom(
            xcb_intern_atom_reply(m_connection, xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr), &std::free);
        return atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    xcb_connection_t* m_connection;
    xcb_window_t m_root = 0;
    xcb_atom_t m_netWmName = XCB_ATOM_NONE;
    xcb_atom_t m_wmProtocols = XCB_ATOM_NONE;
    xcb_atom_t m_wmDeleteWindow = XCB_ATOM_NONE;
};

struct Run {
    double shownMs = -1;
    double answeringMs = -1;
};

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

pid_t Spawn(char** argv)
{
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv, environ) != 0) {
        std::fprintf(stderr, "startup_timer: cannot start %s\n", argv[0]);
        std::exit(2);
    }
    return pid;
}

// Ends the program as a user does, through the window's close box, so that it exits normally
// (and leaves no lock behind for the next run); killed when it does not end within 5 s.
void EndProgram(Display& display, xcb_window_t window, pid_t pid)
{
    if (window != XCB_WINDOW_NONE)
        display.Close(window);
    for (int waited = 0; waited < 5000; waited += 10) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// Windows made at the root are watched from their creation on; the program's window counts as
// shown once it carries the title and is viewable (with a window manager: inside its frame).
Run TimeOneStart(Display& display, char** program)
{
    Run run;
    std::set<xcb_window_t> windows;
    xcb_window_t main = XCB_WINDOW_NONE;
    bool focused = false;
    bool typed = false;
    const auto start = Clock::now();
    const pid_t pid = Spawn(program);
    const auto deadline = start + std::chrono::milliseconds(kTimeoutMs);
    while (run.answeringMs < 0) {
        const auto event = display.NextEvent(deadline);
        if (!event)
            break;
        switch (event->response_type & 0x7f) {
        case XCB_CREATE_NOTIFY: {
            const auto* created = reinterpret_cast<const xcb_create_notify_event_t*>(event.get());
            if (created->parent == display.Root() && !created->override_redirect) {
                windows.insert(created->window);
                display.Select(created->window, XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_FOCUS_CHANGE);
            }
            break;
        }
        case XCB_MAP_NOTIFY: {
            const auto* mapped = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
            if (typed && mapped->event == display.Root() && mapped->override_redirect)
                run.answeringMs = MsSince(start);
            for (xcb_window_t window : windows) {
                if (main == XCB_WINDOW_NONE && display.IsViewable(window) && display.Title(window) == kTitle) {
                    run.shownMs = MsSince(start);
                    main = window;
                }
            }
            break;
        }
        case XCB_FOCUS_IN:
            focused = focused || reinterpret_cast<const xcb_focus_in_event_t*>(event.get())->event == main;
            break;
        default:
            break;
        }
        if (main != XCB_WINDOW_NONE && focused && !typed) {
            char* key[] = {const_cast<char*>("xdotool"), const_cast<char*>("key"), const_cast<char*>("alt+h"), nullptr};
            waitpid(Spawn(key), nullptr, 0);
            typed = true;
        }
    }
    EndProgram(display, main, pid);
    return run;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 7;
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "--runs") == 0) {
        runs = std::max(1, std::atoi(argv[2]));
        first = 3;
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: startup_timer [--runs N] PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    Display display;
    std::vector<double> shown, answering;
    for (int i = 0; i < runs; ++i) {
        const Run run = TimeOneStart(display, argv + first);
        if (run.shownMs < 0 || run.answeringMs < 0) {
            std::fprintf(stderr, "startup_timer: %s did not show its window and answer within %d ms\n", argv[first], kTimeoutMs);
            return 1;
        }
        shown.push_back(run.shownMs);
        answering.push_back(run.answeringMs);
    }
    std::printf("%s: window shown after %.0f ms (median %.0f), answering after %.0f ms (median %.0f); best of %d\n",
                argv[first], *std::min_element(shown.begin(), shown.end()), Median(shown),
                *std::min_element(answering.begin(), answering.end()), Median(answering), runs);
    return 0;
}
