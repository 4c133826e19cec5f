#pragma once

#include <cstdint>

namespace ironmoat::cmn {

// A base-protection timer of one cell; active while `remaining` is above 0.
struct ProtectionEntry {
    std::int32_t key = 0;  // the team whose base the cell protects
    float remaining = 0.f; // seconds left
};

} // namespace ironmoat::cmn
