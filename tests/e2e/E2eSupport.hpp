#pragma once

// Runs the real game executable under the test X server and talks to it as
// a user and a window manager would: finds its window by title, reads its
// pixels, sends keys and clicks through XTest and asks it to close with
// WM_DELETE_WINDOW. Every wait is bounded.

#include <SFML/Graphics/Color.hpp>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>

struct _XDisplay;

namespace ironmoat::e2e {

// An X window id (Xlib's Window), kept apart from Xlib's macros, which
// clash with the test framework.
using WindowId = unsigned long;

// A temporary runtime folder: the executable (linked), data/ (linked when
// the build has one, else empty), maps/ and logs/.
class RuntimeFolder {
public:
    // Makes the folder under the system's temporary directory.
    RuntimeFolder();
    // Removes the folder and everything in it.
    ~RuntimeFolder();
    RuntimeFolder(const RuntimeFolder&) = delete;
    RuntimeFolder& operator=(const RuntimeFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path executable() const { return m_path / "ironmoat"; }
    // The newest file in logs/, if any.
    std::optional<std::filesystem::path> newestLog() const;
    // The last non-empty line of the newest log file ("" when there is none).
    std::string lastLogLine() const;

private:
    std::filesystem::path m_path;
};

// The game process, started in a runtime folder with its standard output
// and error going to files there.
class GameProcess {
public:
    // Starts the executable with the folder as working directory.
    explicit GameProcess(const RuntimeFolder& folder);
    // Kills the process if it still runs (a test that failed half-way).
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    pid_t pid() const { return m_pid; }
    // Waits at most the timeout for the exit; the exit status (the signal
    // number + 128 for a killed process) or nothing when still running.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);

private:
    pid_t m_pid = -1;
    std::optional<int> m_status;
};

// A connection to the X server of DISPLAY.
class XSession {
public:
    XSession();
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    bool connected() const { return m_display != nullptr; }
    _XDisplay* display() const { return m_display; }

    // Waits at most the timeout for a viewable top-level window with this
    // exact title (WM_NAME or _NET_WM_NAME); 0 when none appeared.
    WindowId findWindow(const std::string& title, std::chrono::milliseconds timeout);
    // The window's title (_NET_WM_NAME, else WM_NAME).
    std::string title(WindowId window);
    // The window's size in pixels.
    std::pair<int, int> size(WindowId window);
    // Asks the window to close, as a window manager does for its close box.
    bool sendDeleteWindow(WindowId window);
    // The colour of a pixel of the window's content.
    std::optional<sf::Color> pixel(WindowId window, int x, int y);
    // Saves the window's content as a PNG (through an image in memory).
    bool savePng(WindowId window, const std::filesystem::path& file);
    // Moves the pointer to (x, y) of the window and clicks the left button.
    void click(WindowId window, int x, int y);
    // Presses and releases the key with this X key symbol.
    void tapKey(unsigned long keysym);
    // Holds (or releases) the key with this X key symbol.
    void setKey(unsigned long keysym, bool down);
    // Moves the window's top-left corner to (x, y) of the screen and waits
    // (bounded) until the server reports it there, so that all of it can be
    // read back (the game opens partly below a 1080-pixel screen).
    bool place(WindowId window, int x, int y);
    // Gives the window the input focus (no window manager does it here).
    void focus(WindowId window);

private:
    _XDisplay* m_display = nullptr;
};

} // namespace ironmoat::e2e
