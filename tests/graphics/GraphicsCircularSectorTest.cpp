#include "engine/graphics/CircularSector.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using pyx::gfx::CircularSector;

namespace {

constexpr float pi = std::numbers::pi_v<float>;

} // namespace

TEST(GraphicsCircularSector, EmptyAndFullSectorsDrawOneFanEach) {
    CircularSector sector;
    sector.setPercent(0.f);
    EXPECT_EQ(sector.filledFan().getVertexCount(), 0u);
    EXPECT_EQ(sector.restFan().getVertexCount(), 22u); // centre + 21 rim

    sector.setPercent(1.f);
    EXPECT_EQ(sector.restFan().getVertexCount(), 0u);
    const sf::VertexArray full = sector.filledFan();
    ASSERT_EQ(full.getVertexCount(), 22u); // a fan of 20 triangles
    EXPECT_EQ(full.getPrimitiveType(), sf::TriangleFan);
    // The last rim vertex closes the circle on the first one.
    EXPECT_NEAR(full[21].position.x, full[1].position.x, 1e-3f);
    EXPECT_NEAR(full[21].position.y, full[1].position.y, 1e-3f);
}

TEST(GraphicsCircularSector, HalfFilledSplitsAtHalfATurn) {
    CircularSector sector;
    sector.setPercent(0.5f);
    const sf::VertexArray filled = sector.filledFan();
    const sf::VertexArray rest = sector.restFan();
    EXPECT_EQ(filled.getVertexCount(), 12u); // centre + 11 rim vertices
    EXPECT_EQ(rest.getVertexCount(), 12u);
    // Both start at angle 0 (+x) and end on -x.
    EXPECT_NEAR(filled[1].position.x, 100.f, 1e-3f);
    EXPECT_NEAR(filled[11].position.x, -100.f, 1e-3f);
    EXPECT_NEAR(rest[11].position.x, -100.f, 1e-3f);
    EXPECT_EQ(filled[0].color, sf::Color(0, 0, 0, 255));
    EXPECT_EQ(rest[1].color, sf::Color(0, 0, 0, 0));
}

TEST(GraphicsCircularSector, StartAtTopGrowsCounterClockwiseOnScreen) {
    CircularSector sector;
    sector.setCenter({50.f, 50.f});
    sector.radius = 10.f;
    sector.setStartAngle(pi / 2.f);
    sector.direction = 1;
    sector.setPercent(0.25f);
    const sf::VertexArray fan = sector.filledFan();
    ASSERT_GE(fan.getVertexCount(), 3u);
    EXPECT_NEAR(fan[1].position.x, 50.f, 1e-4f); // top of the circle
    EXPECT_NEAR(fan[1].position.y, 40.f, 1e-4f);
    EXPECT_LT(fan[2].position.x, 50.f); // then leftwards
    const sf::Vertex& last = fan[fan.getVertexCount() - 1];
    EXPECT_NEAR(last.position.x, 40.f, 1e-4f); // a quarter turn: the left edge
    EXPECT_NEAR(last.position.y, 50.f, 1e-4f);

    sector.direction = 0; // clockwise: rightwards from the top
    EXPECT_GT(sector.filledFan()[2].position.x, 50.f);
}

TEST(GraphicsCircularSector, PercentIsClampedAboveOneAndFillColourSetsBoth) {
    CircularSector sector;
    sector.setPercent(1.7f);
    EXPECT_EQ(sector.getPercent(), 1.f);
    sector.setFillColour(sf::Color(10, 20, 30, 40));
    EXPECT_EQ(sector.fillRimColour, sf::Color(10, 20, 30, 40));
    EXPECT_EQ(sector.fillCentreColour, sf::Color(10, 20, 30, 40));
    // A nonsensical segment count draws nothing rather than looping forever.
    sector.segments = -3;
    EXPECT_EQ(sector.filledFan().getVertexCount(), 0u);
}

TEST(GraphicsCircularSectorDeath, NegativePercentIsAProgrammingError) {
    CircularSector sector;
    EXPECT_DEATH(sector.setPercent(-0.1f), "_percent >= 0");
}
