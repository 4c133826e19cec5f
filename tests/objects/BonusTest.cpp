#include "tests/objects/WorldHarness.hpp"

#include "game/objects/BonusObject.hpp"
#include "game/objects/TargetObject.hpp"

#include <gtest/gtest.h>

using namespace ironmoat;
using ironmoat::test::levelText;
using ironmoat::test::WorldHarness;

namespace {

// Enemy spawn at the top, humans at the bottom, the base at (12, 24) with a
// brick wall around it.
std::vector<std::string> bonusField() {
    std::vector<std::string> rows(26);
    rows[0] = "0";
    rows[20] = std::string(4, ' ') + "2";
    rows[23] = std::string(11, ' ') + "bbbb";
    rows[24] = std::string(11, ' ') + "b1 b";
    rows[25] = std::string(11, ' ') + "b  b";
    return rows;
}

struct Match {
    Match() : harness({levelText(bonusField())}) {
        enemy = harness.addEnemy(2);
        human = harness.addHuman();
        harness.tick();
        humanTank = WorldHarness::tankOf(*human->controllers[0]);
        enemyTank = WorldHarness::tankOf(*enemy->controllers[0]);
        harness.ticks(130); // the second enemy tank too
        enemyTank2 = WorldHarness::tankOf(*enemy->controllers[1]);
    }

    // Applies a bonus of the kind to the picker; returns what it printed.
    std::string pick(int kind, cmn::Tank& picker) {
        auto bonus = pyx::core::makeShared<cmn::BonusObject>(&harness.world());
        bonus->bonusKind = kind;
        testing::internal::CaptureStdout();
        const bool handled = bonus->onTouch(picker);
        std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(handled);
        EXPECT_TRUE(bonus->isDead());
        return printed;
    }

    cmn::TerrainCell ringCell(int dx, int dy) {
        return harness.world().terrain().cellAt(12 + dx, 24 + dy);
    }

    WorldHarness harness;
    std::shared_ptr<cmn::Player> enemy;
    std::shared_ptr<cmn::Player> human;
    std::shared_ptr<cmn::Tank> humanTank;
    std::shared_ptr<cmn::Tank> enemyTank;
    std::shared_ptr<cmn::Tank> enemyTank2;
};

} // namespace

TEST(ObjectsBonus, EveryKindPickedUpByAHuman) {
    Match m;
    ASSERT_TRUE(m.humanTank && m.enemyTank && m.enemyTank2);
    auto& tank = *m.humanTank;
    m.enemyTank->bonusDrops = 0; // scores below count destroyed tanks only
    m.enemyTank2->bonusDrops = 0;

    EXPECT_EQ(m.pick(0, tank), "Bonus! Invulnerable tank 10 seconds\n");
    EXPECT_FLOAT_EQ(tank.shieldTime, 10.0f);

    EXPECT_EQ(m.pick(1, tank), "Bonus! Immobilize enemies 5 seconds\n");
    EXPECT_FLOAT_EQ(m.enemyTank->immobileTime, 5.0f);
    EXPECT_FLOAT_EQ(m.enemyTank2->immobileTime, 5.0f);
    EXPECT_EQ(tank.immobileTime, 0.0f);

    EXPECT_EQ(m.pick(2, tank), "Bonus! Invulnerable buildings 10 seconds\n");
    EXPECT_EQ(m.ringCell(-1, -1).kind, cmn::TileKind::Metal);
    EXPECT_EQ(m.ringCell(2, 0).kind, cmn::TileKind::Metal);
    EXPECT_EQ(m.ringCell(-1, 1).kind, cmn::TileKind::Metal);
    // The ring's row 26 is off the field: skipped, so the field holds the
    // eight cells of the ring and no other metal (a write to row 26 would
    // land on row 0 of the next column).
    int metal = 0;
    for (int x = 0; x < 26; ++x)
        for (int y = 0; y < 26; ++y)
            metal += m.harness.world().terrain().cellAt(x, y).kind == cmn::TileKind::Metal;
    EXPECT_EQ(metal, 8);

    EXPECT_EQ(m.pick(3, tank), "");
    EXPECT_EQ(tank.level, 1);

    EXPECT_EQ(m.pick(6, tank), "Bonus! Tank upgrade\n");
    EXPECT_EQ(tank.level, 3);
    EXPECT_EQ(m.pick(6, tank), "Bonus! Tank upgrade\n");
    EXPECT_EQ(tank.level, 3) << "at most 3";

    EXPECT_EQ(m.pick(7, tank), "Bonus! Boat\n");
    EXPECT_TRUE(tank.hasBoat());

    const auto reserve = m.human->reserve;
    const auto spawnsLeft = m.human->spawnsLeft;
    EXPECT_EQ(m.pick(5, tank), "Bonus! 1 up\n");
    EXPECT_EQ(m.human->reserve, reserve + 1);
    EXPECT_EQ(m.human->spawnsLeft, spawnsLeft + 1);

    m.enemyTank->shieldTime = 3.0f;
    m.enemyTank->giveBoat();
    const auto bases = m.harness.liveObjects<cmn::TargetObject>();
    ASSERT_EQ(bases.size(), 1u);
    EXPECT_EQ(m.pick(4, tank), "Bonus! Destroy all enemy tanks\n");
    EXPECT_TRUE(m.enemyTank->isDead()) << "shield and boat do not protect";
    EXPECT_TRUE(m.enemyTank2->isDead());
    EXPECT_FALSE(tank.isDead());
    EXPECT_EQ(m.human->score, 200);
    EXPECT_FALSE(bases[0]->isDead()) << "the base is of another team but not a tank";
}

TEST(ObjectsBonus, EveryKindPickedUpByAnEnemy) {
    Match m;
    ASSERT_TRUE(m.humanTank && m.enemyTank && m.enemyTank2);
    auto& tank = *m.enemyTank;

    EXPECT_EQ(m.pick(0, tank), "Upgrading all ally tanks!\n");
    EXPECT_EQ(m.enemyTank->level, 1);
    EXPECT_EQ(m.enemyTank2->level, 1);
    EXPECT_EQ(m.humanTank->level, 0);

    EXPECT_EQ(m.pick(1, tank), "Bonus! Immobilize enemies 5 seconds\n");
    EXPECT_FLOAT_EQ(m.humanTank->immobileTime, 5.0f);
    EXPECT_EQ(m.enemyTank2->immobileTime, 0.0f);

    // Protection running, then torn down: the ring goes and nothing returns.
    m.harness.world().protectTargets(10.0f);
    EXPECT_EQ(m.pick(2, tank), "Bonus! Protection from targets removed for 10 seconds\n");
    EXPECT_EQ(m.ringCell(-1, 0).state, cmn::CellState::Destroyed);
    EXPECT_EQ(m.ringCell(1, -1).state, cmn::CellState::Destroyed);
    m.harness.ticks(11 * 60);
    EXPECT_EQ(m.ringCell(-1, 0).state, cmn::CellState::Destroyed) << "no brick comes back";

    EXPECT_EQ(m.pick(3, tank), "");
    EXPECT_EQ(tank.level, 2);

    EXPECT_EQ(m.pick(6, tank), "Bonus! Tank upgrade\n");
    EXPECT_EQ(tank.level, 3);

    EXPECT_EQ(m.pick(7, tank), "Bonus! Boat\n");
    EXPECT_TRUE(tank.hasBoat());

    EXPECT_EQ(m.pick(5, tank), "Bonus! All enemies drop stuff\n");
    EXPECT_GE(m.enemyTank->bonusDrops, 1);
    EXPECT_GE(m.enemyTank2->bonusDrops, 1);
    EXPECT_EQ(m.humanTank->bonusDrops, 0);

    m.humanTank->shieldTime = 5.0f;
    const int score = m.enemy->score;
    EXPECT_EQ(m.pick(4, tank), "Bonus! Destroy all enemy tanks\n");
    EXPECT_TRUE(m.humanTank->isDead()) << "shielded or not";
    EXPECT_FALSE(m.enemyTank->isDead());
    EXPECT_EQ(m.enemy->score, score + 100);
}

TEST(ObjectsBonus, OnlyTanksWithAPlayerPickUpAndOneBonusAtATime) {
    Match m;
    auto& world = m.harness.world();
    auto first = pyx::core::makeShared<cmn::BonusObject>(&world);
    world.setBonus(first);
    auto second = pyx::core::makeShared<cmn::BonusObject>(&world);
    world.setBonus(second);
    EXPECT_TRUE(first->isDead());
    EXPECT_EQ(world.currentBonus(), second);

    auto base = m.harness.liveObjects<cmn::TargetObject>().at(0);
    EXPECT_TRUE(second->onTouch(*base)) << "not a tank: handled, nothing happens";
    EXPECT_FALSE(second->isDead());

    auto stray = pyx::core::makeShared<cmn::Tank>(&world);
    EXPECT_FALSE(second->onTouch(*stray)) << "a tank without a player";
    EXPECT_FALSE(second->isDead());
}

TEST(ObjectsBonus, TankCoveringAllFourCellsAppliesItOnce) {
    Match m;
    auto& world = m.harness.world();
    auto bonus = pyx::core::makeShared<cmn::BonusObject>(&world);
    bonus->bonusKind = 3;
    bonus->x = m.humanTank->x;
    bonus->y = m.humanTank->y;
    world.setBonus(bonus);
    EXPECT_EQ(m.humanTank->level, 0);
    m.harness.ticks(2); // merged, then touched in the occupancy pass
    EXPECT_TRUE(bonus->isDead());
    EXPECT_EQ(m.humanTank->level, 1) << "four shared cells, one upgrade";
}
