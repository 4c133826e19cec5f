#include "tests/forms/FormsTestSupport.hpp"

#include "game/controllers/BotController.hpp"
#include "game/controllers/KeyboardController.hpp"
#include "game/forms/HudPanel.hpp"
#include "game/objects/Tank.hpp"
#include "game/objects/TankShell.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace ironmoat::test {
namespace {

using FormsGame = FormsFixture;

template <class T> int countOf(const std::vector<std::shared_ptr<cmn::PlayerController>>& list) {
    return static_cast<int>(std::count_if(list.begin(), list.end(), [](const auto& controller) {
        return dynamic_cast<T*>(controller.get()) != nullptr;
    }));
}

TEST_F(FormsGame, OnePlayerMatchHasTheEnemyThenPlayerOne) {
    EXPECT_EQ(game->getWorld(), nullptr);
    menu->startGame(false);
    ASSERT_NE(game->getWorld(), nullptr);
    EXPECT_TRUE(game->isActive());
    EXPECT_FALSE(menu->isActive());

    ASSERT_EQ(world().players().size(), 2u);
    const auto enemy = player(0);
    EXPECT_EQ(enemy->name, L"Enemy");
    EXPECT_EQ(enemy->statusText, L"DEFEATED");
    EXPECT_EQ(enemy->colour, sf::Color(0, 255, 0, 255));
    EXPECT_EQ(enemy->team, 0);
    EXPECT_EQ(enemy->tankKind, 0);
    EXPECT_EQ(enemy->reserve, 20u);
    EXPECT_EQ(enemy->spawnsLeft, 20u);
    EXPECT_EQ(enemy->basePerLevel, 20u);
    EXPECT_EQ(enemy->bonusCarriersLeft, 5u);
    ASSERT_EQ(enemy->controllers.size(), 5u);
    EXPECT_EQ(countOf<cmn::BotController>(enemy->controllers), 5);

    const auto one = player(1);
    EXPECT_EQ(one->name, L"Player 1");
    EXPECT_EQ(one->statusText, L"GAME\nOVER");
    EXPECT_EQ(one->colour, sf::Color(255, 0, 0, 255));
    EXPECT_EQ(one->team, 2);
    EXPECT_EQ(one->tankKind, 2);
    EXPECT_EQ(one->reserve, 5u);
    EXPECT_EQ(one->spawnsLeft, 5u);
    EXPECT_EQ(one->bonusCarriersLeft, 0u);
    ASSERT_EQ(one->controllers.size(), 1u);
    EXPECT_EQ(countOf<cmn::KeyboardController>(one->controllers), 1);

    // The panel was given the same records, the enemy first.
    auto* hud = dynamic_cast<cmn::HudPanel*>(world().hud());
    ASSERT_NE(hud, nullptr);
    ASSERT_EQ(hud->getPlayers().size(), 2u);
    EXPECT_EQ(hud->getPlayers()[0], enemy);
    EXPECT_EQ(hud->getPlayers()[1], one);

    // The first level waits for the first tick.
    EXPECT_TRUE(world().isFirstLevelPending());
    tick();
    EXPECT_FALSE(world().isFirstLevelPending());
    EXPECT_EQ(world().terrain().levelNumber(), 1);
}

TEST_F(FormsGame, TwoPlayerMatchAddsPlayerTwoAndANewMatchReplacesTheOld) {
    menu->startGame(true);
    ASSERT_EQ(world().players().size(), 3u);
    const auto two = player(2);
    EXPECT_EQ(two->name, L"Player 2");
    EXPECT_EQ(two->team, 2);
    EXPECT_EQ(two->tankKind, 3);
    EXPECT_EQ(two->reserve, 5u);
    EXPECT_EQ(countOf<cmn::KeyboardController>(two->controllers), 1);

    for (int i = 0; i < 120; ++i)
        tick();
    std::weak_ptr<cmn::Player> oldEnemy = player(0);
    std::weak_ptr<cmn::PlayerController> oldController = player(1)->controllers[0];
    const cmn::World* oldWorld = game->getWorld();

    game->startNewGame(false);
    EXPECT_NE(game->getWorld(), oldWorld);
    EXPECT_EQ(world().players().size(), 2u);
    // Nothing of the first match survives it (tanks and controllers hold
    // each other during play).
    EXPECT_TRUE(oldEnemy.expired());
    EXPECT_TRUE(oldController.expired());
}

TEST_F(FormsGame, KeysAreBoundAsTheMenuShowsThem) {
    menu->startGame(true);
    auto& one = *player(1)->controllers[0];
    auto& two = *player(2)->controllers[0];
    struct Case {
        int key;
        cmn::PlayerController* controller;
        bool (cmn::PlayerController::*flag)() const;
    };
    const Case cases[] = {
        {71, &one, &cmn::PlayerController::isLeft}, {72, &one, &cmn::PlayerController::isRight},
        {73, &one, &cmn::PlayerController::isUp},   {74, &one, &cmn::PlayerController::isDown},
        {41, &one, &cmn::PlayerController::isFire}, {0, &two, &cmn::PlayerController::isLeft},
        {3, &two, &cmn::PlayerController::isRight}, {22, &two, &cmn::PlayerController::isUp},
        {18, &two, &cmn::PlayerController::isDown}, {37, &two, &cmn::PlayerController::isFire},
    };
    for (const Case& c : cases) {
        heldKeys = {c.key};
        drawGameFrame();
        EXPECT_TRUE((c.controller->*c.flag)()) << "key " << c.key;
        cmn::PlayerController* other = c.controller == &one ? &two : &one;
        EXPECT_FALSE(other->isLeft() || other->isRight() || other->isUp() || other->isDown() ||
                     other->isFire())
            << "key " << c.key << " also drives the other player";
        heldKeys.clear();
        drawGameFrame();
    }
    // Without focus the keys do nothing.
    foreground = false;
    heldKeys = {72};
    drawGameFrame();
    EXPECT_FALSE(one.isRight());
}

TEST_F(FormsGame, AFireKeyHeldAtTheStartDoesNotFire) {
    heldKeys = {41};
    drawGameFrame();
    menu->startGame(false);
    auto controller = player(1)->controllers[0];
    const int spawned = ticksUntil(
        [&] {
            drawGameFrame();
            return controller->hasObject();
        },
        600);
    ASSERT_GE(spawned, 0) << "Player 1's tank never appeared";

    auto shells = [&] {
        return std::count_if(world().objects().active.begin(), world().objects().active.end(),
                             [](const auto& o) { return dynamic_cast<cmn::TankShell*>(o.get()); });
    };
    for (int i = 0; i < 120; ++i) {
        drawGameFrame();
        tick();
        EXPECT_FALSE(controller->isFire());
    }
    EXPECT_EQ(shells(), 0);

    // Let go and press again: now it fires.
    heldKeys.clear();
    drawGameFrame();
    tick();
    heldKeys = {41};
    drawGameFrame();
    EXPECT_TRUE(controller->isFire());
    const int fired = ticksUntil(
        [&] {
            drawGameFrame();
            return shells() > 0;
        },
        60);
    EXPECT_GE(fired, 0);
}

class FormsGameNoBase : public FormsFixture {
protected:
    std::vector<std::string> levels() const override { return {markerLevel("    2")}; }
};

TEST_F(FormsGameNoBase, TheMenuReturnsMoreThanTenSecondsAfterTheMatchEnds) {
    menu->startGame(false);
    tick(); // level 1: no base, so the match is over at once
    ASSERT_GE(world().getGameOverTime(), 0.0f);
    ASSERT_FALSE(menuShown());
    // 600 ticks are exactly 10 s: still the result screen.
    for (int i = 0; i < 599; ++i) {
        tick();
        ASSERT_FALSE(menuShown()) << "menu after " << i + 2 << " ticks, E = " << game->endTime();
    }
    const int more = ticksUntil([&] { return menuShown(); }, 10);
    ASSERT_GE(more, 0) << "the menu never came back";
    EXPECT_GT(game->endTime(), GameForm::ResultSeconds);
    EXPECT_LE(more, 3);

    // Behind the menu the finished match keeps running and keeps asking for
    // the menu; the menu's buttons still start a new match.
    for (int i = 0; i < 5; ++i)
        tick();
    EXPECT_TRUE(menuShown());
    menu->startGame(true);
    EXPECT_FALSE(menuShown());
    EXPECT_EQ(world().players().size(), 3u);
}

TEST_F(FormsGameNoBase, WithoutAWorldEveryTickAsksForTheMenu) {
    switching->switchTo("game");
    ASSERT_FALSE(menuShown());
    tick();
    EXPECT_TRUE(menuShown());
}

class FormsGameNoSpawns : public FormsFixture {
protected:
    // A base and nothing else: no tank ever appears.
    std::vector<std::string> levels() const override { return {markerLevel("            1")}; }
};

TEST_F(FormsGameNoSpawns, TwoPlayersAreOutOnlyWhenBothAre) {
    menu->startGame(true);
    tick();
    {
        auto lock = world().acquireLock();
        player(1)->reserve = 0;
    }
    for (int i = 0; i < 700; ++i)
        tick();
    EXPECT_GT(player(1)->wipedOutTime, 10.0f);
    EXPECT_EQ(game->endTime(), 0.0f);
    EXPECT_FALSE(menuShown());

    {
        auto lock = world().acquireLock();
        player(2)->reserve = 0;
    }
    // Player 2's time starts with the tick that sees it out, so 600 ticks
    // (10 s, give or take the float sum) are the earliest the menu may come.
    const int ticks = ticksUntil([&] { return menuShown(); }, 700);
    EXPECT_GE(ticks, 600);
    EXPECT_LE(ticks, 602);
    EXPECT_GT(game->endTime(), GameForm::ResultSeconds);
}

TEST_F(FormsGameNoSpawns, TheNextLevelComesALittleOverThreeSecondsAfterTheEnemyIsGone) {
    menu->startGame(false);
    tick();
    ASSERT_EQ(world().terrain().levelNumber(), 1);
    {
        auto lock = world().acquireLock();
        player(0)->reserve = 0;
    }
    const int ticks = ticksUntil([&] { return world().terrain().levelNumber() == 2; }, 400);
    // 180 ticks are 3 s; the level changes on the first tick that finds
    // the enemy gone for longer than that.
    EXPECT_GT(ticks, 180);
    EXPECT_LE(ticks, 183);
    EXPECT_FALSE(menuShown());
    // The new level gives the enemy a new reserve.
    EXPECT_GT(player(0)->reserve, 0u);
}

} // namespace
} // namespace ironmoat::test
