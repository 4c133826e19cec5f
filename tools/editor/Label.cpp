#include "tools/editor/Label.hpp"

#include "engine/common/ResourceSfFont.hpp"
#include "engine/graphics/Camera.hpp"
#include "engine/gui/GuiResources.hpp"

#include <SFML/Graphics/Text.hpp>

#include <cmath>

namespace ironmoat::editor {

Label::Label(pyx::gui::Application* application, const std::shared_ptr<pyx::gui::Window>& parent)
    : Window(application, parent) {}

void Label::drawSelf(pyx::gfx::Camera& camera) {
    if (text.empty()) {
        return;
    }
    const sf::Font& font = pyx::cmn::resourceValue(pyx::gui::GuiResources::defaultFontHandle());
    sf::Text line(text, font, size);
    line.setFillColor(colour);
    if (bold) {
        line.setStyle(sf::Text::Bold);
    }
    const float height = font.getLineSpacing(size);
    line.setPosition(0.f, std::round((getHeight() - height) / 2.f));
    camera.drawText(line);
}

} // namespace ironmoat::editor
