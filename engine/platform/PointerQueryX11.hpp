#pragma once

namespace pyx::wrp::_impl {

// What one XQueryPointer tells: the cursor on the screen, the cursor
// relative to a window, and the three main buttons.
struct PointerStateX11 {
    int rootX = 0, rootY = 0;
    int windowX = 0, windowY = 0;
    bool left = false, right = false, middle = false;
};

// Queries the pointer relative to the window (a native X window id; 0 for
// the screen's root window) in one request on a connection of the
// platform layer's own. False when there is no X server to ask.
bool queryPointerX11(unsigned long window, PointerStateX11& state);

} // namespace pyx::wrp::_impl
