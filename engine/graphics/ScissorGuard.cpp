#include "engine/graphics/ScissorGuard.hpp"

#include "engine/graphics/Camera.hpp"

namespace pyx::gfx {

ScissorGuard::ScissorGuard(Camera& camera, float x, float y, float width, float height) {
    // The scissor state belongs to the window's context; make sure it is the
    // current one before touching it.
    (void)camera.getWindow()->setActive(true);
    const sf::Vector2i p1 = camera.mapWorldToPixel({x, y});
    const sf::Vector2i p2 = camera.mapWorldToPixel({x + width, y + height});
    const std::int32_t w = p2.x - p1.x;
    const std::int32_t h = p2.y - p1.y;
    const auto H = static_cast<std::int32_t>(camera.getWindow()->getSize().y);
    m_manager->pushEdges({p1.x, H - p1.y - h, p1.x + w, H - p1.y});
}

ScissorGuard::~ScissorGuard() {
    m_manager->popRect();
    m_manager.release();
}

} // namespace pyx::gfx
