#include "engine/gui/ButtonSkinWin10.hpp"

#include "engine/common/ResourceSfFont.hpp"
#include "engine/graphics/Camera.hpp"
#include "engine/gui/GuiResources.hpp"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/Text.hpp>

namespace pyx::gui {

const sf::Color ButtonSkinWin10::FillNormal(225, 225, 225, 255);
const sf::Color ButtonSkinWin10::FillHover(229, 241, 251, 255);
const sf::Color ButtonSkinWin10::FillPressed(204, 228, 247, 255);
const sf::Color ButtonSkinWin10::FillDisabled(204, 204, 204, 255);
const sf::Color ButtonSkinWin10::CaptionDisabled(131, 131, 131, 255);
const sf::Color ButtonSkinWin10::OutlineNormal(173, 173, 173, 255);
const sf::Color ButtonSkinWin10::OutlineActive(0, 120, 215, 255);
const sf::Color ButtonSkinWin10::OutlinePressed(0, 84, 153, 255);
const sf::Color ButtonSkinWin10::OutlineDisabled(191, 191, 191, 255);

ButtonSkinWin10::ButtonSkinWin10() : font(GuiResources::defaultFontHandle()) {}

ButtonSkinWin10::~ButtonSkinWin10() = default;

int ButtonSkinWin10::classTypeId() {
    return core::UniqueTypeId<ButtonSkinWin10>::value();
}

int ButtonSkinWin10::typeId() const {
    return core::UniqueTypeId<ButtonSkinWin10>::value();
}

void ButtonSkinWin10::draw(gfx::Camera& camera) {
    sf::Color fill;
    sf::Color caption;
    if (!enabled) {
        fill = FillDisabled;
        caption = CaptionDisabled;
    } else {
        caption = textColour;
        fill = pressed ? FillPressed : hover ? FillHover : FillNormal;
    }

    sf::RectangleShape body({rect.width, rect.height});
    body.setPosition(rect.left, rect.top);
    body.setFillColor(fill);
    body.setOutlineThickness(0.f);
    camera.draw(body);

    // The content access throws on an empty handle and waits for a font
    // that is still loading.
    const sf::Font& face = cmn::resourceValue(font);
    sf::Text label(sf::String(text), face, static_cast<unsigned>(textSize));
    label.setFillColor(caption);
    const sf::FloatRect line = camera.measureTextLine(label);
    label.setPosition(rect.left + (rect.width - line.width) / 2.f,
                      rect.top + (rect.height - line.height) / 2.f);
    camera.drawText(label);
}

void ButtonSkinWin10::drawOverlay(gfx::Camera& camera) {
    sf::Color colour;
    if (enabled) {
        colour = pressed ? OutlinePressed : (hover || focused) ? OutlineActive : OutlineNormal;
    } else {
        colour = OutlineDisabled;
    }
    const float t = borderWidth();
    // The outline grows outwards from the shape, so insetting the shape by t
    // keeps the band of width t inside rect.
    sf::RectangleShape frame({rect.width - 2.f * t, rect.height - 2.f * t});
    frame.setPosition(rect.left + t, rect.top + t);
    frame.setFillColor(sf::Color(0, 0, 0, 0));
    frame.setOutlineColor(colour);
    frame.setOutlineThickness(t);
    camera.draw(frame);
}

float ButtonSkinWin10::borderWidth() const {
    return (!focused || pressed || hover) ? 1.f : 2.f;
}

std::unique_ptr<ButtonSkin> ButtonSkinWin10::newInstance() const {
    return std::make_unique<ButtonSkinWin10>();
}

} // namespace pyx::gui
