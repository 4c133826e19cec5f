#include "game/objects/World.hpp"

#include "engine/graphics/Camera.hpp"
#include "engine/graphics/Tileset.hpp"
#include "game/controllers/PlayerController.hpp"
#include "game/objects/BonusObject.hpp"
#include "game/objects/Effect.hpp"
#include "game/objects/Player.hpp"
#include "game/objects/Tank.hpp"
#include "game/objects/TankShell.hpp"
#include "game/objects/TargetObject.hpp"
#include "game/objects/WorldHud.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ironmoat::cmn {

namespace {

constexpr int FieldCells = Terrain::Size;
constexpr float LevelChangeDelay = 3.0f;

} // namespace

World::World(std::unique_ptr<WorldHud> hud)
    : m_terrain(std::make_unique<Terrain>(40)), m_spawns(this), m_hud(std::move(hud)),
      m_explosionTiles(std::make_shared<pyx::gfx::Tileset>()) {
    m_explosionTiles->load(L"ironmoat/explosion_tileset.png", 80);
}

World::~World() {
    // During play a tank and its controller hold each other, and the player
    // holds the controller; left alone, those cycles would keep every tank,
    // controller and player of a finished match alive for good.
    auto detachTank = [](GameObject* object) {
        if (auto* tank = dynamic_cast<Tank*>(object)) {
            tank->setController(nullptr);
            tank->player.reset();
        }
    };
    for (const auto& player : m_players) {
        for (const auto& controller : player->controllers) {
            if (!controller)
                continue;
            detachTank(controller->getObject().get());
            controller->setObject(nullptr);
        }
    }
    for (const auto& object : m_objects.active)
        detachTank(object.get());
    for (const auto& object : m_objects.pending)
        detachTank(object.get());
    m_currentBonus.reset();
    m_objects.clear();
    m_effects.clear();
}

void World::setHud(std::unique_ptr<WorldHud> hud) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_hud = std::move(hud);
    if (m_hud)
        for (const auto& player : m_players)
            m_hud->addPlayer(player);
}

void World::addPlayer(std::shared_ptr<Player> player) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!player)
        return;
    m_players.push_back(player);
    m_spawns.addPlayer(player);
    if (m_hud)
        m_hud->addPlayer(player);
}

void World::updateControllers(bool hasFocus) {
    std::lock_guard<std::mutex> guard(m_lock);
    for (const auto& player : m_players)
        for (const auto& controller : player->controllers)
            if (controller)
                controller->update(hasFocus);
}

void World::update(float seconds) {
    std::lock_guard<std::mutex> guard(m_lock);

    if (!(m_gameOverTime > 0.0f || teamDefeated(2))) {
        if (m_firstLevelPending || (teamDefeated(0) && wipedOutTime(0) > LevelChangeDelay))
            loadNextLevel();
    }

    m_terrain->clearOccupants();
    m_terrain->updateTimers(seconds);
    occupancyPass();

    m_objects.update(seconds);
    m_effects.update(seconds);
    m_spawns.update();

    for (const auto& player : m_players) {
        if (player->reserve > 0 || player->hasLiveTank())
            player->wipedOutTime = 0.0f;
        else
            player->wipedOutTime += seconds;
    }

    if (m_gameOverTime >= 0.0f)
        m_gameOverTime += seconds;
    if (m_gameOverTime < 0.0f) {
        const bool anyBase =
            std::any_of(m_objects.active.begin(), m_objects.active.end(), [](const auto& object) {
                return !object->isDead() && dynamic_cast<TargetObject*>(object.get()) != nullptr;
            });
        if (!anyBase)
            m_gameOverTime = 0.0f;
    }
}

void World::occupancyPass() {
    // Index loop: a touch may add objects (never to `active`), and the
    // list must not be walked by iterators that a change could invalidate.
    for (std::size_t i = 0; i < m_objects.active.size(); ++i) {
        GameObject* object = m_objects.active[i].get();
        // Objects killed between ticks (the old level's bases and spawn
        // points at a level start) are gone from the field already.
        if (object->isDead())
            continue;
        object->occupyCells(*m_terrain);
    }
}

int World::cellSizeForView(int w, int h) {
    if (w >= h)
        return w <= 200 ? 0 : std::min(w - 200, h) / FieldCells;
    return h <= 200 ? 0 : std::min(w, h - 200) / FieldCells;
}

void World::draw(pyx::gfx::Camera& camera) {
    std::lock_guard<std::mutex> guard(m_lock);

    const sf::Vector2f view = camera.getViewSize();
    const int w = static_cast<int>(view.x);
    const int h = static_cast<int>(view.y);
    const int g = cellSizeForView(w, h);
    m_cellWidth = g;
    m_cellHeight = g;
    const float field = static_cast<float>(FieldCells * g);

    // With cells of 0 pixels nothing of the field is visible. Frames drawn
    // at size 0 would come out at their own size instead, so the field's
    // layers are skipped altogether.
    if (g > 0) {
        m_terrain->drawGround(camera, g, g);
        m_objects.draw(camera);
        m_terrain->drawCover(camera, g, g);
        for (std::size_t i = 0; i < m_objects.active.size(); ++i)
            if (!m_objects.active[i]->isDead())
                m_objects.active[i]->drawTop(camera);
    }

    if (m_hud) {
        const bool vertical = w >= h;
        const sf::Vector2f position =
            vertical ? sf::Vector2f(field, 0.0f) : sf::Vector2f(0.0f, field);
        m_hud->setLayout(vertical, position, view - position);
        m_hud->setLevelNumber(m_terrain->levelNumber());
        m_hud->draw(camera);
    }

    if (g > 0)
        m_effects.draw(camera);

    const float endTime = std::max({wipedOutTime(2), 0.0f, m_gameOverTime});
    if (endTime > 0.0f && m_hud)
        m_hud->drawGameOver(camera, sf::Vector2f(field, field), endTime);
}

void World::addObject(std::shared_ptr<GameObject> object) {
    m_objects.add(std::move(object));
}

void World::setBonus(std::shared_ptr<BonusObject> bonus) {
    if (m_currentBonus) {
        m_currentBonus->kill();
        m_currentBonus.reset();
    }
    m_currentBonus = bonus;
    addObject(std::move(bonus));
}

void World::spawnExplosion(float x, float y) {
    ++m_explosionsSpawned;
    m_effects.add(pyx::core::makeShared<Effect>(this, m_explosionTiles, x, y));
}

bool World::teamDefeated(int team) const {
    for (const auto& player : m_players) {
        if (player->team != team)
            continue;
        if (player->reserve != 0 || player->hasLiveTank())
            return false;
    }
    return true;
}

float World::wipedOutTime(int team) const {
    bool found = false;
    float smallest = std::numeric_limits<float>::max();
    for (const auto& player : m_players) {
        if (player->team != team)
            continue;
        found = true;
        smallest = std::min(smallest, player->wipedOutTime);
    }
    return found ? std::max(smallest, 0.0f) : 0.0f;
}

void World::loadNextLevel() {
    m_terrain->loadNextLevel();
    const std::vector<MapMarker> markers = m_terrain->markers();

    m_spawns.clearForLevel();

    auto killBases = [](std::vector<std::shared_ptr<GameObject>>& list) {
        for (const auto& object : list)
            if (dynamic_cast<TargetObject*>(object.get()))
                object->kill();
    };
    killBases(m_objects.active);
    // A base placed by a level start that no tick has merged yet belongs to
    // the old level just the same.
    killBases(m_objects.pending);

    for (const auto& marker : markers) {
        if (marker.digit == 1) {
            auto base = pyx::core::makeShared<TargetObject>(this);
            base->x = marker.column;
            base->y = marker.row;
            base->team = 1;
            addObject(base);
        } else {
            m_spawns.addSpawnPoint(sf::Vector2i(marker.column, marker.row), marker.digit);
        }
    }

    m_firstLevelPending = false;
    m_spawns.startLevel(m_terrain->levelNumber());
}

bool World::cellFreeForTank(const Tank& tank, int x, int y) const {
    if (!Terrain::inRange(x, y))
        return false;
    if (!m_terrain->isTankPassable(x, y, tank.boat))
        return false;
    for (const auto& object : m_objects.active) {
        const GameObject* other = object.get();
        if (other == &tank || !other->solid || other->width <= 0 || other->height <= 0)
            continue;
        // A wreck destroyed earlier in this tick no longer stands anywhere.
        if (other->isDead())
            continue;
        if (x >= other->x && x < other->x + other->width && y >= other->y &&
            y < other->y + other->height)
            return false;
    }
    return true;
}

bool World::shellHit(const std::shared_ptr<Player>& attacker, TankShell& shell, int px, int py,
                     int dx, int dy) {
    if (m_terrain->shellHitTerrain(shell.strong, shell.pierce, px, py, dx, dy))
        return true;

    const int ax = dx != 0 ? px : px - 1;
    const int ay = dx != 0 ? py - 1 : py;
    const int team = shell.ownerTeam();
    auto target = [&](int cx, int cy) -> GameObject* {
        GameObject* occupant = m_terrain->occupantAt(cx, cy);
        if (!occupant)
            return nullptr;
        if (occupant->team == team || !occupant->solid || occupant->width < 1 ||
            occupant->height < 1)
            return nullptr;
        // An object destroyed earlier in this tick keeps its cells in the
        // occupancy grid until the next tick; hitting it again would destroy
        // it twice and score it twice.
        if (occupant->isDead())
            return nullptr;
        return occupant;
    };
    GameObject* a = target(ax, ay);
    GameObject* b = target(px, py);
    if (a)
        a->hit(attacker);
    if (b && b != a)
        b->hit(attacker);
    if (a || b)
        return true;

    const float sx = shell.pointX();
    const float sy = shell.pointY();
    for (std::size_t i = 0; i < m_objects.active.size(); ++i) {
        auto* other = dynamic_cast<TankShell*>(m_objects.active[i].get());
        if (!other || other == &shell || other->isDead() || other->ownerTeam() == team)
            continue;
        const float ox = other->pointX();
        const float oy = other->pointY();
        if (std::fabs(ox - sx) < 0.5f && std::fabs(oy - sy) < 0.5f) {
            other->hit(attacker);
            return true;
        }
    }
    return false;
}

std::vector<TargetObject*> World::basesInPlay() const {
    // The level start of this tick killed the old bases, which stay in
    // `active` until the objects' update, and queued the new ones, which
    // wait in `pending` until then: the bases in play are the living ones of
    // both lists.
    std::vector<TargetObject*> bases;
    for (const auto* list : {&m_objects.active, &m_objects.pending})
        for (const auto& object : *list)
            if (auto* base = dynamic_cast<TargetObject*>(object.get()); base && !base->isDead())
                bases.push_back(base);
    return bases;
}

void World::protectTargets(float seconds) {
    for (TargetObject* base : basesInPlay()) {
        if (base->team != 1)
            continue;
        for (const auto& [ox, oy] : TargetObject::ringOffsets()) {
            const int cx = base->x + ox;
            const int cy = base->y + oy;
            if (Terrain::inRange(cx, cy))
                m_terrain->protectCell(cx, cy, seconds);
        }
    }
}

void World::removeProtection(int team) {
    m_terrain->cancelProtection(team);
    for (TargetObject* base : basesInPlay()) {
        if (base->team == team)
            continue;
        for (const auto& [ox, oy] : TargetObject::ringOffsets()) {
            const int cx = base->x + ox;
            const int cy = base->y + oy;
            if (Terrain::inRange(cx, cy))
                m_terrain->destroyCell(cx, cy);
        }
    }
}

void World::destroyEnemies(const std::shared_ptr<Player>& attacker, int team) {
    for (std::size_t i = 0; i < m_objects.active.size(); ++i) {
        const std::shared_ptr<GameObject> object = m_objects.active[i];
        auto* tank = dynamic_cast<Tank*>(object.get());
        // Tanks already destroyed this tick are not destroyed (and scored)
        // a second time.
        if (!tank || tank->team == team || tank->isDead())
            continue;
        spawnExplosion(static_cast<float>(tank->x) + static_cast<float>(tank->width) / 2.0f,
                       static_cast<float>(tank->y) + static_cast<float>(tank->height) / 2.0f);
        tank->onDamaged(attacker);
        tank->onDestroyed(attacker);
        tank->kill();
    }
}

} // namespace ironmoat::cmn
