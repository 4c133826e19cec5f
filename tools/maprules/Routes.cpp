#include "tools/maprules/Routes.hpp"

#include <utility>

namespace ironmoat::maprules {

namespace {

using cmn::TileKind;

bool inGrid(int x, int y) {
    return x >= 0 && y >= 0 && x < GridSize && y < GridSize;
}

// Whether a shell flies through an intact cell of this kind.
bool shellPasses(TileKind kind) {
    return kind == TileKind::Empty || kind == TileKind::Tree || kind == TileKind::Water;
}

} // namespace

RouteMap::RouteMap(const cmn::LevelLayout& level, const std::vector<Cell>& walls) : m_level(level) {
    for (const Cell& c : walls) {
        if (inGrid(c.x, c.y)) {
            m_wall[c.x][c.y] = true;
        }
    }
}

bool RouteMap::cellOnRoute(int x, int y) const {
    if (!inGrid(x, y) || m_wall[x][y]) {
        return false;
    }
    const TileKind kind = m_level.kinds[x][y];
    return kind != TileKind::Metal && kind != TileKind::Water;
}

bool RouteMap::cellOpen(int x, int y) const {
    if (!inGrid(x, y) || m_wall[x][y]) {
        return false;
    }
    const TileKind kind = m_level.kinds[x][y];
    return kind == TileKind::Empty || kind == TileKind::Tree;
}

bool RouteMap::fitsOnRoute(int x, int y) const {
    return cellOnRoute(x, y) && cellOnRoute(x + 1, y) && cellOnRoute(x, y + 1) &&
           cellOnRoute(x + 1, y + 1);
}

bool RouteMap::fitsAsIs(int x, int y) const {
    return cellOpen(x, y) && cellOpen(x + 1, y) && cellOpen(x, y + 1) && cellOpen(x + 1, y + 1);
}

std::array<std::array<bool, GridSize>, GridSize> RouteMap::reachableFrom(Cell from) const {
    std::array<std::array<bool, GridSize>, GridSize> seen{};
    if (!fitsOnRoute(from.x, from.y)) {
        return seen;
    }
    std::vector<Cell> todo{from};
    seen[from.x][from.y] = true;
    while (!todo.empty()) {
        const Cell at = todo.back();
        todo.pop_back();
        constexpr std::pair<int, int> steps[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (const auto& [sx, sy] : steps) {
            const int nx = at.x + sx;
            const int ny = at.y + sy;
            if (inGrid(nx, ny) && !seen[nx][ny] && fitsOnRoute(nx, ny)) {
                seen[nx][ny] = true;
                todo.push_back(Cell{nx, ny});
            }
        }
    }
    return seen;
}

std::vector<Cell> firstShellStop(const cmn::LevelLayout& level, Cell tank, int dx, int dy,
                                 const std::vector<Cell>& solids) {
    // The shell runs along the grid line through the tank's centre, so the
    // two cells beside it are a band two cells wide, the tank's own width.
    // It starts on the tank's own cells (the front pair its first test sees).
    for (int step = 0;; ++step) {
        Cell a{};
        Cell b{};
        if (dx != 0) {
            const int x = dx > 0 ? tank.x + 1 + step : tank.x - step;
            a = Cell{x, tank.y};
            b = Cell{x, tank.y + 1};
        } else {
            const int y = dy > 0 ? tank.y + 1 + step : tank.y - step;
            a = Cell{tank.x, y};
            b = Cell{tank.x + 1, y};
        }
        if (!inGrid(a.x, a.y) || !inGrid(b.x, b.y)) {
            return {};
        }
        std::vector<Cell> stop;
        for (const Cell& c : {a, b}) {
            bool solid = false;
            for (const Cell& s : solids) {
                solid = solid || s == c;
            }
            if (solid || !shellPasses(level.kinds[c.x][c.y])) {
                stop.push_back(c);
            }
        }
        if (!stop.empty()) {
            return stop;
        }
    }
}

std::array<Cell, 12> ringOf(Cell base) {
    constexpr std::pair<int, int> offsets[] = {{-1, -1}, {0, -1}, {1, -1}, {2, -1},
                                               {-1, 0},  {2, 0},  {-1, 1}, {2, 1},
                                               {-1, 2},  {0, 2},  {1, 2},  {2, 2}};
    std::array<Cell, 12> ring{};
    for (std::size_t i = 0; i < ring.size(); ++i) {
        ring[i] = Cell{base.x + offsets[i].first, base.y + offsets[i].second};
    }
    return ring;
}

} // namespace ironmoat::maprules
