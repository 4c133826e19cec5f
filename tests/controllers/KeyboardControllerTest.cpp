#include "game/controllers/KeyboardController.hpp"

#include "engine/core/SharedObject.hpp"
#include "engine/platform/Keyboard.hpp"
#include "game/objects/GameObject.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <set>

using ironmoat::cmn::GameObject;
using ironmoat::cmn::KeyboardController;
using ironmoat::cmn::PlayerController;
using pyx::wrp::Keyboard;

namespace {

// Holds keys down through the keyboard's poll seam and takes the frame's
// snapshot the way the frame loop does.
class ControllersKeyboard : public ::testing::Test {
protected:
    void SetUp() override {
        Keyboard::setPollFunction([this](Keyboard::Key key) { return held.count(key) != 0; });
        snapshot();
    }
    void TearDown() override {
        Keyboard::setPollFunction({});
        Keyboard::update();
    }

    void hold(std::set<Keyboard::Key> keys) {
        held = std::move(keys);
        snapshot();
    }
    static void snapshot() { Keyboard::update(); }

    static std::shared_ptr<GameObject> newTank() {
        return pyx::core::makeShared<GameObject>(nullptr);
    }

    struct Flags {
        bool left, right, up, down, fire;
        friend bool operator==(const Flags&, const Flags&) = default;
    };
    static Flags flags(const PlayerController& c) {
        return {c.isLeft(), c.isRight(), c.isUp(), c.isDown(), c.isFire()};
    }

    std::set<Keyboard::Key> held;
    // Player 1's bindings.
    KeyboardController controller{Keyboard::Left, Keyboard::Right, Keyboard::Up, Keyboard::Down,
                                  Keyboard::RControl};
};

TEST_F(ControllersKeyboard, BaseControllerHoldsFlagsAndItsObject) {
    PlayerController base;
    EXPECT_EQ(flags(base), (Flags{false, false, false, false, false}));
    EXPECT_FALSE(base.setUp(true));
    EXPECT_TRUE(base.setUp(false)); // returns the previous value
    base.update(true);              // does nothing
    EXPECT_FALSE(base.isUp());

    EXPECT_FALSE(base.hasObject());
    const auto tank = newTank();
    base.setObject(tank);
    EXPECT_TRUE(base.hasObject());
    EXPECT_EQ(base.getObject(), tank);
    // A destroyed tank is kept but no longer counts.
    tank->kill();
    EXPECT_FALSE(base.hasObject());
    EXPECT_EQ(base.getObject(), tank);
}

TEST_F(ControllersKeyboard, KeysSetTheirFlagsWithoutArbitration) {
    hold({Keyboard::Left, Keyboard::Right, Keyboard::RControl});
    controller.update(true);
    EXPECT_EQ(flags(controller), (Flags{true, true, false, false, true}));

    hold({Keyboard::Up, Keyboard::Left});
    controller.update(true);
    EXPECT_EQ(flags(controller), (Flags{true, false, true, false, false}));

    // Another player's keys mean nothing to this controller.
    hold({Keyboard::A, Keyboard::W, Keyboard::LControl, Keyboard::Down});
    controller.update(true);
    EXPECT_EQ(flags(controller), (Flags{false, false, false, true, false}));
}

TEST_F(ControllersKeyboard, LosingFocusClearsEveryFlag) {
    hold({Keyboard::Left, Keyboard::Right, Keyboard::Up, Keyboard::Down, Keyboard::RControl});
    controller.update(true);
    ASSERT_EQ(flags(controller), (Flags{true, true, true, true, true}));
    controller.update(false);
    EXPECT_EQ(flags(controller), (Flags{false, false, false, false, false}));
    controller.update(true);
    EXPECT_EQ(flags(controller), (Flags{true, true, true, true, true}));
}

TEST_F(ControllersKeyboard, NewTankWaitsForAFreshPressOfTheFireKey) {
    hold({Keyboard::RControl});
    controller.update(true);
    ASSERT_TRUE(controller.isFire());

    controller.setObject(newTank());
    EXPECT_TRUE(controller.isFireLatched());
    for (int frame = 0; frame < 3; ++frame) {
        controller.update(true);
        EXPECT_FALSE(controller.isFire()) << frame;
    }
    hold({});
    controller.update(true);
    EXPECT_FALSE(controller.isFireLatched());
    EXPECT_FALSE(controller.isFire());
    hold({Keyboard::RControl});
    controller.update(true);
    EXPECT_TRUE(controller.isFire());
}

TEST_F(ControllersKeyboard, LevelChangeLatchesFireAgainAndReleaseWithoutFocusCounts) {
    controller.setObject(newTank());
    hold({Keyboard::RControl, Keyboard::Up});
    controller.update(true);
    EXPECT_FALSE(controller.isFire()); // still held from before the attach
    hold({Keyboard::Up});
    controller.update(true);
    hold({Keyboard::RControl, Keyboard::Up});
    controller.update(true);
    ASSERT_TRUE(controller.isFire());

    // The spawner re-attaches a surviving tank at a level start.
    controller.onAttach();
    controller.update(true);
    EXPECT_FALSE(controller.isFire());
    EXPECT_TRUE(controller.isUp());

    // Released while another window has focus: the latch still goes.
    hold({});
    controller.update(false);
    EXPECT_FALSE(controller.isFireLatched());
    hold({Keyboard::RControl});
    controller.update(true);
    EXPECT_TRUE(controller.isFire());
}

TEST_F(ControllersKeyboard, RebindingAndUnknownKeys) {
    controller.setKeyFire(Keyboard::Unknown);
    controller.setKeyLeft(Keyboard::A);
    controller.setKeyRight(101);
    hold({Keyboard::A, Keyboard::RControl, Keyboard::Right});
    controller.update(true);
    EXPECT_EQ(flags(controller), (Flags{true, false, false, false, false}));
}

} // namespace
