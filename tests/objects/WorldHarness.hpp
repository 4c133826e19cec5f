#pragma once

#include "engine/common/ResourceManager.hpp"
#include "engine/core/WeakSingleton.hpp"
#include "game/controllers/PlayerController.hpp"
#include "game/objects/Player.hpp"
#include "game/objects/Tank.hpp"
#include "game/objects/World.hpp"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace ironmoat::test {

// A controller whose flags the test sets, or that presses random keys on
// every update when given a seed (a reproducible stand-in for a person).
class ScriptedController : public cmn::PlayerController {
public:
    ScriptedController() = default;
    explicit ScriptedController(std::uint32_t randomSeed) : m_random(true), m_rng(randomSeed) {}

    void update(bool hasFocus) override;
    void onAttach() override { ++attachCount; }

    // Sets all five flags at once.
    void press(bool left, bool right, bool up, bool down, bool fire);
    void releaseAll() { press(false, false, false, false, false); }

    int attachCount = 0;

private:
    bool m_random = false;
    std::mt19937 m_rng;
    int m_holdTicks = 0;
};

// A level text of 26 rows from the given rows; missing rows are blank.
std::string levelText(const std::vector<std::string>& rows);

// Runs a real World from level files of the test's own: a temporary working
// folder whose "maps" folder holds them, so the level list has nothing else
// to play (the campaign paths are unreadable there). The working folder is
// restored when the harness goes. `srand` is fixed and the spawn shuffles
// get deterministic seeds, so runs are reproducible. `beforeWorld`, when
// given, runs in the working folder before the world is made (to lay out
// pictures the world loads at construction).
class WorldHarness {
public:
    explicit WorldHarness(const std::vector<std::string>& levels, unsigned seed = 1,
                          const std::function<void()>& beforeWorld = {});
    ~WorldHarness();

    cmn::World& world() { return *m_world; }
    // Drops the world (and with it every object of the match).
    void destroyWorld() { m_world.reset(); }

    // The enemy record as a new match makes it (20 tanks a level), driven by
    // `controllers` idle scripted controllers.
    std::shared_ptr<cmn::Player> addEnemy(int controllers = 5);
    // A human record (5 lives) with one scripted controller.
    std::shared_ptr<cmn::Player> addHuman(int tankKind = 2);

    // One world tick of 1/60 s; the controllers are updated first.
    void tick();
    void ticks(int count);
    // Ticks until the predicate holds, at most `limit` ticks; false if never.
    template <class Pred> bool tickUntil(Pred pred, int limit) {
        for (int i = 0; i < limit; ++i) {
            if (pred())
                return true;
            tick();
        }
        return pred();
    }
    int tickCount() const { return m_ticks; }

    // The live tank of a player's controller, or null.
    static std::shared_ptr<cmn::Tank> tankOf(const cmn::PlayerController& controller);
    static ScriptedController& scripted(const cmn::Player& player, std::size_t index = 0);

    // Every active, living object of type T.
    template <class T> std::vector<std::shared_ptr<T>> liveObjects() {
        std::vector<std::shared_ptr<T>> found;
        for (const auto& object : m_world->objects().active)
            if (auto typed = std::dynamic_pointer_cast<T>(object); typed && !object->isDead())
                found.push_back(typed);
        return found;
    }

    const std::filesystem::path& folder() const { return m_folder; }

    static constexpr float Tick = 1.0f / 60.0f;

private:
    pyx::core::WeakSingleton<pyx::cmn::ResourceManager> m_resources;
    std::filesystem::path m_previousDir;
    std::filesystem::path m_folder;
    std::unique_ptr<cmn::World> m_world;
    int m_ticks = 0;
};

} // namespace ironmoat::test
