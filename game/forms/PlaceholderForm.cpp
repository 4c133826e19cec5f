// TEMPORARY: see PlaceholderForm.hpp.
#include "game/forms/PlaceholderForm.hpp"

#include "engine/common/ResourceSfFont.hpp"
#include "engine/graphics/Camera.hpp"
#include "engine/gui/GuiResources.hpp"

#include <SFML/Graphics/Text.hpp>

namespace ironmoat::cmn {

PlaceholderForm::PlaceholderForm(pyx::gui::Application* application,
                                 const std::shared_ptr<pyx::gui::Window>& parent)
    : pyx::gui::Window(application, parent) {}

void PlaceholderForm::update(float dt) {
    if (std::shared_ptr<pyx::gui::Window> parent = getParent()) {
        setPoint(0.f, 0.f);
        setSize(parent->getWidth(), parent->getHeight());
    }
    pyx::gui::Window::update(dt);
}

void PlaceholderForm::drawSelf(pyx::gfx::Camera& camera) {
    std::shared_ptr<pyx::gfx::ResourceSfFont> font = pyx::gui::GuiResources::defaultFontHandle();
    if (!font) {
        return;
    }
    sf::Text title(L"IronMoat", pyx::cmn::resourceValue(font), 48);
    title.setFillColor(sf::Color(230, 230, 230, 255));
    const sf::FloatRect line = camera.measureTextLine(title);
    title.setPosition((getWidth() - line.width) / 2.f, (getHeight() - line.height) / 2.f);
    camera.drawText(title);
}

} // namespace ironmoat::cmn
