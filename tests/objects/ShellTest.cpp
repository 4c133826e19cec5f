#include "tests/objects/WorldHarness.hpp"

#include "game/objects/TankShell.hpp"
#include "game/objects/TargetObject.hpp"

#include <gtest/gtest.h>

using namespace ironmoat;
using ironmoat::test::levelText;
using ironmoat::test::WorldHarness;

namespace {

std::vector<std::string> fieldWithBase() {
    std::vector<std::string> rows(26);
    rows[24] = "1";
    return rows;
}

// A tank that is not on the field, only the owner of test shells.
std::shared_ptr<cmn::Tank> ownerTank(cmn::World& world, int team) {
    auto tank = pyx::core::makeShared<cmn::Tank>(&world);
    tank->team = team;
    tank->x = 0;
    tank->y = 0;
    return tank;
}

std::shared_ptr<cmn::Tank> placedTank(cmn::World& world, int team, int x, int y, int hitPoints) {
    auto tank = pyx::core::makeShared<cmn::Tank>(&world);
    tank->team = team;
    tank->x = x;
    tank->y = y;
    tank->hitPoints = hitPoints;
    world.addObject(tank);
    return tank;
}

} // namespace

TEST(ObjectsShell, FirstTestIsOnTheFiringTanksOwnCellsAndPasses) {
    std::vector<std::string> rows = fieldWithBase();
    rows[10] = std::string(10, ' ') + "2";
    WorldHarness harness({levelText(rows)});
    auto human = harness.addHuman();
    harness.tick();
    auto tank = WorldHarness::tankOf(*human->controllers[0]);
    ASSERT_TRUE(tank);
    harness.tick(); // the tank takes its cells from now on

    WorldHarness::scripted(*human).press(false, false, false, false, true);
    harness.tick(); // fires: the shell waits in the pending list
    WorldHarness::scripted(*human).releaseAll();
    auto pending = harness.world().objects().pending;
    ASSERT_EQ(pending.size(), 1u);
    auto shell = std::dynamic_pointer_cast<cmn::TankShell>(pending[0]);
    ASSERT_TRUE(shell);
    EXPECT_EQ(shell->x, 11);
    EXPECT_EQ(shell->y, 11);
    EXPECT_EQ(shell->dirY, -1);
    EXPECT_EQ(shell->owner, tank);
    EXPECT_EQ(shell->shooter, human);

    harness.tick(); // first flight: lead cells (10, 10) and (11, 10), the tank's own
    EXPECT_FALSE(shell->isDead());
    EXPECT_EQ(tank->hitPoints, 1);
    EXPECT_TRUE(harness.tickUntil([&] { return shell->isDead(); }, 120));
    EXPECT_EQ(shell->y, 0) << "stopped by the top edge of the field";
    EXPECT_FALSE(tank->isDead());
}

TEST(ObjectsShell, OpposingShellsDestroyEachOtherSameTeamShellsPass) {
    WorldHarness harness({levelText(fieldWithBase())});
    harness.addHuman();
    harness.tick();
    auto& world = harness.world();
    auto enemyTank = ownerTank(world, 0);
    auto humanTank = ownerTank(world, 2);
    auto humanTank2 = ownerTank(world, 2);

    {
        auto a = cmn::TankShell::fire(&world, enemyTank, 5, 13, 1, 0, nullptr, false, false);
        auto b = cmn::TankShell::fire(&world, humanTank, 11, 13, -1, 0, nullptr, false, false);
        const auto before = world.explosionsSpawned();
        ASSERT_TRUE(harness.tickUntil([&] { return a->isDead() || b->isDead(); }, 60));
        EXPECT_TRUE(a->isDead());
        EXPECT_TRUE(b->isDead());
        EXPECT_EQ(world.explosionsSpawned(), before + 2) << "two explosions, no more";
    }
    {
        auto a = cmn::TankShell::fire(&world, humanTank2, 5, 16, 1, 0, nullptr, false, false);
        auto b = cmn::TankShell::fire(&world, humanTank, 11, 16, -1, 0, nullptr, false, false);
        harness.ticks(12);
        EXPECT_FALSE(a->isDead());
        EXPECT_FALSE(b->isDead());
        EXPECT_GT(a->x, 8) << "they have crossed";
        EXPECT_LT(b->x, 8);
    }
}

TEST(ObjectsShell, HumanShellDestroysTheHumansOwnBase) {
    std::vector<std::string> rows(26);
    rows[10] = std::string(10, ' ') + "1";
    rows[20] = std::string(10, ' ') + "2";
    WorldHarness harness({levelText(rows)});
    auto human = harness.addHuman();
    harness.tick();
    auto bases = harness.liveObjects<cmn::TargetObject>();
    ASSERT_EQ(bases.size(), 1u);
    EXPECT_EQ(bases[0]->team, 1);
    EXPECT_LT(harness.world().getGameOverTime(), 0.0f);

    WorldHarness::scripted(*human).press(false, false, false, false, true);
    ASSERT_TRUE(harness.tickUntil([&] { return bases[0]->isDead(); }, 120));
    EXPECT_EQ(human->score, 0) << "destroying a base scores nothing";
    harness.tick();
    EXPECT_GE(harness.world().getGameOverTime(), 0.0f);
}

TEST(ObjectsShell, ShellBetweenTwoEnemyTanksDamagesBoth) {
    WorldHarness harness({levelText(fieldWithBase())});
    harness.addHuman();
    harness.tick();
    auto& world = harness.world();
    auto left = placedTank(world, 0, 10, 5, 2);
    auto right = placedTank(world, 0, 12, 5, 2);
    harness.ticks(2); // both take their cells
    auto shooter = std::make_shared<cmn::Player>();
    auto shell =
        cmn::TankShell::fire(&world, ownerTank(world, 2), 12, 12, 0, -1, shooter, false, false);
    ASSERT_TRUE(harness.tickUntil([&] { return shell->isDead(); }, 60));
    EXPECT_EQ(left->hitPoints, 1);
    EXPECT_EQ(right->hitPoints, 1);
    EXPECT_EQ(shooter->score, 0);
}

TEST(ObjectsShell, NewObjectsAreUpdatedNextTickAndTouchableTheTickAfter) {
    WorldHarness harness({levelText(fieldWithBase())});
    harness.addHuman();
    harness.tick();
    auto& world = harness.world();

    // Added between ticks, as a shell fired or a tank spawned in tick N.
    auto target = placedTank(world, 0, 10, 10, 3);
    auto shell =
        cmn::TankShell::fire(&world, ownerTank(world, 2), 11, 12, 0, -1, nullptr, false, false);
    EXPECT_EQ(world.objects().pending.size(), 2u);

    harness.tick(); // N + 1: both merged and updated, the tank has no cells yet
    EXPECT_EQ(world.terrain().occupantAt(10, 11), nullptr);
    EXPECT_FALSE(shell->isDead()) << "the shell crosses the tank's cells unhindered";
    EXPECT_EQ(target->hitPoints, 3);

    harness.tick(); // N + 2: the tank stands on its cells and is hit
    EXPECT_EQ(world.terrain().occupantAt(10, 11), target.get());
    EXPECT_TRUE(shell->isDead());
    EXPECT_EQ(target->hitPoints, 2);
}

TEST(ObjectsShell, ShellThatBreaksBrickStopsAndOneWithoutPictureStillFlies) {
    std::vector<std::string> rows = fieldWithBase();
    rows[9] = std::string(5, ' ') + "b";
    WorldHarness harness({levelText(rows)});
    harness.addHuman();
    harness.tick();
    auto& world = harness.world();
    // Moving right along the line between rows 9 and 10: the brick above the
    // line is half broken, the shell explodes. The test folder has no
    // pictures, so this also flies a shell whose tileset has no columns.
    auto shell =
        cmn::TankShell::fire(&world, ownerTank(world, 2), 1, 10, 1, 0, nullptr, false, false);
    ASSERT_TRUE(harness.tickUntil([&] { return shell->isDead(); }, 60));
    EXPECT_EQ(world.terrain().cellAt(5, 9).state, cmn::CellState::HitHorizontally);
    EXPECT_EQ(shell->animFrame, 0);
}
