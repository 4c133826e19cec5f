#pragma once

#include "engine/graphics/Drawable3.hpp"

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/VertexArray.hpp>
#include <SFML/System/Vector2.hpp>

#include <cstdint>

namespace pyx::gfx {

// A filled pie showing a fraction of a full circle, as two triangle fans:
// the filled part and the rest. Angles are radians with 0 pointing to +x and
// pi/2 up on the screen; with `direction` 1 the filled part grows towards
// increasing angles (counter-clockwise on the screen), otherwise clockwise.
// With the default colours the unfilled part is invisible.
class CircularSector : public Drawable3 {
public:
    CircularSector() = default;

    // Draws both fans through the camera's `draw`.
    void draw(Camera& camera) override;

    // The filled fraction; must be >= 0, values above 1 are stored as 1.
    void setPercent(float percent);
    float getPercent() const { return m_percent; }
    void setCenter(sf::Vector2f center) { m_center = center; }
    sf::Vector2f getCenter() const { return m_center; }
    void setStartAngle(float radians) { m_startAngle = radians; }
    float getStartAngle() const { return m_startAngle; }
    void setRadius(float radius) { this->radius = radius; }
    // Sets both the rim and the centre colour of the filled part.
    void setFillColour(sf::Color colour);

    // The two fans `draw` would hand to the camera; an empty array for a fan
    // that is not drawn (none filled, or the rest empty).
    sf::VertexArray filledFan() const;
    sf::VertexArray restFan() const;

    std::int32_t direction = 0;
    sf::Color fillRimColour{0, 0, 0, 255};
    sf::Color fillCentreColour{0, 0, 0, 255};
    sf::Color restRimColour{0, 0, 0, 0};
    sf::Color restCentreColour{0, 0, 0, 0};
    float radius = 100.f;
    std::int32_t segments = 20;

private:
    sf::VertexArray buildFan(double sign, double angle, sf::Color centre, sf::Color rim) const;

    sf::Vector2f m_center{0.f, 0.f};
    float m_percent = 0.f;
    float m_startAngle = 0.f;
};

} // namespace pyx::gfx
