#include "tools/editor/PaletteButton.hpp"

#include "engine/common/ResourceSfFont.hpp"
#include "engine/graphics/Camera.hpp"
#include "engine/gui/ButtonSkin.hpp"
#include "engine/gui/GuiResources.hpp"

#include <SFML/Graphics/Text.hpp>

#include <cmath>

#include <SFML/Graphics/RectangleShape.hpp>

namespace ironmoat::editor {

PaletteButton::PaletteButton(pyx::gui::Application* application,
                             const std::shared_ptr<pyx::gui::Window>& parent)
    : Button(application, parent) {}

void PaletteButton::drawSelf(pyx::gfx::Camera& camera) {
    Button::drawSelf(camera);
    const float side = getHeight() - 10.f;
    if (side > 0.f && icon.frameSize().x > 0 && icon.gridSize().x > 0) {
        icon.drawFrame(0.f, camera, {0.f, 0.f}, 6.f, 5.f, 0, 0, static_cast<unsigned>(side),
                       static_cast<unsigned>(side));
    }
    if (tag.a > 0) {
        sf::RectangleShape corner({10.f, 10.f});
        corner.setPosition(6.f + side - 10.f, 5.f + side - 10.f);
        corner.setFillColor(tag);
        camera.draw(corner);
    }
    const sf::Font& font = pyx::cmn::resourceValue(pyx::gui::GuiResources::defaultFontHandle());
    sf::Text text(caption, font, 14);
    text.setFillColor(isEnabled() ? sf::Color::Black : sf::Color(131, 131, 131));
    text.setPosition(side + 16.f, std::round((getHeight() - font.getLineSpacing(14)) / 2.f));
    camera.drawText(text);
}

void PaletteButton::drawOverlay(pyx::gfx::Camera& camera) {
    Button::drawOverlay(camera);
    if (selected) {
        sf::RectangleShape frame({getWidth() - 6.f, getHeight() - 6.f});
        frame.setPosition(3.f, 3.f);
        frame.setFillColor(sf::Color::Transparent);
        frame.setOutlineThickness(3.f);
        frame.setOutlineColor(sf::Color(255, 170, 0));
        camera.draw(frame);
    }
}

} // namespace ironmoat::editor
