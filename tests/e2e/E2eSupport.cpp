#include "tests/e2e/E2eSupport.hpp"

// Before Xlib, whose macros (None, Bool, ...) clash with the test framework.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <SFML/Graphics/Image.hpp>

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace ironmoat::e2e {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// A failed request (a window that went away meanwhile) must fail the test,
// not end the test program.
int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

// Reads a part of the screen where the window lies; the root window is read
// because a GL window's own content cannot always be fetched directly.
XImage* grab(Display* display, WindowId window, int x, int y, unsigned w, unsigned h) {
    int rootX = 0, rootY = 0;
    ::Window child = 0;
    if (XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &rootX, &rootY,
                              &child) == 0) {
        return nullptr;
    }
    return XGetImage(display, DefaultRootWindow(display), rootX, rootY, w, h, AllPlanes, ZPixmap);
}

} // namespace

namespace {

fs::path freshFolderPath() {
    std::random_device seed;
    return fs::temp_directory_path() /
           ("ironmoat-e2e-" + std::to_string(::getpid()) + "-" + std::to_string(seed()));
}

} // namespace

RuntimeFolder::RuntimeFolder(const fs::path& release, const std::string& program)
    : m_path(freshFolderPath()), m_executable(m_path / program) {
    fs::copy(release, m_path, fs::copy_options::recursive);
}

RuntimeFolder::RuntimeFolder() : m_path(freshFolderPath()), m_executable(m_path / "ironmoat") {
    fs::create_directories(m_path / "logs");
    fs::create_directories(m_path / "maps");
    const fs::path runtime = fs::path(IRONMOAT_BINARY_DIR) / "game";
    fs::create_symlink(runtime / "ironmoat", executable());
    if (fs::is_directory(runtime / "data")) {
        fs::create_directory_symlink(runtime / "data", m_path / "data");
    } else {
        fs::create_directories(m_path / "data");
    }
}

RuntimeFolder::~RuntimeFolder() {
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

std::optional<fs::path> RuntimeFolder::newestLog() const {
    std::optional<fs::path> newest;
    fs::file_time_type newestTime{};
    for (const fs::directory_entry& entry : fs::directory_iterator(m_path / "logs")) {
        if (entry.is_regular_file() && (!newest || entry.last_write_time() > newestTime)) {
            newest = entry.path();
            newestTime = entry.last_write_time();
        }
    }
    return newest;
}

std::string RuntimeFolder::lastLogLine() const {
    const std::optional<fs::path> log = newestLog();
    if (!log) {
        return {};
    }
    std::ifstream in(*log);
    std::string line, last;
    while (std::getline(in, line)) {
        if (!line.empty() && line != "\r") {
            last = line;
        }
    }
    return last;
}

GameProcess::GameProcess(const RuntimeFolder& folder, const std::vector<std::string>& prefix)
    : GameProcess(
          folder.path(),
          [&] {
              std::vector<std::string> words = prefix;
              words.push_back(folder.executable().string());
              return words;
          }(),
          {}, folder.path()) {}

GameProcess::GameProcess(const RuntimeFolder& folder, const std::string& program,
                         const std::vector<std::string>& arguments)
    : GameProcess(
          folder.path(),
          [&] {
              std::vector<std::string> words{(folder.path() / program).string()};
              words.insert(words.end(), arguments.begin(), arguments.end());
              return words;
          }(),
          {}, folder.path()) {}

GameProcess::GameProcess(const fs::path& workDir, std::vector<std::string> command,
                         const std::vector<std::string>& env, const fs::path& outputDir) {
    const std::string dir = workDir.string();
    const std::string out = (outputDir / "stdout.txt").string();
    const std::string err = (outputDir / "stderr.txt").string();
    // Everything the child needs is prepared before the fork.
    std::vector<std::string> environment;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        const bool changed = std::any_of(env.begin(), env.end(), [&](const std::string& change) {
            return change.substr(0, change.find('=')) == name;
        });
        if (!changed) {
            environment.push_back(entry);
        }
    }
    for (const std::string& change : env) {
        if (change.find('=') != std::string::npos) {
            environment.push_back(change);
        }
    }
    std::vector<char*> argv;
    for (std::string& word : command) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);
    m_pid = ::fork();
    if (m_pid == 0) {
        if (::chdir(dir.c_str()) != 0) {
            ::_exit(126);
        }
        const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (o >= 0) {
            ::dup2(o, 1);
        }
        if (e >= 0) {
            ::dup2(e, 2);
        }
        ::execvpe(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
}

GameProcess::~GameProcess() {
    if (m_pid > 0 && !m_status) {
        ::kill(m_pid, SIGKILL);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
    }
}

std::optional<int> GameProcess::waitForExit(std::chrono::milliseconds timeout) {
    if (m_status || m_pid <= 0) {
        return m_status;
    }
    const auto end = std::chrono::steady_clock::now() + timeout;
    do {
        int status = 0;
        const pid_t done = ::waitpid(m_pid, &status, WNOHANG);
        if (done == m_pid) {
            m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return m_status;
        }
        std::this_thread::sleep_for(20ms);
    } while (std::chrono::steady_clock::now() < end);
    return std::nullopt;
}

std::optional<long> GameProcess::residentKiB() const {
    if (m_status || m_pid <= 0) {
        return std::nullopt;
    }
    std::ifstream status("/proc/" + std::to_string(m_pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    // A zombie has no VmRSS line: the process has ended.
    return std::nullopt;
}

XSession::XSession() : m_display(XOpenDisplay(nullptr)) {
    XSetErrorHandler(ignoreXError);
}

XSession::~XSession() {
    if (m_display != nullptr) {
        XCloseDisplay(m_display);
    }
}

std::string XSession::title(::Window window) {
    const Atom netName = XInternAtom(m_display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(m_display, "UTF8_STRING", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    std::string result;
    if (XGetWindowProperty(m_display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                           &remaining, &data) == Success &&
        data != nullptr && count > 0) {
        result.assign(reinterpret_cast<char*>(data), count);
    }
    if (data != nullptr) {
        XFree(data);
    }
    if (result.empty()) {
        char* name = nullptr;
        if (XFetchName(m_display, window, &name) != 0 && name != nullptr) {
            result = name;
            XFree(name);
        }
    }
    return result;
}

::Window XSession::findWindow(const std::string& wanted, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    do {
        ::Window root = 0, parent = 0;
        ::Window* children = nullptr;
        unsigned count = 0;
        if (XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children,
                       &count) != 0) {
            std::vector<::Window> windows(children, children + count);
            if (children != nullptr) {
                XFree(children);
            }
            for (::Window w : windows) {
                XWindowAttributes attributes;
                if (XGetWindowAttributes(m_display, w, &attributes) != 0 &&
                    attributes.map_state == IsViewable && title(w) == wanted) {
                    return w;
                }
            }
        }
        std::this_thread::sleep_for(50ms);
    } while (std::chrono::steady_clock::now() < end);
    return 0;
}

std::pair<int, int> XSession::size(::Window window) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(m_display, window, &attributes) == 0) {
        return {0, 0};
    }
    return {attributes.width, attributes.height};
}

bool XSession::sendDeleteWindow(::Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(m_display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(m_display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(m_display, window, False, NoEventMask, &event);
    XSync(m_display, False);
    return sent != 0;
}

std::optional<sf::Color> XSession::pixel(::Window window, int x, int y) {
    XImage* image = grab(m_display, window, x, y, 1, 1);
    if (image == nullptr) {
        return std::nullopt;
    }
    const unsigned long value = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return sf::Color(static_cast<sf::Uint8>((value >> 16) & 0xFF),
                     static_cast<sf::Uint8>((value >> 8) & 0xFF),
                     static_cast<sf::Uint8>(value & 0xFF));
}

std::optional<sf::Image> XSession::shot(::Window window) {
    const auto [w, h] = size(window);
    if (w <= 0 || h <= 0) {
        return std::nullopt;
    }
    XImage* image =
        grab(m_display, window, 0, 0, static_cast<unsigned>(w), static_cast<unsigned>(h));
    if (image == nullptr) {
        return std::nullopt;
    }
    std::vector<sf::Uint8> rgba(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
    std::size_t at = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const unsigned long v = XGetPixel(image, x, y);
            rgba[at++] = static_cast<sf::Uint8>((v >> 16) & 0xFF);
            rgba[at++] = static_cast<sf::Uint8>((v >> 8) & 0xFF);
            rgba[at++] = static_cast<sf::Uint8>(v & 0xFF);
            rgba[at++] = 255;
        }
    }
    XDestroyImage(image);
    sf::Image out;
    out.create(static_cast<unsigned>(w), static_cast<unsigned>(h), rgba.data());
    return out;
}

std::optional<sf::Image> XSession::waitForShot(WindowId window,
                                               const std::function<bool(const sf::Image&)>& pred,
                                               std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    do {
        if (std::optional<sf::Image> image = shot(window); image && pred(*image)) {
            return image;
        }
        std::this_thread::sleep_for(100ms);
    } while (std::chrono::steady_clock::now() < end);
    return std::nullopt;
}

bool XSession::savePng(::Window window, const fs::path& file) {
    const std::optional<sf::Image> image = shot(window);
    return image && image->saveToFile(file.string());
}

bool XSession::place(WindowId window, int x, int y) {
    for (int i = 0; i < 100; ++i) {
        // A program that is still placing its new window itself (Wine
        // centres it) may move it after us: ask again now and then.
        if (i % 10 == 0) {
            XMoveWindow(m_display, window, x, y);
            XSync(m_display, False);
        }
        int rootX = 0, rootY = 0;
        ::Window child = 0;
        if (XTranslateCoordinates(m_display, window, DefaultRootWindow(m_display), 0, 0, &rootX,
                                  &rootY, &child) != 0 &&
            rootX == x && rootY == y) {
            return true;
        }
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

void XSession::focus(::Window window) {
    XSetInputFocus(m_display, window, RevertToParent, CurrentTime);
    XSync(m_display, False);
}

void XSession::click(::Window window, int x, int y) {
    XWarpPointer(m_display, None, window, 0, 0, 0, 0, x, y);
    XSync(m_display, False);
    XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
    XSync(m_display, False);
    // Two frames at 70 per second, so the game sees the button held.
    std::this_thread::sleep_for(40ms);
    XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
    XSync(m_display, False);
}

void XSession::moveTo(::Window window, int x, int y) {
    XWarpPointer(m_display, None, window, 0, 0, 0, 0, x, y);
    XSync(m_display, False);
    // Two frames, so the program sees the pointer there before what follows.
    std::this_thread::sleep_for(30ms);
}

void XSession::setButton(unsigned button, bool down) {
    XTestFakeButtonEvent(m_display, button, down ? True : False, CurrentTime);
    XSync(m_display, False);
    std::this_thread::sleep_for(40ms);
}

void XSession::typeText(const std::string& text) {
    for (const char c : text) {
        const std::string name(1, c);
        KeySym keysym = XStringToKeysym(name.c_str());
        if (c == '-') {
            keysym = XK_minus;
        } else if (c == '/') {
            keysym = XK_slash;
        } else if (c == ' ') {
            keysym = XK_space;
        } else if (c == '.') {
            keysym = XK_period;
        }
        const bool shift = c >= 'A' && c <= 'Z';
        if (shift) {
            setKey(XK_Shift_L, true);
        }
        tapKey(keysym);
        if (shift) {
            setKey(XK_Shift_L, false);
        }
    }
}

void XSession::setKey(unsigned long keysym, bool down) {
    const KeyCode code = XKeysymToKeycode(m_display, keysym);
    XTestFakeKeyEvent(m_display, code, down ? True : False, CurrentTime);
    XSync(m_display, False);
}

void XSession::tapKey(unsigned long keysym) {
    setKey(keysym, true);
    std::this_thread::sleep_for(40ms);
    setKey(keysym, false);
}

namespace {

bool isDesktop(const sf::Image& image, int x, int y) {
    return image.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y)) == DesktopGrey;
}

// A button face whose top edge lies at y in the column x: a run of 46 to 54
// pixels other than the desktop's grey, 140 to 160 pixels wide along a row
// near its top (above the caption, whose smoothed edges may hit the grey).
std::optional<MenuButtons> buttonAt(const sf::Image& image, int x, int y) {
    const int w = static_cast<int>(image.getSize().x);
    const int h = static_cast<int>(image.getSize().y);
    int run = 0;
    while (y + run < h && run < 60 && !isDesktop(image, x, y + run)) {
        ++run;
    }
    if (run < 46 || run > 54) {
        return std::nullopt;
    }
    const int row = y + 3;
    int left = x;
    while (left > 0 && !isDesktop(image, left - 1, row)) {
        --left;
    }
    int right = x;
    while (right + 1 < w && !isDesktop(image, right + 1, row)) {
        ++right;
    }
    const int width = right - left + 1;
    if (width < 140 || width > 160) {
        return std::nullopt;
    }
    // A filled rectangle: its far column runs as deep as the near one.
    for (int i = 0; i < run; ++i) {
        if (isDesktop(image, right - 3, y + i)) {
            return std::nullopt;
        }
    }
    return MenuButtons{y, 0, left, width, run};
}

} // namespace

std::optional<MenuButtons> findMenuButtons(const sf::Image& image) {
    const int w = static_cast<int>(image.getSize().x);
    const int h = static_cast<int>(image.getSize().y);
    // Before the first frame the window reads back black; the desktop's
    // grey at a corner no form paints says a frame has been drawn.
    if (w < 400 || h < 300 || !isDesktop(image, 2, h - 3)) {
        return std::nullopt;
    }
    // The buttons are 150 pixels wide and centred; this column lies inside
    // them, left of their captions.
    const int x = w / 2 - 70;
    std::vector<MenuButtons> found;
    for (int y = 1; y < h; ++y) {
        if (isDesktop(image, x, y) || !isDesktop(image, x, y - 1)) {
            continue;
        }
        if (const std::optional<MenuButtons> button = buttonAt(image, x, y)) {
            found.push_back(*button);
        }
    }
    // "Two players" lies 100 pixels under "Single player", edge to edge.
    for (std::size_t i = 0; i < found.size(); ++i) {
        for (std::size_t j = i + 1; j < found.size(); ++j) {
            const int gap = found[j].singlePlayerTop - found[i].singlePlayerTop;
            if (gap >= 90 && gap <= 110 && std::abs(found[j].left - found[i].left) <= 1) {
                MenuButtons buttons = found[i];
                buttons.twoPlayersTop = found[j].singlePlayerTop;
                return buttons;
            }
        }
    }
    return std::nullopt;
}

bool matchPanelShown(const sf::Image& image) {
    if (image.getSize().x < 1100 || image.getSize().y < 300) {
        return false;
    }
    const sf::Color white(255, 255, 255);
    return image.getPixel(911, 100) == white && image.getPixel(1070, 100) == white &&
           image.getPixel(911, 290) == white;
}

std::optional<sf::Vector2f> playerTank(const sf::Image& image) {
    const auto tankYellow = [](sf::Color c) {
        return c.r > 190 && c.g > 130 && c.g < 195 && c.b < 80;
    };
    double sx = 0, sy = 0;
    int n = 0;
    for (unsigned y = 0; y < 702; ++y) {
        for (unsigned x = 0; x < 702; ++x) {
            if (tankYellow(image.getPixel(x, y))) {
                sx += x;
                sy += y;
                ++n;
            }
        }
    }
    if (n < 50) {
        return std::nullopt;
    }
    return sf::Vector2f(static_cast<float>(sx / n), static_cast<float>(sy / n));
}

std::optional<sf::Image> driveTankAway(XSession& x, WindowId window, sf::Vector2f before,
                                       std::chrono::milliseconds perKey) {
    for (unsigned long key : {XK_Up, XK_Left, XK_Right, XK_Down}) {
        x.focus(window);
        x.setKey(key, true);
        std::optional<sf::Image> after = x.waitForShot(
            window,
            [&](const sf::Image& image) {
                const auto now = playerTank(image);
                return now &&
                       (std::abs(now->x - before.x) > 20 || std::abs(now->y - before.y) > 20);
            },
            perKey);
        x.setKey(key, false);
        if (after) {
            return after;
        }
    }
    return std::nullopt;
}

std::optional<MenuButtons> clickMatchStart(XSession& x, WindowId window, bool twoPlayers,
                                           std::chrono::milliseconds timeout) {
    std::optional<MenuButtons> buttons;
    const std::optional<sf::Image> menu = x.waitForShot(
        window,
        [&](const sf::Image& image) { return (buttons = findMenuButtons(image)).has_value(); },
        timeout);
    if (!menu) {
        return std::nullopt;
    }
    // The game counts clicks only while its window has the input focus.
    x.focus(window);
    const int top = twoPlayers ? buttons->twoPlayersTop : buttons->singlePlayerTop;
    x.click(window, buttons->left + buttons->width / 2, top + buttons->height / 2);
    return buttons;
}

void closeAndCheckShutdown(XSession& x, WindowId window, GameProcess& game,
                           const RuntimeFolder& folder, std::chrono::milliseconds timeout) {
    ASSERT_TRUE(x.sendDeleteWindow(window));
    const std::optional<int> status = game.waitForExit(timeout);
    ASSERT_TRUE(status.has_value()) << "the game did not exit after WM_DELETE_WINDOW";
    EXPECT_EQ(*status, 0);
    EXPECT_NE(folder.lastLogLine().find("Logging thread finished."), std::string::npos)
        << "last log line: " << folder.lastLogLine();
}

} // namespace ironmoat::e2e
