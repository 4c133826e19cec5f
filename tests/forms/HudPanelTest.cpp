#include "tests/forms/FormsTestSupport.hpp"

#include "engine/graphics/Camera.hpp"
#include "game/controllers/PlayerController.hpp"
#include "game/forms/HudPanel.hpp"
#include "game/objects/GameObject.hpp"
#include "tests/graphics/RenderTestSupport.hpp"

#include <SFML/Graphics/Image.hpp>
#include <gtest/gtest.h>

namespace ironmoat::test {
namespace {

using FormsHud = FormsFixture;
using pyx::gui::test::colourIs;

cmn::HudPanel& hudOf(cmn::World& world) {
    auto* hud = dynamic_cast<cmn::HudPanel*>(world.hud());
    if (!hud)
        throw std::runtime_error("the world has no HUD panel");
    return *hud;
}

sf::Vector2f originOf(const sf::FloatRect& rect) {
    return {rect.left, rect.top};
}

// Pixels in the box whose colour the predicate accepts.
template <class Pred> int countPixels(const sf::Image& image, sf::IntRect box, Pred pred) {
    int count = 0;
    for (int y = box.top; y < box.top + box.height; ++y)
        for (int x = box.left; x < box.left + box.width; ++x)
            if (pred(image.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y))))
                ++count;
    return count;
}

bool reddish(sf::Color c) {
    return c.r > 150 && c.g < 80 && c.b < 80;
}
bool greenish(sf::Color c) {
    return c.g > 150 && c.r < 80 && c.b < 80;
}

TEST_F(FormsHud, OnePlayerBlocksStandBesideTheField) {
    menu->startGame(false);
    tick();
    const sf::Image image = drawAndCapture();
    const cmn::HudPanel& hud = hudOf(world());
    EXPECT_TRUE(hud.isVertical());
    EXPECT_EQ(hud.getPosition(), sf::Vector2f(702.0f, 0.0f));
    EXPECT_EQ(hud.getSize(), sf::Vector2f(578.0f, 720.0f));
    EXPECT_EQ(hud.getLevelNumber(), 1);

    const auto rects = hud.blockRects();
    ASSERT_EQ(rects.size(), 3u);
    EXPECT_EQ(originOf(rects[0]), sf::Vector2f(911.0f, 10.0f));  // Enemy
    EXPECT_EQ(originOf(rects[1]), sf::Vector2f(911.0f, 200.0f)); // Player 1
    EXPECT_EQ(originOf(rects[2]), sf::Vector2f(911.0f, 390.0f)); // level
    EXPECT_EQ(rects[2].height, 50.0f);

    // The frames are really drawn there: white outline on the block's edge,
    // black inside, the desktop's grey between the blocks.
    EXPECT_TRUE(colourIs(image, 911, 100, sf::Color::White));
    EXPECT_TRUE(colourIs(image, 1070, 100, sf::Color::White));
    EXPECT_TRUE(colourIs(image, 915, 100, sf::Color::Black));
    EXPECT_TRUE(colourIs(image, 911, 185, sf::Color(55, 55, 55)));
    EXPECT_TRUE(colourIs(image, 911, 415, sf::Color::White));
    EXPECT_TRUE(colourIs(image, 911, 445, sf::Color(55, 55, 55)));
}

TEST_F(FormsHud, TwoPlayersAddAThirdBlockAndPushTheLevelDown) {
    menu->startGame(true);
    tick();
    const sf::Image image = drawAndCapture();
    const auto rects = hudOf(world()).blockRects();
    ASSERT_EQ(rects.size(), 4u);
    EXPECT_EQ(originOf(rects[2]), sf::Vector2f(911.0f, 390.0f));
    EXPECT_EQ(originOf(rects[3]), sf::Vector2f(911.0f, 580.0f));
    EXPECT_TRUE(colourIs(image, 911, 480, sf::Color::White));
    EXPECT_TRUE(colourIs(image, 911, 600, sf::Color::White));
}

TEST_F(FormsHud, AWindowTallerThanWidePutsThePanelBelow) {
    menu->startGame(false);
    tick();
    auto tall = std::make_shared<sf::RenderWindow>(sf::VideoMode(600, 900, 32), "tall");
    pyx::gfx::Camera camera(tall, true);
    tall->clear(sf::Color(55, 55, 55));
    world().draw(camera);
    const sf::Image image = pyx::gfx::test::grab(*tall);

    const cmn::HudPanel& hud = hudOf(world());
    EXPECT_FALSE(hud.isVertical());
    // Cells of min(600, 900 - 200) / 26 = 23 pixels: a field of 598.
    EXPECT_EQ(hud.getPosition(), sf::Vector2f(0.0f, 598.0f));
    EXPECT_EQ(hud.getSize(), sf::Vector2f(600.0f, 302.0f));
    const auto rects = hud.blockRects();
    ASSERT_EQ(rects.size(), 3u);
    EXPECT_EQ(originOf(rects[0]), sf::Vector2f(10.0f, 669.0f));
    EXPECT_EQ(originOf(rects[1]), sf::Vector2f(200.0f, 669.0f));
    EXPECT_EQ(originOf(rects[2]), sf::Vector2f(390.0f, 724.0f));
    EXPECT_TRUE(colourIs(image, 10, 750, sf::Color::White));
    EXPECT_TRUE(colourIs(image, 200, 750, sf::Color::White));
    EXPECT_TRUE(colourIs(image, 390, 750, sf::Color::White));
}

TEST_F(FormsHud, PlayersThatAreOutShowTheirStatusInTheirColour) {
    menu->startGame(false);
    const sf::IntRect enemyMiddle(921, 50, 140, 80);
    const sf::IntRect playerMiddle(921, 240, 140, 80);

    // In play: counts in white, no status.
    sf::Image image = drawAndCapture();
    EXPECT_EQ(countPixels(image, enemyMiddle, greenish), 0);
    EXPECT_EQ(countPixels(image, playerMiddle, reddish), 0);
    EXPECT_GT(countPixels(image, playerMiddle, [](sf::Color c) { return c == sf::Color::White; }),
              20);

    player(0)->reserve = 0;
    player(1)->reserve = 0;
    image = drawAndCapture();
    EXPECT_GT(countPixels(image, enemyMiddle, greenish), 100) << "no green DEFEATED";
    EXPECT_GT(countPixels(image, playerMiddle, reddish), 100) << "no red GAME OVER";
}

TEST_F(FormsHud, TheWheelsTurnOneFramePerDrawnFrame) {
    menu->startGame(false);
    const cmn::HudPanel& hud = hudOf(world());
    const std::int16_t expected[] = {1, 2, 3, 0, 1};
    for (std::int16_t frame : expected) {
        drawAndCapture();
        EXPECT_EQ(hud.getWheelFrame(), frame);
    }
}

TEST_F(FormsHud, TextFittingShrinksUntilTheTextIsBelowTheLimits) {
    pyx::gfx::Camera& camera = *app->getCamera();
    cmn::HudPanel hud;
    const sf::Font& font =
        pyx::cmn::resourceValue(pyx::core::WeakSingleton<pyx::cmn::ResourceManager>()->getFont(
            L"@release/Core/Fonts/Charis-SIL/Font-Face-B.ttf"));

    sf::Text score(L"1234567890 pts", font, 30);
    const sf::FloatRect before = camera.measureText(score);
    ASSERT_GE(before.width, 140.0f);
    const sf::FloatRect fitted = cmn::HudPanel::fitText(camera, score, 140.0f, 0.0f);
    EXPECT_LT(fitted.width, 140.0f);
    EXPECT_LT(score.getCharacterSize(), 30u);
    // One size larger would not have fitted: the shrinking stops at once.
    sf::Text larger = score;
    larger.setCharacterSize(score.getCharacterSize() + 1);
    EXPECT_GE(camera.measureText(larger).width, 140.0f);

    // A text that fits is left alone.
    sf::Text small(L"0 pts", font, 30);
    cmn::HudPanel::fitText(camera, small, 140.0f, 0.0f);
    EXPECT_EQ(small.getCharacterSize(), 30u);

    // Two lines against a height limit.
    sf::Text status(L"GAME\nOVER", font, 40);
    const sf::FloatRect tall = cmn::HudPanel::fitText(camera, status, 140.0f, 80.0f);
    EXPECT_LT(tall.height, 80.0f);

    // A limit no size can meet ends at size 1 instead of looping.
    sf::Text impossible(L"WWWW", font, 30);
    cmn::HudPanel::fitText(camera, impossible, 0.5f, 0.0f);
    EXPECT_EQ(impossible.getCharacterSize(), 1u);
}

TEST_F(FormsHud, TheResultFadesInRedWithAnOutlineThatTurnsOpaque) {
    EXPECT_EQ(cmn::HudPanel::gameOverFill(0.005f), sf::Color(255, 0, 0, 0));
    EXPECT_EQ(cmn::HudPanel::gameOverFill(0.5f), sf::Color(255, 0, 0, 50));
    EXPECT_EQ(cmn::HudPanel::gameOverFill(1.25f), sf::Color(255, 0, 0, 125));
    EXPECT_EQ(cmn::HudPanel::gameOverFill(2.0f), sf::Color(255, 0, 0, 140));
    EXPECT_EQ(cmn::HudPanel::gameOverOutline(0.5f), sf::Color(0, 0, 0, 50));
    EXPECT_EQ(cmn::HudPanel::gameOverOutline(2.0f), sf::Color(0, 0, 0, 200));
    EXPECT_EQ(cmn::HudPanel::gameOverOutline(3.0f), sf::Color(0, 0, 0, 255));
    // A match left over behind the menu keeps counting; the colours stay put.
    EXPECT_EQ(cmn::HudPanel::gameOverFill(1.0e9f).a, 140);
    EXPECT_EQ(cmn::HudPanel::gameOverOutline(1.0e9f).a, 255);

    pyx::gfx::Camera& camera = *app->getCamera();
    cmn::HudPanel hud;
    const sf::IntRect field(0, 0, 702, 702);
    auto overlay = [&](float endTime) {
        window->clear(sf::Color(55, 55, 55));
        hud.drawGameOver(camera, {702.0f, 702.0f}, endTime);
        return pyx::gfx::test::grab(*window);
    };
    EXPECT_EQ(countPixels(overlay(0.01f), field, reddish), 0);
    const sf::Image shown = overlay(5.0f);
    EXPECT_GT(countPixels(shown, field, reddish), 1000);
    // Nothing outside the field.
    EXPECT_EQ(countPixels(shown, sf::IntRect(702, 0, 578, 720), reddish), 0);

    // A field too small for the margins (a tiny window) gets no text, rather
    // than a character size that wrapped round below zero.
    window->clear(sf::Color(55, 55, 55));
    hud.drawGameOver(camera, {30.0f, 30.0f}, 5.0f);
    EXPECT_EQ(countPixels(pyx::gfx::test::grab(*window), sf::IntRect(0, 0, 1280, 720), reddish), 0);
    window->display();
}

TEST_F(FormsHud, TheWorldDrawsTheOverlayOnceTheMatchIsOver) {
    menu->startGame(false);
    tick();
    const sf::IntRect field(0, 0, 702, 702);
    EXPECT_EQ(countPixels(drawAndCapture(), field, reddish), 0);
    {
        auto lock = world().acquireLock();
        player(1)->reserve = 0;
        for (const auto& controller : player(1)->controllers)
            if (auto tank = controller->getObject())
                tank->kill();
    }
    for (int i = 0; i < 300; ++i)
        tick();
    ASSERT_GT(game->endTime(), 2.0f);
    EXPECT_GT(countPixels(drawAndCapture(), field, reddish), 1000);
}

} // namespace
} // namespace ironmoat::test
