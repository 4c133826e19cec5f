#pragma once

#include "game/world/CellState.hpp"
#include "game/world/TileKind.hpp"

#include <cstdint>

namespace ironmoat::cmn {

// One cell of the terrain grid with the rule flags its kind gives it.
struct TerrainCell {
    TileKind kind = TileKind::Empty;
    bool tankPassable = true;      // tanks may enter while the cell is not destroyed
    bool shellPassable = true;     // shells fly through
    bool destructible = false;     // a shell may break it
    bool halfDestructible = false; // the first hit breaks only half of it
    std::uint8_t side = 0;         // half-broken cell: sign of the breaking shell's direction
    bool cover = false;            // drawn above the tanks
    std::int32_t variant = 0;      // drawing variant, drawn once when the grid is made
    CellState state = CellState::Intact;

    // Sets the kind with its rule flags and makes the cell whole again; the
    // drawing variant is kept so that a wall does not change its look.
    void reinitialise(TileKind newKind);
};

} // namespace ironmoat::cmn
