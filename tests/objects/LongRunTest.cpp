#include "tests/objects/WorldHarness.hpp"

#include "game/controllers/BotController.hpp"
#include "game/objects/BonusObject.hpp"
#include "game/objects/TankShell.hpp"
#include "game/objects/TargetObject.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <cstdio>
#include <set>

using namespace ironmoat;
using ironmoat::test::levelText;
using ironmoat::test::WorldHarness;

namespace {

// Bots trace every change of direction on the standard output; a long run
// would flood the test log, so the stream goes to /dev/null meanwhile.
class QuietStdout {
public:
    QuietStdout() {
        std::fflush(stdout);
        m_saved = dup(1);
#ifdef _WIN32
        const int null = open("NUL", O_WRONLY);
#else
        const int null = open("/dev/null", O_WRONLY);
#endif
        dup2(null, 1);
        close(null);
    }
    ~QuietStdout() {
        std::fflush(stdout);
        dup2(m_saved, 1);
        close(m_saved);
    }

private:
    int m_saved = -1;
};

// Walls, trees, water, a base behind double metal, three enemy and two human
// spawn points.
std::vector<std::string> arena() {
    return {
        "0           0           0 ", "                          ", "   bbbb    ffff    bbbb   ",
        "   bbbb    ffff    bbbb   ", "                          ", "  ----      xx      ----  ",
        "  ----      xx      ----  ", "                          ", "      sss        sss      ",
        "   b       bbbb       b   ", "   b       bbbb       b   ", "                          ",
        "ff     ff        ff     ff", "ff     ff        ff     ff", "                          ",
        "   bbbb            bbbb   ", "                          ", "       -----  -----       ",
        "                          ", "                          ", "      2            2      ",
        "         xxxxxxxx         ", "         xxbbbbxx         ", "         xxb  bxx         ",
        "         xxb1 bxx         ", "         xxb  bxx         ",
    };
}

struct Seen {
    std::vector<std::weak_ptr<cmn::GameObject>> objects;
    std::set<const cmn::GameObject*> known;
    void note(const std::shared_ptr<cmn::GameObject>& object) {
        if (known.insert(object.get()).second)
            objects.push_back(object);
    }
};

} // namespace

TEST(ObjectsWorld, LongTwoPlayerRunKeepsInvariantsAndLeavesNothingBehind) {
    QuietStdout quiet;
    Seen seen;
    std::vector<std::weak_ptr<cmn::Player>> players;
    std::vector<std::weak_ptr<cmn::PlayerController>> controllers;
    int levelChanges = 0;
    int maxEnemies = 0;
    {
        WorldHarness harness({levelText(arena())}, 20261209);
        auto& world = harness.world();
        auto enemy = std::make_shared<cmn::Player>();
        enemy->team = 0;
        enemy->basePerLevel = 8; // short levels, so the run sees many
        enemy->spawnsLeft = 8;
        enemy->reserve = 8;
        enemy->bonusCarriersLeft = 4;
        for (int i = 0; i < 5; ++i)
            enemy->controllers.push_back(std::make_shared<cmn::BotController>());
        world.addPlayer(enemy);
        for (int kind : {2, 3}) {
            auto human = std::make_shared<cmn::Player>();
            human->team = 2;
            human->tankKind = kind;
            human->reserve = 100000; // the humans must outlast the run
            human->spawnsLeft = 100000;
            human->basePerLevel = 5;
            human->controllers.push_back(
                std::make_shared<test::ScriptedController>(static_cast<std::uint32_t>(kind)));
            world.addPlayer(human);
        }
        for (const auto& player : world.players()) {
            players.push_back(player);
            for (const auto& c : player->controllers)
                controllers.push_back(c);
        }

        int lastLevel = 0;
        for (int t = 0; t < 100000; ++t) {
            harness.tick();
            const int level = world.terrain().levelNumber();
            if (level != lastLevel) {
                EXPECT_EQ(level, lastLevel + 1);
                ++levelChanges;
                lastLevel = level;
            }
            int enemies = 0;
            int bonuses = 0;
            for (const auto& object : world.objects().active) {
                seen.note(object);
                ASSERT_FALSE(object->isDead()) << "dead objects leave at the end of the tick";
                if (auto* tank = dynamic_cast<cmn::Tank*>(object.get())) {
                    ASSERT_TRUE(cmn::Terrain::inRange(tank->x, tank->y));
                    ASSERT_TRUE(cmn::Terrain::inRange(tank->x + 1, tank->y + 1));
                    ASSERT_GT(tank->hitPoints, 0);
                    ASSERT_GE(tank->level, 0);
                    ASSERT_LE(tank->level, 3);
                    ASSERT_LE(tank->heat, 1.0f);
                    enemies += tank->team == 0 ? 1 : 0;
                } else if (auto* shell = dynamic_cast<cmn::TankShell*>(object.get())) {
                    ASSERT_GE(shell->x, 0);
                    ASSERT_LE(shell->x, 26);
                    ASSERT_GE(shell->y, 0);
                    ASSERT_LE(shell->y, 26);
                } else if (dynamic_cast<cmn::BonusObject*>(object.get())) {
                    ++bonuses;
                }
            }
            ASSERT_LE(enemies, 5) << "tick " << t;
            ASSERT_LE(bonuses, 1) << "tick " << t;
            maxEnemies = std::max(maxEnemies, enemies);
            ASSERT_LE(enemy->reserve, 8u + 2u * static_cast<unsigned>(level));
            for (const auto& object : world.objects().pending)
                seen.note(object);
        }
    }
    std::fprintf(stderr, "long run: %d level changes, %zu objects, at most %d enemy tanks\n",
                 levelChanges, seen.objects.size(), maxEnemies);
    EXPECT_GE(levelChanges, 3) << "the run should cross several level starts";
    EXPECT_EQ(maxEnemies, 5) << "the five bots should all be out at some time";
    EXPECT_GT(seen.objects.size(), 100u);
    for (const auto& weak : seen.objects)
        EXPECT_TRUE(weak.expired()) << "an object outlived its world";
    for (const auto& weak : players)
        EXPECT_TRUE(weak.expired()) << "a player outlived its world";
    for (const auto& weak : controllers)
        EXPECT_TRUE(weak.expired()) << "a controller outlived its world";
}

TEST(ObjectsWorld, FinishedMatchFreesTanksControllersAndPlayers) {
    std::weak_ptr<cmn::Player> human;
    std::weak_ptr<cmn::PlayerController> controller;
    std::weak_ptr<cmn::GameObject> tank;
    std::weak_ptr<cmn::GameObject> deadTank;
    {
        std::vector<std::string> rows(26);
        rows[20] = "2";
        rows[24] = "           1";
        WorldHarness harness({levelText(rows)});
        auto player = harness.addHuman();
        harness.tick();
        deadTank = player->controllers[0]->getObject();
        ASSERT_FALSE(deadTank.expired());
        deadTank.lock()->kill();
        ASSERT_TRUE(harness.tickUntil([&] { return player->controllers[0]->hasObject(); }, 300));
        tank = player->controllers[0]->getObject();
        ASSERT_NE(tank.lock(), deadTank.lock()) << "a second tank was made";
        human = player;
        controller = player->controllers[0];
    }
    EXPECT_TRUE(human.expired());
    EXPECT_TRUE(controller.expired());
    EXPECT_TRUE(tank.expired());
    EXPECT_TRUE(deadTank.expired());
}

namespace {

struct RunSummary {
    std::int32_t level = 0;
    std::uint64_t explosions = 0;
    std::vector<std::int32_t> scores;
    std::vector<std::pair<int, int>> tankCells;
    bool operator==(const RunSummary&) const = default;
};

RunSummary runMatch(unsigned seed, int ticks) {
    QuietStdout quiet;
    WorldHarness harness({levelText(arena())}, seed);
    auto& world = harness.world();
    auto enemy = harness.addEnemy(0);
    for (int i = 0; i < 5; ++i)
        enemy->controllers.push_back(std::make_shared<cmn::BotController>());
    for (std::uint32_t kind : {2u, 3u}) {
        auto human = std::make_shared<cmn::Player>();
        human->team = 2;
        human->tankKind = static_cast<std::int32_t>(kind);
        human->reserve = human->spawnsLeft = human->basePerLevel = 5;
        human->controllers.push_back(std::make_shared<test::ScriptedController>(seed + kind));
        world.addPlayer(human);
    }
    harness.ticks(ticks);
    RunSummary summary;
    summary.level = world.terrain().levelNumber();
    summary.explosions = world.explosionsSpawned();
    for (const auto& player : world.players())
        summary.scores.push_back(player->score);
    for (const auto& tank : harness.liveObjects<cmn::Tank>())
        summary.tankCells.emplace_back(tank->x, tank->y);
    return summary;
}

} // namespace

TEST(ObjectsWorld, SameSeedSameMatch) {
    const RunSummary first = runMatch(99, 6000);
    const RunSummary second = runMatch(99, 6000);
    EXPECT_GT(first.explosions, 10u) << "the run should have seen some fighting";
    EXPECT_TRUE(first == second) << "a fixed seed replays the match exactly";
}
