#pragma once

#include "engine/core/Matrix4.hpp"

#include <SFML/System/Vector2.hpp>
#include <SFML/System/Vector3.hpp>

namespace pyx::core {

// A placement in three dimensions: a point p maps to
// origin + R * (scale (.) (p - position)), with R built from the rotation
// angles in degrees about x, y and z (the z angle enters negated, so a
// positive z rotation turns +x towards +y, downwards on the screen).
// The matrix is cached and rebuilt after a setter changed anything.
class Transformable3 {
public:
    Transformable3() = default;
    virtual ~Transformable3() = default;
    Transformable3(const Transformable3&) = default;
    Transformable3& operator=(const Transformable3&) = default;

    // x and y of the position; z is kept.
    void setPosition(float x, float y);
    void setPosition(const sf::Vector3f& position);
    sf::Vector2f getPosition() const { return {m_position.x, m_position.y}; }
    const sf::Vector3f& getPosition3() const { return m_position; }

    void setOrigin(float x, float y, float z = 0.f);
    const sf::Vector3f& getOrigin() const { return m_origin; }

    // Angles in degrees about the x, y and z axes.
    void setRotation(float x, float y, float z);
    const sf::Vector3f& getRotation() const { return m_rotation; }

    // x and y of the scale; z is kept.
    void setScale(float x, float y);
    void setScale(float x, float y, float z);
    const sf::Vector3f& getScale() const { return m_scale; }

    // The cached matrix, rebuilt first when a setter marked it dirty.
    const Matrix4& getTransform() const;

private:
    sf::Vector3f m_position{0.f, 0.f, 0.f};
    sf::Vector3f m_origin{0.f, 0.f, 0.f};
    sf::Vector3f m_rotation{0.f, 0.f, 0.f};
    sf::Vector3f m_scale{1.f, 1.f, 1.f};
    mutable Matrix4 m_transform;
    mutable bool m_transformDirty = true;
};

} // namespace pyx::core
