#include "engine/gui/EditSkinWin10.hpp"

#include "engine/common/ResourceSfFont.hpp"
#include "engine/graphics/Camera.hpp"
#include "engine/gui/GuiResources.hpp"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/VertexArray.hpp>

namespace pyx::gui {

const sf::Color EditSkinWin10::Text(0, 0, 0, 255);
const sf::Color EditSkinWin10::TextDisabled(131, 131, 131, 255);
const sf::Color EditSkinWin10::TextSelected(255, 255, 255, 255);
const sf::Color EditSkinWin10::SelectionBackground(51, 153, 255, 255);
const sf::Color EditSkinWin10::Placeholder(120, 120, 120, 255);
const sf::Color EditSkinWin10::Background(255, 255, 255, 255);
const sf::Color EditSkinWin10::Caret(0, 0, 0, 255);
const sf::Color EditSkinWin10::BorderFocused(0, 120, 215, 255);
const sf::Color EditSkinWin10::BorderHover(23, 23, 23, 255);
const sf::Color EditSkinWin10::BorderNormal(122, 122, 122, 255);
const sf::Color EditSkinWin10::BorderDisabled(191, 191, 191, 255);

EditSkinWin10::EditSkinWin10() : font(GuiResources::defaultFontHandle()) {}

EditSkinWin10::~EditSkinWin10() = default;

int EditSkinWin10::classTypeId() {
    return core::UniqueTypeId<EditSkinWin10>::value();
}

int EditSkinWin10::typeId() const {
    return core::UniqueTypeId<EditSkinWin10>::value();
}

void EditSkinWin10::drawCaret(gfx::Camera& camera, sf::Vector2f point) {
    sf::VertexArray line(sf::Lines, 2);
    line[0] = sf::Vertex(point, Caret);
    line[1] = sf::Vertex(point + sf::Vector2f(0.f, lineHeight()), Caret);
    camera.draw(line);
}

void EditSkinWin10::drawBackground(gfx::Camera& camera) {
    sf::RectangleShape body({rect.width - 1.f, rect.height - 1.f});
    body.setPosition(rect.left + 1.f, rect.top + 1.f);
    body.setFillColor(Background);
    camera.draw(body);
}

void EditSkinWin10::drawBorder(gfx::Camera& camera) {
    sf::Color colour = focused ? BorderFocused : hover ? BorderHover : BorderNormal;
    if (!enabled) {
        colour = BorderDisabled;
    }
    const float l = rect.left, t = rect.top, r = rect.left + rect.width, b = rect.top + rect.height;
    sf::VertexArray strip(sf::LineStrip, 5);
    strip[0] = sf::Vertex({l, t}, colour);
    strip[1] = sf::Vertex({r, t}, colour);
    strip[2] = sf::Vertex({r, b}, colour);
    strip[3] = sf::Vertex({l, b}, colour);
    strip[4] = sf::Vertex({l, t}, colour);
    camera.draw(strip);
}

std::unique_ptr<EditSkin> EditSkinWin10::newInstance() const {
    return std::make_unique<EditSkinWin10>();
}

void EditSkinWin10::drawPlaceholder(gfx::Camera& camera, float x, float y) {
    sf::Text label(sf::String(placeholder), cmn::resourceValue(font),
                   static_cast<unsigned>(charSize));
    label.setFillColor(Placeholder);
    label.setPosition(x, y);
    camera.drawText(label);
}

void EditSkinWin10::drawRun(gfx::Camera& camera, float x, float y, const std::wstring& run,
                            bool selected) {
    sf::Text label(sf::String(run), cmn::resourceValue(font), static_cast<unsigned>(charSize));
    if (selected) {
        const sf::FloatRect bounds = label.getLocalBounds();
        sf::RectangleShape back({textWidth(camera, run), lineHeight()});
        back.setPosition(x + bounds.left, y);
        back.setFillColor(SelectionBackground);
        camera.draw(back);
        label.setFillColor(TextSelected);
    } else {
        label.setFillColor(enabled ? Text : TextDisabled);
    }
    label.setPosition(x, y);
    camera.drawText(label);
}

} // namespace pyx::gui
