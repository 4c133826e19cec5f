#include "engine/gui/Desktop.hpp"

#include "engine/graphics/Camera.hpp"

#include <SFML/Graphics/RenderWindow.hpp>

namespace pyx::gui {

const sf::Color Desktop::BackgroundColour(55, 55, 55, 255);

Desktop::Desktop(Application* application, std::shared_ptr<PositionRoot> root)
    : Window(application, std::shared_ptr<Position>(std::move(root))) {}

void Desktop::drawSelf(gfx::Camera& camera) {
    camera.getWindow()->clear(BackgroundColour);
}

} // namespace pyx::gui
