#pragma once

#include <SFML/Graphics/Rect.hpp>
#include <SFML/System/Vector2.hpp>

#include <memory>

namespace pyx::gui {

// A node of the layout chain that runs parallel to the window tree: a point
// relative to the parent node and a scale applied to the coordinates of the
// child nodes. A node keeps its parent alive, so a window's node stays
// usable even while the window is being detached.
class Position {
public:
    // Makes a node in a shared pointer and sets its self link.
    static std::shared_ptr<Position> create(std::shared_ptr<Position> parent, sf::Vector2f point);

    virtual ~Position();
    Position(const Position&) = delete;
    Position& operator=(const Position&) = delete;

    // Takes a point given in this node's parent coordinates to absolute GUI
    // coordinates (the fold over the ancestors).
    virtual sf::Vector2f toAbsolute(sf::Vector2f p) const;
    // An absolute point relative to refPosition's corner; refPosition must be
    // given and belong to the same chain.
    virtual sf::Vector2f toRelative(sf::Vector2f p,
                                    const std::shared_ptr<Position>& _refPosition) const;
    // The mouse in absolute GUI coordinates; (0, 0) when no root with a mouse
    // can be reached.
    virtual sf::Vector2f mousePosition() const;

    // The topmost node of the chain; empty for a parentless node whose self
    // link was never set.
    std::shared_ptr<Position> getRoot() const;
    std::shared_ptr<Position> getParent() const { return m_parent; }

    sf::Vector2f getPoint() const { return m_point; }
    void setPoint(float x, float y) { m_point = {x, y}; }
    void setPoint(sf::Vector2f point) { m_point = point; }
    float getScale() const { return m_scale; }

    // Where this node's own corner lies in absolute coordinates (no camera
    // term, even on a root).
    sf::Vector2f getAbsolutePosition() const;
    // The absolute rectangle of a box of size (w, h) placed at this node's
    // point; ancestor scales scale the size too.
    sf::FloatRect getAbsoluteRect(float w, float h) const;
    // The mouse relative to this node's corner.
    sf::Vector2f getMousePosition() const;

protected:
    Position(std::shared_ptr<Position> parent, sf::Vector2f point);
    // The non-virtual fold over the ancestors: v = v * a.scale + a.point.
    sf::Vector2f foldToAbsolute(sf::Vector2f p) const;
    void setSelf(const std::shared_ptr<Position>& self) { m_self = self; }

private:
    std::shared_ptr<Position> m_parent;
    std::weak_ptr<Position> m_self;
    sf::Vector2f m_point;
    float m_scale = 1.f;
};

} // namespace pyx::gui
