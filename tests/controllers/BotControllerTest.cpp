#include "game/controllers/BotController.hpp"

#include "engine/core/SharedObject.hpp"
#include "game/objects/Tank.hpp"
#include "game/objects/World.hpp"
#include "game/objects/WorldHud.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using ironmoat::cmn::BotController;
using ironmoat::cmn::Tank;
using ironmoat::cmn::TileKind;
using ironmoat::cmn::World;

namespace {

const std::string Prefix = "[Randomize position] ";
const std::string Initialize = Prefix + "Initialize bot controller\n";
const std::string TurnAtOnce = Prefix + "Can't move - keep block and change direction\n";
const std::string TurnAfterShots = Prefix + "Can't move - 3 shoots done from current position\n";
const std::string StretchDone = Prefix + "Planned distance was reached\n";

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line + "\n");
    }
    return lines;
}

// A real world with an open field (its first level is only loaded by its
// first tick, which these tests never run) and a real tank standing in it.
class ControllersBot : public ::testing::Test {
protected:
    void SetUp() override {
        std::srand(20240611u);
        tank = pyx::core::makeShared<Tank>(&world);
        tank->x = 10;
        tank->y = 10;
        bot = std::make_shared<BotController>();
        bot->setObject(tank);
    }

    // Runs one update with standard output captured.
    std::string update(bool hasFocus = true) {
        ::testing::internal::CaptureStdout();
        bot->update(hasFocus);
        return ::testing::internal::GetCapturedStdout();
    }

    std::string randomize(bool excludeCurrent, bool excludeReverse) {
        ::testing::internal::CaptureStdout();
        bot->randomizeDirection(excludeCurrent, excludeReverse, L"test");
        return ::testing::internal::GetCapturedStdout();
    }

    // Puts metal across the two cells ahead of the tank in its bot's direction.
    void blockAhead() {
        const int dx = bot->directionX();
        const int dy = bot->directionY();
        const int ax = tank->x + (dx <= 0 ? dx : 2);
        const int ay = tank->y + (dy <= 0 ? dy : 2);
        world.terrain().initCell(ax, ay, TileKind::Metal);
        world.terrain().initCell(dx != 0 ? ax : ax + 1, dx != 0 ? ay + 1 : ay, TileKind::Metal);
    }

    int directionFlags() const {
        return bot->isLeft() + bot->isRight() + bot->isUp() + bot->isDown();
    }

    bool flagsMatchDirection() const {
        const int dx = bot->directionX();
        const int dy = bot->directionY();
        return directionFlags() == 1 && bot->isLeft() == (dx == -1) &&
               bot->isRight() == (dx == 1) && bot->isUp() == (dy == -1) &&
               bot->isDown() == (dy == 1);
    }

    World world;
    std::shared_ptr<Tank> tank;
    std::shared_ptr<BotController> bot;
};

TEST_F(ControllersBot, WithoutALiveTankAnUpdateChangesNothing) {
    for (bool dead : {false, true}) {
        SCOPED_TRACE(dead);
        auto idle = std::make_shared<BotController>();
        if (dead) {
            auto corpse = pyx::core::makeShared<Tank>(&world);
            idle->setObject(corpse);
            corpse->kill();
        }
        idle->setLeft(true);
        idle->setFire(true);
        std::srand(7u);
        ::testing::internal::CaptureStdout();
        idle->update(true);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
        const int next = std::rand();
        std::srand(7u);
        EXPECT_EQ(next, std::rand()); // no random draw was taken
        EXPECT_TRUE(idle->isLeft());
        EXPECT_TRUE(idle->isFire());
        EXPECT_EQ(idle->directionX(), 0);
        EXPECT_EQ(idle->directionY(), 0);
        EXPECT_FALSE(idle->canMove());
        EXPECT_EQ(idle->shotsFromCurrentCell(), 0u);
    }
}

TEST_F(ControllersBot, FirstUpdateDrawsDirectionStretchKeepBlockAndFireInThatOrder) {
    std::srand(99u);
    const int candidate = std::rand() % 4;
    const int distance = std::rand() % 12 + 1;
    const bool keepBlock = std::rand() % 4 == 0;
    const bool fire = std::rand() % 80 == 0; // the open field never blocks
    const int afterwards = std::rand();

    tank->reloadTime = 3.f;
    std::srand(99u);
    EXPECT_EQ(update(), Initialize);

    const int directions[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    EXPECT_EQ(bot->directionX(), directions[candidate][0]);
    EXPECT_EQ(bot->directionY(), directions[candidate][1]);
    EXPECT_EQ(bot->plannedDistance(), distance);
    EXPECT_EQ(bot->keepBlock(), keepBlock);
    EXPECT_EQ(bot->isFire(), fire);
    EXPECT_EQ(std::rand(), afterwards);
    EXPECT_TRUE(flagsMatchDirection());
    EXPECT_FLOAT_EQ(tank->reloadTime, 0.6f);
    EXPECT_EQ(bot->startCell(), (BotController::Cell{10, 10}));
    EXPECT_TRUE(bot->canMove());

    // On its stretch and free to drive, nothing is redrawn.
    EXPECT_EQ(update(), "");
    EXPECT_TRUE(flagsMatchDirection());
}

TEST_F(ControllersBot, BlockedWithoutKeepBlockTurnsPerpendicularAtOnce) {
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        for (int x = 0; x < 26; ++x) {
            for (int y = 0; y < 26; ++y) {
                world.terrain().initCell(x, y, TileKind::Empty);
            }
        }
        do {
            randomize(false, false);
        } while (bot->keepBlock());
        const int dx = bot->directionX();
        const int dy = bot->directionY();
        blockAhead();
        ASSERT_FALSE(bot->canMove());

        const std::vector<std::string> lines = linesOf(update());
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.front(), TurnAtOnce);
        EXPECT_EQ(bot->directionX() * dx + bot->directionY() * dy, 0) << "not perpendicular";
        EXPECT_TRUE(flagsMatchDirection());
    }
}

TEST_F(ControllersBot, KeepBlockPushesAndShootsUntilThreeShotsThenTurns) {
    tank->setController(bot);
    do {
        randomize(false, false);
    } while (!bot->keepBlock());
    const int dx = bot->directionX();
    const int dy = bot->directionY();
    blockAhead();
    update();
    ASSERT_EQ(bot->directionX(), dx);
    const std::uint32_t baseline = bot->shotsBaseline();

    int blockedUpdates = 0;
    int firingUpdates = 0;
    std::string turnedWith;
    // One bot update per frame, one tank tick per frame: the tank turns
    // against the metal, stays put and fires at the bot's reload time.
    for (int frame = 0; frame < 60 * 20 && turnedWith.empty(); ++frame) {
        tank->update(1.f / 60.f);
        const std::uint32_t shotsBefore = static_cast<std::uint32_t>(tank->shotsFired);
        const std::string out = update();
        if (bot->directionX() == dx && bot->directionY() == dy) {
            ASSERT_EQ(out, "") << frame;
            ASSERT_LT(shotsBefore - baseline, 3u) << frame;
            ++blockedUpdates;
            firingUpdates += bot->isFire();
        } else {
            turnedWith = out;
            EXPECT_EQ(shotsBefore - baseline, 3u);
        }
    }
    ASSERT_EQ(linesOf(turnedWith).front(), TurnAfterShots);
    EXPECT_EQ(bot->directionX() * dx + bot->directionY() * dy, 0);
    EXPECT_EQ(tank->x, 10);
    EXPECT_EQ(tank->y, 10);
    // Blocked, the bot asks to fire on 39 updates in 40 on average.
    EXPECT_GT(firingUpdates, blockedUpdates * 3 / 4);
    tank->setController(nullptr);
}

TEST_F(ControllersBot, FinishedStretchGoesOnOrTurnsButNeverBack) {
    std::set<std::pair<int, int>> turns;
    for (int round = 0; round < 200; ++round) {
        // A fresh stretch of one cell from the middle of the field.
        tank->x = 10;
        tank->y = 10;
        do {
            bot->setDirection(0, 0);
            randomize(false, false);
        } while (bot->plannedDistance() != 1);
        const int dx = bot->directionX();
        const int dy = bot->directionY();
        ASSERT_EQ(bot->startCell(), (BotController::Cell{10, 10}));
        ASSERT_FALSE(bot->plannedDistanceReached());

        tank->dirX = dx;
        tank->dirY = dy;
        tank->tryMove();
        ASSERT_EQ(tank->x, 10 + dx);
        ASSERT_EQ(tank->y, 10 + dy);
        ASSERT_TRUE(bot->plannedDistanceReached());
        tank->moveProgress = 0.f;

        const std::vector<std::string> lines = linesOf(update());
        ASSERT_FALSE(lines.empty());
        for (const std::string& line : lines) {
            EXPECT_EQ(line, StretchDone);
        }
        EXPECT_FALSE(bot->directionX() == -dx && bot->directionY() == -dy) << "went back";
        turns.insert({bot->directionX() * dx + bot->directionY() * dy,
                      bot->directionX() * dy - bot->directionY() * dx});
    }
    // Straight on, and both perpendiculars, all occur.
    EXPECT_EQ(turns, (std::set<std::pair<int, int>>{{1, 0}, {0, 1}, {0, -1}}));
}

TEST_F(ControllersBot, StraightOnChoiceKeepsTheOldStartCell) {
    randomize(false, false);
    const int dx = bot->directionX();
    const int dy = bot->directionY();
    const BotController::Cell start = bot->startCell();
    tank->x += 3 * dx;
    tank->y += 3 * dy;
    bot->setDirection(dx, dy);
    EXPECT_EQ(bot->startCell(), start);
    bot->setDirection(-dx, -dy);
    EXPECT_EQ(bot->startCell(), (BotController::Cell{tank->x, tank->y}));
    EXPECT_EQ(bot->lastCell(), bot->startCell());
}

TEST_F(ControllersBot, ANewTanksLowerShotCountLowersTheBaseline) {
    tank->shotsFired = 5;
    update();
    ASSERT_EQ(bot->shotsBaseline(), 5u);
    tank->shotsFired = 7;
    EXPECT_EQ(bot->shotsFromCurrentCell(), 2u);

    // A fresh tank on the very cell the bot saw last: no new cell, so the
    // baseline is only corrected by the shot query.
    auto fresh = pyx::core::makeShared<Tank>(&world);
    fresh->x = 10;
    fresh->y = 10;
    bot->setObject(fresh);
    EXPECT_EQ(bot->shotsFromCurrentCell(), 0u);
    EXPECT_EQ(bot->shotsBaseline(), 0u);
    fresh->shotsFired = 1;
    EXPECT_EQ(bot->shotsFromCurrentCell(), 1u);
}

TEST_F(ControllersBot, FocusDoesNotMatter) {
    auto other = std::make_shared<BotController>();
    auto twin = pyx::core::makeShared<Tank>(&world);
    twin->x = 10;
    twin->y = 10;
    other->setObject(twin);
    for (int frame = 0; frame < 50; ++frame) {
        std::srand(static_cast<unsigned>(frame) + 1u);
        update(true);
        std::srand(static_cast<unsigned>(frame) + 1u);
        ::testing::internal::CaptureStdout();
        other->update(false);
        ::testing::internal::GetCapturedStdout();
        ASSERT_EQ(bot->isLeft(), other->isLeft());
        ASSERT_EQ(bot->isRight(), other->isRight());
        ASSERT_EQ(bot->isUp(), other->isUp());
        ASSERT_EQ(bot->isDown(), other->isDown());
        ASSERT_EQ(bot->isFire(), other->isFire());
    }
}

} // namespace
