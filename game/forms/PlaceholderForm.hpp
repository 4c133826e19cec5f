#pragma once

// TEMPORARY: stands in for the main menu form until the real one exists, so
// that the window shows something; delete this file pair together with its
// one use in main.cpp when the menu form arrives.

#include "engine/gui/Window.hpp"

namespace ironmoat::cmn {

// A form that only writes the product name in the middle of the window.
class PlaceholderForm : public pyx::gui::Window {
public:
    PlaceholderForm(pyx::gui::Application* application,
                    const std::shared_ptr<pyx::gui::Window>& parent);

    // Keeps filling the parent, like the real forms.
    void update(float dt) override;
    // The product name, centred, in the GUI's default font.
    void drawSelf(pyx::gfx::Camera& camera) override;
};

} // namespace ironmoat::cmn
