#include "engine/graphics/Camera.hpp"
#include "engine/graphics/Mouse.hpp"
#include "engine/platform/MousePlatform.hpp"
#include "tests/graphics/RenderTestSupport.hpp"

#include <gtest/gtest.h>

#include <array>

using pyx::gfx::Camera;
using pyx::gfx::Mouse;
using pyx::wrp::MousePlatform;

namespace {

// Drives the mouse through the platform seams: held buttons, focus and the
// cursor are the test's, and time moves only when the test says so.
class GraphicsMouse : public ::testing::Test {
protected:
    void SetUp() override {
        MousePlatform::setForegroundPoll([this](const sf::Window&) { return foreground; });
        MousePlatform::setButtonPoll(
            [this](int b) { return b >= 0 && b < 3 && held[static_cast<unsigned>(b)]; });
        MousePlatform::setCursorPoll([this] { return cursor; });
        window = pyx::gfx::test::makeWindow(640, 480);
        camera = std::make_shared<Camera>(window, true);
        camera->update();
        mouse = std::make_unique<Mouse>(camera, [this] { return nowUs; });
    }

    void TearDown() override {
        MousePlatform::setForegroundPoll({});
        MousePlatform::setButtonPoll({});
        MousePlatform::setCursorPoll({});
    }

    bool event(sf::Event::EventType type, sf::Mouse::Button button = sf::Mouse::Left) {
        sf::Event e{};
        e.type = type;
        e.mouseButton.button = button;
        e.mouseButton.x = cursor.x;
        e.mouseButton.y = cursor.y;
        return mouse->countEvent(e);
    }

    bool wheel(int delta) {
        sf::Event e{};
        e.type = sf::Event::MouseWheelMoved;
        e.mouseWheel.delta = delta;
        return mouse->countEvent(e);
    }

    // A click whose press and release both arrive before the next update.
    void quickClickAt(std::int64_t ms) {
        nowUs = ms * 1000;
        event(sf::Event::MouseButtonPressed);
        event(sf::Event::MouseButtonReleased);
        mouse->update();
    }

    bool foreground = true;
    std::array<bool, 3> held{};
    sf::Vector2i cursor{100, 50};
    std::int64_t nowUs = 0;
    std::shared_ptr<sf::RenderWindow> window;
    std::shared_ptr<Camera> camera;
    std::unique_ptr<Mouse> mouse;
};

} // namespace

TEST_F(GraphicsMouse, ClickFasterThanAFrameGoesDownAndUpInOneFrame) {
    nowUs = 1'000'000;
    EXPECT_TRUE(event(sf::Event::MouseButtonPressed));
    EXPECT_TRUE(event(sf::Event::MouseButtonReleased));
    mouse->update();
    EXPECT_EQ(mouse->frameRecord(Mouse::Left).presses, 1u);
    EXPECT_EQ(mouse->frameRecord(Mouse::Left).releases, 1u);
    EXPECT_FALSE(mouse->buttonDown(Mouse::Left));
    EXPECT_FALSE(mouse->buttonWasDown(Mouse::Left));
    EXPECT_TRUE(mouse->wentDown(Mouse::Left));
    EXPECT_TRUE(mouse->wentUp(Mouse::Left));
    EXPECT_TRUE(mouse->pressedAndReleased(Mouse::Left));
    EXPECT_TRUE(mouse->clicked(Mouse::Left));
    EXPECT_EQ(mouse->clickCount(Mouse::Left), 1);
    EXPECT_FALSE(mouse->changed(Mouse::Right));

    // The counts belong to that frame only.
    nowUs += 14'000;
    mouse->update();
    EXPECT_FALSE(mouse->changed(Mouse::Left));
    EXPECT_FALSE(mouse->clicked(Mouse::Left));
}

TEST_F(GraphicsMouse, HeldButtonGoesDownOnceAndAReleaseSoonAfterIsAClick) {
    held[Mouse::Right] = true;
    event(sf::Event::MouseButtonPressed, sf::Mouse::Right);
    nowUs = 500'000;
    mouse->update();
    EXPECT_TRUE(mouse->wentDown(Mouse::Right));
    EXPECT_FALSE(mouse->wentUp(Mouse::Right));
    EXPECT_FALSE(mouse->clicked(Mouse::Right));
    for (int frame = 0; frame < 3; ++frame) {
        nowUs += 14'000;
        mouse->update();
        EXPECT_FALSE(mouse->changed(Mouse::Right));
        EXPECT_FALSE(mouse->wentDown(Mouse::Right));
        EXPECT_TRUE(mouse->buttonDown(Mouse::Right));
    }
    held[Mouse::Right] = false;
    event(sf::Event::MouseButtonReleased, sf::Mouse::Right);
    nowUs += 14'000;
    mouse->update();
    EXPECT_TRUE(mouse->wentUp(Mouse::Right));
    EXPECT_TRUE(mouse->upOrReleased(Mouse::Right));
    EXPECT_TRUE(mouse->clicked(Mouse::Right));
    EXPECT_EQ(mouse->clickCount(Mouse::Right), 1);
}

TEST_F(GraphicsMouse, ClicksWithinTheDoubleClickTimeCountUpAndAPauseRestarts) {
    quickClickAt(1000);
    EXPECT_EQ(mouse->clickCount(Mouse::Left), 1);
    quickClickAt(1200);
    EXPECT_EQ(mouse->clickCount(Mouse::Left), 2);
    quickClickAt(1600);
    EXPECT_EQ(mouse->clickCount(Mouse::Left), 1);
    // An idle update after the window also clears the count.
    nowUs = 2000 * 1000;
    mouse->update();
    EXPECT_EQ(mouse->clickCount(Mouse::Left), 0);
}

TEST_F(GraphicsMouse, WheelSumsDeltasAndSignsInTheMiddleRecord) {
    EXPECT_TRUE(wheel(1));
    EXPECT_TRUE(wheel(1));
    EXPECT_TRUE(wheel(-1));
    EXPECT_TRUE(wheel(0));
    mouse->update();
    EXPECT_EQ(mouse->frameRecord(Mouse::Middle).wheelDelta, 1);
    EXPECT_EQ(mouse->frameRecord(Mouse::Middle).wheelSteps, 1);
    wheel(3);
    mouse->update();
    EXPECT_EQ(mouse->frameRecord(Mouse::Middle).wheelDelta, 3);
    EXPECT_EQ(mouse->frameRecord(Mouse::Middle).wheelSteps, 1);
    mouse->update();
    EXPECT_EQ(mouse->frameRecord(Mouse::Middle).wheelDelta, 0);
}

TEST_F(GraphicsMouse, NothingCountsWhileAnotherWindowHasFocus) {
    foreground = false;
    held[Mouse::Left] = true;
    EXPECT_FALSE(event(sf::Event::MouseButtonPressed));
    EXPECT_FALSE(wheel(1));
    sf::Event other{};
    other.type = sf::Event::KeyPressed;
    foreground = true;
    EXPECT_FALSE(mouse->countEvent(other));
    foreground = false;
    mouse->update();
    EXPECT_FALSE(mouse->buttonDown(Mouse::Left));
    EXPECT_FALSE(mouse->changed(Mouse::Left));
    EXPECT_EQ(mouse->frameRecord(Mouse::Middle).wheelDelta, 0);
}

TEST_F(GraphicsMouse, ExtraButtonsGoToTheSpareRecordOnly) {
    EXPECT_TRUE(event(sf::Event::MouseButtonPressed, sf::Mouse::XButton1));
    EXPECT_EQ(mouse->liveRecord(Mouse::Spare).presses, 1u);
    mouse->update();
    EXPECT_FALSE(mouse->changed(Mouse::Left));
    EXPECT_FALSE(mouse->changed(Mouse::Middle));
    EXPECT_FALSE(mouse->changed(Mouse::Right));
}

TEST_F(GraphicsMouse, PositionsAndDeltasInPixelsAndGuiUnits) {
    EXPECT_EQ(mouse->getCursorPosition(), sf::Vector2i(100, 50));
    cursor = {130, 90};
    mouse->update();
    EXPECT_EQ(mouse->getPreviousCursorPosition(), sf::Vector2i(100, 50));
    EXPECT_EQ(mouse->getPixelDelta(), sf::Vector2i(30, 40));
    EXPECT_NEAR(mouse->getGuiDelta().x, 30.f, 1e-3f);
    EXPECT_NEAR(mouse->getGuiDelta().y, 40.f, 1e-3f);
    // GUI coordinates are the camera's world: pixel n is world n - 0.375.
    EXPECT_NEAR(mouse->getPosition().x, 129.625f, 1e-3f);
    EXPECT_NEAR(mouse->getPosition().y, 89.625f, 1e-3f);

    held[Mouse::Left] = true;
    mouse->update();
    EXPECT_EQ(mouse->liveRecord(Mouse::Left).eventPosition, sf::Vector2i(130, 90));
}

TEST(GraphicsMouseDeath, EmptyCameraIsRefused) {
    EXPECT_DEATH(Mouse(nullptr), "_refCamera");
}

TEST(GraphicsMousePlatform, ScreenPositionsConvertToTheWindowsClientPixels)
{
    // The system path, no seams: the cursor read on the desktop converts to
    // the position SFML reports relative to the window.
    auto window = pyx::gfx::test::makeWindow(320, 240);
    window->setPosition({200, 150});
    sf::Mouse::setPosition({260, 190});
    const sf::Vector2i screen = MousePlatform::cursorPosition();
    EXPECT_EQ(screen, sf::Mouse::getPosition());
    EXPECT_EQ(MousePlatform::screenToClient(*window, screen), sf::Mouse::getPosition(*window));
    EXPECT_FALSE(MousePlatform::isButtonDown(-1, *window));
    EXPECT_FALSE(MousePlatform::isButtonDown(7, *window));
}
