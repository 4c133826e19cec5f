#pragma once

#include "engine/gui/ButtonSkin.hpp"

namespace pyx::gfx {
class ResourceSfFont;
}

namespace pyx::gui {

// The flat light button: a filled body, a centred caption and an outline
// that turns blue on hover and focus and thick when focused at rest.
class ButtonSkinWin10 : public ButtonSkin {
public:
    static const sf::Color FillNormal, FillHover, FillPressed, FillDisabled;
    static const sf::Color CaptionDisabled;
    static const sf::Color OutlineNormal, OutlineActive, OutlinePressed, OutlineDisabled;

    // Copies the GUI's default font handle.
    ButtonSkinWin10();
    ~ButtonSkinWin10() override;

    // The class's type id.
    static int classTypeId();
    int typeId() const override;
    void draw(gfx::Camera& camera) override;
    void drawOverlay(gfx::Camera& camera) override;
    // 2 for a focused button at rest, else 1.
    float borderWidth() const override;
    std::unique_ptr<ButtonSkin> newInstance() const override;

    // The font the caption is written with; read at draw time.
    std::shared_ptr<gfx::ResourceSfFont> font;
};

} // namespace pyx::gui
