#pragma once

#include <SFML/System/Vector2.hpp>
#include <SFML/Window/Window.hpp>

#include <array>
#include <functional>

namespace pyx::wrp {

// The operating system's mouse: button states, the cursor in screen pixels
// and whether a window is the foreground window. Buttons use the codes of
// sf::Mouse::Button (0 left, 1 right, 2 middle); on Windows the left and
// right buttons follow the system's swapped-buttons setting.
//
// Test seam: `setButtonPoll`, `setForegroundPoll` and `setCursorPoll`
// replace the system's answers (an empty function restores the system
// poll). GUI and mouse tests use them to press buttons, move the cursor and
// pretend the test window has focus, which an X server without a window
// manager does not give reliably.
class MousePlatform {
public:
    using ButtonPoll = std::function<bool(int button)>;
    using ForegroundPoll = std::function<bool(const sf::Window& window)>;
    using CursorPoll = std::function<sf::Vector2i()>;

    // The button is held and the window is the foreground window.
    static bool isButtonDown(int button, const sf::Window& window);
    // isButtonDown of the left, right and middle buttons (indices 0, 1, 2)
    // at once: the foreground is asked once and, on X11, one pointer query
    // answers all three buttons.
    static std::array<bool, 3> buttonsDown(const sf::Window& window);
    // The window is the foreground window (the window has the focus).
    static bool isForeground(const sf::Window& window);
    // The cursor in screen pixels.
    static sf::Vector2i cursorPosition();
    // A screen position in the window's client coordinates.
    static sf::Vector2i screenToClient(const sf::Window& window, sf::Vector2i screen);

    static void setButtonPoll(ButtonPoll poll);
    static void setForegroundPoll(ForegroundPoll poll);
    // The test cursor is a screen position; client positions are then the
    // same numbers, as if the window sat at the screen's origin.
    static void setCursorPoll(CursorPoll poll);
};

} // namespace pyx::wrp
