#include "engine/gui/Window.hpp"

#include "engine/core/Assert.hpp"
#include "engine/core/Transformable3.hpp"
#include "engine/graphics/Camera.hpp"
#include "engine/graphics/ScissorGuard.hpp"

#include <algorithm>

namespace pyx::gui {

Window::Window(Application* application, std::shared_ptr<Position> position)
    : m_application(application), m_position(std::move(position)) {
    PYX_ASSERT(m_position);
}

Window::Window(Application* application, const std::shared_ptr<Window>& parent)
    : m_application(application),
      m_position(Position::create(parent ? parent->m_position : nullptr, {0.f, 0.f})) {}

Window::~Window() {
    // Children may outlive this window (someone else may hold them); they
    // must not find a parent that is half destroyed.
    for (const std::shared_ptr<Window>& child : m_children) {
        child->m_parent.reset();
    }
}

void Window::update(float dt) {
    if (!m_active) {
        return;
    }
    for (std::size_t i = 0; i < m_children.size(); ++i) {
        // Index access with a copy: an update may change the child list.
        std::shared_ptr<Window> child = m_children[i];
        child->update(dt);
    }
}

bool Window::onEvent(const sf::Event&) {
    return false;
}

void Window::processMouse(gfx::Mouse& mouse) {
    if (!m_active) {
        return;
    }
    // A click handler may switch forms or change the tree, so walk a copy.
    const std::vector<std::shared_ptr<Window>> children = m_children;
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        (*it)->processMouse(mouse);
    }
}

void Window::applyTheme(Theme&) {}

float Window::borderWidth() const {
    return 0.f;
}

void Window::onAttached() {}

void Window::drawSelf(gfx::Camera&) {}

void Window::drawOverlay(gfx::Camera&) {}

bool Window::onKeyPressed(const sf::Event::KeyEvent&) {
    return false;
}

bool Window::onTextEntered(std::uint32_t) {
    return false;
}

void Window::setParent(const std::shared_ptr<Window>& self, const std::shared_ptr<Window>& parent) {
    PYX_ASSERT(self.get() == this);
    m_self = self;
    if (parent) {
        parent->addChild(self);
    }
    onAttached();
}

void Window::addChild(const std::shared_ptr<Window>& child) {
    PYX_ASSERT(child && child.get() != this);
    std::shared_ptr<Window> previous = child->getParent();
    if (previous.get() == this) {
        return;
    }
    if (previous) {
        previous->removeChild(child);
    } else {
        // A child whose parent link was cleared or never set may still sit
        // in this list (the parent's self link was missing when it came).
        auto it = std::find(m_children.begin(), m_children.end(), child);
        if (it != m_children.end()) {
            m_children.erase(it);
        }
    }
    child->m_parent = m_self;
    m_children.push_back(child);
}

void Window::removeChild(const std::shared_ptr<Window>& child) {
    auto it = std::find(m_children.begin(), m_children.end(), child);
    if (it == m_children.end()) {
        return;
    }
    m_children.erase(it);
    child->m_parent.reset();
}

void Window::setSize(float width, float height) {
    m_width = width;
    m_height = height;
}

void Window::setRect(const sf::FloatRect& rect) {
    m_position->setPoint(rect.left, rect.top);
    setSize(rect.width, rect.height);
}

void Window::applyThemeToTree(Theme& theme) {
    applyTheme(theme);
    for (const std::shared_ptr<Window>& child : m_children) {
        child->applyThemeToTree(theme);
    }
}

bool Window::keyPressed(const sf::Event::KeyEvent& key) {
    if (!m_active) {
        return false;
    }
    if (onKeyPressed(key)) {
        return true;
    }
    std::shared_ptr<Window> parent = getParent();
    return parent ? parent->keyPressed(key) : false;
}

bool Window::textEntered(std::uint32_t codePoint) {
    if (!m_active) {
        return false;
    }
    if (onTextEntered(codePoint)) {
        return true;
    }
    std::shared_ptr<Window> parent = getParent();
    return parent ? parent->textEntered(codePoint) : false;
}

std::shared_ptr<Window> Window::windowAt(sf::Vector2f p) const {
    const sf::Vector2f point = m_position->getPoint();
    const sf::Vector2f a = m_position->toAbsolute(point);
    const sf::Vector2f b = m_position->toAbsolute(point + sf::Vector2f(m_width, m_height));
    const bool inside = std::min(a.x, b.x) <= p.x && p.x < std::max(a.x, b.x) &&
                        std::min(a.y, b.y) <= p.y && p.y < std::max(a.y, b.y);
    if (!inside) {
        return nullptr;
    }
    for (auto it = m_children.rbegin(); it != m_children.rend(); ++it) {
        if (!(*it)->m_active) {
            continue;
        }
        if (std::shared_ptr<Window> hit = (*it)->windowAt(p)) {
            return hit;
        }
    }
    return getSelf();
}

std::shared_ptr<Window> Window::windowAtParentPoint(sf::Vector2f point) const {
    return windowAt(m_position->toAbsolute(point));
}

void Window::draw(gfx::Camera& camera) {
    if (!m_active) {
        return;
    }
    const sf::Vector2f point = m_position->getPoint();
    const std::shared_ptr<Position> parentNode = m_position->getParent();
    const float scale = parentNode ? parentNode->getScale() : 1.f;
    // The window's local frame: scale * (p + point), so that (0, 0) is the
    // window's top-left corner.
    core::Transformable3 local;
    local.setPosition(-point.x, -point.y);
    local.setScale(scale, scale);
    camera.pushTransform(local);
    {
        const float b = borderWidth();
        gfx::ScissorGuard clip(camera, b / 2.f, b / 2.f, m_width - b, m_height - b);
        drawSelf(camera);
        for (std::size_t i = 0; i < m_children.size(); ++i) {
            std::shared_ptr<Window> child = m_children[i];
            child->draw(camera);
        }
    }
    drawOverlay(camera);
    camera.popTransform();
}

void Window::clearFocus() {
    m_focused = false;
    m_focusedChild.reset();
    for (const std::shared_ptr<Window>& child : m_children) {
        child->clearFocus();
    }
}

void Window::markFocused() {
    m_focused = true;
    if (std::shared_ptr<Window> parent = getParent()) {
        parent->m_focused = true;
        parent->m_focusedChild = m_self;
    }
}

} // namespace pyx::gui
