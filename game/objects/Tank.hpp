#pragma once

#include "engine/graphics/Tileset.hpp"
#include "game/objects/GameObject.hpp"

#include <cstdint>
#include <memory>

namespace ironmoat::cmn {

class PlayerController;

// The only object a player drives: 2 x 2 cells, one cell per move, turning on
// the spot, firing shells, with an upgrade level, a shield, a boat and the
// bonuses it drops when hit. Human and enemy tanks differ only by team,
// picture and what their controllers and the spawner give them.
class Tank : public GameObject {
public:
    explicit Tank(World* owner);
    ~Tank() override;

    // Body, tracks, shield and boat outline, at the animated position.
    void draw(pyx::gfx::Camera& camera) override;
    // Timers, animation, then steering and firing from the controller flags.
    void update(float seconds) override;
    // The gun's heat gauge, drawn above trees while the gun is warm.
    void drawTop(pyx::gfx::Camera& camera) override;
    // A carrier drops a bonus (and the attacker scores 50) per hit.
    void onDamaged(const std::shared_ptr<Player>& attacker) override;
    // The boat, else one upgrade level, is lost instead of a hit point.
    bool absorbHit(const std::shared_ptr<Player>& attacker) override;
    // The attacker's player scores 100.
    void onDestroyed(const std::shared_ptr<Player>& attacker) override;

    // Whether a one-cell move by (dx, dy) is possible now: both cells ahead
    // must be free for this tank.
    bool canMove(int dx, int dy) const;
    // Starts a move in the facing direction when it is possible.
    void tryMove();
    // True while a move is in progress; otherwise `canMove` that way.
    bool canMoveLeft() const;
    bool canMoveRight() const;
    bool canMoveUp() const;
    bool canMoveDown() const;

    void setReloadTime(float seconds) { reloadTime = seconds; }
    std::int32_t getShotsFired() const { return shotsFired; }
    // One upgrade level more, at most 3.
    void upgrade();
    void giveBoat() { boat = true; }
    bool hasBoat() const { return boat; }
    void addImmobileTime(float seconds) { immobileTime += seconds; }
    void addBonusDrop() { bonusDrops += 1; }
    // Binds the controller whose flags steer this tank (empty unbinds).
    void setController(std::shared_ptr<PlayerController> newController);

    // The drawing angle in degrees of a facing direction, clockwise from up
    // (up 0, right 90, down -180, left -90).
    static float directionAngle(int dx, int dy);

    std::int32_t dirX = 0;
    std::int32_t dirY = -1;
    float moveProgress = 0.0f;
    pyx::gfx::Tileset tankTiles;
    pyx::gfx::Tileset wheelTiles;
    pyx::gfx::Tileset shieldTiles;
    std::int16_t wheelFrame = 0;
    std::shared_ptr<PlayerController> controller;
    float cooldown = 0.0f;
    float reloadTime = 0.45f;
    float immobileTime = 0.0f;
    std::int32_t bonusDrops = 0;
    bool boat = false;
    std::int32_t level = 0;
    std::int32_t shotsFired = 0;
    float blinkTimer = 0.0f;
    std::int32_t shownKind = 0;
    float heat = 0.0f;
    bool overheated = false;

private:
    void fire();
};

} // namespace ironmoat::cmn
