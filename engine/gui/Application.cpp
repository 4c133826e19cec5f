#include "engine/gui/Application.hpp"

#include "engine/core/Assert.hpp"
#include "engine/graphics/Camera.hpp"
#include "engine/graphics/Mouse.hpp"
#include "engine/gui/Desktop.hpp"
#include "engine/gui/PositionRoot.hpp"
#include "engine/gui/Theme.hpp"
#include "engine/platform/Keyboard.hpp"
#include "engine/platform/MousePlatform.hpp"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/System/Clock.hpp>

namespace pyx::gui {

Application::Application(std::shared_ptr<sf::RenderWindow> window) : m_window(std::move(window)) {
    PYX_ASSERT(m_window);
    m_camera = std::make_shared<gfx::Camera>(m_window, true);
    m_mouse = std::make_shared<gfx::Mouse>(m_camera);
    std::shared_ptr<PositionRoot> root = PositionRoot::create(m_mouse);
    m_desktop = std::make_shared<Desktop>(this, root);
    m_desktop->setParent(m_desktop, nullptr);
    m_theme = std::make_shared<Theme>();

    m_camera->invalidate();
    const sf::Vector2u size = m_window->getSize();
    m_desktop->setPoint(0.f, 0.f);
    m_desktop->setSize(static_cast<float>(size.x), static_cast<float>(size.y));
    m_focused = m_desktop;
}

Application::~Application() = default;

void Application::run() {
    sf::Clock clock;
    std::int64_t previous = clock.getElapsedTime().asMicroseconds();
    while (m_window->isOpen()) {
        sf::Event event;
        while (m_window->pollEvent(event)) {
            if (event.type == sf::Event::Closed) {
                if (onCloseRequest && !onCloseRequest()) {
                    continue;
                }
                m_window->close();
                return;
            }
            handleEvent(event);
        }
        const std::int64_t now = clock.getElapsedTime().asMicroseconds();
        const float dt = static_cast<float>(static_cast<double>(now - previous)) / 1000000.f;
        updateFrame(dt, *m_window);
        previous = now;
        if (m_quitRequested) {
            m_window->close();
            return;
        }

        m_desktop->draw(*m_camera);
        m_window->display();
    }
}

void Application::handleEvent(const sf::Event& event) {
    // Button and wheel events are counted only while the window has focus;
    // the mouse applies that rule itself and says whether it counted.
    if (m_mouse->countEvent(event)) {
        return;
    }
    const std::shared_ptr<Window> focused = m_focused ? m_focused : m_desktop;
    switch (event.type) {
    case sf::Event::KeyPressed:
        focused->keyPressed(event.key);
        break;
    case sf::Event::TextEntered:
        focused->textEntered(event.text.unicode);
        break;
    default:
        focused->onEvent(event);
        break;
    }
}

void Application::updateFrame(float dt, sf::RenderWindow& window) {
    wrp::Keyboard::update();
    m_camera->update();
    const sf::Vector2u size = window.getSize();
    m_desktop->setPoint(0.f, 0.f);
    m_desktop->setSize(static_cast<float>(size.x), static_cast<float>(size.y));
    m_mouse->update(wrp::MousePlatform::cursorPosition());
    m_desktop->update(dt);
    if (m_theme->applyPending()) {
        m_desktop->applyThemeToTree(*m_theme);
    }
    updateFocus();
    m_desktop->processMouse(*m_mouse);
}

void Application::updateFocus() {
    const bool pressed = m_mouse->wentDown(gfx::Mouse::Left) ||
                         m_mouse->wentDown(gfx::Mouse::Right) ||
                         m_mouse->wentDown(gfx::Mouse::Middle);
    if (pressed) {
        m_focused.reset();
        if (std::shared_ptr<Window> hit = m_desktop->windowAt(m_mouse->getPosition())) {
            setFocus(hit);
        }
    }
    if (!m_focused) {
        setFocus(m_desktop);
    }
}

void Application::setFocus(const std::shared_ptr<Window>& window) {
    m_desktop->clearFocus();
    m_focused = window ? window : std::static_pointer_cast<Window>(m_desktop);
    m_focused->markFocused();
}

} // namespace pyx::gui
