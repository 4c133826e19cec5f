#include "tools/mapcheck/HumanBot.hpp"

#include "game/objects/Tank.hpp"
#include "game/objects/TargetObject.hpp"
#include "game/objects/World.hpp"

#include <memory>
#include <vector>

namespace ironmoat::tools {

namespace {

using cmn::Terrain;

// What the human bot looks at, gathered from the world's live objects (the
// terrain's occupancy grid is only valid inside a tick, and controllers run
// between ticks).
struct BaseCells {
    std::vector<std::pair<int, int>> ring;
    std::vector<std::pair<int, int>> base;
    std::vector<std::pair<int, int>> enemies; // cells of live enemy tanks
    bool has(const std::vector<std::pair<int, int>>& cells, int x, int y) const {
        for (const auto& c : cells) {
            if (c.first == x && c.second == y) {
                return true;
            }
        }
        return false;
    }
};

BaseCells baseCellsOf(cmn::World& world) {
    BaseCells cells;
    for (const auto& object : world.objects().active) {
        if (const auto* tank = dynamic_cast<const cmn::Tank*>(object.get());
            tank != nullptr && !tank->isDead() && tank->team == 0) {
            for (int i = 0; i < 2; ++i) {
                for (int j = 0; j < 2; ++j) {
                    cells.enemies.emplace_back(tank->x + i, tank->y + j);
                }
            }
        }
        const auto* base = dynamic_cast<const cmn::TargetObject*>(object.get());
        if (base == nullptr || base->isDead()) {
            continue;
        }
        for (const auto& [ox, oy] : cmn::TargetObject::ringOffsets()) {
            cells.ring.emplace_back(base->x + ox, base->y + oy);
        }
        for (int i = 0; i < 2; ++i) {
            for (int j = 0; j < 2; ++j) {
                cells.base.emplace_back(base->x + i, base->y + j);
            }
        }
    }
    return cells;
}

// What a shell from the tank's centre towards (dx, dy) would strike first,
// judged on the terrain and the tanks as they are now.
enum class Target { Nothing, OwnBase, Enemy, Terrain };

Target firstHit(const cmn::Tank& tank, int dx, int dy, const BaseCells& own) {
    const Terrain& terrain = tank.world->terrain();
    for (int step = 0;; ++step) {
        int ax = 0, ay = 0, bx = 0, by = 0;
        if (dx != 0) {
            ax = bx = dx > 0 ? tank.x + 1 + step : tank.x - step;
            ay = tank.y;
            by = tank.y + 1;
        } else {
            ay = by = dy > 0 ? tank.y + 1 + step : tank.y - step;
            ax = tank.x;
            bx = tank.x + 1;
        }
        if (!Terrain::inRange(ax, ay) || !Terrain::inRange(bx, by)) {
            return Target::Nothing;
        }
        Target hit = Target::Nothing;
        for (const auto& [x, y] : {std::pair{ax, ay}, std::pair{bx, by}}) {
            if (own.has(own.base, x, y)) {
                return Target::OwnBase;
            }
            const cmn::TerrainCell& cell = terrain.cellAt(x, y);
            if (!cell.shellPassable && cell.state != cmn::CellState::Destroyed) {
                if (own.has(own.ring, x, y)) {
                    return Target::OwnBase;
                }
                hit = Target::Terrain;
            }
            if (hit == Target::Nothing && own.has(own.enemies, x, y)) {
                hit = Target::Enemy;
            }
        }
        if (hit != Target::Nothing) {
            return hit;
        }
    }
}

} // namespace

void HumanBot::update(bool hasFocus) {
    cmn::BotController::update(hasFocus);
    if (!hasObject()) {
        return;
    }
    const auto tank = std::dynamic_pointer_cast<cmn::Tank>(getObject());
    if (!tank || tank->world == nullptr) {
        return;
    }
    const BaseCells own = baseCellsOf(*tank->world);

    // An enemy in a clear line: turn to it and fire, as a player would.
    // Only when free to turn, so that the tank's turn takes effect at once.
    if (tank->moveProgress <= 0.0f && tank->immobileTime <= 0.0f) {
        constexpr std::pair<int, int> directions[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
        for (const auto& [dx, dy] : directions) {
            if (firstHit(*tank, dx, dy, own) == Target::Enemy) {
                setLeft(dx < 0);
                setRight(dx > 0);
                setUp(dy < 0);
                setDown(dy > 0);
                setFire(true);
                return;
            }
        }
    }

    if (!isFire() || own.base.empty()) {
        return;
    }
    int turnX = tank->dirX;
    int turnY = tank->dirY;
    if (isLeft()) {
        turnX = -1, turnY = 0;
    } else if (isRight()) {
        turnX = 1, turnY = 0;
    } else if (isUp()) {
        turnX = 0, turnY = -1;
    } else if (isDown()) {
        turnX = 0, turnY = 1;
    }
    if (firstHit(*tank, tank->dirX, tank->dirY, own) == Target::OwnBase ||
        firstHit(*tank, turnX, turnY, own) == Target::OwnBase) {
        setFire(false);
    }
}

} // namespace ironmoat::tools
