#include "tests/objects/WorldHarness.hpp"

#include "game/objects/BonusObject.hpp"
#include "game/objects/Spawn.hpp"

#include <gtest/gtest.h>

#include <numeric>
#include <set>

using namespace ironmoat;
using ironmoat::test::levelText;
using ironmoat::test::WorldHarness;

namespace {

std::vector<std::string> waveField(int enemySpawns) {
    std::vector<std::string> rows(26);
    rows[0] = "0";
    if (enemySpawns > 1)
        rows[0] += std::string(11, ' ') + "0";
    if (enemySpawns > 2)
        rows[0] += std::string(11, ' ') + "0";
    rows[20] = std::string(8, ' ') + "2" + std::string(7, ' ') + "2";
    rows[24] = std::string(12, ' ') + "1";
    return rows;
}

} // namespace

TEST(ObjectsSpawn, LevelOneSharesTwentyTwoHitPointsOverTwentyTanks) {
    for (unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
        WorldHarness harness({levelText(waveField(3))}, seed);
        auto enemy = harness.addEnemy();
        harness.addHuman();
        harness.tick();
        EXPECT_EQ(harness.world().terrain().levelNumber(), 1);
        EXPECT_EQ(enemy->spawnPositions.size(), 3u);

        std::vector<int> hitPoints;
        int carriers = 0;
        std::set<std::shared_ptr<cmn::Tank>> seen; // held, so no address is reused
        for (int i = 0; i < 60 * 60 && hitPoints.size() < 20; ++i) {
            for (auto& tank : harness.liveObjects<cmn::Tank>()) {
                if (tank->team != 0 || !seen.insert(tank).second)
                    continue;
                hitPoints.push_back(tank->hitPoints);
                carriers += tank->bonusDrops > 0 ? 1 : 0;
                tank->kill(); // make room for the next one
            }
            harness.tick();
        }
        ASSERT_EQ(hitPoints.size(), 20u)
            << "seed " << seed << " reserve " << enemy->reserve << " left " << enemy->spawnsLeft
            << " level " << harness.world().terrain().levelNumber() << " tick "
            << harness.tickCount();
        EXPECT_EQ(std::accumulate(hitPoints.begin(), hitPoints.end(), 0), 22);
        EXPECT_EQ(hitPoints[0], 2);
        EXPECT_EQ(hitPoints[1], 2);
        for (std::size_t i = 2; i < hitPoints.size(); ++i)
            EXPECT_EQ(hitPoints[i], 1);
        EXPECT_GE(carriers, 3);
        EXPECT_LE(carriers, 5);
        EXPECT_EQ(enemy->bonusCarriersLeft, 0u) << "the last tanks carry for certain";
        EXPECT_EQ(enemy->reserve, 0u);
        EXPECT_EQ(enemy->spawnsLeft, 0u);
        // Long enough for every reservation to run out, too short for the
        // level to end.
        harness.ticks(150);
        ASSERT_EQ(harness.world().terrain().levelNumber(), 1);
        int enemies = 0;
        for (auto& tank : harness.liveObjects<cmn::Tank>())
            enemies += tank->team == 0;
        EXPECT_EQ(enemies, 0) << "no 21st enemy";
    }
}

TEST(ObjectsSpawn, OneSpawnPointServesOneTankEveryTwoSeconds) {
    WorldHarness harness({levelText(waveField(1))});
    auto enemy = harness.addEnemy();
    harness.addHuman();
    std::vector<int> created;
    for (int i = 0; i < 300 && created.size() < 2; ++i) {
        harness.tick();
        std::size_t alive = 0;
        for (const auto& c : enemy->controllers)
            alive += c->hasObject() ? 1 : 0;
        if (alive > created.size())
            created.push_back(harness.tickCount());
    }
    ASSERT_EQ(created.size(), 2u);
    EXPECT_EQ(created[0], 1);
    EXPECT_GE(created[1] - created[0], 120);
    EXPECT_LE(created[1] - created[0], 122);
}

TEST(ObjectsSpawn, TwoHumansSpawnOnDifferentMarkersInTheFirstTick) {
    for (unsigned seed : {1u, 7u, 42u}) {
        WorldHarness harness({levelText(waveField(1))}, seed);
        auto p1 = harness.addHuman(2);
        auto p2 = harness.addHuman(3);
        harness.tick();
        auto t1 = WorldHarness::tankOf(*p1->controllers[0]);
        auto t2 = WorldHarness::tankOf(*p2->controllers[0]);
        ASSERT_TRUE(t1 && t2);
        EXPECT_EQ(t1->y, 20);
        EXPECT_EQ(t2->y, 20);
        EXPECT_NE(t1->x, t2->x);
        EXPECT_EQ(t1->kind, 2);
        EXPECT_EQ(t2->kind, 3);
        EXPECT_EQ(p1->reserve, 4u);
        EXPECT_EQ(p1->spawnsLeft, 4u);
        EXPECT_EQ(WorldHarness::scripted(*p1).attachCount, 1);
    }
}

TEST(ObjectsSpawn, OneUpRevivesAtTheNextTickAndWithoutLivesAHumanStaysOut) {
    WorldHarness harness({levelText(waveField(1))});
    auto p1 = harness.addHuman(2);
    auto p2 = harness.addHuman(3);
    harness.tick();
    p1->reserve = 0;
    p1->spawnsLeft = 0;

    // The last tank of Player 1 picks up a "1 up", then is destroyed.
    auto tank = WorldHarness::tankOf(*p1->controllers[0]);
    ASSERT_TRUE(tank);
    auto bonus = pyx::core::makeShared<cmn::BonusObject>(&harness.world());
    bonus->bonusKind = 5;
    bonus->x = tank->x;
    bonus->y = tank->y;
    harness.world().setBonus(bonus);
    testing::internal::CaptureStdout();
    harness.ticks(2);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Bonus! 1 up\n");
    EXPECT_EQ(p1->reserve, 1u);
    harness.ticks(150); // the spawn point's reservation has run out
    tank->kill();
    harness.tick();
    auto revived = WorldHarness::tankOf(*p1->controllers[0]);
    ASSERT_TRUE(revived) << "a new tank in the very next tick";
    EXPECT_NE(revived, tank);
    EXPECT_EQ(p1->reserve, 0u);

    revived->kill();
    harness.ticks(200);
    EXPECT_FALSE(p1->controllers[0]->hasObject()) << "the other human's lives are not shared";
    EXPECT_TRUE(p2->controllers[0]->hasObject());
    EXPECT_GT(p1->wipedOutTime, 3.0f);
    EXPECT_EQ(harness.world().wipedOutTime(2), 0.0f) << "the smaller of the two";
    EXPECT_FALSE(harness.world().teamDefeated(2));
}

TEST(ObjectsSpawn, LevelStartMovesSurvivorsAndLeavesThoseWithNowhereToGo) {
    std::vector<std::string> rows = waveField(1);
    WorldHarness harness({levelText(rows)});
    auto enemy = harness.addEnemy();
    auto human = harness.addHuman();
    harness.tick();
    auto tank = WorldHarness::tankOf(*human->controllers[0]);
    ASSERT_TRUE(tank);
    WorldHarness::scripted(*human).press(false, false, true, false, false);
    harness.ticks(30);
    ASSERT_LT(tank->y, 20);
    tank->dirX = 1;
    tank->dirY = 0;
    const int attached = WorldHarness::scripted(*human).attachCount;

    // The same map again: the survivor jumps to a "2" marker and faces up.
    harness.world().loadNextLevel();
    EXPECT_EQ(harness.world().terrain().levelNumber(), 2);
    EXPECT_EQ(tank->y, 20);
    EXPECT_TRUE(tank->x == 8 || tank->x == 16);
    EXPECT_EQ(tank->dirY, -1);
    EXPECT_EQ(tank->moveProgress, 0.0f);
    EXPECT_EQ(WorldHarness::scripted(*human).attachCount, attached + 1);
    EXPECT_EQ(human->reserve, 4u) << "lives carry over";
    EXPECT_EQ(enemy->reserve, 24u);
    EXPECT_EQ(enemy->spawnsLeft, 20u);
    EXPECT_GE(enemy->bonusCarriersLeft, 3u);
    EXPECT_LE(enemy->bonusCarriersLeft, 5u);

    // The marker is drawn at random: over a few level starts both are used.
    std::set<int> columns;
    for (int level = 0; level < 32; ++level) {
        harness.world().loadNextLevel();
        columns.insert(tank->x);
    }
    EXPECT_EQ(columns, (std::set<int>{8, 16}));

    // A level start that gives the humans no spawn position: the tank stays.
    tank->x = 5;
    tank->y = 7;
    harness.world().spawns().clearForLevel();
    harness.world().spawns().startLevel(3);
    EXPECT_EQ(tank->x, 5);
    EXPECT_EQ(tank->y, 7);
    EXPECT_EQ(enemy->reserve, 26u);
}

TEST(ObjectsSpawn, MarkerOfNoTeamMakesNothing) {
    std::vector<std::string> rows = waveField(1);
    rows[5] = "7";
    WorldHarness harness({levelText(rows)});
    harness.addEnemy();
    harness.addHuman();
    harness.tick();
    EXPECT_EQ(harness.world().spawns().spawnPoints.size(), 3u) << "one enemy, two human points";
    EXPECT_EQ(harness.world().spawns().spawnPoints.count({0, 5}), 0u);
}
