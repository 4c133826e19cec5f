#include "tools/assetgen/Pictures.hpp"

#include <cmath>

namespace ironmoat::assetgen {

namespace {

constexpr float pi = 3.14159265f;

// Noise on a torus of `period` pixels, in blocks of `block` pixels, so that
// a tile repeats without a seam.
float tiledNoise(int x, int y, int block, int period, std::uint32_t seed) {
    const int bx = ((x % period + period) % period) / block;
    const int by = ((y % period + period) % period) / block;
    return noise(static_cast<std::uint32_t>(bx), static_cast<std::uint32_t>(by), seed);
}

} // namespace

void drawBackground(Canvas& c, int column, int) {
    const sf::Color ground(58, 54, 44);
    const auto seed = static_cast<std::uint32_t>(101 + column);
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 80; ++x) {
            const float coarse = tiledNoise(x, y, 8, 80, seed);
            const float fine = tiledNoise(x, y, 4, 80, seed * 7);
            c.set(x, y, shade(ground, 0.9f + 0.12f * coarse + 0.08f * fine));
        }
    }
    // Pebbles and tufts wrap around the tile edges so that neighbours join.
    for (int i = 0; i < 5; ++i) {
        const float px = 80.f * noise(static_cast<std::uint32_t>(i), 1, seed);
        const float py = 80.f * noise(static_cast<std::uint32_t>(i), 2, seed);
        const float r = 2.5f + 2.f * noise(static_cast<std::uint32_t>(i), 3, seed);
        const bool tuft = i % 2 == 1;
        const sf::Color col = tuft ? sf::Color(60, 70, 40) : sf::Color(78, 74, 64);
        for (int oy = -80; oy <= 80; oy += 80) {
            for (int ox = -80; ox <= 80; ox += 80) {
                c.disc(px + ox, py + oy, r, col);
                if (!tuft) {
                    c.disc(px + ox - 0.8f, py + oy - 0.8f, r * 0.5f, sf::Color(92, 88, 76));
                }
            }
        }
    }
}

void drawBrick(Canvas& c, int column, int row) {
    const sf::Color mortar(96, 88, 78);
    const auto seed = static_cast<std::uint32_t>(211 + column);
    c.rect(0, 0, 40, 40, mortar);
    // Four courses of bricks, offset every other course; the variant shifts
    // the bond and the tint so a wall is not a repeated stamp.
    const int shift = (column % 2) * 10;
    for (int course = 0; course < 4; ++course) {
        const int y = course * 10;
        const int off = (course % 2 == 0 ? 0 : 10) + shift;
        for (int b = -1; b < 3; ++b) {
            const int x = b * 20 + off;
            const float n =
                noise(static_cast<std::uint32_t>(b + 4), static_cast<std::uint32_t>(course), seed);
            const sf::Color base = shade(sf::Color(168, 72, 44), 0.82f + 0.3f * n);
            c.rect(x + 1, y + 1, 18, 8, base);
            c.rect(x + 1, y + 1, 18, 2, shade(base, 1.2f));
            c.rect(x + 1, y + 7, 18, 2, shade(base, 0.7f));
        }
    }
    // A broken brick keeps one half; the removed half is cleared and the
    // broken edge gets a dark, chipped rim so the damage reads at a glance.
    auto clear = [&](int x0, int y0, int w, int h) {
        for (int y = y0; y < y0 + h; ++y) {
            for (int x = x0; x < x0 + w; ++x) {
                c.set(x, y, sf::Color::Transparent);
            }
        }
    };
    const sf::Color rim(70, 30, 20);
    switch (row) {
    case 1: // bottom half gone
        clear(0, 20, 40, 20);
        for (int x = 0; x < 40; x += 4) {
            c.rect(x, 18, 4, 2 + static_cast<int>(noise(x, 1, seed) * 2.f), rim);
        }
        break;
    case 2: // top half gone
        clear(0, 0, 40, 20);
        for (int x = 0; x < 40; x += 4) {
            const int h = 2 + static_cast<int>(noise(x, 2, seed) * 2.f);
            c.rect(x, 20, 4, h, rim);
        }
        break;
    case 3: // right half gone
        clear(20, 0, 20, 40);
        for (int y = 0; y < 40; y += 4) {
            c.rect(18, y, 2 + static_cast<int>(noise(y, 3, seed) * 2.f), 4, rim);
        }
        break;
    case 4: // left half gone
        clear(0, 0, 20, 40);
        for (int y = 0; y < 40; y += 4) {
            c.rect(20, y, 2 + static_cast<int>(noise(y, 4, seed) * 2.f), 4, rim);
        }
        break;
    default:
        break;
    }
}

void drawMetal(Canvas& c, int column, int) {
    const sf::Color steel(150, 158, 168);
    c.rect(0, 0, 40, 40, steel);
    // Bevelled plate: light top-left, dark bottom-right, like raised armour.
    c.rect(0, 0, 40, 4, shade(steel, 1.3f));
    c.rect(0, 4, 4, 36, shade(steel, 1.2f));
    c.rect(4, 36, 36, 4, shade(steel, 0.55f));
    c.rect(36, 4, 4, 32, shade(steel, 0.65f));
    if (column % 2 == 0) {
        c.rect(12, 12, 16, 16, shade(steel, 0.8f));
        c.rect(12, 12, 16, 3, shade(steel, 1.15f));
    } else {
        c.line(9, 9, 31, 31, 4, shade(steel, 0.78f));
        c.line(31, 9, 9, 31, 4, shade(steel, 0.78f));
    }
    for (int i = 0; i < 4; ++i) {
        const float x = i % 2 == 0 ? 8.5f : 31.5f;
        const float y = i < 2 ? 8.5f : 31.5f;
        c.disc(x, y, 3.f, shade(steel, 0.5f));
        c.disc(x - 0.7f, y - 0.7f, 1.8f, shade(steel, 1.35f));
    }
}

void drawTree(Canvas& c, int column, int) {
    // Foliage is a clump of round crowns; alpha below 255 and gaps between
    // the crowns let a tank underneath show through faintly.
    const auto seed = static_cast<std::uint32_t>(401 + column);
    const sf::Color dark(30, 92, 38, 225);
    const sf::Color light(70, 150, 60, 225);
    struct Crown {
        float x, y, r;
    };
    const Crown crowns0[] = {{11, 11, 10}, {29, 10, 9}, {12, 29, 9}, {29, 29, 10}, {20, 20, 9}};
    const Crown crowns1[] = {{20, 10, 10}, {9, 22, 9}, {31, 21, 9}, {20, 31, 9}, {21, 21, 7}};
    const Crown* crowns = column % 2 == 0 ? crowns0 : crowns1;
    for (int i = 0; i < 5; ++i) {
        c.disc(crowns[i].x, crowns[i].y, crowns[i].r, withAlpha(shade(dark, 0.8f), 200));
    }
    for (int i = 0; i < 5; ++i) {
        const float j = noise(static_cast<std::uint32_t>(i), 0, seed);
        c.disc(crowns[i].x - 1.5f, crowns[i].y - 1.5f, crowns[i].r * 0.72f,
               withAlpha(mix(dark, light, 0.3f + 0.3f * j), 60));
        c.disc(crowns[i].x - 2.5f, crowns[i].y - 2.5f, crowns[i].r * 0.4f, withAlpha(light, 90));
    }
}

void drawWater(Canvas& c, int column, int) {
    // Two wave trains whose spatial periods divide the tile (40 and 20 px)
    // and whose phases turn once over the 8 frames: the tile joins its
    // neighbours and the animation loops without a jump.
    const float phase = 2.f * pi * static_cast<float>(column) / 8.f;
    for (int y = 0; y < 40; y += 2) {
        for (int x = 0; x < 40; x += 2) {
            const float u = static_cast<float>(x) / 40.f;
            const float v = static_cast<float>(y) / 40.f;
            // Wavy ripple lines: two per tile, bent twice across it.
            const float bend = 0.18f * std::sin(2.f * pi * 2.f * u + phase);
            const float h = std::sin(2.f * pi * (2.f * v + bend) - phase);
            sf::Color col(36, 84, 170);
            col = shade(col, 0.85f + 0.15f * h);
            // Crests as pale bands rather than single sparkles, so the water
            // reads as moving ripples at the small cell size.
            if (h > 0.6f) {
                col = sf::Color(78, 134, 214);
            }
            if (h > 0.92f) {
                col = sf::Color(150, 196, 240);
            }
            c.rect(x, y, 2, 2, col);
        }
    }
}

void drawWood(Canvas& c, int column, int) {
    const sf::Color plank(150, 104, 58);
    const auto seed = static_cast<std::uint32_t>(601 + column);
    const bool vertical = column % 2 == 0;
    for (int p = 0; p < 4; ++p) {
        const sf::Color col =
            shade(plank, 0.85f + 0.25f * noise(static_cast<std::uint32_t>(p), 0, seed));
        if (vertical) {
            c.rect(p * 10, 0, 10, 40, col);
            c.rect(p * 10, 0, 2, 40, shade(col, 0.6f));
            c.rect(p * 10 + 5, 4 + p * 7 % 20, 2, 12, shade(col, 0.8f));
        } else {
            c.rect(0, p * 10, 40, 10, col);
            c.rect(0, p * 10, 40, 2, shade(col, 0.6f));
            c.rect(4 + p * 9 % 20, p * 10 + 5, 12, 2, shade(col, 0.8f));
        }
    }
    // Cross battens hold the planks together.
    const sf::Color batten = shade(plank, 0.7f);
    if (vertical) {
        c.rect(0, 6, 40, 5, batten);
        c.rect(0, 29, 40, 5, batten);
    } else {
        c.rect(6, 0, 5, 40, batten);
        c.rect(29, 0, 5, 40, batten);
    }
    c.frame(0, 0, 40, 40, 2, shade(plank, 0.45f));
}

} // namespace ironmoat::assetgen
