#pragma once

#include "engine/gui/Position.hpp"

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Window/Event.hpp>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace pyx::gfx {
class Camera;
class Mouse;
} // namespace pyx::gfx

namespace pyx::gui {

class Application;
class Theme;

// A node of the retained GUI tree. A parent owns its children; the parent,
// self and focused-child links are weak so that a tree is freed from the
// top. Windows always live in shared pointers and must have had setParent
// called before they get children of their own.
class Window {
public:
    // A window placed by the given position node (the desktop passes its root).
    Window(Application* application, std::shared_ptr<Position> position);
    // A window with a new node at (0, 0) under the parent window's node; it is
    // not yet a child of the parent (setParent does that).
    Window(Application* application, const std::shared_ptr<Window>& parent);
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // The virtual hooks, in their fixed slot order.

    // Clears the parent link of every child before the children go.
    virtual ~Window();
    // Per-frame update; the base passes it to every child while active.
    virtual void update(float dt);
    // A non-mouse, non-key event; true when consumed. The base ignores it.
    virtual bool onEvent(const sf::Event& event);
    // Hover and click handling; the base passes the mouse to the children,
    // last (topmost) first, while active.
    virtual void processMouse(gfx::Mouse& mouse);
    // Brings skins up to date with the theme. The base has none.
    virtual void applyTheme(Theme& theme);
    // Width of the frame drawn around the window; the clip is inset by half.
    virtual float borderWidth() const;
    // Called at the end of every setParent.
    virtual void onAttached();
    // Draws the window itself, in local coordinates, inside its clip.
    virtual void drawSelf(gfx::Camera& camera);
    // Draws over the children, outside the window's own clip.
    virtual void drawOverlay(gfx::Camera& camera);
    // A key while this window is on the bubbling path; true when consumed.
    virtual bool onKeyPressed(const sf::Event::KeyEvent& key);
    // A typed code point while on the bubbling path; true when consumed.
    virtual bool onTextEntered(std::uint32_t codePoint);

    // Tree operations.

    // Stores self, becomes the parent's last child (when a parent is given)
    // and calls onAttached. self must point to this window.
    void setParent(const std::shared_ptr<Window>& self, const std::shared_ptr<Window>& parent);
    // Moves the child to the end of this window's children, taking it from
    // its previous parent; nothing happens when it already is a child here.
    void addChild(const std::shared_ptr<Window>& child);
    // Takes the child out (order of the others kept) and clears its parent
    // link; a window that is not a child here is ignored.
    void removeChild(const std::shared_ptr<Window>& child);
    // The parent, empty when there is none or it has gone.
    std::shared_ptr<Window> getParent() const { return m_parent.lock(); }
    // This window as a shared pointer, empty before setParent.
    std::shared_ptr<Window> getSelf() const { return m_self.lock(); }
    const std::vector<std::shared_ptr<Window>>& getChildren() const { return m_children; }
    std::shared_ptr<Window> getFocusedChild() const { return m_focusedChild.lock(); }

    // Makes a child of class T (constructed with the application, this
    // window and the extra arguments) and attaches it here.
    template <class T, class... Args> std::shared_ptr<T> createChild(Args&&... args) {
        std::shared_ptr<Window> self = getSelf();
        auto child = std::make_shared<T>(m_application, self, std::forward<Args>(args)...);
        child->setParent(child, self);
        return child;
    }

    // Accessors.
    Application* getApplication() const { return m_application; }
    const std::shared_ptr<Position>& getPosition() const { return m_position; }
    sf::Vector2f getPoint() const { return m_position->getPoint(); }
    void setPoint(float x, float y) { m_position->setPoint(x, y); }
    void setActive(bool active) { m_active = active; }
    bool isActive() const { return m_active; }
    void setEnabled(bool enabled) { m_enabled = enabled; }
    bool isEnabled() const { return m_enabled; }
    bool isFocused() const { return m_focused; }
    float getWidth() const { return m_width; }
    float getHeight() const { return m_height; }
    sf::Vector2f getSize() const { return {m_width, m_height}; }
    void setSize(float width, float height);
    // Point from the rectangle's left and top, size from its width and height.
    void setRect(const sf::FloatRect& rect);

    // Per-frame passes called by the application.

    // applyTheme on this window, then on the subtree, active or not.
    void applyThemeToTree(Theme& theme);
    // Offers the key to this window, then up the parents until one consumes
    // it; an inactive window ends the chain.
    bool keyPressed(const sf::Event::KeyEvent& key);
    // The same bubbling for a typed code point.
    bool textEntered(std::uint32_t codePoint);
    // The topmost active window under an absolute point, this window when no
    // child holds it, empty when the point is outside (right and bottom
    // edges excluded).
    std::shared_ptr<Window> windowAt(sf::Vector2f absolutePoint) const;
    // The same for a point in the parent node's coordinates.
    std::shared_ptr<Window> windowAtParentPoint(sf::Vector2f point) const;
    // Draws the window and its subtree in local coordinates, clipped to the
    // window inset by half the border; nothing when inactive.
    void draw(gfx::Camera& camera);
    // Clears the focus marks of the whole subtree.
    void clearFocus();
    // Marks this window focused and makes it its parent's focused child.
    void markFocused();

private:
    Application* m_application;
    std::shared_ptr<Position> m_position;
    std::vector<std::shared_ptr<Window>> m_children;
    std::weak_ptr<Window> m_focusedChild;
    std::weak_ptr<Window> m_parent;
    std::weak_ptr<Window> m_self;
    float m_width = 0.f;
    float m_height = 0.f;
    bool m_focused = false;
    bool m_enabled = true;
    bool m_active = true;
};

} // namespace pyx::gui
