#include "tests/gui/XEventQueue.hpp"

#include <X11/Xlib.h>

namespace pyx::gui::test {

namespace {

// One connection for the whole test program; events sent through it reach
// the game window's own connection in the order they were sent.
Display* display() {
    static Display* connection = XOpenDisplay(nullptr);
    return connection;
}

} // namespace

bool queueKeyPress(sf::WindowHandle window, unsigned long keysym) {
    Display* d = display();
    if (d == nullptr) {
        return false;
    }
    XEvent event{};
    event.xkey.type = KeyPress;
    event.xkey.display = d;
    event.xkey.window = window;
    event.xkey.root = DefaultRootWindow(d);
    event.xkey.subwindow = 0;
    event.xkey.time = CurrentTime;
    event.xkey.same_screen = True;
    event.xkey.keycode = XKeysymToKeycode(d, keysym);
    event.xkey.state = 0;
    const Status sent = XSendEvent(d, window, True, KeyPressMask, &event);
    XSync(d, False);
    return sent != 0;
}

bool queueCloseRequest(sf::WindowHandle window) {
    Display* d = display();
    if (d == nullptr) {
        return false;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(d, window, False, NoEventMask, &event);
    XSync(d, False);
    return sent != 0;
}

} // namespace pyx::gui::test
