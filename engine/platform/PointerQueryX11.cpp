#include "engine/platform/PointerQueryX11.hpp"

#ifndef _WIN32

#include <X11/Xlib.h>

#include <mutex>

namespace pyx::wrp::_impl {

namespace {

// One connection for the process, opened on first use and kept: an Xlib
// connection is not safe to share between threads, hence the lock.
struct Connection {
    std::mutex lock;
    Display* display = nullptr;
    bool tried = false;
};

Connection& connection() {
    static Connection c;
    return c;
}

} // namespace

bool queryPointerX11(unsigned long window, PointerStateX11& state) {
    Connection& c = connection();
    std::lock_guard guard(c.lock);
    if (!c.tried) {
        c.tried = true;
        c.display = XOpenDisplay(nullptr);
    }
    if (!c.display) {
        return false;
    }
    ::Window root = 0, child = 0;
    unsigned int buttons = 0;
    const ::Window target = window ? static_cast<::Window>(window) : DefaultRootWindow(c.display);
    if (!XQueryPointer(c.display, target, &root, &child, &state.rootX, &state.rootY, &state.windowX,
                       &state.windowY, &buttons)) {
        // The pointer is on another screen; the positions are not usable,
        // exactly as SFML would report them.
        return false;
    }
    state.left = (buttons & Button1Mask) != 0;
    state.middle = (buttons & Button2Mask) != 0;
    state.right = (buttons & Button3Mask) != 0;
    return true;
}

} // namespace pyx::wrp::_impl

#endif
