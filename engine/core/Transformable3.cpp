#include "engine/core/Transformable3.hpp"

#include <cmath>
#include <numbers>

namespace pyx::core {

void Transformable3::setPosition(float x, float y) {
    m_position.x = x;
    m_position.y = y;
    m_transformDirty = true;
}

void Transformable3::setPosition(const sf::Vector3f& position) {
    m_position = position;
    m_transformDirty = true;
}

void Transformable3::setOrigin(float x, float y, float z) {
    m_origin = {x, y, z};
    m_transformDirty = true;
}

void Transformable3::setRotation(float x, float y, float z) {
    m_rotation = {x, y, z};
    m_transformDirty = true;
}

void Transformable3::setScale(float x, float y) {
    m_scale.x = x;
    m_scale.y = y;
    m_transformDirty = true;
}

void Transformable3::setScale(float x, float y, float z) {
    m_scale = {x, y, z};
    m_transformDirty = true;
}

const Matrix4& Transformable3::getTransform() const {
    if (!m_transformDirty)
        return m_transform;

    constexpr float toRadians = std::numbers::pi_v<float> / 180.f;
    const float x = m_rotation.x * toRadians;
    const float y = m_rotation.y * toRadians;
    // Screen y runs downwards, so the z angle is negated to make a positive
    // angle turn +x towards +y.
    const float z = -m_rotation.z * toRadians;
    const float cx = std::cos(x), sx = std::sin(x);
    const float cy = std::cos(y), sy = std::sin(y);
    const float cz = std::cos(z), sz = std::sin(z);
    const Matrix4 rotation({cz * cy, sz * cy, -sy, 0.f,                                   //
                            sy * sx * cz - sz * cx, sy * sx * sz + cz * cx, cy * sx, 0.f, //
                            sy * cx * cz + sz * sx, sy * cx * sz - cz * sx, cy * cx, 0.f, //
                            0.f, 0.f, 0.f, 1.f});

    Matrix4 m;
    m.multiply(Matrix4::translation(m_origin.x, m_origin.y, m_origin.z));
    m.multiply(rotation);
    m.multiply(Matrix4::scaling(m_scale.x, m_scale.y, m_scale.z));
    m.multiply(Matrix4::translation(-m_position.x, -m_position.y, -m_position.z));
    m_transform = m;
    m_transformDirty = false;
    return m_transform;
}

} // namespace pyx::core
