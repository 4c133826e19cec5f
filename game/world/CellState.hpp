#pragma once

#include <cstdint>

namespace ironmoat::cmn {

// How much of a cell is left. A destroyed cell counts as open ground for every
// rule, whatever its kind.
enum class CellState : std::int32_t {
    Intact = 0,
    HitVertically = 1,   // half gone, broken by a shell moving up or down
    HitHorizontally = 2, // half gone, broken by a shell moving left or right
    Destroyed = 3,
};

} // namespace ironmoat::cmn
