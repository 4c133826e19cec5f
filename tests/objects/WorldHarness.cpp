#include "tests/objects/WorldHarness.hpp"
#include "tests/TempFolder.hpp"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace ironmoat::test {

void ScriptedController::press(bool left, bool right, bool up, bool down, bool fire) {
    setLeft(left);
    setRight(right);
    setUp(up);
    setDown(down);
    setFire(fire);
}

void ScriptedController::update(bool) {
    if (!m_random)
        return;
    // Keys are held for a while, as a person would, then changed.
    if (m_holdTicks > 0) {
        --m_holdTicks;
        return;
    }
    m_holdTicks = static_cast<int>(m_rng() % 40);
    const unsigned direction = m_rng() % 6; // 4 and 5: no direction key
    press(direction == 0, direction == 1, direction == 2, direction == 3, m_rng() % 3 != 0);
}

std::string levelText(const std::vector<std::string>& rows) {
    std::string text;
    for (int row = 0; row < 26; ++row) {
        std::string line = row < static_cast<int>(rows.size()) ? rows[row] : std::string();
        line.resize(26, ' ');
        text += line;
        text += '\n';
    }
    return text;
}

WorldHarness::WorldHarness(const std::vector<std::string>& levels, unsigned seed,
                           const std::function<void()>& beforeWorld) {
    m_previousDir = std::filesystem::current_path();
    m_folder = ironmoat::test::makeTempFolder("ironmoat-objects-");
    std::filesystem::create_directory(m_folder / "maps");
    for (std::size_t i = 0; i < levels.size(); ++i) {
        std::ofstream out(m_folder / "maps" / ("level-" + std::to_string(i) + ".mtc"),
                          std::ios::binary);
        out << levels[i];
    }
    std::filesystem::current_path(m_folder);
    if (beforeWorld)
        beforeWorld();
    std::srand(seed);
    m_world = std::make_unique<cmn::World>();
    std::uint32_t next = seed;
    m_world->spawns().setSeedSource([next]() mutable { return next++; });
}

WorldHarness::~WorldHarness() {
    m_world.reset();
    std::error_code ignored;
    std::filesystem::current_path(m_previousDir, ignored);
    std::filesystem::remove_all(m_folder, ignored);
}

std::shared_ptr<cmn::Player> WorldHarness::addEnemy(int controllers) {
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
    for (int i = 0; i < controllers; ++i)
        enemy->controllers.push_back(std::make_shared<ScriptedController>());
    m_world->addPlayer(enemy);
    return enemy;
}

std::shared_ptr<cmn::Player> WorldHarness::addHuman(int tankKind) {
    auto human = std::make_shared<cmn::Player>();
    human->name = tankKind == 2 ? L"Player 1" : L"Player 2";
    human->spawnsLeft = 5;
    human->basePerLevel = 5;
    human->reserve = 5;
    human->tankKind = tankKind;
    human->team = 2;
    human->controllers.push_back(std::make_shared<ScriptedController>());
    m_world->addPlayer(human);
    return human;
}

void WorldHarness::tick() {
    m_world->updateControllers(true);
    m_world->update(Tick);
    ++m_ticks;
}

void WorldHarness::ticks(int count) {
    for (int i = 0; i < count; ++i)
        tick();
}

std::shared_ptr<cmn::Tank> WorldHarness::tankOf(const cmn::PlayerController& controller) {
    if (!controller.hasObject())
        return nullptr;
    return std::dynamic_pointer_cast<cmn::Tank>(controller.getObject());
}

ScriptedController& WorldHarness::scripted(const cmn::Player& player, std::size_t index) {
    return dynamic_cast<ScriptedController&>(*player.controllers.at(index));
}

} // namespace ironmoat::test
