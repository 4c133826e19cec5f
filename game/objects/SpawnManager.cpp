#include "game/objects/SpawnManager.hpp"

#include "game/controllers/PlayerController.hpp"
#include "game/objects/Player.hpp"
#include "game/objects/Spawn.hpp"
#include "game/objects/Tank.hpp"
#include "game/objects/World.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <map>
#include <random>

namespace ironmoat::cmn {

namespace {

std::uint32_t systemTickSeed() {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(ticks).count());
}

} // namespace

SpawnManager::SpawnManager(World* owner) : world(owner), m_seedSource(systemTickSeed) {}

SpawnManager::~SpawnManager() = default;

void SpawnManager::addPlayer(std::shared_ptr<Player> player) {
    if (player)
        spawnPlayers.push_back(std::move(player));
}

void SpawnManager::addSpawnPoint(sf::Vector2i cell, int digit) {
    for (const auto& player : spawnPlayers) {
        if (player->team != digit)
            continue;
        player->spawnPositions.push_back(cell);
        const auto key = std::make_pair(cell.x, cell.y);
        if (spawnPoints.find(key) == spawnPoints.end()) {
            auto spawn = pyx::core::makeShared<Spawn>(world);
            spawn->x = cell.x;
            spawn->y = cell.y;
            if (world)
                world->addObject(spawn);
            spawnPoints.emplace(key, spawn);
        }
    }
}

void SpawnManager::clearForLevel() {
    for (const auto& player : spawnPlayers)
        player->spawnPositions.clear();
    for (auto& entry : spawnPoints)
        if (entry.second)
            entry.second->kill();
    spawnPoints.clear();
}

bool SpawnManager::findFreeSpawn(const Player& player, sf::Vector2i& cell) {
    std::vector<sf::Vector2i> candidates = player.spawnPositions;
    std::mt19937 generator(m_seedSource ? m_seedSource() : systemTickSeed());
    std::shuffle(candidates.begin(), candidates.end(), generator);
    for (const auto& candidate : candidates) {
        const auto found = spawnPoints.find(std::make_pair(candidate.x, candidate.y));
        if (found == spawnPoints.end())
            continue;
        auto* spawn = dynamic_cast<Spawn*>(found->second.get());
        if (!spawn || spawn->isBusy())
            continue;
        spawn->reserveSpot();
        cell = candidate;
        return true;
    }
    return false;
}

std::shared_ptr<Tank> SpawnManager::createTank(const std::shared_ptr<Player>& player,
                                               const std::shared_ptr<PlayerController>& controller,
                                               int team, int kind, sf::Vector2i cell) {
    auto tank = pyx::core::makeShared<Tank>(world);
    tank->x = cell.x;
    tank->y = cell.y;
    tank->setController(controller);
    tank->player = player;
    tank->team = team;
    tank->kind = kind;
    if (world)
        world->addObject(tank);
    return tank;
}

void SpawnManager::update() {
    for (std::size_t p = 0; p < spawnPlayers.size(); ++p) {
        const std::shared_ptr<Player> player = spawnPlayers[p];
        for (std::size_t c = 0; c < player->controllers.size(); ++c) {
            const std::shared_ptr<PlayerController> controller = player->controllers[c];
            if (!controller || controller->hasObject())
                continue;
            if (player->reserve == 0)
                continue;
            sf::Vector2i cell;
            if (!findFreeSpawn(*player, cell))
                continue;
            if (player->spawnsLeft == 0)
                continue;

            // Front-loaded share: the earlier tanks of a level take the
            // rounded-up part of what is left.
            const auto share = static_cast<std::uint32_t>(std::ceil(
                static_cast<double>(player->reserve) / static_cast<double>(player->spawnsLeft)));
            player->spawnsLeft -= 1;
            player->reserve -= std::min(share, player->reserve);
            if (share == 0)
                continue;

            auto tank = createTank(player, controller, player->team, player->tankKind, cell);
            tank->hitPoints = static_cast<std::int32_t>(share);

            if (player->bonusCarriersLeft > 0) {
                bool carries = false;
                if (player->reserve < player->bonusCarriersLeft) {
                    carries = true;
                } else {
                    const auto draw =
                        static_cast<std::uint32_t>(std::rand()) % (player->reserve + 1u);
                    carries = draw < player->bonusCarriersLeft;
                }
                if (carries) {
                    tank->addBonusDrop();
                    player->bonusCarriersLeft -= 1;
                }
            }

            controller->setObject(tank);
        }
    }
}

void SpawnManager::startLevel(std::int32_t levelNumber) {
    // Survivors of one team must not land on the same cells (a shell would
    // then find only one of them): while the team's distinct spawn cells are
    // at least as many as its survivors, each one draws from the cells not
    // yet taken. Otherwise each draws from all of its player's positions.
    struct TeamCells {
        std::size_t survivors = 0;
        std::vector<sf::Vector2i> free;
        bool apart = false;
    };
    std::map<std::int32_t, TeamCells> teams;
    for (const auto& player : spawnPlayers) {
        TeamCells& team = teams[player->team];
        for (const auto& cell : player->spawnPositions)
            if (std::find(team.free.begin(), team.free.end(), cell) == team.free.end())
                team.free.push_back(cell);
        for (const auto& controller : player->controllers)
            if (controller && controller->hasObject() &&
                dynamic_cast<Tank*>(controller->getObject().get()))
                ++team.survivors;
    }

    for (auto& entry : teams)
        entry.second.apart = entry.second.free.size() >= entry.second.survivors;

    for (const auto& player : spawnPlayers) {
        TeamCells& team = teams[player->team];
        for (const auto& controller : player->controllers) {
            if (!controller || !controller->hasObject())
                continue;
            auto* tank = dynamic_cast<Tank*>(controller->getObject().get());
            if (!tank)
                continue;
            // A team without a spawn position in the new level has nowhere to
            // jump to: its tank stays where it stands.
            if (player->spawnPositions.empty())
                continue;
            sf::Vector2i cell;
            if (team.apart) {
                const auto pick = static_cast<std::size_t>(std::rand()) % team.free.size();
                cell = team.free[pick];
                team.free.erase(team.free.begin() + static_cast<std::ptrdiff_t>(pick));
            } else {
                const auto count = player->spawnPositions.size();
                cell = player->spawnPositions[static_cast<std::size_t>(std::rand()) % count];
            }
            tank->x = cell.x;
            tank->y = cell.y;
            tank->moveProgress = 0.0f;
            tank->dirX = 0;
            tank->dirY = -1;
            controller->onAttach();
        }

        if (player->team == 0) {
            player->spawnsLeft = player->basePerLevel;
            player->wipedOutTime = 0.0f;
            const std::uint64_t sum =
                static_cast<std::uint64_t>(player->basePerLevel) +
                2u * static_cast<std::uint64_t>(std::max<std::int32_t>(levelNumber, 0));
            player->reserve = sum > std::numeric_limits<std::uint32_t>::max()
                                  ? player->basePerLevel
                                  : static_cast<std::uint32_t>(sum);
            const auto carriers = static_cast<std::uint32_t>(std::rand() % 3 + levelNumber / 5 + 3);
            player->bonusCarriersLeft = std::min(player->reserve, carriers);
        }
    }
}

} // namespace ironmoat::cmn
