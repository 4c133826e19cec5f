#include "tools/maprules/MapRules.hpp"

#include <array>
#include <cstdio>
#include <utility>

namespace ironmoat::maprules {

namespace {

using cmn::LevelLayout;
using cmn::MapMarker;
using cmn::TileKind;

constexpr int N = LevelLayout::size;

bool strayByte(unsigned char byte) {
    return cmn::tileKindOfByte(byte) == TileKind::Empty && byte != ' ' && !cmn::isMarkerByte(byte);
}

// Brick, wood and trees can be shot or driven through, so only metal and
// water close a route for good.
bool routeOpen(TileKind kind) {
    return kind != TileKind::Metal && kind != TileKind::Water;
}

std::string hexByte(unsigned char byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(byte));
    return text;
}

// Whether a tank standing with its top-left cell on `from` can drive to a
// cell beside the base's 2 x 2 cells.
bool reachesBase(const LevelLayout& level, const MapMarker& from, const MapMarker& base) {
    auto inBase = [&](int x, int y) {
        return x >= base.column && x <= base.column + 1 && y >= base.row && y <= base.row + 1;
    };
    auto beside = [&](int x, int y) {
        if (inBase(x, y)) {
            return false;
        }
        return inBase(x + 1, y) || inBase(x - 1, y) || inBase(x, y + 1) || inBase(x, y - 1);
    };
    auto fits = [&](int x, int y) {
        for (int dx = 0; dx < 2; ++dx) {
            for (int dy = 0; dy < 2; ++dy) {
                const int cx = x + dx;
                const int cy = y + dy;
                if (cx < 0 || cy < 0 || cx >= N || cy >= N || inBase(cx, cy) ||
                    !routeOpen(level.kinds[cx][cy])) {
                    return false;
                }
            }
        }
        return true;
    };
    if (!fits(from.column, from.row)) {
        return false;
    }
    std::array<std::array<bool, N>, N> seen{};
    std::vector<std::pair<int, int>> todo{{from.column, from.row}};
    seen[from.column][from.row] = true;
    while (!todo.empty()) {
        const auto [x, y] = todo.back();
        todo.pop_back();
        for (int dx = 0; dx < 2; ++dx) {
            for (int dy = 0; dy < 2; ++dy) {
                if (beside(x + dx, y + dy)) {
                    return true;
                }
            }
        }
        constexpr std::array<std::pair<int, int>, 4> steps{{{1, 0}, {-1, 0}, {0, 1}, {0, -1}}};
        for (const auto& [sx, sy] : steps) {
            const int nx = x + sx;
            const int ny = y + sy;
            if (nx >= 0 && ny >= 0 && nx < N && ny < N && !seen[nx][ny] && fits(nx, ny)) {
                seen[nx][ny] = true;
                todo.emplace_back(nx, ny);
            }
        }
    }
    return false;
}

} // namespace

std::vector<Finding> checkLevel(const LevelLayout& level) {
    std::vector<Finding> problems;
    auto report = [&](const std::string& text, std::vector<Cell> cells = {}) {
        problems.push_back(Finding{Severity::Error, text, std::move(cells)});
    };
    auto at = [](const MapMarker& m) {
        return "column " + std::to_string(m.column) + ", row " + std::to_string(m.row);
    };

    const MapMarker* base = nullptr;
    std::vector<const MapMarker*> enemySpawns;
    bool playerSpawn = false;
    for (const MapMarker& m : level.markers) {
        if (m.digit == 1 && base == nullptr) {
            base = &m;
        }
        if (m.digit == 0) {
            enemySpawns.push_back(&m);
        }
        playerSpawn = playerSpawn || m.digit == 2;
    }
    if (base == nullptr) {
        report("no base \"1\": the match ends at once");
    }
    if (enemySpawns.empty()) {
        report("no enemy spawn point \"0\": the level never ends");
    }
    if (!playerSpawn) {
        report("no player spawn point \"2\": the players have nowhere to start");
    }

    for (const MapMarker& m : level.markers) {
        if (m.digit > 2) {
            continue; // no team has such a number: the game ignores the marker
        }
        for (int dx = 0; dx < 2; ++dx) {
            for (int dy = 0; dy < 2; ++dy) {
                const int x = m.column + dx;
                const int y = m.row + dy;
                if (x >= N || y >= N) {
                    report("marker \"" + std::to_string(m.digit) + "\" at " + at(m) +
                               ": its 2x2 cells reach past the edge of the field",
                           {Cell{m.column, m.row}});
                    dx = dy = 2;
                } else if (level.kinds[x][y] != TileKind::Empty) {
                    report("marker \"" + std::to_string(m.digit) + "\" at " + at(m) +
                               ": its 2x2 cells are blocked at column " + std::to_string(x) +
                               ", row " + std::to_string(y),
                           {Cell{m.column, m.row}, Cell{x, y}});
                    dx = dy = 2;
                }
            }
        }
    }

    if (base != nullptr) {
        for (const MapMarker* spawn : enemySpawns) {
            if (!reachesBase(level, *spawn, *base)) {
                report("enemy spawn \"0\" at " + at(*spawn) +
                           ": a tank cannot drive from it to the base",
                       {Cell{spawn->column, spawn->row}});
            }
        }
    }

    for (int y = 0; y < N; ++y) {
        for (int x = 0; x < N; ++x) {
            const unsigned char byte = level.bytes[x][y];
            if (strayByte(byte)) {
                report("column " + std::to_string(x) + ", row " + std::to_string(y) + ": byte " +
                           hexByte(byte) + " reads as empty ground but is not a blank",
                       {Cell{x, y}});
            }
        }
    }
    return problems;
}

} // namespace ironmoat::maprules
