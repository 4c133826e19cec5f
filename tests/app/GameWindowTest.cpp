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

// The tick numbers land in a list that outlives the window.
class RecordingGameWindow : public GameWindow {
public:
    RecordingGameWindow(gui::Application* application, const std::shared_ptr<gui::Window>& parent,
                        cmn::TickTimerServer::Clock clock,
                        std::shared_ptr<std::vector<std::uint64_t>> record)
        : GameWindow(application, parent, std::move(clock)), ticks(std::move(record)) {}
    void onTick(std::uint64_t tick) override { ticks->push_back(tick); }
    std::shared_ptr<std::vector<std::uint64_t>> ticks;
};

// Hiding and showing neither stops nor restarts the count; only the end of
// the window does, and nothing keeps a removed window alive.
TEST_F(AppGameWindow, TicksOnThroughHidingAndStopsWhenDestroyed) {
    FakeClock time;
    auto desktop = app->getDesktop();
    auto ticks = std::make_shared<std::vector<std::uint64_t>>();
    auto game = std::make_shared<RecordingGameWindow>(app.get(), desktop, time.clock(), ticks);
    game->setParent(game, desktop);
    auto second = [&] {
        for (int i = 0; i < 10; ++i) {
            time.advance(100000);
            frame();
        }
    };

    for (bool shown : {false, true, false}) {
        game->setActive(shown);
        game->setEnabled(shown);
        second();
    }
    ASSERT_EQ(ticks->size(), 180u);
    for (std::size_t i = 0; i < ticks->size(); ++i)
        ASSERT_EQ((*ticks)[i], i + 1) << "one count from attachment on";

    std::weak_ptr<GameWindow> watch = game;
    desktop->removeChild(game);
    game.reset();
    EXPECT_TRUE(watch.expired());
    second();
    EXPECT_EQ(ticks->size(), 180u);
}

} // namespace
} // namespace pyx::au
