#include "game/world/Terrain.hpp"

#include <gtest/gtest.h>

#include <memory>

using ironmoat::cmn::CellState;
using ironmoat::cmn::Terrain;
using ironmoat::cmn::TerrainCell;
using ironmoat::cmn::TileKind;

namespace {

constexpr float Tick = 1.f / 60.f;

class WorldTerrain : public ::testing::Test {
protected:
    // The tile pictures are not needed for the rules; a terrain made where
    // there are none simply gets empty tilesets.
    std::unique_ptr<Terrain> terrain = std::make_unique<Terrain>(40);

    const TerrainCell& cell(int x, int y) const { return terrain->cellAt(x, y); }

    void runSeconds(float seconds) {
        for (float t = 0.f; t < seconds; t += Tick) {
            terrain->updateTimers(Tick);
        }
    }
};

TEST_F(WorldTerrain, NewGridIsOpenEmptyGround) {
    for (int x = 0; x < Terrain::Size; ++x) {
        for (int y = 0; y < Terrain::Size; ++y) {
            EXPECT_EQ(cell(x, y).kind, TileKind::Empty);
            EXPECT_EQ(cell(x, y).state, CellState::Intact);
            EXPECT_TRUE(terrain->isTankPassable(x, y, false));
            EXPECT_TRUE(terrain->isShellPassable(true, 0, x, y));
            EXPECT_EQ(terrain->occupantAt(x, y), nullptr);
        }
    }
    EXPECT_EQ(terrain->levelNumber(), 0);
    EXPECT_TRUE(terrain->markers().empty());
}

TEST_F(WorldTerrain, ReinitialisingSetsTheRulesOfEachKindAndKeepsTheVariant) {
    struct Row {
        TileKind kind;
        bool tank, shell, destructible, half, cover;
    };
    const Row table[] = {
        {TileKind::Empty, true, true, false, false, false},
        {TileKind::Tree, true, true, true, false, true},
        {static_cast<TileKind>(2), true, true, true, false, false},
        {TileKind::Metal, false, false, false, false, false},
        {TileKind::Brick, false, false, true, true, false},
        {TileKind::Water, false, true, false, false, false},
        {TileKind::Wood, false, false, true, false, false},
    };
    const std::int32_t variant = cell(3, 4).variant;
    for (const Row& row : table) {
        SCOPED_TRACE(static_cast<int>(row.kind));
        // Leave the cell broken first: re-initialising must make it whole.
        terrain->initCell(3, 4, TileKind::Brick);
        ASSERT_TRUE(terrain->shellHitTerrain(false, false, 3, 4, 1, 0));
        ASSERT_EQ(cell(3, 4).side, 1);

        terrain->initCell(3, 4, row.kind);
        const TerrainCell& c = cell(3, 4);
        EXPECT_EQ(c.kind, row.kind);
        EXPECT_EQ(c.tankPassable, row.tank);
        EXPECT_EQ(c.shellPassable, row.shell);
        EXPECT_EQ(c.destructible, row.destructible);
        EXPECT_EQ(c.halfDestructible, row.half);
        EXPECT_EQ(c.cover, row.cover);
        EXPECT_EQ(c.side, 0);
        EXPECT_EQ(c.state, CellState::Intact);
        EXPECT_EQ(c.variant, variant);
    }
}

TEST_F(WorldTerrain, HorizontalShellHalvesBothBricksThenDestroysThem) {
    terrain->initCell(5, 9, TileKind::Brick);
    terrain->initCell(5, 10, TileKind::Brick);

    // Moving right along the line between rows 9 and 10 at column 5.
    EXPECT_TRUE(terrain->shellHitTerrain(false, false, 5, 10, 1, 0));
    for (int y : {9, 10}) {
        EXPECT_EQ(cell(5, y).state, CellState::HitHorizontally);
        EXPECT_EQ(cell(5, y).side, 1);
    }

    // The right halves are left and still block the same line.
    EXPECT_TRUE(terrain->shellHitTerrain(false, false, 5, 10, 1, 0));
    EXPECT_EQ(cell(5, 9).state, CellState::Destroyed);
    EXPECT_EQ(cell(5, 10).state, CellState::Destroyed);

    // Destroyed cells no longer stop anything.
    EXPECT_FALSE(terrain->shellHitTerrain(false, false, 5, 10, 1, 0));
    EXPECT_TRUE(terrain->isTankPassable(5, 9, false));
}

TEST_F(WorldTerrain, VerticalShellThroughTheRemainingHalfBreaksTheBrick) {
    terrain->initCell(5, 9, TileKind::Brick);
    terrain->initCell(5, 10, TileKind::Brick);
    ASSERT_TRUE(terrain->shellHitTerrain(false, false, 5, 10, 1, 0)); // left halves gone

    // Down along the line between columns 5 and 6: (5, 9) is cell A and has
    // its right half, the one this shell runs through.
    ASSERT_FALSE(terrain->isShellPassable(false, 0, 5, 9));
    EXPECT_TRUE(terrain->shellHitTerrain(false, false, 6, 9, 0, 1));
    EXPECT_EQ(cell(5, 9).state, CellState::Destroyed);
    EXPECT_EQ(cell(6, 9).state, CellState::Intact);
    // A vertical shell on the other side (as cell B, side 1) would have passed
    // the missing left half of (5, 10).
    EXPECT_TRUE(terrain->isShellPassable(false, 1, 5, 10));
    EXPECT_FALSE(terrain->isShellPassable(false, 0, 5, 10));
}

TEST_F(WorldTerrain, BrickWithoutItsBottomHalfPassesOnlyTheLineBelowIt) {
    terrain->initCell(7, 7, TileKind::Brick);
    // Shell moving up along the line between columns 7 and 8: (7, 7) is A.
    ASSERT_TRUE(terrain->shellHitTerrain(false, false, 8, 7, 0, -1));
    ASSERT_EQ(cell(7, 7).state, CellState::HitVertically);
    ASSERT_EQ(cell(7, 7).side, 0);

    // Horizontal line under it (y = 8): the brick is cell A, side 0: passes.
    EXPECT_FALSE(terrain->shellHitTerrain(false, false, 7, 8, 1, 0));
    EXPECT_EQ(cell(7, 7).state, CellState::HitVertically);
    // Horizontal line above it (y = 7): the brick is cell B, side 1: stops
    // and breaks.
    EXPECT_TRUE(terrain->shellHitTerrain(false, false, 7, 7, -1, 0));
    EXPECT_EQ(cell(7, 7).state, CellState::Destroyed);
}

TEST_F(WorldTerrain, BrickSidesFollowTheShellDirection) {
    struct Case {
        int dx, dy;
        CellState state;
        int side;
    };
    const Case cases[] = {
        {0, -1, CellState::HitVertically, 0},
        {0, 1, CellState::HitVertically, 1},
        {-1, 0, CellState::HitHorizontally, 0},
        {1, 0, CellState::HitHorizontally, 1},
    };
    for (const Case& c : cases) {
        TerrainCell brick;
        brick.reinitialise(TileKind::Brick);
        Terrain::hitCell(brick, c.dx, c.dy, false);
        EXPECT_EQ(brick.state, c.state) << c.dx << "," << c.dy;
        EXPECT_EQ(brick.side, c.side) << c.dx << "," << c.dy;
        // The second hit, from any direction, finishes it.
        Terrain::hitCell(brick, -c.dy, c.dx, false);
        EXPECT_EQ(brick.state, CellState::Destroyed);
    }
}

TEST_F(WorldTerrain, OnlyTheWholeBrickIsHitWhenItsNeighbourIsAlreadyHalved) {
    terrain->initCell(3, 4, TileKind::Brick);
    terrain->initCell(3, 5, TileKind::Brick);
    // Halve (3, 4) alone with a shell moving left along the line above it
    // (y = 4, where it is cell B): its right half goes.
    ASSERT_TRUE(terrain->shellHitTerrain(false, false, 3, 4, -1, 0));
    ASSERT_EQ(cell(3, 4).state, CellState::HitHorizontally);
    ASSERT_EQ(cell(3, 5).state, CellState::Intact);
    ASSERT_EQ(cell(3, 3).kind, TileKind::Empty);

    // Now both block a horizontal shell on the line between them; only the
    // whole one is hit.
    EXPECT_TRUE(terrain->shellHitTerrain(false, false, 3, 5, 1, 0));
    EXPECT_EQ(cell(3, 4).state, CellState::HitHorizontally);
    EXPECT_EQ(cell(3, 5).state, CellState::HitHorizontally);
    EXPECT_EQ(cell(3, 5).side, 1);
}

TEST_F(WorldTerrain, MetalStopsEveryShellButBreaksOnlyUnderStrongOnes) {
    terrain->initCell(10, 10, TileKind::Metal);
    EXPECT_TRUE(terrain->shellHitTerrain(false, false, 10, 10, 1, 0));
    EXPECT_EQ(cell(10, 10).state, CellState::Intact);
    EXPECT_FALSE(terrain->isTankPassable(10, 10, true));

    EXPECT_TRUE(terrain->shellHitTerrain(true, false, 10, 10, 1, 0));
    EXPECT_EQ(cell(10, 10).state, CellState::Destroyed);
    EXPECT_TRUE(terrain->isTankPassable(10, 10, false));
}

TEST_F(WorldTerrain, WaterLetsShellsOverAndBoatsThrough) {
    terrain->initCell(4, 4, TileKind::Water);
    terrain->initCell(4, 3, TileKind::Water);
    // Down between columns 4 and 5 (A = water (4, 4), B = empty (5, 4)) and
    // left between rows 3 and 4 (both water).
    EXPECT_FALSE(terrain->shellHitTerrain(true, true, 5, 4, 0, 1));
    EXPECT_FALSE(terrain->shellHitTerrain(true, false, 4, 4, -1, 0));
    EXPECT_EQ(cell(4, 4).state, CellState::Intact);
    EXPECT_EQ(cell(4, 3).state, CellState::Intact);

    EXPECT_FALSE(terrain->isTankPassable(4, 4, false));
    EXPECT_TRUE(terrain->isTankPassable(4, 4, true));
    // A boat does not carry a tank over anything but water.
    terrain->initCell(5, 5, TileKind::Wood);
    EXPECT_FALSE(terrain->isTankPassable(5, 5, true));
}

TEST_F(WorldTerrain, WoodGoesAtOnceAndTreesOnlyFallToPiercingShells) {
    terrain->initCell(8, 8, TileKind::Wood);
    EXPECT_TRUE(terrain->shellHitTerrain(false, false, 8, 8, 1, 0));
    EXPECT_EQ(cell(8, 8).state, CellState::Destroyed);

    terrain->initCell(12, 11, TileKind::Tree);
    terrain->initCell(12, 12, TileKind::Tree);
    EXPECT_FALSE(terrain->shellHitTerrain(true, false, 12, 12, 1, 0));
    EXPECT_EQ(cell(12, 11).state, CellState::Intact);
    EXPECT_FALSE(terrain->shellHitTerrain(true, true, 12, 12, 1, 0));
    EXPECT_EQ(cell(12, 11).state, CellState::Destroyed);
    EXPECT_EQ(cell(12, 12).state, CellState::Destroyed);

    // cutTree leaves other kinds alone; destroyCell does not.
    terrain->initCell(1, 1, TileKind::Brick);
    terrain->cutTree(1, 1);
    EXPECT_EQ(cell(1, 1).state, CellState::Intact);
    terrain->destroyCell(1, 1);
    EXPECT_EQ(cell(1, 1).state, CellState::Destroyed);
    terrain->destroyCell(-1, 26); // out of range: ignored
}

TEST_F(WorldTerrain, TheFieldsEdgeStopsShells) {
    EXPECT_TRUE(terrain->shellHitTerrain(false, false, 26, 5, 1, 0));
    EXPECT_TRUE(terrain->shellHitTerrain(false, false, 5, -1, 0, -1));
    EXPECT_TRUE(terrain->shellHitTerrain(false, false, -1, 0, -1, 0));
    // On the outermost grid point inside, the cell beyond the edge is open.
    EXPECT_FALSE(terrain->shellHitTerrain(false, false, 0, 0, 0, -1));
    EXPECT_FALSE(terrain->shellHitTerrain(false, false, 25, 0, 1, 0));

    EXPECT_FALSE(terrain->isTankPassable(-1, 0, true));
    EXPECT_FALSE(terrain->isTankPassable(0, 26, true));
    EXPECT_TRUE(terrain->isShellPassable(true, 0, 26, 26));
}

TEST_F(WorldTerrain, ProtectionIsMetalForItsTimeAndWholeBrickAfterwards) {
    terrain->initCell(11, 23, TileKind::Brick);
    ASSERT_TRUE(terrain->shellHitTerrain(false, false, 11, 23, 0, -1));
    ASSERT_EQ(cell(11, 23).state, CellState::HitVertically);
    // (12, 22) stays empty: a ring may have gaps.
    terrain->protectCell(11, 23, 10.f);
    terrain->protectCell(12, 22, 10.f);
    for (auto [x, y] : {std::pair{11, 23}, std::pair{12, 22}}) {
        EXPECT_EQ(cell(x, y).kind, TileKind::Metal);
        EXPECT_EQ(cell(x, y).state, CellState::Intact);
        EXPECT_FALSE(cell(x, y).destructible);
        EXPECT_EQ(terrain->protectionAt(x, y).key, 1);
        EXPECT_FLOAT_EQ(terrain->protectionAt(x, y).remaining, 10.f);
    }

    runSeconds(9.9f);
    EXPECT_EQ(cell(12, 22).kind, TileKind::Metal);
    EXPECT_GT(terrain->protectionAt(12, 22).remaining, 0.f);
    runSeconds(0.2f);
    for (auto [x, y] : {std::pair{11, 23}, std::pair{12, 22}}) {
        EXPECT_EQ(cell(x, y).kind, TileKind::Brick);
        EXPECT_EQ(cell(x, y).state, CellState::Intact);
        EXPECT_TRUE(cell(x, y).halfDestructible);
        EXPECT_FALSE(cell(x, y).cover);
        EXPECT_LE(terrain->protectionAt(x, y).remaining, 0.f);
    }
    // An expired entry is left alone from then on.
    terrain->destroyCell(12, 22);
    runSeconds(1.f);
    EXPECT_EQ(cell(12, 22).state, CellState::Destroyed);
}

TEST_F(WorldTerrain, ProtectedCellShotToPiecesStaysDestroyed) {
    terrain->protectCell(13, 23, 10.f);
    EXPECT_TRUE(terrain->shellHitTerrain(true, false, 13, 23, 0,
                                         1)); // vertical: B = (13, 23)
    ASSERT_EQ(cell(13, 23).state, CellState::Destroyed);
    runSeconds(10.5f);
    EXPECT_EQ(cell(13, 23).state, CellState::Destroyed);
    EXPECT_EQ(cell(13, 23).kind, TileKind::Metal);
}

TEST_F(WorldTerrain, ProtectionWithoutTimeLeavesTheCell) {
    terrain->initCell(2, 2, TileKind::Wood);
    terrain->protectCell(2, 2, 0.f);
    EXPECT_EQ(cell(2, 2).kind, TileKind::Wood);
    EXPECT_EQ(terrain->protectionAt(2, 2).key, 1);
    runSeconds(0.5f);
    EXPECT_EQ(cell(2, 2).kind, TileKind::Wood);
}

TEST_F(WorldTerrain, CancelProtectionTearsDownRunningRingsOfOtherKeys) {
    terrain->protectCell(1, 1, 5.f);
    terrain->protectCell(2, 1, 0.f); // not running
    terrain->initCell(2, 1, TileKind::Brick);

    terrain->cancelProtection(1); // same key: nothing
    EXPECT_EQ(cell(1, 1).state, CellState::Intact);
    EXPECT_FLOAT_EQ(terrain->protectionAt(1, 1).remaining, 5.f);

    terrain->cancelProtection(0);
    EXPECT_EQ(cell(1, 1).state, CellState::Destroyed);
    EXPECT_FLOAT_EQ(terrain->protectionAt(1, 1).remaining, 0.f);
    EXPECT_EQ(cell(2, 1).state, CellState::Intact);
    // The timer is gone: no brick grows back.
    runSeconds(6.f);
    EXPECT_EQ(cell(1, 1).state, CellState::Destroyed);
}

TEST_F(WorldTerrain, WaterAnimatesAtTenFramesPerSecond) {
    terrain->updateTimers(Tick);
    EXPECT_EQ(terrain->waterFrame(), 1); // the timer starts run out
    for (int i = 1; i < 600; ++i) {
        terrain->updateTimers(Tick);
    }
    // Ten seconds: the overshoot is kept, so no frame is lost to rounding.
    EXPECT_GE(terrain->waterFrame(), 99);
    EXPECT_LE(terrain->waterFrame(), 101);
}

} // namespace

TEST_F(WorldTerrain, ACellOffTheFieldIsAFatalError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(cell(26, 0),
                 "Assertion failed: inRange\\(x, y\\), file game/world/terrain, line .+\n");
}
