#include "engine/gui/Position.hpp"

#include "engine/core/Assert.hpp"

#include <algorithm>

namespace pyx::gui {

std::shared_ptr<Position> Position::create(std::shared_ptr<Position> parent, sf::Vector2f point) {
    std::shared_ptr<Position> node(new Position(std::move(parent), point));
    node->setSelf(node);
    return node;
}

Position::Position(std::shared_ptr<Position> parent, sf::Vector2f point)
    : m_parent(std::move(parent)), m_point(point) {}

Position::~Position() = default;

sf::Vector2f Position::foldToAbsolute(sf::Vector2f p) const {
    sf::Vector2f v = p;
    for (const Position* a = m_parent.get(); a != nullptr; a = a->m_parent.get()) {
        v.x = v.x * a->m_scale + a->m_point.x;
        v.y = v.y * a->m_scale + a->m_point.y;
    }
    return v;
}

sf::Vector2f Position::toAbsolute(sf::Vector2f p) const {
    return foldToAbsolute(p);
}

sf::Vector2f Position::toRelative(sf::Vector2f p,
                                  const std::shared_ptr<Position>& _refPosition) const {
    PYX_ASSERT(_refPosition);
    PYX_ASSERT(getRoot() == _refPosition->getRoot());
    return p - _refPosition->m_point;
}

sf::Vector2f Position::mousePosition() const {
    if (!m_parent) {
        return {0.f, 0.f};
    }
    std::shared_ptr<Position> root = getRoot();
    return root ? root->mousePosition() : sf::Vector2f(0.f, 0.f);
}

std::shared_ptr<Position> Position::getRoot() const {
    const Position* node = this;
    while (node->m_parent) {
        node = node->m_parent.get();
    }
    return node->m_self.lock();
}

sf::Vector2f Position::getAbsolutePosition() const {
    return foldToAbsolute(m_point);
}

sf::FloatRect Position::getAbsoluteRect(float w, float h) const {
    const sf::Vector2f topLeft = toAbsolute(m_point);
    const sf::Vector2f bottomRight = toAbsolute(m_point + sf::Vector2f(w, h));
    return {topLeft.x, topLeft.y, bottomRight.x - topLeft.x, bottomRight.y - topLeft.y};
}

sf::Vector2f Position::getMousePosition() const {
    std::shared_ptr<Position> root = getRoot();
    std::shared_ptr<Position> self = m_self.lock();
    // A node outside any complete chain has no mouse to report.
    if (!root || !self) {
        return {0.f, 0.f};
    }
    return root->toRelative(mousePosition(), self);
}

} // namespace pyx::gui
