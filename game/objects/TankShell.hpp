#pragma once

#include "engine/graphics/Tileset.hpp"
#include "game/objects/GameObject.hpp"

#include <cstdint>
#include <memory>

namespace ironmoat::cmn {

class Tank;

// A shell flying along a grid line at 25 cells per second. Its position is a
// grid point; it takes no cells, so nothing can touch it, and it dies at its
// first hit on terrain, an object of another team or another team's shell.
class TankShell : public GameObject {
public:
    // `firedBy` is kept alive as long as the shell lives; its team decides
    // what the shell may hit.
    TankShell(World* owner, std::shared_ptr<Tank> firedBy);
    ~TankShell() override;

    void draw(pyx::gfx::Camera& camera) override;
    // Flies, animates, then runs the world's hit test on the cells ahead.
    void update(float seconds) override;

    void setPower(bool isStrong, bool isPierce);
    void setDirection(int dx, int dy);
    bool isStrong() const { return strong; }
    bool isPierce() const { return pierce; }
    // The team that fired the shell (the owner tank's), 0 without an owner.
    std::int32_t ownerTeam() const;
    // The drawn point in cells: the grid point moved on by the progress.
    float pointX() const;
    float pointY() const;

    // Makes a shell at the grid point (px, py) and adds it to the owner's
    // world; it becomes active in the next tick.
    static std::shared_ptr<TankShell> fire(World* world, const std::shared_ptr<Tank>& firedBy,
                                           int px, int py, int dx, int dy,
                                           const std::shared_ptr<Player>& shooterPlayer,
                                           bool isStrong, bool isPierce);

    std::shared_ptr<Tank> owner;
    std::int32_t dirX = 0;
    std::int32_t dirY = 1;
    float progress = 0.0f;
    pyx::gfx::Tileset shellTiles;
    float animTimer = 0.0f;
    std::int32_t animFrame = 0;
    float flightSpeed = 25.0f;
    bool strong = false;
    bool pierce = false;
    std::shared_ptr<Player> shooter;
};

} // namespace ironmoat::cmn
