#pragma once

#include "game/world/LevelReader.hpp"

#include <string>
#include <vector>

// The rules a level must keep to be playable and fair, judged on the level
// as the game reads it. Shared by the map checker and the map editor.

namespace ironmoat::maprules {

// An error makes a level unplayable or plainly unfair; a warning marks
// something a level author most likely did not mean.
enum class Severity { Error, Warning };

// A grid cell: column x (0 at the left), row y (0 at the top).
struct Cell {
    int x;
    int y;
    friend bool operator==(const Cell&, const Cell&) = default;
};

// One broken rule. `text` is plain words and names the cells it is about;
// `cells` lists them for tools that mark them on the map.
struct Finding {
    Severity severity;
    std::string text;
    std::vector<Cell> cells;
};

// Every rule the level breaks, errors and warnings, in a stable order.
std::vector<Finding> checkLevel(const cmn::LevelLayout& level);

} // namespace ironmoat::maprules
