#include "tools/assetgen/Pictures.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace ironmoat::assetgen {

namespace {

// Drawn this many times larger than asked and averaged down, which gives
// smooth edges without an anti-aliasing rasterizer.
constexpr int supersample = 4;

// True when (x, y) of an s-by-s square lies inside its rounded outline.
bool insideRounded(int x, int y, int s, float radius) {
    const float px = x + 0.5f;
    const float py = y + 0.5f;
    const float cx = std::clamp(px, radius, s - radius);
    const float cy = std::clamp(py, radius, s - radius);
    return std::hypot(px - cx, py - cy) <= radius;
}

// The emblem at s pixels: a brick wall, a round moat in it and a gold tank
// in the middle of the moat, facing up. Below 32 pixels the wall keeps
// fewer, bigger bricks and the water loses its ripples, so the small icons
// stay readable.
void drawEmblem(Canvas& c, int s, int finalSize) {
    const float S = static_cast<float>(s);
    const bool small = finalSize < 32;

    // Wall: brick courses with offset joints over dark mortar.
    const sf::Color mortar(70, 52, 44);
    c.rect(0, 0, s, s, mortar);
    const int courses = small ? 4 : 8;
    const float courseH = S / courses;
    const float brickW = courseH * 2.f;
    const float joint = std::max(1.f, courseH * (small ? 0.16f : 0.1f));
    for (int k = 0; k < courses; ++k) {
        const float y = k * courseH;
        const float offset = (k % 2 == 0) ? 0.f : brickW / 2.f;
        for (int b = -1; b * brickW < S; ++b) {
            const float x = b * brickW + offset;
            const float n =
                noise(static_cast<std::uint32_t>(b + 2), static_cast<std::uint32_t>(k), 977);
            const sf::Color base = shade(sf::Color(176, 76, 46), 0.85f + 0.25f * n);
            const int x0 = static_cast<int>(x + joint / 2.f);
            const int y0 = static_cast<int>(y + joint / 2.f);
            const int w = static_cast<int>(brickW - joint);
            const int h = static_cast<int>(courseH - joint);
            c.rect(x0, y0, w, h, base);
            c.rect(x0, y0, w, std::max(1, h / 5), shade(base, 1.25f));
            c.rect(x0, y0 + h - std::max(1, h / 5), w, std::max(1, h / 5), shade(base, 0.7f));
        }
    }

    // Moat: a stone rim, then the water.
    const float cx = S / 2.f;
    const float cy = S / 2.f;
    const float moat = S * 0.40f;
    c.disc(cx, cy, moat + S * 0.035f, sf::Color(205, 196, 176));
    c.ring(cx, cy, moat, moat + S * 0.012f, sf::Color(120, 112, 98));
    c.disc(cx, cy, moat, sf::Color(34, 82, 168));
    if (!small) {
        // Ripples as short pale arcs around the tank.
        const sf::Color crest(120, 176, 232);
        for (int i = 0; i < 10; ++i) {
            const float a = 0.3f + i * 0.628f;
            const float r = moat * (i % 2 == 0 ? 0.86f : 0.74f);
            const float x0 = cx + r * std::cos(a);
            const float y0 = cy + r * std::sin(a);
            const float x1 = cx + r * std::cos(a + 0.28f);
            const float y1 = cy + r * std::sin(a + 0.28f);
            c.line(x0, y0, x1, y1, S * 0.018f, crest);
        }
    }

    // Tank, top view: tracks, hull, turret and gun.
    const sf::Color body(232, 184, 40);
    const sf::Color dark = shade(body, 0.5f);
    const sf::Color light = shade(body, 1.25f);
    const sf::Color track(34, 34, 36);
    // The tank is laid out on a 100-unit grid around (50, 45) and scaled up
    // about the icon's centre, more so for the small icons.
    const float k = small ? 1.3f : 1.15f;
    const float u = S / 100.f * k;
    auto X = [&](float x) { return S / 2.f + (x - 50.f) * u; };
    auto Y = [&](float y) { return S / 2.f + (y - 45.f) * u; };
    auto box = [&](float x, float y, float w, float h, sf::Color col) {
        c.rect(static_cast<int>(std::lround(X(x))), static_cast<int>(std::lround(Y(y))),
               static_cast<int>(std::lround(w * u)), static_cast<int>(std::lround(h * u)), col);
    };
    box(30, 33, 11, 40, track);
    box(59, 33, 11, 40, track);
    if (!small) {
        for (int i = 0; i < 6; ++i) {
            box(31.5f, 35.f + i * 6.5f, 8, 2.5f, sf::Color(100, 98, 90));
            box(60.5f, 35.f + i * 6.5f, 8, 2.5f, sf::Color(100, 98, 90));
        }
    }
    box(37, 36, 26, 34, dark);
    box(39, 38, 22, 30, body);
    box(39, 38, 22, 3, light);
    box(46.5f, 14, 7, 36, dark);
    box(48.5f, 15, 3, 34, light);
    box(45, 13, 10, 4, shade(body, 0.35f));
    c.disc(X(50), Y(55), 12 * u, dark);
    c.disc(X(50), Y(55), 10 * u, body);
    c.disc(X(48), Y(53), 5.5f * u, light);
    c.disc(X(50), Y(55), 3 * u, dark);
}

} // namespace

sf::Image renderIcon(int size) {
    const int s = size * supersample;
    sf::Image big;
    big.create(static_cast<unsigned>(s), static_cast<unsigned>(s), sf::Color::Transparent);
    Canvas canvas(big, 0, 0, s, s);
    drawEmblem(canvas, s, size);

    // Cut the corners round and frame the square with a dark edge, so the
    // icon stands out on light and dark panels alike.
    const float radius = s * 0.18f;
    const float edge = std::max(static_cast<float>(supersample), s * 0.025f);
    for (int y = 0; y < s; ++y) {
        for (int x = 0; x < s; ++x) {
            if (!insideRounded(x, y, s, radius)) {
                canvas.set(x, y, sf::Color::Transparent);
            } else if (!insideRounded(x - static_cast<int>(edge), y - static_cast<int>(edge),
                                      s - 2 * static_cast<int>(edge), radius - edge)) {
                canvas.set(x, y, sf::Color(40, 26, 22));
            }
        }
    }

    // Average each block, weighting colour by alpha so that transparent
    // pixels do not darken the edge.
    sf::Image out;
    out.create(static_cast<unsigned>(size), static_cast<unsigned>(size), sf::Color::Transparent);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float r = 0, g = 0, b = 0, a = 0;
            for (int j = 0; j < supersample; ++j) {
                for (int i = 0; i < supersample; ++i) {
                    const sf::Color p = big.getPixel(static_cast<unsigned>(x * supersample + i),
                                                     static_cast<unsigned>(y * supersample + j));
                    const float w = p.a / 255.f;
                    r += p.r * w;
                    g += p.g * w;
                    b += p.b * w;
                    a += w;
                }
            }
            if (a > 0) {
                const auto ch = [&](float v) {
                    return static_cast<std::uint8_t>(std::lround(v / a));
                };
                const auto alpha =
                    static_cast<std::uint8_t>(std::lround(255.f * a / (supersample * supersample)));
                out.setPixel(static_cast<unsigned>(x), static_cast<unsigned>(y),
                             sf::Color(ch(r), ch(g), ch(b), alpha));
            }
        }
    }
    return out;
}

const std::vector<int>& iconSizes() {
    static const std::vector<int> sizes = {16, 24, 32, 48, 64, 128, 256};
    return sizes;
}

} // namespace ironmoat::assetgen
