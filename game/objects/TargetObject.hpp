#pragma once

#include "engine/graphics/Tileset.hpp"
#include "game/objects/GameObject.hpp"

#include <array>
#include <utility>

namespace ironmoat::cmn {

// The base the humans defend. One hit from any shell destroys it; a match
// without a base left is over.
class TargetObject : public GameObject {
public:
    explicit TargetObject(World* owner);
    ~TargetObject() override;

    void draw(pyx::gfx::Camera& camera) override;
    // Nothing: destroying a base scores nothing and drops nothing.
    void onDamaged(const std::shared_ptr<Player>& attacker) override;

    // The 12 cells around a base, as offsets from its top-left cell.
    static const std::array<std::pair<int, int>, 12>& ringOffsets();

    pyx::gfx::Tileset baseTiles;
};

} // namespace ironmoat::cmn
