#include "engine/gui/Button.hpp"

#include "engine/graphics/Mouse.hpp"
#include "engine/gui/Application.hpp"
#include "engine/gui/Theme.hpp"

#include <algorithm>

namespace pyx::gui {

Button::Button(Application* application, const std::shared_ptr<Window>& parent)
    : Window(application, parent) {
    if (application != nullptr && application->getTheme()) {
        if (const ButtonSkin* prototype = application->getTheme()->getButtonSkin()) {
            skin = prototype->clone();
        }
    }
}

Button::~Button() {
    // The skin and the click function go before the window part.
    skin.reset();
    onClick = nullptr;
}

void Button::processMouse(gfx::Mouse& mouse) {
    Window::processMouse(mouse);

    const sf::Vector2f point = getPoint();
    const sf::Vector2f a = getPosition()->toAbsolute(point);
    const sf::Vector2f b = getPosition()->toAbsolute(point + getSize());
    const sf::Vector2f m = mouse.getPosition();
    const bool inside = std::min(a.x, b.x) <= m.x && m.x < std::max(a.x, b.x) &&
                        std::min(a.y, b.y) <= m.y && m.y < std::max(a.y, b.y);

    const int left = gfx::Mouse::Left;
    const bool down = mouse.buttonDown(left);
    const std::uint32_t presses = mouse.frameRecord(left).presses;

    if (!isFocused()) {
        pressLatch = false;
    } else {
        if (mouse.wentDown(left)) {
            pressLatch = inside;
        }
        if (pressLatch && mouse.wentUp(left) && inside && onClick) {
            // A copy, so that a handler that replaces onClick or drops the
            // button still runs to its end; the parent's pass holds a copy of
            // the child list, which keeps this button alive meanwhile.
            std::function<void()> handler = onClick;
            handler();
        }
        if (!down && presses == 0) {
            pressLatch = false;
        }
    }
    if (skin) {
        skin->hover = inside;
    }
    pressedLook = pressLatch && inside;
}

void Button::applyTheme(Theme& theme) {
    Theme::updateSkin(theme.getButtonSkin(), skin);
}

float Button::borderWidth() const {
    return skin ? skin->borderWidth() : 0.f;
}

void Button::drawSelf(gfx::Camera& camera) {
    if (!skin) {
        return;
    }
    skin->rect = {0.f, 0.f, getWidth(), getHeight()};
    skin->pressed = isEnabled() && pressedLook;
    skin->enabled = isEnabled();
    skin->focused = isFocused();
    skin->text = text;
    skin->draw(camera);
}

void Button::drawOverlay(gfx::Camera& camera) {
    if (skin) {
        skin->drawOverlay(camera);
    }
}

bool Button::onKeyPressed(const sf::Event::KeyEvent& key) {
    if (static_cast<int>(key.code) != SpaceKey) {
        return false;
    }
    if (onClick) {
        std::function<void()> handler = onClick;
        handler();
    }
    return true;
}

bool Button::contains(sf::Vector2f p) const {
    const sf::Vector2f point = getPoint();
    return point.x <= p.x && p.x < point.x + getWidth() && point.y <= p.y &&
           p.y < point.y + getHeight();
}

} // namespace pyx::gui
