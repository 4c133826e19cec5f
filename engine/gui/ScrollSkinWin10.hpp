#pragma once

#include "engine/gui/ScrollSkin.hpp"

#include <SFML/Graphics/Color.hpp>

namespace pyx::gui {

// The flat light scroll bar: a pale track with triangular arrows and a
// rectangular thumb whose colours follow hover and press.
class ScrollSkinWin10 : public ScrollSkin {
public:
    static const sf::Color Track;

    static int classTypeId();
    int typeId() const override;
    void draw(gfx::Camera& camera) override;
    // The flat look draws nothing over the children.
    void drawOverlay(gfx::Camera& camera) override;
    float borderWidth() const override;
    std::unique_ptr<ScrollSkin> newInstance() const override;

    // The colour of a part of this kind in this state; transparent for
    // unknown kinds or states.
    static sf::Color partColour(int kind, int state);

private:
    void drawPart(gfx::Camera& camera, const Part& part);
};

} // namespace pyx::gui
