#include "game/objects/Tank.hpp"

#include "engine/graphics/Camera.hpp"
#include "engine/graphics/CircularSector.hpp"
#include "game/controllers/PlayerController.hpp"
#include "game/objects/BonusObject.hpp"
#include "game/objects/Player.hpp"
#include "game/objects/TankShell.hpp"
#include "game/objects/World.hpp"

#include <SFML/Graphics/RectangleShape.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace ironmoat::cmn {

namespace {

constexpr float HeatPerShot = 0.25f;
constexpr float CoolingPerSecond = 0.3814815f;
constexpr float MovesPerSecond = 5.0f;
constexpr float BlinkPeriod = 0.3f;
constexpr float UpgradedReloadFactor = 0.7f;

} // namespace

Tank::Tank(World* owner) : GameObject(owner) {
    width = 2;
    height = 2;
    tankTiles.load(L"ironmoat/tank_tileset.png", 80);
    wheelTiles.load(L"ironmoat/wheels_tileset.png", 80);
    shieldTiles.load(L"ironmoat/shield_tileset.png", 100, 100);
}

Tank::~Tank() = default;

void Tank::setController(std::shared_ptr<PlayerController> newController) {
    controller = std::move(newController);
}

void Tank::upgrade() {
    if (level < 3)
        level += 1;
}

bool Tank::canMove(int dx, int dy) const {
    if (!world)
        return false;
    const int ox = dx <= 0 ? dx : dx - 1 + width;
    const int oy = dy <= 0 ? dy : dy - 1 + height;
    const int ax = x + ox;
    const int ay = y + oy;
    const int bx = dx != 0 ? ax : ax + 1;
    const int by = dx != 0 ? ay + 1 : ay;
    return world->cellFreeForTank(*this, ax, ay) && world->cellFreeForTank(*this, bx, by);
}

void Tank::tryMove() {
    if (canMove(dirX, dirY)) {
        x += dirX;
        y += dirY;
        moveProgress = 1.0f;
    }
}

bool Tank::canMoveLeft() const {
    return moveProgress > 0.0f || canMove(-1, 0);
}
bool Tank::canMoveRight() const {
    return moveProgress > 0.0f || canMove(1, 0);
}
bool Tank::canMoveUp() const {
    return moveProgress > 0.0f || canMove(0, -1);
}
bool Tank::canMoveDown() const {
    return moveProgress > 0.0f || canMove(0, 1);
}

void Tank::update(float seconds) {
    GameObject::update(seconds);

    blinkTimer -= seconds;
    if (blinkTimer < 0.0f) {
        shownKind = (shownKind == kind && bonusDrops != 0) ? 1 : kind;
        blinkTimer += BlinkPeriod;
    }
    if (cooldown > 0.0f)
        cooldown -= seconds;
    if (immobileTime > 0.0f)
        immobileTime -= seconds;
    if (heat > 0.0f)
        heat -= seconds * CoolingPerSecond;
    else
        overheated = false;
    if (moveProgress > 0.0f) {
        wheelFrame = static_cast<std::int16_t>(wheelFrame + 1);
        moveProgress -= seconds * MovesPerSecond * speed;
    }

    if (!controller)
        return;

    if (moveProgress <= 0.0f && immobileTime <= 0.0f) {
        int dx = 0;
        int dy = 0;
        if (controller->isLeft())
            dx = -1;
        else if (controller->isRight())
            dx = 1;
        else if (controller->isUp())
            dy = -1;
        else if (controller->isDown())
            dy = 1;
        if (dx != 0 || dy != 0) {
            // Turning happens even when the way is blocked, so a player can
            // aim without moving.
            dirX = dx;
            dirY = dy;
            tryMove();
        }
    }

    if (controller->isFire() && cooldown <= 0.0f && !overheated)
        fire();
}

void Tank::fire() {
    cooldown = level >= 1 ? UpgradedReloadFactor * reloadTime : reloadTime;
    auto self = std::static_pointer_cast<Tank>(sharedFromThis());
    TankShell::fire(world, self, x + 1, y + 1, dirX, dirY, player, level >= 2, level >= 3);
    shotsFired += 1;
    if (team != 0) {
        heat += HeatPerShot;
        if (heat > 1.0f) {
            heat = 1.0f;
            overheated = true;
        }
    }
}

bool Tank::absorbHit(const std::shared_ptr<Player>&) {
    if (boat) {
        boat = false;
        return true;
    }
    if (level >= 1) {
        level -= 1;
        return true;
    }
    return false;
}

void Tank::onDamaged(const std::shared_ptr<Player>& attacker) {
    if (bonusDrops < 1)
        return;
    if (attacker)
        attacker->score += 50;
    auto bonus = pyx::core::makeShared<BonusObject>(world);
    const int r1 = std::rand();
    const int r2 = std::rand();
    bonus->y = 2 * (r1 % 10) + 3;
    bonus->x = 2 * (r2 % 10) + 3;
    if (world)
        world->setBonus(bonus);
    bonusDrops -= 1;
}

void Tank::onDestroyed(const std::shared_ptr<Player>& attacker) {
    if (attacker)
        attacker->score += 100;
}

float Tank::directionAngle(int dx, int dy) {
    const float base =
        dx != 0 ? 90.0f - 90.0f * static_cast<float>(dx) : 90.0f * static_cast<float>(dy) + 180.0f;
    return 90.0f - base;
}

namespace {

// Where the tank is drawn: its centre, lagging behind the grid position by
// the part of the move still to show. The lag never turns into a lead: after
// the last step of a move the progress is a little below 0, and a standing
// tank must sit exactly on its cells.
sf::Vector2f tankCentre(const Tank& tank, int cw, int ch) {
    const float lag = std::max(tank.moveProgress, 0.0f);
    return {(static_cast<float>(tank.x) + 1.0f - static_cast<float>(tank.dirX) * lag) *
                static_cast<float>(cw),
            (static_cast<float>(tank.y) + 1.0f - static_cast<float>(tank.dirY) * lag) *
                static_cast<float>(ch)};
}

sf::Vector2f frameCentre(pyx::gfx::Tileset& tiles) {
    const sf::Vector2u size = tiles.frameSize();
    return {static_cast<float>(size.x) / 2.0f, static_cast<float>(size.y) / 2.0f};
}

} // namespace

void Tank::draw(pyx::gfx::Camera& camera) {
    const int cw = world ? world->cellWidth() : 0;
    const int ch = world ? world->cellHeight() : 0;

    const int wheelColumns = static_cast<int>(wheelTiles.gridSize().x);
    if (wheelColumns > 0) {
        wheelFrame = static_cast<std::int16_t>(wheelFrame % wheelColumns);
        if (wheelFrame < 0)
            wheelFrame = static_cast<std::int16_t>(wheelFrame + wheelColumns);
    }

    const float angle = directionAngle(dirX, dirY);
    const sf::Vector2f centre = tankCentre(*this, cw, ch);
    unsigned w = static_cast<unsigned>(2 * cw);
    unsigned h = static_cast<unsigned>(2 * ch);
    if (std::fabs(std::fabs(angle) - 90.0f) < 0.1f)
        std::swap(w, h);

    // A missing track picture has no columns to animate: draw no tracks.
    if (wheelColumns > 0)
        wheelTiles.drawFrame(angle, camera, frameCentre(wheelTiles), centre.x, centre.y, wheelFrame,
                             0, w, h);
    tankTiles.drawFrame(angle, camera, frameCentre(tankTiles), centre.x, centre.y, shownKind, level,
                        w, h);

    if (shieldTime > 0.0f) {
        const int n = static_cast<int>(shieldTiles.gridSize().x);
        if (n > 0) {
            int f = static_cast<int>(shieldTime * 10.0f) % (2 * n - 1);
            if (f >= n)
                f = 2 * n - 1 - f;
            shieldTiles.drawFrame(0.0f, camera, frameCentre(shieldTiles), centre.x, centre.y, f, 0,
                                  static_cast<unsigned>(1.25f * static_cast<float>(w)),
                                  static_cast<unsigned>(1.25f * static_cast<float>(h)));
        }
    }

    if (boat) {
        sf::RectangleShape outline(sf::Vector2f(static_cast<float>(w), static_cast<float>(h)));
        outline.setOrigin(static_cast<float>(w) / 2.0f, static_cast<float>(h) / 2.0f);
        outline.setPosition(centre);
        outline.setFillColor(sf::Color::Transparent);
        outline.setOutlineColor(sf::Color(0, 0, 255, 255));
        outline.setOutlineThickness(2.0f);
        camera.draw(outline);
    }
}

void Tank::drawTop(pyx::gfx::Camera& camera) {
    if (heat <= 0.0f)
        return;
    const int cw = world ? world->cellWidth() : 0;
    const int ch = world ? world->cellHeight() : 0;

    sf::Color colour;
    if (overheated)
        colour = sf::Color(255, 0, 0, 255);
    else if (heat < 0.5f)
        colour = sf::Color(static_cast<sf::Uint8>(static_cast<int>(510.0f * heat)), 255, 0, 180);
    else
        colour = sf::Color(
            255, static_cast<sf::Uint8>(static_cast<int>(255.0f * (2.0f - 2.0f * heat))), 0, 180);

    pyx::gfx::CircularSector gauge;
    gauge.setCenter(tankCentre(*this, cw, ch));
    gauge.setRadius(10.0f);
    gauge.segments = 20;
    gauge.setStartAngle(std::numbers::pi_v<float> / 2.0f);
    gauge.direction = 1;
    gauge.setPercent(std::min(heat, 1.0f));
    gauge.setFillColour(colour);
    camera.draw(gauge);
}

} // namespace ironmoat::cmn
