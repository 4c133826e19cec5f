#include "tools/bench/XProbe.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <thread>

namespace ironmoat::bench {

namespace {

// A window that went away between two requests must not end the benchmark.
int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

std::optional<unsigned long> cardinalProperty(Display* display, ::Window window, Atom property) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::optional<unsigned long> value;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data && count == 1 && format == 32)
        value = *reinterpret_cast<unsigned long*>(data);
    if (data)
        XFree(data);
    return value;
}

std::string windowTitle(Display* display, ::Window window) {
    std::string title;
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name)
        title = name;
    if (name)
        XFree(name);
    return title;
}

std::uint32_t rgb(XImage* image, int x, int y) {
    return static_cast<std::uint32_t>(XGetPixel(image, x, y) & 0xFFFFFFu);
}

} // namespace

XProbe::XProbe() {
    XSetErrorHandler(ignoreXError);
    m_display = XOpenDisplay(nullptr);
}

XProbe::~XProbe() {
    if (m_display)
        XCloseDisplay(m_display);
}

unsigned long XProbe::findWindow(pid_t pid, const std::string& title) {
    if (!m_display)
        return 0;
    const Atom pidAtom = XInternAtom(m_display, "_NET_WM_PID", False);
    ::Window root = 0, parent = 0;
    ::Window* children = nullptr;
    unsigned count = 0;
    unsigned long found = 0;
    if (!XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children, &count))
        return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(m_display, children[i], &attributes) ||
            attributes.map_state != IsViewable)
            continue;
        const auto owner = cardinalProperty(m_display, children[i], pidAtom);
        if (owner && static_cast<pid_t>(*owner) != pid)
            continue;
        if (windowTitle(m_display, children[i]) == title)
            found = children[i];
    }
    if (children)
        XFree(children);
    return found;
}

bool XProbe::placeAtOrigin(unsigned long window) {
    XMoveWindow(m_display, window, 0, 0);
    XSync(m_display, False);
    for (int i = 0; i < 200; ++i) {
        int x = -1, y = -1;
        ::Window child = 0;
        XTranslateCoordinates(m_display, window, DefaultRootWindow(m_display), 0, 0, &x, &y,
                              &child);
        if (x == 0 && y == 0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

std::optional<std::vector<std::uint32_t>>
XProbe::pixels(unsigned long window, const std::vector<std::pair<int, int>>& at) {
    int rootX = 0, rootY = 0;
    ::Window child = 0;
    const ::Window root = DefaultRootWindow(m_display);
    if (!XTranslateCoordinates(m_display, window, root, 0, 0, &rootX, &rootY, &child))
        return std::nullopt;
    std::vector<std::uint32_t> colours;
    for (const auto& [x, y] : at) {
        XImage* image = XGetImage(m_display, root, rootX + x, rootY + y, 1, 1, AllPlanes, ZPixmap);
        if (!image)
            return std::nullopt;
        colours.push_back(rgb(image, 0, 0));
        XDestroyImage(image);
    }
    return colours;
}

std::vector<std::uint32_t> XProbe::column(unsigned long window, int x, int y0, int height) {
    std::vector<std::uint32_t> colours;
    int rootX = 0, rootY = 0;
    ::Window child = 0;
    const ::Window root = DefaultRootWindow(m_display);
    if (!XTranslateCoordinates(m_display, window, root, x, y0, &rootX, &rootY, &child))
        return colours;
    XImage* image = XGetImage(m_display, root, rootX, rootY, 1, static_cast<unsigned>(height),
                              AllPlanes, ZPixmap);
    if (!image)
        return colours;
    for (int y = 0; y < height; ++y)
        colours.push_back(rgb(image, 0, y));
    XDestroyImage(image);
    return colours;
}

void XProbe::click(unsigned long window, int x, int y) {
    XSetInputFocus(m_display, window, RevertToParent, CurrentTime);
    int rootX = 0, rootY = 0;
    ::Window child = 0;
    XTranslateCoordinates(m_display, window, DefaultRootWindow(m_display), x, y, &rootX, &rootY,
                          &child);
    XTestFakeMotionEvent(m_display, DefaultScreen(m_display), rootX, rootY, CurrentTime);
    XSync(m_display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
    XSync(m_display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
    XSync(m_display, False);
}

bool XProbe::sendDeleteWindow(unsigned long window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(m_display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(m_display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(m_display, window, False, NoEventMask, &event) != 0;
    XSync(m_display, False);
    return sent;
}

} // namespace ironmoat::bench
