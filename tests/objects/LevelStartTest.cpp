#include "tests/objects/WorldHarness.hpp"

#include "game/objects/BonusObject.hpp"
#include "game/objects/Effect.hpp"
#include "game/objects/Spawn.hpp"
#include "game/objects/TankShell.hpp"
#include "game/objects/TargetObject.hpp"

#include <SFML/Graphics/Image.hpp>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

using namespace ironmoat;
using ironmoat::test::levelText;
using ironmoat::test::WorldHarness;

namespace {

// A level with the human spawn points at row 20 and the bases on row 10.
std::string level(const std::string& row10, const std::string& row20) {
    std::vector<std::string> rows(26);
    rows[10] = row10;
    rows[20] = row20;
    return levelText(rows);
}

bool ringIsMetal(cmn::World& world, int bx, int by) {
    for (const auto& [ox, oy] : cmn::TargetObject::ringOffsets())
        if (world.terrain().cellAt(bx + ox, by + oy).kind != cmn::TileKind::Metal)
            return false;
    return true;
}

// An explosion picture of ten frames: explosions then last half a second.
void writeExplosionPicture() {
    sf::Image image;
    image.create(5 * 80, 2 * 80, sf::Color::Red);
    std::filesystem::create_directories("ironmoat");
    ASSERT_TRUE(image.saveToFile("ironmoat/explosion_tileset.png"));
}

} // namespace

// The tick that loads a level first kills the old bases and queues the new
// ones; a protection bonus taken in that very tick must wall in the new
// bases, and only them.
TEST(ObjectsLevelStart, ProtectionTakenInTheStartingTickWallsTheNewBases) {
    const std::string spawn = std::string(12, ' ') + "2";
    WorldHarness harness(
        {level(std::string(4, ' ') + "1", spawn), level(std::string(18, ' ') + "1", spawn)});
    auto enemy = harness.addEnemy(1);
    auto human = harness.addHuman();
    harness.tick();
    auto tank = WorldHarness::tankOf(*human->controllers[0]);
    ASSERT_TRUE(tank);
    auto oldBases = harness.liveObjects<cmn::TargetObject>();
    ASSERT_EQ(oldBases.size(), 1u);
    const int oldX = oldBases[0]->x;

    // No enemy spawns on these levels: with its reserve gone, the next
    // level comes a little over 3 seconds later.
    enemy->reserve = 0;
    tank->x = 20; // away from the spawn point the bonus lies on
    tank->y = 2;
    ASSERT_TRUE(harness.tickUntil([&] { return harness.world().wipedOutTime(0) > 2.5f; }, 400));
    auto bonus = pyx::core::makeShared<cmn::BonusObject>(&harness.world());
    bonus->bonusKind = 2;
    bonus->x = 12;
    bonus->y = 20;
    harness.world().setBonus(bonus);

    testing::internal::CaptureStdout();
    ASSERT_TRUE(
        harness.tickUntil([&] { return harness.world().terrain().levelNumber() == 2; }, 400));
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "Bonus! Invulnerable buildings 10 seconds\n")
        << "taken in the tick the tank arrived";
    auto newBases = harness.liveObjects<cmn::TargetObject>();
    ASSERT_EQ(newBases.size(), 1u);
    EXPECT_NE(newBases[0]->x, oldX);
    EXPECT_TRUE(ringIsMetal(harness.world(), newBases[0]->x, 10)) << "the base now in play";
    EXPECT_FALSE(ringIsMetal(harness.world(), oldX, 10)) << "not the one that is gone";
}

// Survivors of one team land on different cells whenever the new level has
// enough of them, still at random; with too few, they share.
TEST(ObjectsLevelStart, SurvivorsLandOnDifferentSpawnCellsWhenThereAreEnough) {
    std::set<int> firstChoices;
    for (unsigned seed = 1; seed <= 24; ++seed) {
        const std::string twoMarkers = std::string(8, ' ') + "2       2";
        WorldHarness harness({level("", twoMarkers)}, seed);
        auto p1 = harness.addHuman(2);
        auto p2 = harness.addHuman(3);
        harness.tick();
        auto t1 = WorldHarness::tankOf(*p1->controllers[0]);
        auto t2 = WorldHarness::tankOf(*p2->controllers[0]);
        ASSERT_TRUE(t1 && t2);
        t1->x = 2;
        t2->x = 20;
        t1->y = t2->y = 2;
        harness.world().loadNextLevel();
        EXPECT_EQ(t1->y, 20);
        EXPECT_EQ(t2->y, 20);
        EXPECT_TRUE((t1->x == 8 && t2->x == 16) || (t1->x == 16 && t2->x == 8))
            << "seed " << seed << ": " << t1->x << " and " << t2->x;
        firstChoices.insert(t1->x);
    }
    EXPECT_EQ(firstChoices.size(), 2u) << "the pick is still random";

    WorldHarness harness({level("", std::string(8, ' ') + "2")});
    auto p1 = harness.addHuman(2);
    auto p2 = harness.addHuman(3);
    harness.ticks(130); // the one spawn point serves both, 2 seconds apart
    auto t1 = WorldHarness::tankOf(*p1->controllers[0]);
    auto t2 = WorldHarness::tankOf(*p2->controllers[0]);
    ASSERT_TRUE(t1 && t2);
    harness.world().loadNextLevel();
    EXPECT_EQ(t1->x, 8);
    EXPECT_EQ(t2->x, 8) << "one cell for two survivors: they share it";
}

// A level start replaces the bases and spawn points and leaves everything in
// motion alone: tanks, shells in flight, the bonus and the explosions.
TEST(ObjectsLevelStart, ReplacesBasesAndSpawnPointsAndKeepsWhatIsInMotion) {
    WorldHarness harness({level(std::string(4, ' ') + "1", std::string(12, ' ') + "2")}, 1,
                         writeExplosionPicture);
    auto human = harness.addHuman();
    harness.tick();
    auto tank = WorldHarness::tankOf(*human->controllers[0]);
    ASSERT_TRUE(tank);
    auto shell = cmn::TankShell::fire(&harness.world(), tank, 3, 3, 1, 0, human, false, false);
    auto bonus = pyx::core::makeShared<cmn::BonusObject>(&harness.world());
    bonus->x = 20;
    bonus->y = 3;
    harness.world().setBonus(bonus);
    harness.world().spawnExplosion(5.0f, 5.0f);
    harness.tick();
    auto oldBase = harness.liveObjects<cmn::TargetObject>().at(0);
    auto oldSpawn = harness.liveObjects<cmn::Spawn>().at(0);
    ASSERT_EQ(harness.world().effects().active.size(), 1u);
    auto explosion = harness.world().effects().active[0];

    harness.world().loadNextLevel();
    harness.tick();
    EXPECT_TRUE(oldBase->isDead());
    EXPECT_TRUE(oldSpawn->isDead());
    const auto bases = harness.liveObjects<cmn::TargetObject>();
    const auto spawns = harness.liveObjects<cmn::Spawn>();
    ASSERT_EQ(bases.size(), 1u);
    ASSERT_EQ(spawns.size(), 1u);
    EXPECT_NE(bases[0], oldBase);
    EXPECT_NE(spawns[0], oldSpawn);
    EXPECT_EQ(harness.world().spawns().spawnPoints.size(), 1u);
    EXPECT_FALSE(tank->isDead());
    EXPECT_FALSE(shell->isDead());
    EXPECT_EQ(harness.liveObjects<cmn::TankShell>().size(), 1u);
    EXPECT_FALSE(bonus->isDead());
    EXPECT_EQ(harness.world().currentBonus(), bonus);
    ASSERT_EQ(harness.world().effects().active.size(), 1u);
    EXPECT_EQ(harness.world().effects().active[0], explosion);
}

// With two bases the match goes on until both are gone.
TEST(ObjectsLevelStart, TwoBasesTheMatchEndsOnlyWhenBothAreGone) {
    WorldHarness harness({level(std::string(4, ' ') + "1" + std::string(10, ' ') + "1", "")});
    harness.addHuman();
    harness.tick();
    auto bases = harness.liveObjects<cmn::TargetObject>();
    ASSERT_EQ(bases.size(), 2u);
    const std::shared_ptr<cmn::Player> nobody;
    bases[0]->hit(nobody);
    harness.ticks(2);
    EXPECT_LT(harness.world().getGameOverTime(), 0.0f) << "one base still stands";
    bases[1]->hit(nobody);
    harness.tick();
    EXPECT_EQ(harness.world().getGameOverTime(), 0.0f);
    harness.tick();
    EXPECT_GT(harness.world().getGameOverTime(), 0.0f);
}
