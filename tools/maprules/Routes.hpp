#pragma once

#include "tools/maprules/MapRules.hpp"

#include <array>
#include <vector>

// How tanks and shells get about a level, as the game's movement and shell
// rules have it, judged on the level as read (nothing broken yet).

namespace ironmoat::maprules {

constexpr int GridSize = cmn::LevelLayout::size;

// Which cells a route may cross and which a tank may stand on, for one level.
class RouteMap {
public:
    // `walls` are cells no route may cross (the base's own cells and, when
    // asked, its ring).
    RouteMap(const cmn::LevelLayout& level, const std::vector<Cell>& walls);

    // Whether a tank may stand with its top-left cell at (x, y) on the way
    // somewhere: all four cells in the grid, none a wall, metal or water
    // (brick, wood and trees can be shot away).
    bool fitsOnRoute(int x, int y) const;
    // Whether a tank may stand there right now, nothing broken: all four cells
    // open ground or trees, none a wall.
    bool fitsAsIs(int x, int y) const;
    // Every top-left cell a tank standing at `from` can reach one cell at a
    // time on route cells; [x][y] true when reachable.
    std::array<std::array<bool, GridSize>, GridSize> reachableFrom(Cell from) const;

private:
    bool cellOnRoute(int x, int y) const;
    bool cellOpen(int x, int y) const;

    const cmn::LevelLayout& m_level;
    std::array<std::array<bool, GridSize>, GridSize> m_wall{};
};

// The cells a tank with its top-left cell at `tank` hits first with a shell
// fired in direction (dx, dy): the blocking cells at the first place the
// shell's path is blocked (one or both of the two cells beside its line), or
// none when it flies to the field's edge. `solids` are cells of objects that
// stop shells too (the base). The path starts at the tank's own cells, since
// the shell leaves from the tank's centre.
std::vector<Cell> firstShellStop(const cmn::LevelLayout& level, Cell tank, int dx, int dy,
                                 const std::vector<Cell>& solids);

// The 12 cells around a 2 x 2 base at `base`, in the game's order, including
// any outside the grid.
std::array<Cell, 12> ringOf(Cell base);

} // namespace ironmoat::maprules
