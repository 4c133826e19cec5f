#include "tests/forms/FormsTestSupport.hpp"

#include "engine/gui/Button.hpp"
#include "game/forms/HudPanel.hpp"

#include <SFML/Graphics/Image.hpp>
#include <gtest/gtest.h>

#include <SFML/System/Sleep.hpp>

#include <stdexcept>

namespace ironmoat::test {
namespace {

using FormsMainMenu = FormsFixture;
using pyx::gui::test::colourIs;

bool isDesktop(const sf::Image& image, unsigned x, unsigned y) {
    return image.getPixel(x, y) == sf::Color(55, 55, 55);
}

TEST_F(FormsMainMenu, LaysOutTheButtonsAndLegendsFromTheWindowWidth) {
    const sf::Image image = drawAndCapture();
    const MainMenuForm::Layout& layout = menu->getLayout();
    EXPECT_EQ(layout.legendLeft, 335.0f);
    EXPECT_EQ(layout.legendRight, 890.0f);
    EXPECT_EQ(layout.legendTop, layout.buttonTop + 50.0f);
    EXPECT_EQ(layout.secondButtonTop, layout.buttonTop + 100.0f);
    EXPECT_EQ(layout.authorsTop, layout.buttonTop + 240.0f);
    // Under the title, which a real font gives a real height.
    EXPECT_GT(layout.buttonTop, 150.0f);
    EXPECT_LT(layout.buttonTop, 350.0f);

    const auto single = menu->getSinglePlayerButton();
    const auto two = menu->getTwoPlayersButton();
    ASSERT_TRUE(single && two);
    EXPECT_EQ(single->getPoint(), sf::Vector2f(565.0f, layout.buttonTop));
    EXPECT_EQ(two->getPoint(), sf::Vector2f(565.0f, layout.secondButtonTop));
    EXPECT_EQ(single->getSize(), sf::Vector2f(150.0f, 50.0f));
    EXPECT_EQ(single->text, L"Single player");
    EXPECT_EQ(two->text, L"Two players");

    // The buttons are drawn there, with bare desktop just left of them.
    const auto middle = static_cast<unsigned>(layout.buttonTop + 25.0f);
    EXPECT_FALSE(isDesktop(image, 567, middle));
    EXPECT_TRUE(isDesktop(image, 562, middle));
    EXPECT_FALSE(isDesktop(image, 567, middle + 100));
    // The key boxes' translucent black: "S" of the left block, "DOWN" of
    // the right one (no tank picture under them in this folder).
    const auto keyMiddle = static_cast<unsigned>(layout.legendTop + 27.0f);
    EXPECT_TRUE(colourIs(image, 335 + 40, keyMiddle, sf::Color(20, 20, 20)));
    EXPECT_TRUE(colourIs(image, 890 + 40, keyMiddle, sf::Color(20, 20, 20)));
    // Its outline, 3 pixels outside the box, and the gap to the "A" box.
    EXPECT_TRUE(colourIs(image, 333, keyMiddle, sf::Color(155, 155, 155)));
    EXPECT_TRUE(isDesktop(image, 329, keyMiddle));
}

TEST_F(FormsMainMenu, ClickingTwoPlayersStartsAMatchAndShowsIt) {
    drawAndCapture();
    const float top = menu->getLayout().secondButtonTop;
    moveTo(640, static_cast<int>(top + 25.0f));
    press();
    release();
    ASSERT_NE(game->getWorld(), nullptr);
    EXPECT_EQ(game->getWorld()->players().size(), 3u);
    EXPECT_TRUE(game->isActive());
    EXPECT_FALSE(menu->isActive());
    EXPECT_TRUE(game->isFocused());

    // The next drawing is the match: the panel's blocks beside the field.
    const sf::Image image = drawAndCapture();
    EXPECT_TRUE(colourIs(image, 911, 100, sf::Color::White));
    EXPECT_TRUE(colourIs(image, 911, 480, sf::Color::White));
    // The menu keeps its buttons for the next visit.
    EXPECT_EQ(menu->getChildren().size(), 2u);
}

TEST_F(FormsMainMenu, TheWheelsTurnOneFramePerDrawnFrameAlsoAfterAMatch) {
    // Four frames in the wheel picture: 1, 2, 3, then round to 0.
    const std::int16_t expected[] = {1, 2, 3, 0, 1};
    for (std::int16_t frame : expected) {
        drawAndCapture();
        EXPECT_EQ(menu->getWheelFrame(), frame);
    }
    const sf::Image before = drawAndCapture(); // frame 2

    // A match, then back to the menu: it looks as it did and keeps turning.
    menu->startGame(false);
    drawAndCapture();
    switching->switchTo("menu");
    EXPECT_EQ(menu->getWheelFrame(), 2);
    drawAndCapture();
    drawAndCapture();
    drawAndCapture(); // frame 1
    drawAndCapture(); // frame 2 again
    const sf::Image after = drawAndCapture();
    EXPECT_EQ(menu->getWheelFrame(), 3);
    EXPECT_EQ(menu->getChildren().size(), 2u);
    // Same layout (frame 3 of clear wheels draws what frame 2 did).
    int differing = 0;
    for (unsigned y = 0; y < 720; y += 3)
        for (unsigned x = 0; x < 1280; x += 3)
            if (before.getPixel(x, y) != after.getPixel(x, y))
                ++differing;
    EXPECT_EQ(differing, 0);
}

TEST_F(FormsMainMenu, StartsNothingOutsideASwitchingWindow) {
    auto lone = app->getDesktop()->createChild<MainMenuForm>();
    lone->setGameForm(game);
    lone->startGame(false);
    EXPECT_EQ(game->getWorld(), nullptr);
    EXPECT_TRUE(menu->isActive());
}

TEST_F(FormsMainMenu, AttachingAgainAddsNoSecondPairOfButtons) {
    const auto single = menu->getSinglePlayerButton();
    menu->setParent(menu, switching);
    EXPECT_EQ(menu->getChildren().size(), 2u);
    EXPECT_EQ(menu->getSinglePlayerButton(), single);
}

// A resize while the match is shown reaches the hidden menu in the same
// frame's update, before anything is drawn.
TEST_F(FormsMainMenu, TheHiddenMenuTakesANewWindowSizeInTheFramesUpdate) {
    switching->switchTo("game");
    frame();
    window->setSize({1000u, 600u});
    // Bounded wait for the server to apply the new size.
    for (int i = 0; i < 200 && window->getSize() != sf::Vector2u(1000u, 600u); ++i) {
        sf::Event event;
        while (window->pollEvent(event))
            app->handleEvent(event);
        sf::sleep(sf::milliseconds(10));
    }
    ASSERT_EQ(window->getSize(), sf::Vector2u(1000u, 600u));
    frame();
    EXPECT_EQ(game->getSize(), sf::Vector2f(1000.f, 600.f));
    EXPECT_EQ(menu->getSize(), sf::Vector2f(1000.f, 600.f));
    EXPECT_EQ(menu->getPoint(), sf::Vector2f(0.f, 0.f));
}

TEST_F(FormsMainMenu, DrawingWithoutAFontHandleIsAProgrammingError) {
    resources.get()->setDefaultFont(nullptr);
    try {
        menu->drawSelf(*app->getCamera());
        FAIL() << "no exception";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Null resource exception");
    }
}

} // namespace
} // namespace ironmoat::test
