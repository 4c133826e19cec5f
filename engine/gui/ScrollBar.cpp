#include "engine/gui/ScrollBar.hpp"

#include "engine/graphics/Mouse.hpp"
#include "engine/gui/Application.hpp"
#include "engine/gui/Theme.hpp"

#include <algorithm>

namespace pyx::gui {

ScrollBar::ScrollBar(Application* application, const std::shared_ptr<Window>& parent)
    : Window(application, parent) {
    if (application != nullptr && application->getTheme()) {
        if (const ScrollSkin* prototype = application->getTheme()->getScrollSkin()) {
            m_skin = prototype->clone();
        }
    }
}

ScrollBar::~ScrollBar() = default;

float ScrollBar::getMaxValue() const {
    return std::max(0.f, m_content - m_view);
}

void ScrollBar::setRange(float content, float view) {
    m_content = std::max(0.f, content);
    m_view = std::max(0.f, view);
    setValue(m_value);
}

void ScrollBar::setValue(float value) {
    const float clamped = std::clamp(value, 0.f, getMaxValue());
    if (clamped == m_value) {
        return;
    }
    m_value = clamped;
    if (onScroll) {
        std::function<void(float)> handler = onScroll;
        handler(m_value);
    }
}

void ScrollBar::scrollBy(float delta) {
    setValue(m_value + delta);
}

float ScrollBar::trackTop() const {
    return getWidth();
}

float ScrollBar::trackLength() const {
    return std::max(0.f, getHeight() - 2.f * getWidth());
}

sf::FloatRect ScrollBar::upArrowRect() const {
    return {0.f, 0.f, getWidth(), getWidth()};
}

sf::FloatRect ScrollBar::downArrowRect() const {
    return {0.f, getHeight() - getWidth(), getWidth(), getWidth()};
}

sf::FloatRect ScrollBar::thumbRect() const {
    const float track = trackLength();
    if (m_content <= m_view || m_content <= 0.f) {
        return {0.f, trackTop(), getWidth(), track};
    }
    const float length = std::min(track, std::max(MinThumb, track * m_view / m_content));
    const float top = trackTop() + (track - length) * m_value / getMaxValue();
    return {0.f, top, getWidth(), length};
}

void ScrollBar::processMouse(gfx::Mouse& mouse) {
    Window::processMouse(mouse);
    const sf::Vector2f local = getPosition()->getMousePosition();
    const bool inside =
        local.x >= 0.f && local.y >= 0.f && local.x < getWidth() && local.y < getHeight();
    m_hoverPart = -1;
    if (inside) {
        if (upArrowRect().contains(local)) {
            m_hoverPart = 0;
        } else if (downArrowRect().contains(local)) {
            m_hoverPart = 1;
        } else if (thumbRect().contains(local)) {
            m_hoverPart = 2;
        }
    }
    if (m_skin) {
        m_skin->hover = inside;
    }

    const int left = gfx::Mouse::Left;
    if (isFocused() && inside && mouse.wentDown(left)) {
        const sf::FloatRect thumb = thumbRect();
        switch (m_hoverPart) {
        case 0:
            m_grab = Grab::Up;
            scrollBy(-m_step);
            break;
        case 1:
            m_grab = Grab::Down;
            scrollBy(m_step);
            break;
        case 2:
            m_grab = Grab::Thumb;
            m_grabOffset = local.y - thumb.top;
            break;
        default:
            m_grab = Grab::Track;
            scrollBy(local.y < thumb.top ? -m_view : m_view);
            break;
        }
    } else if (m_grab == Grab::Thumb && mouse.buttonDown(left)) {
        const float room = trackLength() - thumbRect().height;
        if (room > 0.f) {
            const float top = local.y - m_grabOffset - trackTop();
            setValue(top / room * getMaxValue());
        }
    }
    if (!mouse.buttonDown(left) && mouse.frameRecord(left).presses == 0) {
        m_grab = Grab::None;
    }
}

void ScrollBar::applyTheme(Theme& theme) {
    Theme::updateSkin(theme.getScrollSkin(), m_skin);
}

float ScrollBar::borderWidth() const {
    return m_skin ? m_skin->borderWidth() : 0.f;
}

void ScrollBar::drawSelf(gfx::Camera& camera) {
    if (!m_skin) {
        return;
    }
    m_skin->rect = {0.f, 0.f, getWidth(), getHeight()};
    m_skin->focused = isFocused();
    m_skin->enabled = isEnabled();
    m_skin->showParts = m_content > m_view;
    const auto state = [this](int part, Grab grab) {
        if (m_grab == grab) {
            return static_cast<int>(ScrollSkin::Pressed);
        }
        return m_hoverPart == part ? static_cast<int>(ScrollSkin::Hover)
                                   : static_cast<int>(ScrollSkin::Normal);
    };
    m_skin->firstArrow = {upArrowRect(), ScrollSkin::UpArrow, state(0, Grab::Up)};
    m_skin->secondArrow = {downArrowRect(), ScrollSkin::DownArrow, state(1, Grab::Down)};
    const sf::FloatRect thumb = thumbRect();
    m_skin->thumb = {thumb, ScrollSkin::VerticalThumb, state(2, Grab::Thumb)};
    m_skin->trackBefore = {0.f, trackTop(), getWidth(), thumb.top - trackTop()};
    m_skin->trackAfter = {0.f, thumb.top + thumb.height, getWidth(),
                          trackTop() + trackLength() - thumb.top - thumb.height};
    m_skin->draw(camera);
}

void ScrollBar::drawOverlay(gfx::Camera& camera) {
    if (m_skin) {
        m_skin->drawOverlay(camera);
    }
}

} // namespace pyx::gui
