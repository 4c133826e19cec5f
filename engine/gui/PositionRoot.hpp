#pragma once

#include "engine/gui/Position.hpp"

namespace pyx::gfx {
class Mouse;
}

namespace pyx::gui {

// The desktop's node: the end of every chain. It knows the mouse and through
// it the camera, so it can say where the pointer is in GUI coordinates and
// add the camera's own placement to its points.
class PositionRoot : public Position {
public:
    // A root at (0, 0), scale 1, bound to the given mouse (may be empty).
    static std::shared_ptr<PositionRoot> create(std::shared_ptr<gfx::Mouse> mouse);

    ~PositionRoot() override;

    // The fold plus the position of the camera's transformable.
    sf::Vector2f toAbsolute(sf::Vector2f p) const override;
    // p minus the absolute corner of refPosition.
    sf::Vector2f toRelative(sf::Vector2f p,
                            const std::shared_ptr<Position>& _refPosition) const override;
    // The mouse's position mapped through the camera; (0, 0) without a mouse.
    sf::Vector2f mousePosition() const override;

    const std::shared_ptr<gfx::Mouse>& getMouse() const { return m_mouse; }

private:
    explicit PositionRoot(std::shared_ptr<gfx::Mouse> mouse);

    std::shared_ptr<gfx::Mouse> m_mouse;
};

} // namespace pyx::gui
