#pragma once

// The benchmark's view of the X server, as a user and a window manager have
// it: finds a program's window, reads pixels back from the screen, clicks
// through XTest and asks a window to close. Every wait is bounded.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

struct _XDisplay;

namespace ironmoat::bench {

class XProbe {
public:
    // Opens a connection to the server of DISPLAY.
    XProbe();
    ~XProbe();
    XProbe(const XProbe&) = delete;
    XProbe& operator=(const XProbe&) = delete;

    bool connected() const { return m_display != nullptr; }

    // A mapped top-level window of the process (by _NET_WM_PID) with this
    // title, or 0 when there is none right now.
    unsigned long findWindow(pid_t pid, const std::string& title);
    // Moves the window's top-left corner to the screen's and waits (bounded)
    // until the server reports it there, so all of it can be read back.
    bool placeAtOrigin(unsigned long window);
    // Colours (0xRRGGBB) of the window's pixels at the points, read from the
    // screen (a GL window's own content cannot always be fetched); nothing
    // when the window is gone.
    std::optional<std::vector<std::uint32_t>> pixels(unsigned long window,
                                                     const std::vector<std::pair<int, int>>& at);
    // The colours of a column of the window: x, rows y0 .. y0 + height - 1.
    std::vector<std::uint32_t> column(unsigned long window, int x, int y0, int height);
    // Focuses the window, moves the pointer to (x, y) in it and clicks the
    // left button.
    void click(unsigned long window, int x, int y);
    // Asks the window to close, as a window manager's close box does.
    bool sendDeleteWindow(unsigned long window);

private:
    _XDisplay* m_display = nullptr;
};

} // namespace ironmoat::bench
