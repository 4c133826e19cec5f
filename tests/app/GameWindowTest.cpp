#include "engine/app/GameWindow.hpp"

#include "tests/gui/GuiTestSupport.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace pyx::au {
namespace {

// Time for the timer comes from here, so ticks follow the test's steps.
struct FakeClock {
    std::shared_ptr<std::int64_t> now = std::make_shared<std::int64_t>(0);
    cmn::TickTimerServer::Clock clock() const {
        auto shared = now;
        return [shared] { return *shared; };
    }
    void advance(std::int64_t micros) { *now += micros; }
};

class CountingGameWindow : public GameWindow {
public:
    CountingGameWindow(gui::Application* application, const std::shared_ptr<gui::Window>& parent,
                       cmn::TickTimerServer::Clock clock)
        : GameWindow(application, parent, std::move(clock)) {}
    void onTick(std::uint64_t tick) override { ticks.push_back(tick); }
    std::vector<std::uint64_t> ticks;
};

class ChildCounter : public gui::Window {
public:
    using gui::Window::Window;
    void update(float) override { ++updates; }
    int updates = 0;
};

using AppGameWindow = gui::test::GuiFixture;

TEST_F(AppGameWindow, KeepsTickingAtSixtyPerSecondWhileHidden) {
    FakeClock time;
    auto desktop = app->getDesktop();
    auto game = std::make_shared<CountingGameWindow>(app.get(), desktop, time.clock());
    // Fitted to the parent from the start.
    EXPECT_EQ(game->getSize(), desktop->getSize());
    time.advance(500000);
    game->setParent(game, desktop); // attaching restarts the count
    auto child = game->createChild<ChildCounter>();
    game->setActive(false);

    // One simulated second in frames of 1/70 s.
    for (int i = 0; i < 70; ++i) {
        time.advance(1000000 / 70);
        frame();
    }
    time.advance(1000000 - 70 * (1000000 / 70));
    frame();
    ASSERT_EQ(game->ticks.size(), 60u);
    for (std::size_t i = 0; i < game->ticks.size(); ++i) {
        EXPECT_EQ(game->ticks[i], i + 1);
    }
    // Hidden: the children get no update.
    EXPECT_EQ(child->updates, 0);

    game->setActive(true);
    time.advance(2000000);
    frame();
    EXPECT_EQ(game->ticks.size(), 180u);
    EXPECT_EQ(child->updates, 1);
}

TEST_F(AppGameWindow, FollowsTheParentsSizeAndStopsTickingWhenDestroyed) {
    FakeClock time;
    auto desktop = app->getDesktop();
    auto holder = desktop->createChild<gui::Window>();
    holder->setRect({10.f, 10.f, 300.f, 200.f});
    auto game = std::make_shared<CountingGameWindow>(app.get(), holder, time.clock());
    game->setParent(game, holder);
    holder->setSize(640.f, 480.f);
    frame();
    EXPECT_EQ(game->getSize(), sf::Vector2f(640.f, 480.f));
    EXPECT_EQ(game->getPoint(), sf::Vector2f(0.f, 0.f));

    time.advance(100000);
    frame();
    EXPECT_EQ(game->ticks.size(), 6u);
    EXPECT_EQ(game->getTicksPerSecond(), 60);
}

} // namespace
} // namespace pyx::au
