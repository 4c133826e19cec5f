// The one-request keyboard and pointer queries must answer exactly as SFML's
// per-key and per-button calls do, on a real X server driven through XTest.

#include "engine/platform/KeyboardSnapshotX11.hpp"
#include "engine/platform/MousePlatform.hpp"

#include <SFML/Window/Event.hpp>
#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/Mouse.hpp>
#include <SFML/Window/Window.hpp>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

// Xlib's macros clash with the test framework, so Xlib comes last.
// clang-format off
#include <X11/Xlib.h>
#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
// clang-format on

using pyx::wrp::MousePlatform;

namespace {

class PlatformX11Queries : public ::testing::Test {
protected:
    void SetUp() override {
        display = XOpenDisplay(nullptr);
        if (!display)
            GTEST_SKIP() << "no X server";
    }
    void TearDown() override {
        if (display)
            XCloseDisplay(display);
    }
    // The modifiers that Caps Lock and Num Lock hold on the server.
    unsigned lockedModifiers() {
        XkbStateRec state{};
        XkbGetState(display, XkbUseCoreKbd, &state);
        return state.locked_mods;
    }

    // Pressing every key code toggles the lock keys on the server, which then
    // stays in that state for every later client: tap each lock key again
    // until the locks are as they were, so the next test types as a player
    // would.
    void restoreLocks(unsigned before) {
        for (const KeySym sym : {XK_Caps_Lock, XK_Num_Lock, XK_Scroll_Lock, XK_Shift_Lock}) {
            const KeyCode code = XKeysymToKeycode(display, sym);
            if (code == 0 || lockedModifiers() == before) {
                continue;
            }
            const unsigned differing = __builtin_popcount(lockedModifiers() ^ before);
            tap(code);
            if (static_cast<unsigned>(__builtin_popcount(lockedModifiers() ^ before)) > differing) {
                tap(code);
            }
        }
    }

    void tap(KeyCode code) {
        XTestFakeKeyEvent(display, code, True, CurrentTime);
        XTestFakeKeyEvent(display, code, False, CurrentTime);
        XSync(display, False);
    }

    void settle() {
        XSync(display, False);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }

    Display* display = nullptr;
};

} // namespace

TEST_F(PlatformX11Queries, KeyboardSnapshotAgreesWithSfmlForEveryHeldKeyCode) {
    pyx::wrp::_impl::KeyboardSnapshotX11 snapshot;
    int minCode = 0, maxCode = 0;
    XDisplayKeycodes(display, &minCode, &maxCode);
    int keysSeenDown = 0;
    const unsigned locksBefore = lockedModifiers();
    for (int code = minCode; code <= maxCode; ++code) {
        XTestFakeKeyEvent(display, static_cast<unsigned>(code), True, CurrentTime);
        XSync(display, False);
        std::array<std::uint8_t, 101> down{};
        ASSERT_TRUE(snapshot.take(down));
        for (int key = 0; key < 101; ++key) {
            const bool sfml = sf::Keyboard::isKeyPressed(static_cast<sf::Keyboard::Key>(key));
            EXPECT_EQ(sfml, down[static_cast<unsigned>(key)] != 0)
                << "key code " << key << " with X key code " << code << " held";
            keysSeenDown += sfml ? 1 : 0;
        }
        XTestFakeKeyEvent(display, static_cast<unsigned>(code), False, CurrentTime);
        XSync(display, False);
    }
    restoreLocks(locksBefore);
    EXPECT_EQ(lockedModifiers(), locksBefore);
    // Letters, digits, arrows and the function keys exist on every keymap.
    EXPECT_GE(keysSeenDown, 80);
}

TEST_F(PlatformX11Queries, ButtonsAndClientPositionsAgreeWithSfml) {
    sf::Window window(sf::VideoMode(300, 200), "pointer queries");
    XMoveWindow(display, window.getSystemHandle(), 50, 70);
    settle();
    XSetInputFocus(display, window.getSystemHandle(), RevertToParent, CurrentTime);
    settle();
    sf::Event event;
    while (window.pollEvent(event)) {
    }
    ASSERT_TRUE(MousePlatform::isForeground(window));

    // X buttons 1, 2, 3 are left, middle and right.
    const int expectedIndex[] = {0, 2, 1};
    for (int xButton = 1; xButton <= 3; ++xButton) {
        XTestFakeMotionEvent(display, DefaultScreen(display), 100 + 10 * xButton, 120 + xButton,
                             CurrentTime);
        XTestFakeButtonEvent(display, static_cast<unsigned>(xButton), True, CurrentTime);
        settle();
        const std::array<bool, 3> held = MousePlatform::buttonsDown(window);
        for (int button = 0; button < 3; ++button) {
            EXPECT_EQ(held[static_cast<unsigned>(button)], button == expectedIndex[xButton - 1]);
            EXPECT_EQ(held[static_cast<unsigned>(button)],
                      MousePlatform::isButtonDown(button, window));
        }
        const sf::Vector2i screen = MousePlatform::cursorPosition();
        const sf::Vector2i viaSfml =
            screen - (sf::Mouse::getPosition() - sf::Mouse::getPosition(window));
        EXPECT_EQ(MousePlatform::screenToClient(window, screen), viaSfml);
        EXPECT_EQ(MousePlatform::screenToClient(window, {7, 9}) - sf::Vector2i(7, 9),
                  viaSfml - screen);
        XTestFakeButtonEvent(display, static_cast<unsigned>(xButton), False, CurrentTime);
        settle();
        const std::array<bool, 3> released = MousePlatform::buttonsDown(window);
        EXPECT_FALSE(released[0] || released[1] || released[2]);
    }
}
