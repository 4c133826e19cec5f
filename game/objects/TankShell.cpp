#include "game/objects/TankShell.hpp"

#include "engine/graphics/Camera.hpp"
#include "game/objects/Tank.hpp"
#include "game/objects/World.hpp"

#include <cmath>

namespace ironmoat::cmn {

TankShell::TankShell(World* owner, std::shared_ptr<Tank> firedBy)
    : GameObject(owner), owner(std::move(firedBy)) {
    width = 0;
    height = 0;
    hitPoints = 1;
    if (this->owner)
        team = this->owner->team;
    shellTiles.load(L"ironmoat/bullet_tileset.png", 20);
}

TankShell::~TankShell() = default;

std::shared_ptr<TankShell> TankShell::fire(World* world, const std::shared_ptr<Tank>& firedBy,
                                           int px, int py, int dx, int dy,
                                           const std::shared_ptr<Player>& shooterPlayer,
                                           bool isStrong, bool isPierce) {
    auto shell = pyx::core::makeShared<TankShell>(world, firedBy);
    shell->x = px;
    shell->y = py;
    shell->setDirection(dx, dy);
    shell->shooter = shooterPlayer;
    shell->setPower(isStrong, isPierce);
    if (world)
        world->addObject(shell);
    return shell;
}

void TankShell::setPower(bool isStrong, bool isPierce) {
    strong = isStrong;
    pierce = isPierce;
}

void TankShell::setDirection(int dx, int dy) {
    dirX = dx;
    dirY = dy;
}

std::int32_t TankShell::ownerTeam() const {
    return owner ? owner->team : team;
}

float TankShell::pointX() const {
    return static_cast<float>(x) + static_cast<float>(dirX) * progress;
}

float TankShell::pointY() const {
    return static_cast<float>(y) + static_cast<float>(dirY) * progress;
}

void TankShell::update(float seconds) {
    GameObject::update(seconds);

    progress += flightSpeed * seconds * speed;
    if (progress >= 1.0f) {
        x += dirX;
        y += dirY;
        progress -= 1.0f;
    }

    animTimer += seconds * 20.0f;
    if (animTimer > 1.0f) {
        animTimer -= 1.0f;
        // A missing picture has no columns: keep frame 0 rather than divide
        // by zero.
        const int columns = static_cast<int>(shellTiles.gridSize().x);
        animFrame = columns > 0 ? (animFrame + 1) % columns : 0;
    }

    int px = x;
    int py = y;
    if (dirX < 0)
        px -= 1;
    else if (dirY < 0)
        py -= 1;

    if (world && world->shellHit(shooter, *this, px, py, dirX, dirY)) {
        kill();
        // The explosion goes where the shell is seen, i.e. at the drawn pixel
        // position brought back to cells. With no visible field (cell size 0)
        // there is no pixel to round to, so the point itself is used.
        const int cw = world->cellWidth();
        const int ch = world->cellHeight();
        const float ex =
            cw > 0 ? std::round(static_cast<float>(cw) * pointX()) / static_cast<float>(cw)
                   : pointX();
        const float ey =
            ch > 0 ? std::round(static_cast<float>(ch) * pointY()) / static_cast<float>(ch)
                   : pointY();
        world->spawnExplosion(ex, ey);
    }
}

void TankShell::draw(pyx::gfx::Camera& camera) {
    const int cw = world ? world->cellWidth() : 0;
    const int ch = world ? world->cellHeight() : 0;
    // A shell is half a cell; below 2-pixel cells that is 0 pixels, which the
    // tileset would take for "the frame's own size" and draw 20 pixels wide.
    if (cw / 2 <= 0 || ch / 2 <= 0)
        return;
    const float sx = std::round(static_cast<float>(cw) * pointX());
    const float sy = std::round(static_cast<float>(ch) * pointY());
    shellTiles.drawFrame(Tank::directionAngle(dirX, dirY), camera, sf::Vector2f(10.0f, 10.0f), sx,
                         sy, animFrame, 0, static_cast<unsigned>(cw / 2),
                         static_cast<unsigned>(ch / 2));
}

} // namespace ironmoat::cmn
