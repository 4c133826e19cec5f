#pragma once

// Puts events into a window's X event queue the way the server would
// deliver them, so that a test can run the real frame loop over them. Kept
// apart from the tests because Xlib's macros clash with the test framework.

#include <SFML/Window/WindowHandle.hpp>

namespace pyx::gui::test {

// Queues a press of the key with this X key symbol (e.g. 0x61 for 'a').
bool queueKeyPress(sf::WindowHandle window, unsigned long keysym);
// Queues the window manager's close request (WM_DELETE_WINDOW).
bool queueCloseRequest(sf::WindowHandle window);

} // namespace pyx::gui::test
