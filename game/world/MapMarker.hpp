#pragma once

#include <cstdint>

namespace ironmoat::cmn {

// A digit found in a level file: a base ("1") or a spawn point of the team
// whose number the digit is.
struct MapMarker {
    std::int32_t column = 0;
    std::int32_t row = 0;
    std::int32_t digit = 0;

    friend bool operator==(const MapMarker&, const MapMarker&) = default;
};

} // namespace ironmoat::cmn
