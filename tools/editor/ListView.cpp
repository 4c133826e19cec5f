#include "tools/editor/ListView.hpp"

#include "engine/common/ResourceSfFont.hpp"
#include "engine/graphics/Camera.hpp"
#include "engine/graphics/Mouse.hpp"
#include "engine/gui/GuiResources.hpp"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Window/Keyboard.hpp>

#include <algorithm>
#include <cmath>

namespace ironmoat::editor {

ListView::ListView(pyx::gui::Application* application,
                   const std::shared_ptr<pyx::gui::Window>& parent)
    : Window(application, parent) {}

void ListView::onAttached() {
    if (!m_bar) {
        m_bar = createChild<pyx::gui::ScrollBar>();
        m_bar->setStep(1.f);
    }
}

float ListView::visibleRows() const {
    return std::floor(std::max(0.f, getHeight() - 2.f) / RowHeight);
}

void ListView::update(float dt) {
    // The bar follows the list's size, which its owner may change any frame.
    m_bar->setRect({getWidth() - BarWidth, 0.f, BarWidth, getHeight()});
    m_bar->setRange(static_cast<float>(m_rows.size()), visibleRows());
    Window::update(dt);
}

void ListView::setRows(std::vector<Row> rows) {
    m_rows = std::move(rows);
    m_selected = -1;
    m_bar->setRange(static_cast<float>(m_rows.size()), visibleRows());
}

void ListView::select(int row) {
    m_selected = row >= 0 && row < static_cast<int>(m_rows.size()) ? row : -1;
    if (m_selected < 0) {
        return;
    }
    const float first = m_bar->getValue();
    const float count = visibleRows();
    if (count < 1.f) {
        return; // not laid out yet: nothing is visible to scroll to
    }
    if (static_cast<float>(m_selected) < first) {
        m_bar->setValue(static_cast<float>(m_selected));
    } else if (static_cast<float>(m_selected) >= first + count) {
        m_bar->setValue(static_cast<float>(m_selected) - count + 1.f);
    }
}

int ListView::rowAt(sf::Vector2f local) const {
    if (local.x < 0.f || local.y < 1.f || local.x >= getWidth() - BarWidth ||
        local.y >= getHeight() - 1.f) {
        return -1;
    }
    const int row = static_cast<int>(std::floor((local.y - 1.f) / RowHeight)) +
                    static_cast<int>(m_bar->getValue());
    return row < static_cast<int>(m_rows.size()) ? row : -1;
}

void ListView::processMouse(pyx::gfx::Mouse& mouse) {
    Window::processMouse(mouse);
    const sf::Vector2f local = getPosition()->getMousePosition();
    const bool inside =
        local.x >= 0.f && local.y >= 0.f && local.x < getWidth() && local.y < getHeight();
    if (!inside) {
        return;
    }
    // The wheel turns the list under the pointer, focused or not, three
    // rows a notch.
    const int steps = mouse.frameRecord(pyx::gfx::Mouse::Middle).wheelSteps;
    if (steps != 0) {
        m_bar->scrollBy(-3.f * static_cast<float>(steps));
    }
    if (!isFocused() || !mouse.wentDown(pyx::gfx::Mouse::Left)) {
        return;
    }
    const int row = rowAt(local);
    if (row < 0) {
        return;
    }
    const bool again = row == m_selected && mouse.clickCount(pyx::gfx::Mouse::Left) >= 1;
    m_selected = row;
    if (onSelect) {
        std::function<void(int)> handler = onSelect;
        handler(row);
    }
    if (again && onActivate) {
        std::function<void(int)> handler = onActivate;
        handler(row);
    }
}

bool ListView::onKeyPressed(const sf::Event::KeyEvent& key) {
    if (key.control || key.alt || key.system) {
        return false;
    }
    int row = m_selected;
    switch (key.code) {
    case sf::Keyboard::Up:
        row = std::max(0, row - 1);
        break;
    case sf::Keyboard::Down:
        row = std::min(static_cast<int>(m_rows.size()) - 1, row + 1);
        break;
    case sf::Keyboard::Enter:
        if (m_selected >= 0 && onActivate) {
            std::function<void(int)> handler = onActivate;
            handler(m_selected);
        }
        return true;
    default:
        return false;
    }
    if (row != m_selected && row >= 0) {
        select(row);
        if (onSelect) {
            std::function<void(int)> handler = onSelect;
            handler(row);
        }
    }
    return true;
}

void ListView::drawSelf(pyx::gfx::Camera& camera) {
    sf::RectangleShape body({getWidth(), getHeight()});
    body.setFillColor(sf::Color::White);
    camera.draw(body);

    const sf::Font& font = pyx::cmn::resourceValue(pyx::gui::GuiResources::defaultFontHandle());
    const unsigned size = 14;
    const int first = static_cast<int>(m_bar->getValue());
    const int count = static_cast<int>(visibleRows()) + 1;
    const float textWidth = getWidth() - BarWidth;
    for (int i = 0; i < count && first + i < static_cast<int>(m_rows.size()); ++i) {
        const int row = first + i;
        const float top = 1.f + RowHeight * static_cast<float>(i);
        sf::Color colour = m_rows[static_cast<std::size_t>(row)].colour;
        if (row == m_selected) {
            sf::RectangleShape band({textWidth - 2.f, RowHeight});
            band.setPosition(1.f, top);
            band.setFillColor(isFocused() ? sf::Color(51, 153, 255) : sf::Color(204, 228, 247));
            camera.draw(band);
            if (isFocused()) {
                colour = sf::Color::White;
            }
        }
        sf::Text text(m_rows[static_cast<std::size_t>(row)].text, font, size);
        text.setFillColor(colour);
        text.setPosition(6.f, std::round(top + (RowHeight - font.getLineSpacing(size)) / 2.f));
        camera.drawText(text);
    }
}

void ListView::drawOverlay(pyx::gfx::Camera& camera) {
    sf::RectangleShape frame({getWidth() - 2.f, getHeight() - 2.f});
    frame.setPosition(1.f, 1.f);
    frame.setFillColor(sf::Color::Transparent);
    frame.setOutlineThickness(1.f);
    frame.setOutlineColor(isFocused() ? sf::Color(0, 120, 215) : sf::Color(122, 122, 122));
    camera.draw(frame);
}

} // namespace ironmoat::editor
