#include "tests/objects/WorldHarness.hpp"

#include "game/objects/BonusObject.hpp"
#include "game/objects/Spawn.hpp"
#include "game/objects/TankShell.hpp"
#include "game/objects/TargetObject.hpp"

#include <gtest/gtest.h>

using namespace ironmoat;
using ironmoat::test::levelText;
using ironmoat::test::WorldHarness;

namespace {

std::shared_ptr<cmn::Tank> placedTank(cmn::World& world, int team, int x, int y) {
    auto tank = pyx::core::makeShared<cmn::Tank>(&world);
    tank->team = team;
    tank->x = x;
    tank->y = y;
    world.addObject(tank);
    return tank;
}

// The shell a tank fired in the last tick (still waiting in the list).
std::shared_ptr<cmn::TankShell> firedShell(cmn::World& world) {
    for (const auto& object : world.objects().pending)
        if (auto shell = std::dynamic_pointer_cast<cmn::TankShell>(object))
            return shell;
    return nullptr;
}

} // namespace

// Only other tanks and bases stand in a tank's way; shells, bonuses and spawn
// points never do, nor do the tank's own cells.
TEST(ObjectsRules, TanksAndBasesBlockATankOtherObjectsDoNot) {
    std::vector<std::string> rows(26);
    rows[2] = std::string(14, ' ') + "0";
    rows[20] = std::string(4, ' ') + "1";
    WorldHarness harness({levelText(rows)});
    harness.addEnemy(0); // its spawn point, and no tank to fill it
    harness.addHuman();  // keeps the match on; no marker, no tank
    harness.tick();
    auto& world = harness.world();
    auto mover = placedTank(world, 2, 10, 10);
    auto other = placedTank(world, 0, 12, 10);
    auto bonus = pyx::core::makeShared<cmn::BonusObject>(&world);
    bonus->x = 10;
    bonus->y = 14;
    world.setBonus(bonus);
    cmn::TankShell::fire(&world, other, 10, 16, 0, -1, nullptr, false, false);
    harness.tick();
    const auto lock = world.acquireLock();

    EXPECT_TRUE(world.cellFreeForTank(*mover, 10, 10)) << "its own cells";
    EXPECT_TRUE(world.cellFreeForTank(*mover, 11, 11));
    EXPECT_FALSE(world.cellFreeForTank(*mover, 12, 10)) << "another tank";
    EXPECT_FALSE(world.cellFreeForTank(*mover, 13, 11));
    EXPECT_FALSE(world.cellFreeForTank(*mover, 4, 20)) << "a base";
    EXPECT_FALSE(world.cellFreeForTank(*mover, 5, 21));
    EXPECT_TRUE(world.cellFreeForTank(*mover, 11, 15)) << "a bonus";
    EXPECT_TRUE(world.cellFreeForTank(*mover, 14, 2)) << "a spawn point";
    EXPECT_TRUE(world.cellFreeForTank(*mover, 10, 16)) << "a shell's point";
    EXPECT_TRUE(world.cellFreeForTank(*mover, 14, 10)) << "next to the other tank";
    EXPECT_TRUE(world.cellFreeForTank(*other, 13, 11)) << "seen from the other tank";
    EXPECT_FALSE(world.cellFreeForTank(*other, 11, 10));
}

// Level 2 and up fire strong shells, level 3 piercing ones; a bonus that
// gives two levels at once takes effect in the tick it is picked up.
TEST(ObjectsRules, UpgradeLevelsGiveStrongAndPiercingShells) {
    std::vector<std::string> rows(26);
    rows[20] = std::string(10, ' ') + "2";
    WorldHarness harness({levelText(rows)});
    auto human = harness.addHuman();
    harness.tick();
    auto tank = WorldHarness::tankOf(*human->controllers[0]);
    ASSERT_TRUE(tank);
    auto& controller = WorldHarness::scripted(*human);

    const bool strongByLevel[] = {false, false, true, true};
    const bool pierceByLevel[] = {false, false, false, true};
    for (int level = 0; level <= 3; ++level) {
        tank->level = level;
        tank->cooldown = 0.0f;
        tank->heat = 0.0f;
        controller.press(false, false, false, false, true);
        harness.tick();
        controller.releaseAll();
        auto shell = firedShell(harness.world());
        ASSERT_TRUE(shell) << "level " << level;
        EXPECT_EQ(shell->isStrong(), strongByLevel[level]) << "level " << level;
        EXPECT_EQ(shell->isPierce(), pierceByLevel[level]) << "level " << level;
        harness.tick();
    }

    // Two levels in one tick: from 0 straight to 2, and the shot fired in
    // that same tick is already strong.
    tank->level = 0;
    tank->cooldown = 0.0f;
    tank->heat = 0.0f;
    auto bonus = pyx::core::makeShared<cmn::BonusObject>(&harness.world());
    bonus->bonusKind = 6;
    bonus->x = tank->x;
    bonus->y = tank->y;
    harness.world().setBonus(bonus);
    harness.tick(); // the bonus becomes active
    testing::internal::CaptureStdout();
    controller.press(false, false, false, false, true);
    harness.tick();
    controller.releaseAll();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Bonus! Tank upgrade\n");
    EXPECT_EQ(tank->level, 2);
    auto shell = firedShell(harness.world());
    ASSERT_TRUE(shell);
    EXPECT_TRUE(shell->isStrong());
    EXPECT_FALSE(shell->isPierce());
}

// A metal ring stops a plain shell before it reaches the base; the ring
// stays metal.
TEST(ObjectsRules, MetalRingStopsAShellShortOfTheBase) {
    std::vector<std::string> rows(26);
    rows[20] = std::string(12, ' ') + "1";
    WorldHarness harness({levelText(rows)});
    harness.addHuman();
    harness.tick();
    auto& world = harness.world();
    auto base = harness.liveObjects<cmn::TargetObject>().at(0);
    {
        const auto lock = world.acquireLock();
        world.protectTargets(10.0f);
    }
    auto enemy = placedTank(world, 0, 12, 2);
    enemy->kill(); // only the owner of the shell
    auto shell = cmn::TankShell::fire(&world, enemy, 13, 5, 0, 1, nullptr, false, false);
    ASSERT_TRUE(harness.tickUntil([&] { return shell->isDead(); }, 60));
    EXPECT_FALSE(base->isDead());
    EXPECT_EQ(shell->y, 19) << "stopped at the ring's top row";
    EXPECT_EQ(world.terrain().cellAt(12, 19).kind, cmn::TileKind::Metal);
    EXPECT_EQ(world.terrain().cellAt(13, 19).kind, cmn::TileKind::Metal);
}

// An enemy tank may appear on a human tank parked on the enemy's spawn
// point: nothing checks the spot, both tanks stand there.
TEST(ObjectsRules, EnemyAppearsOnAHumanTankParkedOnItsSpawnPoint) {
    std::vector<std::string> rows(26);
    rows[2] = std::string(8, ' ') + "0";
    rows[20] = std::string(8, ' ') + "2";
    WorldHarness harness({levelText(rows)});
    auto enemy = harness.addEnemy(1);
    auto human = harness.addHuman();
    harness.tick();
    auto first = WorldHarness::tankOf(*enemy->controllers[0]);
    auto parked = WorldHarness::tankOf(*human->controllers[0]);
    ASSERT_TRUE(first && parked);
    first->kill();
    parked->x = 8;
    parked->y = 2;
    std::shared_ptr<cmn::Tank> second;
    ASSERT_TRUE(harness.tickUntil(
        [&] {
            second = WorldHarness::tankOf(*enemy->controllers[0]);
            return second && second != first;
        },
        200));
    EXPECT_EQ(second->x, 8);
    EXPECT_EQ(second->y, 2);
    EXPECT_FALSE(parked->isDead());
    EXPECT_EQ(parked->x, 8);
}

// Two shells reaching a 1-hit-point tank in the same tick destroy it once
// and score it once.
TEST(ObjectsRules, TwoShellsOnAOneHitPointTankDestroyAndScoreOnce) {
    WorldHarness harness({levelText({})});
    auto human = harness.addHuman();
    harness.tick();
    auto& world = harness.world();
    auto target = placedTank(world, 0, 10, 10);
    target->hitPoints = 1;
    auto owner = placedTank(world, 2, 0, 24);
    owner->kill();
    harness.tick(); // the target takes its cells from the next tick on
    const std::uint64_t explosionsBefore = world.explosionsSpawned();
    // Each shell crosses one of the target's columns on its first flight.
    auto a = cmn::TankShell::fire(&world, owner, 10, 13, 0, -1, human, false, false);
    auto b = cmn::TankShell::fire(&world, owner, 12, 13, 0, -1, human, false, false);
    a->progress = b->progress = 0.99f;
    harness.tick();
    EXPECT_TRUE(target->isDead());
    EXPECT_EQ(human->score, 100) << "one destroy, one score";
    EXPECT_TRUE(a->isDead());
    EXPECT_FALSE(b->isDead()) << "the wreck stops nothing";
    EXPECT_EQ(world.explosionsSpawned() - explosionsBefore, 2u) << "the tank's and the shell's";
}
