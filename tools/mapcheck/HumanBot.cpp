#include "tools/mapcheck/HumanBot.hpp"

#include "game/objects/Tank.hpp"
#include "game/objects/TargetObject.hpp"
#include "game/objects/World.hpp"

#include <memory>
#include <vector>

namespace ironmoat::tools {

namespace {

using cmn::Terrain;

struct BaseCells {
    std::vector<std::pair<int, int>> ring;
    std::vector<std::pair<int, int>> base;
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

// Whether a shell from the tank's centre towards (dx, dy) would first strike
// the base or its ring, judged on the terrain and the tanks as they are now.
bool hitsOwnBase(const cmn::Tank& tank, int dx, int dy, const BaseCells& own) {
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
            return false;
        }
        bool stopped = false;
        for (const auto& [x, y] : {std::pair{ax, ay}, std::pair{bx, by}}) {
            if (own.has(own.base, x, y)) {
                return true;
            }
            const cmn::TerrainCell& cell = terrain.cellAt(x, y);
            const bool open = cell.shellPassable || cell.state == cmn::CellState::Destroyed;
            if (!open) {
                if (own.has(own.ring, x, y)) {
                    return true;
                }
                stopped = true;
            }
            const cmn::GameObject* other = terrain.occupantAt(x, y);
            if (other != nullptr && other != &tank && other->team != tank.team && other->solid) {
                stopped = true;
            }
        }
        if (stopped) {
            return false;
        }
    }
}

} // namespace

void HumanBot::update(bool hasFocus) {
    cmn::BotController::update(hasFocus);
    if (!isFire() || !hasObject()) {
        return;
    }
    const auto tank = std::dynamic_pointer_cast<cmn::Tank>(getObject());
    if (!tank || tank->world == nullptr) {
        return;
    }
    const BaseCells own = baseCellsOf(*tank->world);
    if (own.base.empty()) {
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
    if (hitsOwnBase(*tank, tank->dirX, tank->dirY, own) || hitsOwnBase(*tank, turnX, turnY, own)) {
        setFire(false);
    }
}

} // namespace ironmoat::tools
