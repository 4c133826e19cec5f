#include "engine/core/Matrix4.hpp"
#include "engine/core/Transformable3.hpp"

#include <gtest/gtest.h>

using pyx::core::Matrix4;
using pyx::core::Transformable3;

namespace {

void expectPoint(const std::array<float, 3>& p, float x, float y, float z) {
    EXPECT_NEAR(p[0], x, 1e-5f);
    EXPECT_NEAR(p[1], y, 1e-5f);
    EXPECT_NEAR(p[2], z, 1e-5f);
}

} // namespace

TEST(GraphicsTransform, PositionIsSubtractedAndZRotationTurnsXTowardsY) {
    Transformable3 moved;
    moved.setPosition(sf::Vector3f(-10.f, -20.f, 0.f));
    expectPoint(moved.getTransform().transformPoint(0.f, 0.f, 0.f), 10.f, 20.f, 0.f);

    Transformable3 turned;
    turned.setRotation(0.f, 0.f, 90.f);
    expectPoint(turned.getTransform().transformPoint(1.f, 0.f, 0.f), 0.f, 1.f, 0.f);
}

TEST(GraphicsTransform, FullPlacementMapsToOriginPlusRotatedScaledOffset) {
    // origin + R(z 90) * (scale * (p - position)): p - position = (1, 0),
    // scaled (2, 0), turned (0, 2), plus origin (5, 5).
    Transformable3 t;
    t.setPosition(3.f, 4.f);
    t.setScale(2.f, 3.f);
    t.setRotation(0.f, 0.f, 90.f);
    t.setOrigin(5.f, 5.f);
    expectPoint(t.getTransform().transformPoint(4.f, 4.f, 0.f), 5.f, 7.f, 0.f);

    // A setter after a read rebuilds the cache.
    t.setPosition(4.f, 4.f);
    expectPoint(t.getTransform().transformPoint(4.f, 4.f, 0.f), 5.f, 5.f, 0.f);
    EXPECT_EQ(t.getPosition3().z, 0.f);
}

TEST(GraphicsTransform, MultiplyRefreshesTransposedCopyAndInverseUndoes) {
    Matrix4 m = Matrix4::translation(1.f, 2.f, 3.f);
    const float* t = m.getTransposed();
    EXPECT_EQ(t[12], 1.f); // column-major: translation at 12, 13, 14
    EXPECT_EQ(t[13], 2.f);

    m.multiply(Matrix4::scaling(2.f, 4.f, 1.f));
    m.multiply(Matrix4::translation(10.f, 0.f, 0.f));
    // Now m = T(1,2,3) * S(2,4,1) * T(10,0,0): element 3 = 1 + 2 * 10.
    const float* u = m.getTransposed();
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            EXPECT_EQ(u[col * 4 + row], m.at(row, col));
    EXPECT_EQ(u[12], 21.f);
    EXPECT_EQ(u[0], 2.f);

    const Matrix4 back = m.inverse() * m;
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(back[i], Matrix4()[i], 1e-5f);
    // A collapsed scale has no inverse; identity keeps the numbers finite.
    EXPECT_EQ(Matrix4::scaling(0.f, 1.f, 1.f).inverse(), Matrix4());
}

TEST(GraphicsTransform, PointsDivideByWOnlyWhenItIsNeitherOneNorZero) {
    Matrix4 m;
    m.set(15, 2.f);
    expectPoint(m.transformPoint(4.f, 6.f, 8.f), 2.f, 3.f, 4.f);
    m.set(15, 0.f);
    expectPoint(m.transformPoint(4.f, 6.f, 8.f), 4.f, 6.f, 8.f);
}
