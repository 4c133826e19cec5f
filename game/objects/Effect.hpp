#pragma once

#include "game/objects/GameObject.hpp"

#include <cstdint>
#include <memory>

namespace pyx::gfx {
class Tileset;
}

namespace ironmoat::cmn {

// An explosion: plays every frame of the shared explosion tileset once, at
// 20 frames per second, as a 2 x 2-cell picture centred on its point.
class Effect : public GameObject {
public:
    // Centred at (centreX, centreY) in cells.
    Effect(World* owner, std::shared_ptr<pyx::gfx::Tileset> frames, float centreX, float centreY);
    ~Effect() override;

    void draw(pyx::gfx::Camera& camera) override;
    // Advances the animation; the effect dies after its last frame (at once
    // when the tileset is missing or has no frames).
    void update(float seconds) override;

    std::shared_ptr<pyx::gfx::Tileset> tiles;
    float animTimer = 0.0f;
    std::int32_t frame = 0;
    float posX = 0.0f;
    float posY = 0.0f;
};

} // namespace ironmoat::cmn
