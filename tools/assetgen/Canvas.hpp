#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Image.hpp>

#include <cstdint>

namespace ironmoat::assetgen {

// Blending drawing on an sf::Image, in whole pixels. All shapes are given in
// frame-local coordinates and offset by the frame's origin, so that a
// picture function draws one frame without knowing where it sits in the
// sheet. Pixels outside the frame are never touched: no frame bleeds into
// its neighbour.
class Canvas {
public:
    Canvas(sf::Image& image, int originX, int originY, int width, int height);

    int width() const { return m_width; }
    int height() const { return m_height; }

    // Alpha-blends `c` over the pixel (a fully transparent target takes `c`).
    void blend(int x, int y, sf::Color c);
    // Replaces the pixel, alpha included.
    void set(int x, int y, sf::Color c);
    sf::Color get(int x, int y) const;

    void rect(int x, int y, int w, int h, sf::Color c);
    // Rectangle outline of thickness t drawn inside the given bounds.
    void frame(int x, int y, int w, int h, int t, sf::Color c);
    void disc(float cx, float cy, float r, sf::Color c);
    void ring(float cx, float cy, float r0, float r1, sf::Color c);
    void ellipse(float cx, float cy, float rx, float ry, sf::Color c);
    // Filled triangle.
    void triangle(float x0, float y0, float x1, float y1, float x2, float y2, sf::Color c);
    // A thick line with round ends.
    void line(float x0, float y0, float x1, float y1, float thickness, sf::Color c);

private:
    sf::Image& m_image;
    int m_ox;
    int m_oy;
    int m_width;
    int m_height;
};

// Deterministic integer hash noise in [0, 1): the pictures must come out the
// same on every run, so nothing here touches a random generator.
float noise(std::uint32_t a, std::uint32_t b, std::uint32_t seed);

// Channel-wise scaling by f, clamped; alpha kept.
sf::Color shade(sf::Color c, float f);
sf::Color withAlpha(sf::Color c, std::uint8_t a);
sf::Color mix(sf::Color a, sf::Color b, float t);

} // namespace ironmoat::assetgen
