#pragma once

#include "game/world/LevelReader.hpp"

#include <string>

namespace ironmoat::tools {

// The grid as the game reads it, one line per row: the level characters,
// "." for empty ground, the digits, and "?" for a byte that reads as empty
// ground without being a blank.
std::string previewLevel(const cmn::LevelLayout& level);

} // namespace ironmoat::tools
