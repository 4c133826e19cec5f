#pragma once

// Runs the real game executable under the test X server and talks to it as
// a user and a window manager would: finds its window by title, reads its
// pixels, sends keys and clicks through XTest and asks it to close with
// WM_DELETE_WINDOW. Every wait is bounded.

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/System/Vector2.hpp>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

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
    // A copy of a release folder (the unpacked Windows zip) whose program is
    // the named file in it.
    RuntimeFolder(const std::filesystem::path& release, const std::string& program);
    // Removes the folder and everything in it.
    ~RuntimeFolder();
    RuntimeFolder(const RuntimeFolder&) = delete;
    RuntimeFolder& operator=(const RuntimeFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    const std::filesystem::path& executable() const { return m_executable; }
    // The newest file in logs/, if any.
    std::optional<std::filesystem::path> newestLog() const;
    // The last non-empty line of the newest log file ("" when there is none).
    std::string lastLogLine() const;

private:
    std::filesystem::path m_path;
    std::filesystem::path m_executable;
};

// The title of the game's window.
inline constexpr const char* GameTitle = "IronMoat v1.0 (Dunmark PYX Remake)";
// The colour the desktop clears every frame to.
inline const sf::Color DesktopGrey(55, 55, 55);

// The game process, started in a runtime folder with its standard output
// and error going to files there.
class GameProcess {
public:
    // Starts the executable with the folder as working directory; a prefix
    // (a checker such as valgrind with its options) is run in its place with
    // the executable as its last argument.
    explicit GameProcess(const RuntimeFolder& folder, const std::vector<std::string>& prefix = {});
    // Starts the command (its first word a program, looked up in PATH when
    // it has no "/") in workDir, with the environment changed by `env`:
    // "NAME=VALUE" sets a variable, a bare "NAME" removes it. Standard output
    // and error go to stdout.txt and stderr.txt in outputDir.
    GameProcess(const std::filesystem::path& workDir, std::vector<std::string> command,
                const std::vector<std::string>& env, const std::filesystem::path& outputDir);
    // Starts another program of the folder (a tool beside the game) with
    // its arguments, the folder as working directory.
    GameProcess(const RuntimeFolder& folder, const std::string& program,
                const std::vector<std::string>& arguments);
    // Kills the process if it still runs (a test that failed half-way).
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    pid_t pid() const { return m_pid; }
    // Waits at most the timeout for the exit; the exit status (the signal
    // number + 128 for a killed process) or nothing when still running.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);
    // The resident memory of the process in KiB (VmRSS), nothing once it
    // has ended.
    std::optional<long> residentKiB() const;

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
    // The window's whole content, read back from the screen.
    std::optional<sf::Image> shot(WindowId window);
    // Takes shots until one satisfies the predicate or the time is up.
    std::optional<sf::Image> waitForShot(WindowId window,
                                         const std::function<bool(const sf::Image&)>& pred,
                                         std::chrono::milliseconds timeout);
    // Saves the window's content as a PNG.
    bool savePng(WindowId window, const std::filesystem::path& file);
    // Moves the pointer to (x, y) of the window and clicks the left button.
    void click(WindowId window, int x, int y);
    // Moves the pointer to (x, y) of the window.
    void moveTo(WindowId window, int x, int y);
    // Holds (or releases) a mouse button (1 left, 3 right) where the pointer is.
    void setButton(unsigned button, bool down);
    // Types plain ASCII text key by key (Shift where the character needs it).
    void typeText(const std::string& text);
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

// The main menu's two buttons as found in a shot of the window.
struct MenuButtons {
    int singlePlayerTop = 0;
    int twoPlayersTop = 0;
    int left = 0;
    int width = 0;
    int height = 0;
};

// Finds the menu's buttons by their pixels: two light rectangles of the
// same size, one above the other, in the window's middle column. Nothing
// while another form (or no frame yet) is shown.
std::optional<MenuButtons> findMenuButtons(const sf::Image& image);

// True when the match's side panel is drawn: the outlines of the Enemy and
// Player 1 blocks.
bool matchPanelShown(const sf::Image& image);

// The centre of Player 1's tank on the field: its deep yellow pixels (also
// under its thin shield), leaving out the paler yellow of spawn rings and
// bonuses and the orange of explosions. Nothing when too few are seen.
std::optional<sf::Vector2f> playerTank(const sf::Image& image);

// Holds each arrow key in turn until Player 1's tank, first seen at
// `before`, has moved more than 20 pixels; the shot that shows it moved, or
// nothing when no key moved it within `perKey`.
std::optional<sf::Image> driveTankAway(XSession& x, WindowId window, sf::Vector2f before,
                                       std::chrono::milliseconds perKey);

// Waits (at most the timeout) for the menu, then clicks "Single player" or
// "Two players"; the buttons found, nothing when the menu never showed.
std::optional<MenuButtons> clickMatchStart(XSession& x, WindowId window, bool twoPlayers,
                                           std::chrono::milliseconds timeout);

// Closes the window as a window manager's close box does and checks the
// orderly shutdown through the test framework: exit status 0 within the
// timeout and the logger's farewell as the last line of its file.
void closeAndCheckShutdown(XSession& x, WindowId window, GameProcess& game,
                           const RuntimeFolder& folder, std::chrono::milliseconds timeout);

} // namespace ironmoat::e2e
