#include "game/world/TerrainCell.hpp"

namespace ironmoat::cmn {

namespace {

struct KindRules {
    bool tankPassable;
    bool shellPassable;
    bool destructible;
    bool halfDestructible;
    bool cover;
};

KindRules rulesFor(TileKind kind) {
    switch (kind) {
    case TileKind::Empty:
        return {true, true, false, false, false};
    case TileKind::Tree:
        return {true, true, true, false, true};
    case TileKind::Metal:
        return {false, false, false, false, false};
    case TileKind::Brick:
        return {false, false, true, true, false};
    case TileKind::Water:
        return {false, true, false, false, false};
    case TileKind::Wood:
        return {false, false, true, false, false};
    }
    // The unnamed kind 2 (and anything else a caller might cast in) is open,
    // breakable ground.
    return {true, true, true, false, false};
}

} // namespace

void TerrainCell::reinitialise(TileKind newKind) {
    const KindRules rules = rulesFor(newKind);
    kind = newKind;
    tankPassable = rules.tankPassable;
    shellPassable = rules.shellPassable;
    destructible = rules.destructible;
    halfDestructible = rules.halfDestructible;
    cover = rules.cover;
    side = 0;
    state = CellState::Intact;
}

} // namespace ironmoat::cmn
