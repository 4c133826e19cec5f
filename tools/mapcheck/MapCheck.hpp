#pragma once

#include "game/world/LevelReader.hpp"

#include <string>
#include <vector>

namespace ironmoat::tools {

// The problems of one level as lines "NAME: text", empty when the level is
// playable. A level that lacks a base skips the route check (there is no
// goal to reach).
std::vector<std::string> checkLevel(const std::string& name, const cmn::LevelLayout& level);

// The grid as the game reads it, one line per row: the level characters,
// "." for empty ground, the digits, and "?" for a byte that reads as empty
// ground without being a blank.
std::string previewLevel(const cmn::LevelLayout& level);

} // namespace ironmoat::tools
