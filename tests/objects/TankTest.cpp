#include "tests/objects/WorldHarness.hpp"

#include "game/objects/BonusObject.hpp"
#include "game/objects/TankShell.hpp"

#include <gtest/gtest.h>

using namespace ironmoat;
using ironmoat::test::levelText;
using ironmoat::test::WorldHarness;

namespace {

// Base far in a corner, the humans' spawn point at (12, 20), open ground.
std::vector<std::string> openField() {
    std::vector<std::string> rows(26);
    rows[20] = std::string(12, ' ') + "2";
    rows[24] = "1";
    return rows;
}

struct HumanOnField {
    explicit HumanOnField(std::vector<std::string> rows = openField())
        : harness({levelText(rows)}) {
        human = harness.addHuman();
        harness.tick(); // loads the level and makes the tank
        tank = WorldHarness::tankOf(*human->controllers[0]);
    }
    test::ScriptedController& keys() { return WorldHarness::scripted(*human); }

    WorldHarness harness;
    std::shared_ptr<cmn::Player> human;
    std::shared_ptr<cmn::Tank> tank;
};

// Ticks of every shot fired while fire is held, up to `shots` shots.
std::vector<int> shotTicks(HumanOnField& field, int shots, int limit) {
    std::vector<int> ticks;
    int fired = field.tank->getShotsFired();
    for (int i = 0; i < limit && static_cast<int>(ticks.size()) < shots; ++i) {
        field.harness.tick();
        if (field.tank->getShotsFired() != fired) {
            fired = field.tank->getShotsFired();
            ticks.push_back(field.harness.tickCount());
        }
    }
    return ticks;
}

} // namespace

TEST(ObjectsTank, DrivingStraightTakesThirteenTicksPerCell) {
    HumanOnField field;
    ASSERT_TRUE(field.tank);
    EXPECT_EQ(field.tank->x, 12);
    EXPECT_EQ(field.tank->y, 20);
    EXPECT_EQ(field.tank->dirY, -1) << "a new tank faces up";
    EXPECT_EQ(field.tank->hitPoints, 1);

    field.keys().press(false, true, false, false, false);
    std::vector<int> changes;
    int lastX = field.tank->x;
    for (int i = 0; i < 80; ++i) {
        field.harness.tick();
        if (field.tank->x != lastX) {
            EXPECT_EQ(field.tank->x, lastX + 1);
            lastX = field.tank->x;
            changes.push_back(field.harness.tickCount());
        }
    }
    ASSERT_GE(changes.size(), 5u);
    for (std::size_t i = 1; i < changes.size(); ++i)
        EXPECT_EQ(changes[i] - changes[i - 1], 13) << "move " << i;
}

TEST(ObjectsTank, FireCadenceByUpgradeLevel) {
    {
        HumanOnField field;
        field.keys().press(false, false, false, false, true);
        auto ticks = shotTicks(field, 4, 200);
        ASSERT_EQ(ticks.size(), 4u);
        for (std::size_t i = 1; i < ticks.size(); ++i)
            EXPECT_EQ(ticks[i] - ticks[i - 1], 27);
    }
    {
        HumanOnField field;
        field.tank->level = 1;
        field.keys().press(false, false, false, false, true);
        auto ticks = shotTicks(field, 4, 200);
        ASSERT_EQ(ticks.size(), 4u);
        for (std::size_t i = 1; i < ticks.size(); ++i)
            EXPECT_EQ(ticks[i] - ticks[i - 1], 19);
    }
}

TEST(ObjectsTank, HumanGunOverheatsOnEleventhShotAndCoolsForAbout265Seconds) {
    HumanOnField field;
    field.keys().press(false, false, false, false, true);
    auto ticks = shotTicks(field, 11, 400);
    ASSERT_EQ(ticks.size(), 11u);
    for (std::size_t i = 1; i < ticks.size(); ++i)
        EXPECT_EQ(ticks[i] - ticks[i - 1], 27) << "shot " << i + 1;
    EXPECT_TRUE(field.tank->overheated);
    EXPECT_FLOAT_EQ(field.tank->heat, 1.0f);

    auto next = shotTicks(field, 1, 400);
    ASSERT_EQ(next.size(), 1u);
    const int pause = next[0] - ticks.back();
    // 1.0 of heat at 0.3814815 per second: about 2.62 s, plus the tick that
    // finds it gone.
    EXPECT_GE(pause, 155);
    EXPECT_LE(pause, 165);
    EXPECT_FALSE(field.tank->overheated);
}

TEST(ObjectsTank, UpgradedGunOverheatsOnSeventhShotAndEnemyGunsNeverHeat) {
    {
        HumanOnField field;
        field.tank->level = 1;
        field.keys().press(false, false, false, false, true);
        auto ticks = shotTicks(field, 6, 400);
        ASSERT_EQ(ticks.size(), 6u);
        EXPECT_FALSE(field.tank->overheated);
        shotTicks(field, 1, 400);
        EXPECT_TRUE(field.tank->overheated) << "the 7th shot overheats";
    }
    {
        HumanOnField field;
        field.tank->team = 0;
        field.keys().press(false, false, false, false, true);
        auto ticks = shotTicks(field, 15, 600);
        ASSERT_EQ(ticks.size(), 15u);
        EXPECT_EQ(field.tank->heat, 0.0f);
        EXPECT_FALSE(field.tank->overheated);
    }
}

TEST(ObjectsTank, TurnsWithoutMovingWhenBlockedAndLeftBeatsUp) {
    auto rows = openField();
    rows[20] += " x";
    rows[21] = std::string(14, ' ') + "x";
    HumanOnField field(rows);
    ASSERT_TRUE(field.tank);

    field.keys().press(false, true, false, false, false);
    field.harness.tick();
    EXPECT_EQ(field.tank->dirX, 1);
    EXPECT_EQ(field.tank->dirY, 0);
    EXPECT_EQ(field.tank->x, 12);
    EXPECT_EQ(field.tank->moveProgress, 0.0f);
    EXPECT_FALSE(field.tank->canMoveRight());
    EXPECT_TRUE(field.tank->canMoveLeft());

    field.keys().press(true, false, true, false, false);
    field.harness.tick();
    EXPECT_EQ(field.tank->dirX, -1);
    EXPECT_EQ(field.tank->x, 11);
    EXPECT_EQ(field.tank->y, 20);
    EXPECT_TRUE(field.tank->canMoveRight()) << "true while a move is in progress";
}

TEST(ObjectsTank, ImmobilisedTankNeitherTurnsNorMovesButFires) {
    HumanOnField field;
    field.tank->addImmobileTime(5.0f);
    field.keys().press(true, false, false, false, true);
    field.harness.ticks(60);
    EXPECT_EQ(field.tank->x, 12);
    EXPECT_EQ(field.tank->dirX, 0);
    EXPECT_EQ(field.tank->dirY, -1);
    EXPECT_GT(field.tank->getShotsFired(), 1);
    field.harness.ticks(5 * 60);
    EXPECT_LT(field.tank->x, 12) << "free again after 5 seconds";
}

TEST(ObjectsTank, BoatThenUpgradeLevelsAbsorbHitsAndShieldIgnoresThem) {
    WorldHarness harness({levelText(openField())});
    auto attacker = std::make_shared<cmn::Player>();
    auto tank = pyx::core::makeShared<cmn::Tank>(&harness.world());
    tank->level = 2;
    tank->giveBoat();

    tank->shieldTime = 1.0f;
    tank->hit(attacker);
    EXPECT_TRUE(tank->hasBoat()) << "a shielded tank loses nothing";
    EXPECT_EQ(tank->level, 2);
    tank->shieldTime = 0.0f;

    tank->hit(attacker);
    EXPECT_FALSE(tank->hasBoat());
    EXPECT_EQ(tank->level, 2);
    tank->hit(attacker);
    EXPECT_EQ(tank->level, 1);
    tank->hit(attacker);
    EXPECT_EQ(tank->level, 0);
    EXPECT_EQ(tank->hitPoints, 1);
    EXPECT_FALSE(tank->isDead());
    EXPECT_EQ(attacker->score, 0);

    const auto explosions = harness.world().explosionsSpawned();
    tank->hit(attacker);
    EXPECT_TRUE(tank->isDead());
    EXPECT_EQ(harness.world().explosionsSpawned(), explosions + 1);
    EXPECT_EQ(attacker->score, 100);
}

TEST(ObjectsTank, CarrierWithTwoHitPointsDropsTwoBonuses) {
    WorldHarness harness({levelText(openField())});
    auto attacker = std::make_shared<cmn::Player>();
    auto tank = pyx::core::makeShared<cmn::Tank>(&harness.world());
    tank->hitPoints = 2;
    tank->addBonusDrop();
    tank->addBonusDrop();

    tank->hit(attacker);
    auto first = harness.world().currentBonus();
    ASSERT_TRUE(first);
    EXPECT_EQ(attacker->score, 50);
    EXPECT_EQ(first->x % 2, 1);
    EXPECT_GE(first->x, 3);
    EXPECT_LE(first->x, 21);
    EXPECT_GE(first->y, 3);
    EXPECT_LE(first->y, 21);

    tank->hit(attacker);
    EXPECT_TRUE(tank->isDead());
    auto second = harness.world().currentBonus();
    ASSERT_TRUE(second);
    EXPECT_NE(first, second);
    EXPECT_TRUE(first->isDead()) << "the second drop replaces the first";
    EXPECT_EQ(tank->bonusDrops, 0);
    EXPECT_EQ(attacker->score, 50 + 50 + 100);
}

TEST(ObjectsTank, DrawingAngles) {
    EXPECT_EQ(cmn::Tank::directionAngle(0, -1), 0.0f);
    EXPECT_EQ(cmn::Tank::directionAngle(1, 0), 90.0f);
    EXPECT_EQ(cmn::Tank::directionAngle(0, 1), -180.0f);
    EXPECT_EQ(cmn::Tank::directionAngle(-1, 0), -90.0f);
}
