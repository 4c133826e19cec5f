#pragma once

#include "engine/app/GameWindow.hpp"
#include "engine/common/TickTimerServer.hpp"

#include <cstdint>
#include <memory>

namespace ironmoat::cmn {
class Player;
class World;
} // namespace ironmoat::cmn

// The form of a match: it owns the world, advances it by exactly 1/60 s on
// every tick of its timer (also while hidden behind the menu), lets the
// controllers read their input once per drawn frame, and asks for the menu
// once the match has been over for more than 10 s. It handles no input
// events of its own: keys reach the tanks only through the keyboard
// controllers.
class GameForm : public pyx::au::GameWindow {
public:
    // The fixed step of one tick in seconds.
    static constexpr float TickSeconds = 1.0f / 60.0f;
    // How long the result stays up before the menu comes back, in seconds.
    static constexpr float ResultSeconds = 10.0f;

    // Key codes of the two players' bindings: left, right, up, down, fire.
    struct KeyBinding {
        int left, right, up, down, fire;
    };
    static constexpr KeyBinding PlayerOneKeys{71, 72, 73, 74, 41};
    static constexpr KeyBinding PlayerTwoKeys{0, 3, 22, 18, 37};

    // Without a world; the timer runs on the monotonic clock.
    GameForm(pyx::gui::Application* application, const std::shared_ptr<pyx::gui::Window>& parent);
    // The same with the timer on the given clock (tests drive the ticks).
    GameForm(pyx::gui::Application* application, const std::shared_ptr<pyx::gui::Window>& parent,
             pyx::cmn::TickTimerServer::Clock clock);
    ~GameForm() override;

    // Restarts the tick count, as the base does.
    void onAttached() override;
    // Controllers read this frame's input, then the world draws the field,
    // the panel and the result overlay; nothing without a world.
    void drawSelf(pyx::gfx::Camera& camera) override;
    // One world step of 1/60 s; shows the menu once the end time passes
    // 10 s, and on every tick while there is no world.
    void onTick(std::uint64_t tick) override;

    // Replaces the world with a new match: the enemy with five bots, Player
    // 1 and, when asked, Player 2 with their keys. The first level loads on
    // the next tick.
    void startNewGame(bool twoPlayers);

    // The world of the current or last match, null before the first.
    ironmoat::cmn::World* getWorld() const { return m_world.get(); }
    // The end time E: how long the match has been over, 0 while it runs.
    float endTime() const;

private:
    std::unique_ptr<ironmoat::cmn::World> m_world;
};
