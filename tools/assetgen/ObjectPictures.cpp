#include "tools/assetgen/Pictures.hpp"

#include <algorithm>
#include <cmath>

namespace ironmoat::assetgen {

namespace {

constexpr float pi = 3.14159265f;

// Body colours by picture column: enemy, carrier flash, Player 1, Player 2.
sf::Color tankColour(int column) {
    switch (column) {
    case 0:
        return sf::Color(150, 150, 140); // enemy: drab steel grey
    case 1:
        return sf::Color(235, 60, 50); // carrier flash: loud red
    case 2:
        return sf::Color(232, 184, 40); // Player 1: gold
    default:
        return sf::Color(60, 170, 230); // Player 2: sky blue
    }
}

} // namespace

void drawTank(Canvas& c, int column, int row) {
    // The body sits over the tracks (drawn separately, below) and turns with
    // them about the frame's centre; it faces up. Higher upgrade levels get
    // a wider hull, side armour, a bigger turret and a longer, thicker gun.
    const sf::Color body = tankColour(column);
    const sf::Color dark = shade(body, 0.55f);
    const sf::Color light = shade(body, 1.25f);
    const int level = std::clamp(row, 0, 3);
    const int half = 15 + level * 2; // hull half width
    const int top = 20 - level;
    const int bottom = 64 + level;
    c.rect(40 - half, top, 2 * half, bottom - top, dark);
    c.rect(40 - half + 3, top + 3, 2 * half - 6, bottom - top - 6, body);
    c.rect(40 - half + 3, top + 3, 2 * half - 6, 3, light);
    if (level >= 2) {
        // Side armour skirts over the inner edge of the tracks.
        c.rect(40 - half - 4, top + 6, 5, bottom - top - 12, dark);
        c.rect(40 + half - 1, top + 6, 5, bottom - top - 12, dark);
        c.rect(40 - half - 3, top + 8, 3, bottom - top - 16, body);
        c.rect(40 + half, top + 8, 3, bottom - top - 16, body);
    }
    // Engine grille at the back.
    for (int i = 0; i < 3; ++i) {
        c.rect(31, bottom - 12 + i * 3, 18, 2, dark);
    }
    // Gun: one barrel, twin barrels at the top level.
    const int gunWidth = 6 + (level >= 1 ? 2 : 0);
    const int gunTip = 9 - level * 2;
    if (level == 3) {
        c.rect(31, gunTip, 7, 40 - gunTip, dark);
        c.rect(42, gunTip, 7, 40 - gunTip, dark);
        c.rect(33, gunTip + 1, 3, 40 - gunTip, light);
        c.rect(44, gunTip + 1, 3, 40 - gunTip, light);
        c.rect(30, gunTip, 9, 4, shade(body, 0.4f));
        c.rect(41, gunTip, 9, 4, shade(body, 0.4f));
    } else {
        c.rect(40 - gunWidth / 2, gunTip, gunWidth, 40 - gunTip, dark);
        c.rect(40 - gunWidth / 2 + 2, gunTip + 1, gunWidth - 4, 40 - gunTip, light);
        c.rect(40 - gunWidth / 2 - 1, gunTip, gunWidth + 2, 4, shade(body, 0.4f));
    }
    // Turret.
    const float r = 11.f + level * 1.5f;
    c.disc(40, 42, r + 2, dark);
    c.disc(40, 42, r, body);
    c.disc(38, 40, r * 0.55f, light);
    c.disc(40, 42, 3.5f, dark);
    // Level marks: one bold bar per level on the hull's back, so the
    // upgrade shows even where the gun is hard to see.
    for (int i = 0; i < level; ++i) {
        c.rect(40 - half + 5, bottom - 9 - i * 5, 5, 3, sf::Color(250, 250, 240));
        c.rect(40 + half - 10, bottom - 9 - i * 5, 5, 3, sf::Color(250, 250, 240));
    }
    if (column == 1) {
        // The flash picture also glows, so a carrier blinks even at a glance.
        c.frame(40 - half, top, 2 * half, bottom - top, 2, sf::Color(255, 240, 200));
    }
}

void drawWheels(Canvas& c, int column, int) {
    // Two tracks; the tread bars repeat every 8 pixels and each frame moves
    // them 2 pixels, so 4 frames make a seamless loop.
    const sf::Color track(40, 40, 42);
    const sf::Color bar(110, 108, 100);
    for (int side = 0; side < 2; ++side) {
        const int x = side == 0 ? 9 : 55;
        c.rect(x, 8, 16, 64, track);
        for (int y = 8 - 8 + column * 2; y < 72; y += 8) {
            const int y0 = std::max(y, 10);
            const int y1 = std::min(y + 4, 70);
            if (y1 > y0) {
                c.rect(x + 2, y0, 12, y1 - y0, bar);
            }
        }
        c.frame(x, 8, 16, 64, 2, sf::Color(20, 20, 22));
    }
}

void drawShield(Canvas& c, int column, int) {
    // A translucent bubble whose rim pulses and whose sparks step round;
    // played forth and back, so frame 3 need not lead back to frame 0.
    const float t = static_cast<float>(column) / 3.f;
    const sf::Color glow(120, 220, 255);
    c.disc(50, 50, 46, withAlpha(glow, static_cast<std::uint8_t>(28 + 20 * t)));
    c.ring(50, 50, 42.f - 2.f * t, 47.f, withAlpha(glow, static_cast<std::uint8_t>(150 + 60 * t)));
    for (int i = 0; i < 6; ++i) {
        const float a = 2.f * pi * (static_cast<float>(i) / 6.f) + t * pi / 6.f;
        const float sx = 50.f + 44.f * std::sin(a);
        const float sy = 50.f - 44.f * std::cos(a);
        c.disc(sx, sy, 4.f, withAlpha(sf::Color(230, 250, 255), 230));
    }
}

void drawBullet(Canvas& c, int column, int) {
    // A shell flying up: bold tip and body, a flickering flame behind.
    const float flame = column % 2 == 0 ? 5.f : 7.f;
    c.ellipse(10, 15.5f, 3.5f, flame, sf::Color(255, 140, 30, 200));
    c.ellipse(10, 9, 4.5f, 7, sf::Color(90, 70, 40));
    c.ellipse(10, 8.5f, 3, 6, sf::Color(255, 214, 90));
    c.disc(10, 4.5f, 2.2f, sf::Color(255, 250, 220));
}

void drawExplosion(Canvas& c, int column, int row) {
    // Ten frames: a flash that swells into a fireball, then smoke that thins.
    const int f = row * 5 + column;
    const float t = static_cast<float>(f) / 9.f;
    const float r = 12.f + 26.f * std::sqrt(t);
    const std::uint8_t fade = static_cast<std::uint8_t>(f < 6 ? 255 : 255 - (f - 5) * 50);
    sf::Color outer = f < 5 ? sf::Color(240, 110, 30) : sf::Color(90, 80, 75);
    outer = mix(outer, sf::Color(70, 65, 62), std::max(0.f, t - 0.5f));
    for (int i = 0; i < 7; ++i) {
        const float a = 2.f * pi * i / 7.f + f * 0.3f;
        const float d = r * (0.45f + 0.2f * noise(static_cast<std::uint32_t>(i), 0, 77));
        c.disc(40 + d * std::cos(a), 40 + d * std::sin(a), r * 0.5f, withAlpha(outer, fade));
    }
    c.disc(40, 40, r * 0.75f, withAlpha(outer, fade));
    if (f < 7) {
        const float core = r * (0.6f - 0.07f * f);
        c.disc(40, 40, core, withAlpha(sf::Color(255, 200, 60), fade));
        c.disc(40, 40, core * 0.55f, withAlpha(sf::Color(255, 250, 210), fade));
    }
}

void drawBonus(Canvas& c, int column, int) {
    // A dark badge with a bright rim; the icon tells what the bonus does.
    const sf::Color rim(255, 230, 120);
    c.rect(6, 6, 68, 68, sf::Color(30, 30, 44, 235));
    c.frame(6, 6, 68, 68, 4, rim);
    const sf::Color white(250, 250, 250);
    switch (column) {
    case 0: { // shield: the tank cannot be hurt
        const sf::Color cyan(120, 220, 255);
        c.rect(24, 18, 32, 22, cyan);
        c.triangle(24, 40, 56, 40, 40, 64, cyan);
        c.rect(37, 22, 6, 30, white);
        c.rect(28, 28, 24, 6, white);
        break;
    }
    case 1: { // freeze: enemies stand still
        const sf::Color ice(190, 235, 255);
        for (int i = 0; i < 3; ++i) {
            const float a = pi * i / 3.f;
            c.line(40 - 22 * std::sin(a), 40 - 22 * std::cos(a), 40 + 22 * std::sin(a),
                   40 + 22 * std::cos(a), 6, ice);
        }
        c.disc(40, 40, 6, white);
        break;
    }
    case 2: { // fortify the base: a crenellated wall
        const sf::Color stone(170, 176, 186);
        c.rect(16, 38, 48, 24, stone);
        for (int i = 0; i < 4; ++i) {
            c.rect(16 + i * 14, 26, 8, 14, stone);
        }
        c.rect(16, 48, 48, 3, shade(stone, 0.6f));
        c.rect(38, 38, 3, 10, shade(stone, 0.6f));
        c.rect(26, 51, 3, 11, shade(stone, 0.6f));
        c.rect(50, 51, 3, 11, shade(stone, 0.6f));
        break;
    }
    case 3: // one upgrade: one chevron
        c.line(20, 50, 40, 28, 9, rim);
        c.line(40, 28, 60, 50, 9, rim);
        break;
    case 4: { // destroy all enemies: a bomb with a lit fuse
        c.disc(37, 45, 17, sf::Color(20, 20, 24));
        c.disc(32, 40, 5, sf::Color(110, 110, 130));
        c.rect(44, 24, 8, 8, sf::Color(90, 90, 100));
        c.line(48, 24, 56, 16, 4, sf::Color(200, 160, 90));
        c.disc(57, 15, 5, sf::Color(255, 120, 30));
        c.disc(57, 15, 2.5f, sf::Color(255, 250, 180));
        break;
    }
    case 5: { // one more life: a heart with a plus
        const sf::Color red(235, 50, 60);
        c.disc(30, 32, 11, red);
        c.disc(50, 32, 11, red);
        c.triangle(19.5f, 35, 60.5f, 35, 40, 60, red);
        c.rect(37, 28, 6, 18, white);
        c.rect(31, 34, 18, 6, white);
        break;
    }
    case 6: // two upgrades: two chevrons
        c.line(20, 42, 40, 22, 8, rim);
        c.line(40, 22, 60, 42, 8, rim);
        c.line(20, 60, 40, 40, 8, rim);
        c.line(40, 40, 60, 60, 8, rim);
        break;
    default: { // boat: the tank can cross water
        const sf::Color waterBlue(60, 130, 220);
        c.rect(12, 56, 56, 8, waterBlue);
        c.triangle(16, 40, 64, 40, 56, 54, sf::Color(170, 110, 60));
        c.triangle(16, 40, 24, 54, 56, 54, sf::Color(170, 110, 60));
        c.rect(38, 18, 4, 22, sf::Color(220, 220, 220));
        c.triangle(42, 18, 42, 36, 58, 36, white);
        break;
    }
    }
}

void drawSpawn(Canvas& c, int, int) {
    // Ground marking: corner brackets and a dashed circle, painted on, so it
    // stays quiet beside the tanks that appear on it.
    const sf::Color paint(230, 210, 90, 170);
    const int arm = 16;
    const int t = 4;
    c.rect(4, 4, arm, t, paint);
    c.rect(4, 4, t, arm, paint);
    c.rect(76 - arm, 4, arm, t, paint);
    c.rect(72, 4, t, arm, paint);
    c.rect(4, 72, arm, t, paint);
    c.rect(4, 76 - arm, t, arm, paint);
    c.rect(76 - arm, 72, arm, t, paint);
    c.rect(72, 76 - arm, t, arm, paint);
    for (int i = 0; i < 8; ++i) {
        const float a0 = 2.f * pi * i / 8.f;
        for (float a = a0; a < a0 + 0.45f; a += 0.05f) {
            c.disc(40 + 22 * std::cos(a), 40 + 22 * std::sin(a), 2.2f, paint);
        }
    }
}

void drawBase(Canvas& c, int, int) {
    // A squat concrete bunker with a gun slit and a pennant on a mast.
    const sf::Color concrete(150, 146, 136);
    c.rect(10, 30, 60, 42, shade(concrete, 0.6f));
    c.rect(13, 33, 54, 36, concrete);
    c.rect(13, 33, 54, 4, shade(concrete, 1.2f));
    c.ellipse(40, 33, 22, 12, shade(concrete, 0.6f));
    c.ellipse(40, 33, 19, 10, shade(concrete, 1.1f));
    c.rect(22, 48, 36, 7, sf::Color(25, 25, 28));
    c.rect(34, 59, 12, 10, shade(concrete, 0.45f));
    c.rect(38, 6, 4, 24, sf::Color(70, 70, 74));
    c.triangle(42, 6, 42, 20, 62, 13, sf::Color(220, 40, 40));
}

} // namespace ironmoat::assetgen
