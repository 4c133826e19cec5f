#pragma once

#include "engine/gui/PositionRoot.hpp"
#include "engine/gui/Window.hpp"

#include <SFML/Graphics/Color.hpp>

namespace pyx::gui {

// The root of the window tree. Its own drawing clears the frame, so that
// everything else of the frame is drawn over a fresh background.
class Desktop : public Window {
public:
    // The colour the frame is cleared to.
    static const sf::Color BackgroundColour;

    Desktop(Application* application, std::shared_ptr<PositionRoot> root);

    // Clears the camera's render target to the background colour.
    void drawSelf(gfx::Camera& camera) override;
};

} // namespace pyx::gui
