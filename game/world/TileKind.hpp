#pragma once

#include <cstdint>

namespace ironmoat::cmn {

// What a terrain cell is. The values are fixed: level files and the drawing
// tables are keyed by them. Value 2 has no name and no level character, but a
// cell may still be re-initialised with it (it behaves as open, breakable
// ground).
enum class TileKind : std::int32_t {
    Empty = 0,
    Tree = 1,
    Metal = 3,
    Brick = 4,
    Water = 5,
    Wood = 6,
};

} // namespace ironmoat::cmn
