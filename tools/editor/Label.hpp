#pragma once

#include "engine/gui/Window.hpp"

#include <SFML/Graphics/Color.hpp>

#include <string>

namespace ironmoat::editor {

// A line of text in the GUI's default font, left-aligned and centred
// vertically in the window; longer text is cut by the window's clip.
class Label : public pyx::gui::Window {
public:
    Label(pyx::gui::Application* application, const std::shared_ptr<pyx::gui::Window>& parent);

    void drawSelf(pyx::gfx::Camera& camera) override;

    std::wstring text;
    sf::Color colour{235, 235, 235};
    unsigned size = 15;
    bool bold = false;
};

} // namespace ironmoat::editor
