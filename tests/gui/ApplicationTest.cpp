#include "engine/gui/Application.hpp"

#include "tests/gui/GuiTestSupport.hpp"
#include "tests/gui/RecordingWindow.hpp"
#include "tests/gui/XEventQueue.hpp"

#include <SFML/System/Sleep.hpp>
#include <gtest/gtest.h>

namespace pyx::gui {
namespace {

using GuiApplication = test::GuiFixture;

TEST_F(GuiApplication, ClicksWithoutWindowFocusGoToTheFocusedWindow) {
    auto w = app->getDesktop()->createChild<test::RecordingWindow>();
    w->setRect({0.f, 0.f, 100.f, 100.f});
    app->setFocus(w);

    foreground = false;
    cursor = {50, 50};
    frame({buttonEvent(true), buttonEvent(false)});
    EXPECT_EQ(w->events, (std::vector<sf::Event::EventType>{sf::Event::MouseButtonPressed,
                                                            sf::Event::MouseButtonReleased}));
    EXPECT_EQ(app->getMouse()->frameRecord(gfx::Mouse::Left).presses, 0u);

    // With focus the same events are counted and reach no window.
    foreground = true;
    frame({buttonEvent(true), buttonEvent(false)});
    EXPECT_EQ(w->events.size(), 2u);
    EXPECT_EQ(app->getMouse()->frameRecord(gfx::Mouse::Left).presses, 1u);
    EXPECT_EQ(app->getMouse()->frameRecord(gfx::Mouse::Left).releases, 1u);

    // Other events go to onEvent whatever the focus.
    sf::Event lost;
    lost.type = sf::Event::LostFocus;
    app->handleEvent(lost);
    EXPECT_EQ(w->events.back(), sf::Event::LostFocus);
}

TEST_F(GuiApplication, PressFocusesTheWindowUnderTheMouseElseTheDesktop) {
    auto w = app->getDesktop()->createChild<test::RecordingWindow>();
    w->setRect({0.f, 0.f, 100.f, 100.f});
    moveTo(50, 50);
    EXPECT_EQ(app->getFocused(), app->getDesktop());
    press(2);
    EXPECT_EQ(app->getFocused(), w);
    EXPECT_TRUE(w->isFocused());
    release(2);
    // A press outside the desktop finds nothing: the desktop takes the focus.
    moveTo(-20, -20);
    press();
    EXPECT_EQ(app->getFocused(), app->getDesktop());
    EXPECT_FALSE(w->isFocused());
}

TEST_F(GuiApplication, CloseEndsTheLoopBeforeLaterEventsAndTheFrame) {
    auto w = app->getDesktop()->createChild<test::RecordingWindow>();
    w->setRect({0.f, 0.f, 100.f, 100.f});
    app->setFocus(w);
    // Drain what the window got while it was opened.
    sf::Event event;
    while (window->pollEvent(event)) {
    }
    ASSERT_TRUE(test::queueKeyPress(window->getSystemHandle(), 0x61)); // a
    ASSERT_TRUE(test::queueCloseRequest(window->getSystemHandle()));
    ASSERT_TRUE(test::queueKeyPress(window->getSystemHandle(), 0x62)); // b
    // Let the server hand all three to the window's connection.
    sf::sleep(sf::milliseconds(300));

    app->run();
    EXPECT_FALSE(window->isOpen());
    EXPECT_EQ(w->keys, std::vector<sf::Keyboard::Key>{sf::Keyboard::A});
    EXPECT_EQ(w->updates, 0);
    EXPECT_EQ(w->draws, 0);
}

TEST_F(GuiApplication, ARefusedCloseKeepsTheLoopAndQuitEndsItAfterTheUpdate) {
    auto w = app->getDesktop()->createChild<test::RecordingWindow>();
    w->setRect({0.f, 0.f, 100.f, 100.f});
    app->setFocus(w);
    sf::Event event;
    while (window->pollEvent(event)) {
    }
    // The program asks its user instead of closing, and the user picks
    // "quit" at once: the frame goes on through its update, then ends
    // before drawing.
    int asked = 0;
    app->onCloseRequest = [&] {
        ++asked;
        app->quit();
        return false;
    };
    ASSERT_TRUE(test::queueKeyPress(window->getSystemHandle(), 0x61)); // a
    ASSERT_TRUE(test::queueCloseRequest(window->getSystemHandle()));
    ASSERT_TRUE(test::queueKeyPress(window->getSystemHandle(), 0x62)); // b
    sf::sleep(sf::milliseconds(300));

    app->run();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(window->isOpen());
    EXPECT_EQ(w->keys, (std::vector<sf::Keyboard::Key>{sf::Keyboard::A, sf::Keyboard::B}));
    EXPECT_EQ(w->updates, 1);
    EXPECT_EQ(w->draws, 0);
}

} // namespace
} // namespace pyx::gui
