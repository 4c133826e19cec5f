#pragma once

#include "game/objects/GameObjectList.hpp"
#include "game/objects/SpawnManager.hpp"
#include "game/objects/WorldHud.hpp"
#include "game/world/Terrain.hpp"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace pyx::gfx {
class Camera;
class Tileset;
} // namespace pyx::gfx

namespace ironmoat::cmn {

class BonusObject;
class Player;
class Tank;
class TankShell;
class TargetObject;

// Everything of one match: the terrain, the players, the spawn manager, the
// objects and explosions, the one current bonus, and the lock that guards
// them. `update`, `draw`, `addPlayer` and `updateControllers` take the lock;
// every other operation is called from inside a tick (by the objects) or by a
// caller that holds the lock, and must not take it again.
class World {
public:
    // Makes the terrain and the explosion frames; the first level is loaded
    // by the first `update`. `hud` (may be empty) is the side panel and
    // result overlay drawn by `draw`.
    explicit World(std::unique_ptr<WorldHud> hud = nullptr);
    // Detaches every controller from its tank and every tank from its
    // controller, so the ownership cycles of a match do not outlive it.
    ~World();

    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // Installs the side panel, registering the players added so far.
    void setHud(std::unique_ptr<WorldHud> hud);
    WorldHud* hud() const { return m_hud.get(); }

    // Appends the player and registers it for spawning and with the panel;
    // an empty pointer is ignored.
    void addPlayer(std::shared_ptr<Player> player);
    // Lets every controller of every player read its input, in order.
    void updateControllers(bool hasFocus);
    // One tick of `seconds` (the game form always passes 1/60).
    void update(float seconds);
    // One frame: terrain, objects, trees, the top layer, panel, explosions,
    // result overlay.
    void draw(pyx::gfx::Camera& camera);

    // Takes the world's lock (for callers outside the world's operations).
    std::unique_lock<std::mutex> acquireLock() { return std::unique_lock<std::mutex>(m_lock); }

    // --- Called with the lock held ---------------------------------------

    // Adds an object; it becomes active at the next tick.
    void addObject(std::shared_ptr<GameObject> object);
    // Replaces the current bonus (the old one is killed) and adds the new one.
    void setBonus(std::shared_ptr<BonusObject> bonus);
    // An explosion centred at (x, y) cells.
    void spawnExplosion(float x, float y);
    // True when every player of the team has no reserve and no live tank
    // (also for a team without players).
    bool teamDefeated(int team) const;
    // The smallest wiped-out time among the team's players, at least 0.
    float wipedOutTime(int team) const;
    // The level start: next terrain, bases and spawn points from its markers,
    // surviving tanks moved, the enemy's counts reset.
    void loadNextLevel();
    // Whether the tank may stand on (x, y): in range, passable terrain for
    // it, and no other solid object covering the cell.
    bool cellFreeForTank(const Tank& tank, int x, int y) const;
    // The hit test of a shell at its lead point (px, py); true stops it.
    bool shellHit(const std::shared_ptr<Player>& attacker, TankShell& shell, int px, int py, int dx,
                  int dy);
    // Turns the ring around every base of team 1 now in play (also the bases
    // a level start placed in this very tick) to metal for the seconds.
    void protectTargets(float seconds);
    // Ends running protections and tears down the rings of the bases in play
    // of other teams than `team`.
    void removeProtection(int team);
    // Destroys every tank of another team than `team`, whatever protects it,
    // crediting `attacker`.
    void destroyEnemies(const std::shared_ptr<Player>& attacker, int team);

    // The cell size of the last `draw` for a view of w x h pixels.
    static int cellSizeForView(int w, int h);

    // --- State (read under the lock) -------------------------------------

    Terrain& terrain() { return *m_terrain; }
    const Terrain& terrain() const { return *m_terrain; }
    SpawnManager& spawns() { return m_spawns; }
    GameObjectList& objects() { return m_objects; }
    GameObjectList& effects() { return m_effects; }
    const std::vector<std::shared_ptr<Player>>& players() const { return m_players; }
    const std::shared_ptr<BonusObject>& currentBonus() const { return m_currentBonus; }
    const std::shared_ptr<pyx::gfx::Tileset>& explosionTiles() const { return m_explosionTiles; }
    float getGameOverTime() const { return m_gameOverTime; }
    bool isFirstLevelPending() const { return m_firstLevelPending; }
    int cellWidth() const { return m_cellWidth; }
    int cellHeight() const { return m_cellHeight; }
    // Explosions made since the world was created (for traces and tests;
    // effects with no frames leave the list in the tick they are made).
    std::uint64_t explosionsSpawned() const { return m_explosionsSpawned; }

private:
    void occupancyPass();
    // The living bases of both object lists, merged or not.
    std::vector<TargetObject*> basesInPlay() const;

    std::mutex m_lock;
    std::unique_ptr<Terrain> m_terrain;
    SpawnManager m_spawns;
    std::unique_ptr<WorldHud> m_hud;
    GameObjectList m_objects;
    GameObjectList m_effects;
    std::shared_ptr<BonusObject> m_currentBonus;
    std::shared_ptr<pyx::gfx::Tileset> m_explosionTiles;
    std::vector<std::shared_ptr<Player>> m_players;
    int m_cellWidth = 40;
    int m_cellHeight = 40;
    bool m_firstLevelPending = true;
    float m_gameOverTime = -1.0f;
    std::uint64_t m_explosionsSpawned = 0;
};

} // namespace ironmoat::cmn
