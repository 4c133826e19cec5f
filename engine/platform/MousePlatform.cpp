#include "engine/platform/MousePlatform.hpp"

#include "engine/platform/MousePlatformNative.hpp"
#include "engine/platform/PointerQueryX11.hpp"

#include <SFML/Window/Mouse.hpp>

#include <mutex>

namespace pyx::wrp {

namespace {

struct Seams {
    std::mutex lock;
    MousePlatform::ButtonPoll button;
    MousePlatform::ForegroundPoll foreground;
    MousePlatform::CursorPoll cursor;
};

Seams& seams() {
    static Seams s;
    return s;
}

template <class F> F copyOf(const F& f) {
    std::lock_guard guard(seams().lock);
    return f;
}

bool systemButtonDown(int button) {
#ifdef _WIN32
    return _impl::nativeButtonDown(button);
#else
    if (button < 0 || button >= sf::Mouse::ButtonCount)
        return false;
    return sf::Mouse::isButtonPressed(static_cast<sf::Mouse::Button>(button));
#endif
}

} // namespace

bool MousePlatform::isButtonDown(int button, const sf::Window& window) {
    if (!isForeground(window))
        return false;
    if (const auto poll = copyOf(seams().button))
        return poll(button);
    return systemButtonDown(button);
}

std::array<bool, 3> MousePlatform::buttonsDown(const sf::Window& window) {
    std::array<bool, 3> down{};
    if (!isForeground(window))
        return down;
    if (const auto poll = copyOf(seams().button)) {
        for (int button = 0; button < 3; ++button)
            down[static_cast<unsigned>(button)] = poll(button);
        return down;
    }
#ifndef _WIN32
    _impl::PointerStateX11 pointer;
    if (_impl::queryPointerX11(0, pointer))
        return {pointer.left, pointer.right, pointer.middle};
#endif
    for (int button = 0; button < 3; ++button)
        down[static_cast<unsigned>(button)] = systemButtonDown(button);
    return down;
}

bool MousePlatform::isForeground(const sf::Window& window) {
    if (const auto poll = copyOf(seams().foreground))
        return poll(window);
#ifdef _WIN32
    return _impl::nativeIsForeground(reinterpret_cast<void*>(window.getSystemHandle()));
#else
    return window.hasFocus();
#endif
}

sf::Vector2i MousePlatform::cursorPosition() {
    if (const auto poll = copyOf(seams().cursor))
        return poll();
#ifdef _WIN32
    int x = 0, y = 0;
    if (!_impl::nativeCursorPosition(x, y))
        return {0, 0};
    return {x, y};
#else
    return sf::Mouse::getPosition();
#endif
}

sf::Vector2i MousePlatform::screenToClient(const sf::Window& window, sf::Vector2i screen) {
    if (copyOf(seams().cursor))
        return screen;
#ifdef _WIN32
    int x = screen.x, y = screen.y;
    if (!_impl::nativeScreenToClient(reinterpret_cast<void*>(window.getSystemHandle()), x, y))
        return screen;
    return {x, y};
#else
    // X11 offers no direct conversion for an arbitrary point; the offset
    // between the cursor's desktop and window positions is the window's
    // client origin, whatever decorations a window manager added. One query
    // gives both positions at the same instant.
    _impl::PointerStateX11 pointer;
    if (window.getSystemHandle() &&
        _impl::queryPointerX11(static_cast<unsigned long>(window.getSystemHandle()), pointer))
        return screen -
               sf::Vector2i(pointer.rootX - pointer.windowX, pointer.rootY - pointer.windowY);
    const sf::Vector2i offset = sf::Mouse::getPosition() - sf::Mouse::getPosition(window);
    return screen - offset;
#endif
}

void MousePlatform::setButtonPoll(ButtonPoll poll) {
    std::lock_guard guard(seams().lock);
    seams().button = std::move(poll);
}

void MousePlatform::setForegroundPoll(ForegroundPoll poll) {
    std::lock_guard guard(seams().lock);
    seams().foreground = std::move(poll);
}

void MousePlatform::setCursorPoll(CursorPoll poll) {
    std::lock_guard guard(seams().lock);
    seams().cursor = std::move(poll);
}

} // namespace pyx::wrp
