#include "engine/gui/PositionRoot.hpp"

#include "engine/core/Assert.hpp"
#include "engine/graphics/Camera.hpp"
#include "engine/graphics/Mouse.hpp"

namespace pyx::gui {

std::shared_ptr<PositionRoot> PositionRoot::create(std::shared_ptr<gfx::Mouse> mouse) {
    std::shared_ptr<PositionRoot> root(new PositionRoot(std::move(mouse)));
    root->setSelf(root);
    return root;
}

PositionRoot::PositionRoot(std::shared_ptr<gfx::Mouse> mouse)
    : Position(nullptr, {0.f, 0.f}), m_mouse(std::move(mouse)) {}

PositionRoot::~PositionRoot() = default;

sf::Vector2f PositionRoot::toAbsolute(sf::Vector2f p) const {
    sf::Vector2f v = foldToAbsolute(p);
    if (m_mouse && m_mouse->getCamera()) {
        v += m_mouse->getCamera()->getTransformable().getPosition();
    }
    return v;
}

sf::Vector2f PositionRoot::toRelative(sf::Vector2f p,
                                      const std::shared_ptr<Position>& _refPosition) const {
    PYX_ASSERT(_refPosition);
    return p - _refPosition->toAbsolute(_refPosition->getPoint());
}

sf::Vector2f PositionRoot::mousePosition() const {
    return m_mouse ? m_mouse->getPosition() : sf::Vector2f(0.f, 0.f);
}

} // namespace pyx::gui
