#include "tools/mapcheck/Simulator.hpp"

#include "tools/mapcheck/HumanBot.hpp"

#include "game/controllers/BotController.hpp"
#include "game/objects/Player.hpp"
#include "game/objects/World.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <stdexcept>

namespace ironmoat::tools {

namespace {

using cmn::BotController;
using cmn::Player;
using cmn::World;

// The match as the game form sets it up for two players.
constexpr std::uint32_t EnemyTanksPerLevel = 20;
constexpr std::uint32_t HumanLives = 5;
constexpr std::uint32_t MaxBonusCarriers = 5;
constexpr int EnemyBots = 5;
constexpr float TickSeconds = 1.0f / 60.0f;
// The game draws (and so updates its controllers) 70 times a second while the
// world ticks 60 times; the bots' random draws are paced per update, so the
// simulator keeps the same ratio.
constexpr int FramesPerSecond = 70;
constexpr int TicksPerSecond = 60;

std::shared_ptr<Player> makeEnemy() {
    auto enemy = std::make_shared<Player>();
    enemy->name = L"Enemy";
    enemy->spawnsLeft = EnemyTanksPerLevel;
    enemy->basePerLevel = EnemyTanksPerLevel;
    enemy->reserve = EnemyTanksPerLevel;
    enemy->bonusCarriersLeft = std::min(enemy->reserve, MaxBonusCarriers);
    enemy->team = 0;
    enemy->tankKind = 0;
    for (int i = 0; i < EnemyBots; ++i) {
        enemy->controllers.push_back(std::make_shared<BotController>());
    }
    return enemy;
}

std::shared_ptr<Player> makeHuman(const wchar_t* name, int tankKind) {
    auto player = std::make_shared<Player>();
    player->name = name;
    player->spawnsLeft = HumanLives;
    player->basePerLevel = HumanLives;
    player->reserve = HumanLives;
    player->tankKind = tankKind;
    player->team = 2;
    player->controllers.push_back(std::make_shared<HumanBot>());
    return player;
}

int liveTanks(const Player& player) {
    int count = 0;
    for (const auto& controller : player.controllers) {
        count += controller && controller->hasObject() ? 1 : 0;
    }
    return count;
}

} // namespace

Simulator::Simulator() {
    m_logSettings->clearConsoleOutput();
    m_logSettings->clearFileOutput();
    m_resources.emplace();

    char pattern[] = "/tmp/ironmoat-simulate-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        throw std::runtime_error("cannot make a scratch folder under /tmp");
    }
    m_folder = pattern;
    std::filesystem::create_directory(m_folder / "maps");
    m_previousDir = std::filesystem::current_path();
    std::filesystem::current_path(m_folder);

    // The bots and bonuses trace every decision on standard output.
    std::cout.flush();
    std::fflush(stdout);
    m_savedStdout = ::dup(STDOUT_FILENO);
    const int devNull = ::open("/dev/null", O_WRONLY);
    if (devNull >= 0) {
        ::dup2(devNull, STDOUT_FILENO);
        ::close(devNull);
    }
}

Simulator::~Simulator() {
    std::fflush(stdout);
    if (m_savedStdout >= 0) {
        ::dup2(m_savedStdout, STDOUT_FILENO);
        ::close(m_savedStdout);
    }
    std::error_code ignored;
    std::filesystem::current_path(m_previousDir, ignored);
    std::filesystem::remove_all(m_folder, ignored);
}

RunResult Simulator::run(const std::string& bytes, std::uint32_t seed) {
    // The resource manager keeps every file it has read under its path, so
    // every run reads a file of its own name. The level list then holds the
    // campaign's paths, which nothing serves here, and this one file.
    std::filesystem::remove_all(m_folder / "maps");
    std::filesystem::create_directory(m_folder / "maps");
    const std::string name = "run-" + std::to_string(++m_levelsWritten) + ".mtc";
    {
        std::ofstream out(m_folder / "maps" / name, std::ios::binary);
        out << bytes;
    }

    // Every random draw of a match comes from `rand` or from the spawn
    // shuffles' seeds; both follow from the run's seed.
    std::srand(seed);
    World world;
    std::mt19937 seeds(seed);
    world.spawns().setSeedSource([&seeds]() { return static_cast<std::uint32_t>(seeds()); });

    const auto enemy = makeEnemy();
    const auto one = makeHuman(L"Player 1", 2);
    const auto two = makeHuman(L"Player 2", 3);
    world.addPlayer(enemy);
    world.addPlayer(one);
    world.addPlayer(two);

    RunResult result;
    const int capTicks = static_cast<int>(CapSeconds * TicksPerSecond);
    int ticks = 0;
    for (int frame = 1; ticks < capTicks; ++frame) {
        const int due =
            static_cast<int>(static_cast<long long>(frame) * TicksPerSecond / FramesPerSecond);
        bool over = false;
        for (; ticks < due && !over; ++ticks) {
            world.update(TickSeconds);
            auto lock = world.acquireLock();
            const int spawned = static_cast<int>(enemy->basePerLevel - enemy->spawnsLeft);
            result.enemiesDestroyed = spawned - liveTanks(*enemy);
            result.seconds = static_cast<float>(ticks + 1) * TickSeconds;
            if (world.isFirstLevelPending()) {
                continue;
            }
            if (world.getGameOverTime() >= 0.0f) {
                result.end = RunEnd::BaseFell;
                over = true;
            } else if (enemy->spawnsLeft == 0 && enemy->reserve == 0 && liveTanks(*enemy) == 0) {
                result.end = RunEnd::Cleared;
                over = true;
            } else if (world.teamDefeated(2)) {
                result.end = RunEnd::HumansOut;
                over = true;
            }
        }
        if (over) {
            return result;
        }
        world.updateControllers(true);
    }
    result.end = RunEnd::Capped;
    return result;
}

} // namespace ironmoat::tools
