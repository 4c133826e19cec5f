#include "engine/gui/Position.hpp"
#include "engine/gui/PositionRoot.hpp"

#include "tests/gui/GuiTestSupport.hpp"

#include <gtest/gtest.h>

namespace pyx::gui {
namespace {

TEST(GuiPosition, FoldsPointsOverTheAncestors) {
    auto root = PositionRoot::create(nullptr);
    auto a = Position::create(root, {5.f, 5.f});
    auto b = Position::create(a, {10.f, 0.f});
    auto c = Position::create(b, {0.f, 3.f});
    EXPECT_EQ(c->getAbsolutePosition(), sf::Vector2f(15.f, 8.f));
    // toAbsolute leaves the node's own point out: callers pass it in.
    EXPECT_EQ(c->toAbsolute({1.f, 1.f}), sf::Vector2f(16.f, 6.f));
    EXPECT_EQ(c->getRoot(), std::shared_ptr<Position>(root));
    EXPECT_EQ(root->getRoot(), std::shared_ptr<Position>(root));

    auto window = Position::create(root, {100.f, 50.f});
    const sf::FloatRect rect = window->getAbsoluteRect(80.f, 30.f);
    EXPECT_EQ(rect, sf::FloatRect(100.f, 50.f, 80.f, 30.f));
}

TEST(GuiPosition, RootWithoutMouseAndLooseNodesReportNoMouse) {
    auto loose = Position::create(nullptr, {7.f, 9.f});
    EXPECT_EQ(loose->mousePosition(), sf::Vector2f(0.f, 0.f));
    EXPECT_EQ(loose->getRoot(), loose);
    auto root = PositionRoot::create(nullptr);
    auto child = Position::create(root, {3.f, 4.f});
    EXPECT_EQ(child->mousePosition(), sf::Vector2f(0.f, 0.f));
    EXPECT_EQ(root->toAbsolute({2.f, 3.f}), sf::Vector2f(2.f, 3.f));
}

TEST(GuiPositionDeathTest, RelativeToNothingOrAnotherChainIsMisuse) {
    auto root = PositionRoot::create(nullptr);
    auto node = Position::create(root, {1.f, 1.f});
    auto otherRoot = Position::create(nullptr, {0.f, 0.f});
    auto stranger = Position::create(otherRoot, {1.f, 1.f});
    EXPECT_DEATH(node->toRelative({0.f, 0.f}, nullptr), "Assertion failed: _refPosition");
    EXPECT_DEATH(node->toRelative({0.f, 0.f}, stranger),
                 "Assertion failed: getRoot\\(\\) == _refPosition->getRoot\\(\\)");
    // The same chain is fine: p minus the reference's point.
    EXPECT_EQ(node->toRelative({10.f, 10.f}, node), sf::Vector2f(9.f, 9.f));
}

using GuiPositionMouse = test::GuiFixture;

TEST_F(GuiPositionMouse, MouseRelativeToAWindowCorner) {
    const std::shared_ptr<Position>& root = app->getDesktop()->getPosition();
    auto window = Position::create(root, {100.f, 50.f});
    // The fitted view puts pixel n at world n - 0.375.
    cursor = {130, 70};
    frame();
    const sf::Vector2f mapped = app->getCamera()->mapPixelToWorld({130, 70});
    EXPECT_EQ(mapped, sf::Vector2f(129.625f, 69.625f));
    EXPECT_EQ(root->mousePosition(), mapped);
    EXPECT_EQ(window->mousePosition(), mapped);
    EXPECT_EQ(window->getMousePosition(), mapped - sf::Vector2f(100.f, 50.f));

    // The camera's own placement is added by the root only.
    app->getCamera()->getTransformable().setPosition(4.f, 6.f);
    EXPECT_EQ(root->toAbsolute({0.f, 0.f}), sf::Vector2f(4.f, 6.f));
    EXPECT_EQ(root->getAbsolutePosition(), sf::Vector2f(0.f, 0.f));
    EXPECT_EQ(window->getAbsolutePosition(), sf::Vector2f(100.f, 50.f));
    app->getCamera()->getTransformable().setPosition(0.f, 0.f);
}

} // namespace
} // namespace pyx::gui
