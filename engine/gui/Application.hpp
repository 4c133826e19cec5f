#pragma once

#include <SFML/Window/Event.hpp>

#include <functional>
#include <memory>

namespace sf {
class RenderWindow;
}

namespace pyx::gfx {
class Camera;
class Mouse;
} // namespace pyx::gfx

namespace pyx::gui {

class Desktop;
class Theme;
class Window;

// The engine object that owns the GUI of the one render window and runs the
// frame loop: events, the per-frame update of the window tree, focus, mouse
// dispatch, drawing and presenting. Windows keep a plain pointer to it, so
// it must outlive its tree (it owns the desktop, which does).
class Application {
public:
    // Builds camera, mouse, desktop and theme for the window; the focus
    // starts on the desktop.
    explicit Application(std::shared_ptr<sf::RenderWindow> window);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The frame loop; returns once the window has been closed. A close
    // request ends the loop at once: later events of that frame are not
    // handled and the frame is neither updated nor drawn.
    void run();
    // Routes one event: mouse buttons and wheel to the mouse's counters
    // while the window has focus, keys and text up the focused window's
    // chain, anything else to the focused window's onEvent.
    void handleEvent(const sf::Event& event);
    // The per-frame update: keyboard, camera, desktop size, mouse, the
    // tree's update, theme, focus and mouse dispatch, in this order.
    void updateFrame(float dt, sf::RenderWindow& window);
    // After a left, right or middle press, moves the focus to the window
    // under the mouse (the desktop when none).
    void updateFocus();
    // Clears the tree's focus marks and focuses the window (the desktop
    // when the pointer is empty).
    void setFocus(const std::shared_ptr<Window>& window);

    // Asked when the window manager asks the window to close; returning
    // false keeps it open (a program with unsaved work asks its user
    // first). Without it the window closes at once.
    std::function<bool()> onCloseRequest;
    // Ends the frame loop after the current frame's update, before drawing.
    void quit() { m_quitRequested = true; }

    const std::shared_ptr<sf::RenderWindow>& getWindow() const { return m_window; }
    const std::shared_ptr<gfx::Camera>& getCamera() const { return m_camera; }
    const std::shared_ptr<gfx::Mouse>& getMouse() const { return m_mouse; }
    const std::shared_ptr<Desktop>& getDesktop() const { return m_desktop; }
    const std::shared_ptr<Window>& getFocused() const { return m_focused; }
    const std::shared_ptr<Theme>& getTheme() const { return m_theme; }

private:
    // Members are released in reverse order: theme, focus, desktop (the
    // whole tree), mouse, camera, window.
    std::shared_ptr<sf::RenderWindow> m_window;
    std::shared_ptr<gfx::Camera> m_camera;
    std::shared_ptr<gfx::Mouse> m_mouse;
    std::shared_ptr<Desktop> m_desktop;
    std::shared_ptr<Window> m_focused;
    std::shared_ptr<Theme> m_theme;
    bool m_quitRequested = false;
};

} // namespace pyx::gui
