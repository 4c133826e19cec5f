#include "tools/bench/Bench.hpp"

#include "game/controllers/BotController.hpp"
#include "game/forms/HudPanel.hpp"
#include "game/objects/Player.hpp"
#include "game/objects/Tank.hpp"
#include "game/objects/TankShell.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <unistd.h>

namespace ironmoat::bench {

bool Figure::met() const {
    if (targetOp == "<=")
        return value <= target;
    if (targetOp == ">=")
        return value >= target;
    if (targetOp == "<")
        return value < target;
    return false;
}

double percentile(std::vector<double> samples, double p) {
    if (samples.empty())
        return 0.0;
    std::sort(samples.begin(), samples.end());
    const double rank = std::ceil(p / 100.0 * static_cast<double>(samples.size()));
    const std::size_t index =
        static_cast<std::size_t>(std::clamp(rank, 1.0, static_cast<double>(samples.size()))) - 1;
    return samples[index];
}

namespace {

// Holds a direction for a while and fires most of the time, as a busy
// player would; seeded, so runs repeat.
class FiringController : public cmn::PlayerController {
public:
    explicit FiringController(std::uint32_t seed) : m_rng(seed) {}

    void update(bool) override {
        if (m_holdTicks > 0) {
            --m_holdTicks;
            return;
        }
        m_holdTicks = static_cast<int>(m_rng() % 40);
        const unsigned direction = m_rng() % 5; // 4: stand still
        setLeft(direction == 0);
        setRight(direction == 1);
        setUp(direction == 2);
        setDown(direction == 3);
        setFire(m_rng() % 4 != 0);
    }

private:
    std::mt19937 m_rng;
    int m_holdTicks = 0;
};

} // namespace

std::shared_ptr<cmn::PlayerController> makeFiringController(std::uint32_t seed) {
    return std::make_shared<FiringController>(seed);
}

namespace {

std::shared_ptr<cmn::Player> makeHuman(const wchar_t* name, int tankKind, std::uint32_t seed) {
    auto player = std::make_shared<cmn::Player>();
    player->name = name;
    player->spawnsLeft = 5;
    player->basePerLevel = 5;
    player->reserve = 5;
    player->tankKind = tankKind;
    player->team = 2;
    player->controllers.push_back(makeFiringController(seed));
    return player;
}

} // namespace

Match::Match(std::uint32_t seed) : m_seed(seed) {
    build();
}

Match::~Match() = default;

void Match::build() {
    m_world.reset();
    std::srand(m_seed + static_cast<std::uint32_t>(m_restarts));
    m_world = std::make_unique<cmn::World>(std::make_unique<cmn::HudPanel>(40));
    std::uint32_t next = m_seed * 7919u + static_cast<std::uint32_t>(m_restarts);
    m_world->spawns().setSeedSource([next]() mutable { return next++; });

    auto enemy = std::make_shared<cmn::Player>();
    enemy->name = L"Enemy";
    enemy->statusText = L"DEFEATED";
    enemy->colour = sf::Color(0, 255, 0, 255);
    enemy->spawnsLeft = 20;
    enemy->basePerLevel = 20;
    enemy->reserve = 20;
    enemy->bonusCarriersLeft = 5;
    enemy->team = 0;
    enemy->tankKind = 0;
    for (int i = 0; i < 5; ++i)
        enemy->controllers.push_back(std::make_shared<cmn::BotController>());
    m_world->addPlayer(enemy);
    m_world->addPlayer(makeHuman(L"Player 1", 2, m_seed + 1));
    m_world->addPlayer(makeHuman(L"Player 2", 3, m_seed + 2));
}

void Match::tick() {
    m_world->updateControllers(true);
    m_world->update(1.0f / 60.0f);
}

bool Match::finished() {
    auto lock = m_world->acquireLock();
    return m_world->getGameOverTime() >= 0.0f || m_world->teamDefeated(2) ||
           m_world->teamDefeated(0);
}

void Match::restart() {
    ++m_restarts;
    build();
}

int countLiveTanks(cmn::World& world) {
    auto lock = world.acquireLock();
    int count = 0;
    for (const auto& object : world.objects().active)
        if (!object->isDead() && dynamic_cast<const cmn::Tank*>(object.get()))
            ++count;
    return count;
}

int countLiveShells(cmn::World& world) {
    auto lock = world.acquireLock();
    int count = 0;
    for (const auto& object : world.objects().active)
        if (!object->isDead() && dynamic_cast<const cmn::TankShell*>(object.get()))
            ++count;
    return count;
}

int Match::liveTanks() {
    return countLiveTanks(*m_world);
}

int Match::liveShells() {
    return countLiveShells(*m_world);
}

double peakResidentMiB(const std::string& pid) {
    std::ifstream status("/proc/" + pid + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            const long kib = std::strtol(line.c_str() + 6, nullptr, 10);
            return static_cast<double>(kib) / 1024.0;
        }
    }
    return -1.0;
}

QuietStdout::QuietStdout() {
    std::fflush(stdout);
    m_saved = dup(1);
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
        dup2(null, 1);
        close(null);
    }
}

QuietStdout::~QuietStdout() {
    std::fflush(stdout);
    if (m_saved >= 0) {
        dup2(m_saved, 1);
        close(m_saved);
    }
}

} // namespace ironmoat::bench
