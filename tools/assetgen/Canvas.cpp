#include "tools/assetgen/Canvas.hpp"

#include <algorithm>
#include <cmath>

namespace ironmoat::assetgen {

Canvas::Canvas(sf::Image& image, int originX, int originY, int width, int height)
    : m_image(image), m_ox(originX), m_oy(originY), m_width(width), m_height(height) {}

void Canvas::set(int x, int y, sf::Color c) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return;
    }
    m_image.setPixel(static_cast<unsigned>(m_ox + x), static_cast<unsigned>(m_oy + y), c);
}

sf::Color Canvas::get(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return sf::Color::Transparent;
    }
    return m_image.getPixel(static_cast<unsigned>(m_ox + x), static_cast<unsigned>(m_oy + y));
}

void Canvas::blend(int x, int y, sf::Color c) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || c.a == 0) {
        return;
    }
    const sf::Color d = get(x, y);
    const float sa = c.a / 255.f;
    const float da = d.a / 255.f;
    const float oa = sa + da * (1.f - sa);
    auto ch = [&](std::uint8_t s, std::uint8_t t) {
        return static_cast<std::uint8_t>(std::lround((s * sa + t * da * (1.f - sa)) / oa));
    };
    set(x, y,
        sf::Color(ch(c.r, d.r), ch(c.g, d.g), ch(c.b, d.b),
                  static_cast<std::uint8_t>(std::lround(oa * 255.f))));
}

void Canvas::rect(int x, int y, int w, int h, sf::Color c) {
    for (int j = y; j < y + h; ++j) {
        for (int i = x; i < x + w; ++i) {
            blend(i, j, c);
        }
    }
}

void Canvas::frame(int x, int y, int w, int h, int t, sf::Color c) {
    rect(x, y, w, t, c);
    rect(x, y + h - t, w, t, c);
    rect(x, y + t, t, h - 2 * t, c);
    rect(x + w - t, y + t, t, h - 2 * t, c);
}

void Canvas::disc(float cx, float cy, float r, sf::Color c) {
    ring(cx, cy, -1.f, r, c);
}

void Canvas::ring(float cx, float cy, float r0, float r1, sf::Color c) {
    for (int y = static_cast<int>(cy - r1 - 1); y <= static_cast<int>(cy + r1 + 1); ++y) {
        for (int x = static_cast<int>(cx - r1 - 1); x <= static_cast<int>(cx + r1 + 1); ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            if (d <= r1 && d >= r0) {
                blend(x, y, c);
            }
        }
    }
}

void Canvas::ellipse(float cx, float cy, float rx, float ry, sf::Color c) {
    for (int y = static_cast<int>(cy - ry - 1); y <= static_cast<int>(cy + ry + 1); ++y) {
        for (int x = static_cast<int>(cx - rx - 1); x <= static_cast<int>(cx + rx + 1); ++x) {
            const float u = (x + 0.5f - cx) / rx;
            const float v = (y + 0.5f - cy) / ry;
            if (u * u + v * v <= 1.f) {
                blend(x, y, c);
            }
        }
    }
}

void Canvas::triangle(float x0, float y0, float x1, float y1, float x2, float y2, sf::Color c) {
    const int minX = static_cast<int>(std::floor(std::min({x0, x1, x2})));
    const int maxX = static_cast<int>(std::ceil(std::max({x0, x1, x2})));
    const int minY = static_cast<int>(std::floor(std::min({y0, y1, y2})));
    const int maxY = static_cast<int>(std::ceil(std::max({y0, y1, y2})));
    auto edge = [](float ax, float ay, float bx, float by, float px, float py) {
        return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
    };
    for (int y = minY; y <= maxY; ++y) {
        for (int x = minX; x <= maxX; ++x) {
            const float px = x + 0.5f;
            const float py = y + 0.5f;
            const float a = edge(x0, y0, x1, y1, px, py);
            const float b = edge(x1, y1, x2, y2, px, py);
            const float d = edge(x2, y2, x0, y0, px, py);
            if ((a >= 0 && b >= 0 && d >= 0) || (a <= 0 && b <= 0 && d <= 0)) {
                blend(x, y, c);
            }
        }
    }
}

void Canvas::line(float x0, float y0, float x1, float y1, float thickness, sf::Color c) {
    const float r = thickness / 2.f;
    const float len2 = (x1 - x0) * (x1 - x0) + (y1 - y0) * (y1 - y0);
    const int minX = static_cast<int>(std::min(x0, x1) - r - 1);
    const int maxX = static_cast<int>(std::max(x0, x1) + r + 1);
    const int minY = static_cast<int>(std::min(y0, y1) - r - 1);
    const int maxY = static_cast<int>(std::max(y0, y1) + r + 1);
    for (int y = minY; y <= maxY; ++y) {
        for (int x = minX; x <= maxX; ++x) {
            const float px = x + 0.5f;
            const float py = y + 0.5f;
            float t = len2 > 0 ? ((px - x0) * (x1 - x0) + (py - y0) * (y1 - y0)) / len2 : 0.f;
            t = std::clamp(t, 0.f, 1.f);
            const float qx = x0 + t * (x1 - x0);
            const float qy = y0 + t * (y1 - y0);
            if (std::hypot(px - qx, py - qy) <= r) {
                blend(x, y, c);
            }
        }
    }
}

float noise(std::uint32_t a, std::uint32_t b, std::uint32_t seed) {
    std::uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ seed * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return static_cast<float>(h & 0xFFFFFFu) / static_cast<float>(0x1000000u);
}

sf::Color shade(sf::Color c, float f) {
    auto ch = [f](std::uint8_t v) {
        return static_cast<std::uint8_t>(std::clamp(std::lround(v * f), 0L, 255L));
    };
    return sf::Color(ch(c.r), ch(c.g), ch(c.b), c.a);
}

sf::Color withAlpha(sf::Color c, std::uint8_t a) {
    return sf::Color(c.r, c.g, c.b, a);
}

sf::Color mix(sf::Color a, sf::Color b, float t) {
    auto ch = [t](std::uint8_t x, std::uint8_t y) {
        return static_cast<std::uint8_t>(std::lround(x + (y - x) * t));
    };
    return sf::Color(ch(a.r, b.r), ch(a.g, b.g), ch(a.b, b.b), ch(a.a, b.a));
}

} // namespace ironmoat::assetgen
