#include "engine/graphics/CircularSector.hpp"

#include "engine/core/Assert.hpp"
#include "engine/graphics/Camera.hpp"

#include <cmath>
#include <numbers>

namespace pyx::gfx {

void CircularSector::setPercent(float _percent) {
    PYX_ASSERT(_percent >= 0);
    m_percent = _percent > 1.f ? 1.f : _percent;
}

void CircularSector::setFillColour(sf::Color colour) {
    fillRimColour = colour;
    fillCentreColour = colour;
}

sf::VertexArray CircularSector::buildFan(double sign, double angle, sf::Color centre,
                                         sf::Color rim) const {
    sf::VertexArray fan(sf::TriangleFan);
    if (segments <= 0)
        return fan;
    const float step = 2.f * std::numbers::pi_v<float> / static_cast<float>(segments);
    const auto rimVertex = [&](double theta) {
        const sf::Vector2f p(static_cast<float>(m_center.x + radius * std::cos(theta)),
                             static_cast<float>(m_center.y - radius * std::sin(theta)));
        fan.append(sf::Vertex(p, rim));
    };
    fan.append(sf::Vertex(m_center, centre));
    for (double a = 0.0; a < angle; a += step)
        rimVertex(m_startAngle + sign * a);
    rimVertex(m_startAngle + sign * angle);
    return fan;
}

sf::VertexArray CircularSector::filledFan() const {
    if (!(m_percent > 0.f))
        return sf::VertexArray(sf::TriangleFan);
    const double s = direction == 1 ? 1.0 : -1.0;
    const float filled = m_percent * 2.f * std::numbers::pi_v<float>;
    return buildFan(s, filled, fillCentreColour, fillRimColour);
}

sf::VertexArray CircularSector::restFan() const {
    if (!(m_percent < 1.f))
        return sf::VertexArray(sf::TriangleFan);
    const double s = direction == 1 ? 1.0 : -1.0;
    const float filled = m_percent * 2.f * std::numbers::pi_v<float>;
    const float rest = 2.f * std::numbers::pi_v<float> - filled;
    return buildFan(-s, rest, restCentreColour, restRimColour);
}

void CircularSector::draw(Camera& camera) {
    if (m_percent > 0.f)
        camera.draw(filledFan());
    if (m_percent < 1.f)
        camera.draw(restFan());
}

} // namespace pyx::gfx
