#pragma once

#include "engine/graphics/Tileset.hpp"
#include "engine/gui/Button.hpp"

#include <SFML/Graphics/Color.hpp>

namespace ironmoat::editor {

// A palette entry: the toolkit's button with the entry's picture at its
// left and, while it is the chosen entry, a thick frame.
class PaletteButton : public pyx::gui::Button {
public:
    PaletteButton(pyx::gui::Application* application,
                  const std::shared_ptr<pyx::gui::Window>& parent);

    void drawSelf(pyx::gfx::Camera& camera) override;
    void drawOverlay(pyx::gfx::Camera& camera) override;

    // Drawn left-aligned beside the picture (the skin would centre it over it).
    std::wstring caption;
    // The picture: frame (0, 0) of the tileset, drawn in a square.
    pyx::gfx::Tileset icon;
    // A coloured corner that tells the two spawn points apart; transparent
    // for none.
    sf::Color tag = sf::Color::Transparent;
    bool selected = false;
};

} // namespace ironmoat::editor
