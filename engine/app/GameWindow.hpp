#pragma once

#include "engine/common/TickTimerServer.hpp"
#include "engine/gui/Window.hpp"

#include <cstdint>
#include <memory>

namespace pyx::au {

// A window that turns its per-frame update into fixed-rate ticks. It fills
// its parent, and its timer keeps ticking while the window is hidden, so a
// form built on it keeps its simulation running behind another form.
class GameWindow : public gui::Window {
public:
    // Ticks per second of every game window.
    static constexpr std::int32_t DefaultTicksPerSecond = 60;

    // The window part, fitted to the parent, with a 60-per-second timer
    // whose ticks call onTick.
    GameWindow(gui::Application* application, const std::shared_ptr<gui::Window>& parent);
    // The same with the timer on the given clock (microseconds); tests drive
    // the ticks with it.
    GameWindow(gui::Application* application, const std::shared_ptr<gui::Window>& parent,
               cmn::TickTimerServer::Clock clock);
    // The timer goes first, so no tick arrives at a half-destroyed window.
    ~GameWindow() override;

    // Fits to the parent, updates the children while active, then delivers
    // every tick that has fallen due, active or not.
    void update(float dt) override;
    // Restarts the tick count from now.
    void onAttached() override;
    // One tick; the base does nothing.
    virtual void onTick(std::uint64_t tick);

    std::int32_t getTicksPerSecond() const { return m_ticksPerSecond; }
    cmn::TickTimerServer& getTimer() { return m_timer; }

private:
    void init(const std::shared_ptr<gui::Window>& parent);
    void fitToParent();

    std::int32_t m_ticksPerSecond;
    cmn::TickTimerServer m_timer;
};

} // namespace pyx::au
