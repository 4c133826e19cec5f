#pragma once

namespace ironmoat::editor {

// The palette entries, in the order of their digit keys (1 to 9).
enum class Tool {
    Empty = 0,
    Brick,
    Metal,
    Tree,
    Water,
    Wood,
    Base,
    HumanSpawn,
    EnemySpawn,
};

inline constexpr int ToolCount = 9;

// The level byte a tool writes ("1", "2" and "0" for the markers).
unsigned char toolByte(Tool tool) noexcept;

// True for the base and the two spawn points, which cover 2 x 2 cells.
bool isMarkerTool(Tool tool) noexcept;

} // namespace ironmoat::editor
