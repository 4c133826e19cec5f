#include "game/forms/GameForm.hpp"

#include "engine/graphics/Camera.hpp"
#include "engine/platform/MousePlatform.hpp"
#include "game/controllers/BotController.hpp"
#include "game/controllers/KeyboardController.hpp"
#include "game/forms/HudPanel.hpp"
#include "game/forms/SwitchingWindow.hpp"
#include "game/objects/Player.hpp"
#include "game/objects/World.hpp"

#include <algorithm>

using ironmoat::cmn::BotController;
using ironmoat::cmn::KeyboardController;
using ironmoat::cmn::Player;
using ironmoat::cmn::World;

namespace {

constexpr std::uint32_t EnemyTanksPerLevel = 20;
constexpr std::uint32_t HumanLives = 5;
constexpr std::uint32_t MaxBonusCarriers = 5;
constexpr int EnemyBots = 5;

std::shared_ptr<Player> makeHuman(const wchar_t* name, int tankKind,
                                  const GameForm::KeyBinding& keys) {
    auto player = std::make_shared<Player>();
    player->name = name;
    player->spawnsLeft = HumanLives;
    player->basePerLevel = HumanLives;
    player->reserve = std::max(player->reserve, HumanLives);
    player->tankKind = tankKind;
    player->team = 2;
    player->controllers.push_back(
        std::make_shared<KeyboardController>(keys.left, keys.right, keys.up, keys.down, keys.fire));
    return player;
}

} // namespace

GameForm::GameForm(pyx::gui::Application* application,
                   const std::shared_ptr<pyx::gui::Window>& parent)
    : pyx::au::GameWindow(application, parent) {}

GameForm::GameForm(pyx::gui::Application* application,
                   const std::shared_ptr<pyx::gui::Window>& parent,
                   pyx::cmn::TickTimerServer::Clock clock)
    : pyx::au::GameWindow(application, parent, std::move(clock)) {}

GameForm::~GameForm() = default;

void GameForm::onAttached() {
    pyx::au::GameWindow::onAttached();
}

void GameForm::startNewGame(bool twoPlayers) {
    auto fresh = std::make_unique<World>(std::make_unique<ironmoat::cmn::HudPanel>(40));
    // The old match goes only once the new one is in place, so the form never
    // points at a half-destroyed world.
    std::unique_ptr<World> previous = std::move(m_world);
    m_world = std::move(fresh);
    previous.reset();

    auto enemy = std::make_shared<Player>();
    enemy->name = L"Enemy";
    enemy->statusText = L"DEFEATED";
    enemy->colour = sf::Color(0, 255, 0, 255);
    enemy->spawnsLeft = EnemyTanksPerLevel;
    enemy->basePerLevel = EnemyTanksPerLevel;
    enemy->reserve = std::max(enemy->reserve, EnemyTanksPerLevel);
    enemy->bonusCarriersLeft = std::min(enemy->reserve, MaxBonusCarriers);
    enemy->team = 0;
    enemy->tankKind = 0;
    for (int i = 0; i < EnemyBots; ++i)
        enemy->controllers.push_back(std::make_shared<BotController>());
    m_world->addPlayer(enemy);

    m_world->addPlayer(makeHuman(L"Player 1", 2, PlayerOneKeys));
    if (twoPlayers)
        m_world->addPlayer(makeHuman(L"Player 2", 3, PlayerTwoKeys));
}

float GameForm::endTime() const {
    if (!m_world)
        return 0.0f;
    auto lock = m_world->acquireLock();
    return std::max({m_world->wipedOutTime(2), 0.0f, m_world->getGameOverTime()});
}

void GameForm::onTick(std::uint64_t) {
    if (m_world) {
        m_world->update(TickSeconds);
        if (!(endTime() > ResultSeconds))
            return;
    }
    if (auto switching = std::dynamic_pointer_cast<ironmoat::cmn::SwitchingWindow>(getParent()))
        switching->switchTo("menu");
}

void GameForm::drawSelf(pyx::gfx::Camera& camera) {
    if (!m_world)
        return;
    // The same question as the window's own focus, asked through the
    // platform layer so that tests can answer it without a window manager.
    const bool hasFocus = pyx::wrp::MousePlatform::isForeground(*camera.getWindow());
    m_world->updateControllers(hasFocus);
    m_world->draw(camera);
}
