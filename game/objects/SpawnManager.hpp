#pragma once

#include <SFML/System/Vector2.hpp>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace ironmoat::cmn {

class World;
class Player;
class PlayerController;
class GameObject;
class Tank;

// Makes every tank of the match: whenever a controller has no live tank and
// its player still has reserve, a tank appears at a free spawn point of the
// player's team. It also shares the enemy's hit-point reserve out over the
// level's tanks and picks the bonus carriers.
class SpawnManager {
public:
    // Source of the seeds for the spawn-point shuffles.
    using SeedSource = std::function<std::uint32_t()>;

    // `owner` is not owned. Seeds come from the system tick count.
    explicit SpawnManager(World* owner);
    ~SpawnManager();

    // Registers a player for spawning (in the order players are added).
    void addPlayer(std::shared_ptr<Player> player);
    // A level marker other than the base: a spawn position for every player
    // of that team, and one spawn object per distinct cell.
    void addSpawnPoint(sf::Vector2i cell, int digit);
    // Once per world tick: new tanks for controllers without one.
    void update();
    // Forgets the level's spawn positions and kills the spawn objects.
    void clearForLevel();
    // Picks a random free spawn point of the player and reserves it; false
    // when every one is reserved or the player has none.
    bool findFreeSpawn(const Player& player, sf::Vector2i& cell);
    // Makes a tank for the controller at the cell and adds it to the world.
    std::shared_ptr<Tank> createTank(const std::shared_ptr<Player>& player,
                                     const std::shared_ptr<PlayerController>& controller, int team,
                                     int kind, sf::Vector2i cell);
    // The level start for the players: surviving tanks move to their new
    // spawn positions (to different cells within a team while the level has
    // enough of them), the enemy's counts are reset for `levelNumber`.
    void startLevel(std::int32_t levelNumber);

    // Replaces the shuffle seeds (tests make spawn choices reproducible).
    void setSeedSource(SeedSource source) { m_seedSource = std::move(source); }

    const std::vector<std::shared_ptr<Player>>& players() const { return spawnPlayers; }

    World* world;
    // Keyed by (x, y): ordered by column, then row.
    std::map<std::pair<int, int>, std::shared_ptr<GameObject>> spawnPoints;
    std::vector<std::shared_ptr<Player>> spawnPlayers;

private:
    SeedSource m_seedSource;
};

} // namespace ironmoat::cmn
