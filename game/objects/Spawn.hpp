#pragma once

#include "engine/graphics/Tileset.hpp"
#include "game/objects/GameObject.hpp"

namespace ironmoat::cmn {

// A spawn point drawn on the ground; reserved for 2 seconds after each tank
// made there, so two tanks never appear on it in the same moment.
class Spawn : public GameObject {
public:
    explicit Spawn(World* owner);
    ~Spawn() override;

    void draw(pyx::gfx::Camera& camera) override;
    // Counts the reservation down.
    void update(float seconds) override;

    // Reserves the point for 2 seconds.
    void reserveSpot() { busyTime = 2.0f; }
    bool isBusy() const { return busyTime > 0.0f; }

    float busyTime = 0.0f;
    pyx::gfx::Tileset spawnTiles;
};

} // namespace ironmoat::cmn
