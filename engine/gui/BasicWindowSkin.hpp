#pragma once

#include <SFML/Graphics/Rect.hpp>

namespace pyx::gui {

// The state every skin draws from; the control writes it before each draw.
// Plain data without virtual operations, so that the type-id interface is
// the primary base of every skin.
class BasicWindowSkin {
public:
    // Where to draw, in the control's local coordinates.
    sf::FloatRect rect{0.f, 0.f, 0.f, 0.f};
    bool focused = false;
    bool enabled = true;
    bool hover = false;
};

} // namespace pyx::gui
