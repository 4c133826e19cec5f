#include "engine/gui/Window.hpp"

#include "tests/gui/GuiTestSupport.hpp"
#include "tests/gui/RecordingWindow.hpp"

#include <gtest/gtest.h>

namespace pyx::gui {
namespace {

using test::RecordingWindow;

class GuiWindow : public test::GuiFixture {
protected:
    std::shared_ptr<RecordingWindow> add(const std::shared_ptr<Window>& parent, sf::FloatRect rect,
                                         const std::string& name = {}) {
        auto window = parent->createChild<RecordingWindow>(&log, name);
        window->setRect(rect);
        return window;
    }
    std::shared_ptr<Window> desktop() { return app->getDesktop(); }

    std::vector<std::string> log;
};

TEST_F(GuiWindow, WindowAtHitsLeftAndTopEdgesButNotRightAndBottom) {
    auto w = add(desktop(), {100.f, 50.f, 80.f, 30.f});
    EXPECT_EQ(desktop()->windowAt({100.f, 50.f}), w);
    EXPECT_EQ(desktop()->windowAt({179.9f, 79.9f}), w);
    EXPECT_EQ(desktop()->windowAt({180.f, 60.f}), desktop());
    EXPECT_EQ(desktop()->windowAt({120.f, 80.f}), desktop());
    EXPECT_EQ(desktop()->windowAt({99.9f, 60.f}), desktop());
    // Outside the desktop itself nothing is found.
    EXPECT_EQ(desktop()->windowAt({-1.f, 10.f}), nullptr);
    EXPECT_EQ(desktop()->windowAt({1280.f, 10.f}), nullptr);

    // Nested windows are hit in absolute coordinates.
    auto inner = add(w, {10.f, 5.f, 20.f, 10.f});
    EXPECT_EQ(desktop()->windowAt({110.f, 55.f}), inner);
    EXPECT_EQ(desktop()->windowAt({130.f, 55.f}), w);
    EXPECT_EQ(w->windowAtParentPoint({110.f, 55.f}), inner);
}

TEST_F(GuiWindow, LaterOverlappingChildWinsHitDrawAndMouseOrder) {
    auto first = add(desktop(), {0.f, 0.f, 200.f, 200.f}, "first");
    auto second = add(desktop(), {100.f, 100.f, 200.f, 200.f}, "second");
    first->fill = sf::Color::Red;
    second->fill = sf::Color::Blue;
    EXPECT_EQ(desktop()->windowAt({150.f, 150.f}), second);
    EXPECT_EQ(desktop()->windowAt({50.f, 50.f}), first);

    frame();
    // processMouse visits the later child first, update the earlier first.
    std::vector<std::string> mouseOrder, updateOrder;
    for (const std::string& entry : log) {
        if (entry.ends_with(":mouse")) {
            mouseOrder.push_back(entry);
        } else if (entry.ends_with(":update")) {
            updateOrder.push_back(entry);
        }
    }
    EXPECT_EQ(mouseOrder, (std::vector<std::string>{"second:mouse", "first:mouse"}));
    EXPECT_EQ(updateOrder, (std::vector<std::string>{"first:update", "second:update"}));

    const sf::Image image = drawAndCapture();
    EXPECT_TRUE(test::colourIs(image, 150, 150, sf::Color::Blue));
    EXPECT_TRUE(test::colourIs(image, 50, 50, sf::Color::Red));
    EXPECT_TRUE(test::colourIs(image, 250, 50, Desktop::BackgroundColour));
}

TEST_F(GuiWindow, InactiveWindowsSubtreeGetsNothing) {
    auto parent = add(desktop(), {0.f, 0.f, 400.f, 400.f});
    auto child = add(parent, {10.f, 10.f, 100.f, 100.f});
    child->fill = sf::Color::Green;
    parent->consumeKeys = true;
    parent->setActive(false);

    frame();
    // The parent's own overrides still run; the base pass stops there.
    EXPECT_EQ(parent->updates, 1);
    EXPECT_EQ(parent->mouseCalls, 1);
    EXPECT_EQ(child->updates, 0);
    EXPECT_EQ(child->mouseCalls, 0);

    EXPECT_EQ(desktop()->windowAt({50.f, 50.f}), desktop());
    // Bubbling ends at the inactive window: it is not asked.
    EXPECT_FALSE(child->keyPressed(keyEvent(sf::Keyboard::A).key));
    EXPECT_FALSE(parent->keyPressed(keyEvent(sf::Keyboard::A).key));
    EXPECT_FALSE(child->textEntered(U'a'));
    EXPECT_TRUE(parent->keys.empty());
    EXPECT_TRUE(parent->texts.empty());

    const sf::Image image = drawAndCapture();
    EXPECT_EQ(parent->draws, 0);
    EXPECT_EQ(child->draws, 0);
    EXPECT_TRUE(test::colourIs(image, 50, 50, Desktop::BackgroundColour));

    parent->setActive(true);
    frame();
    EXPECT_EQ(child->updates, 1);
    EXPECT_EQ(desktop()->windowAt({50.f, 50.f}), child);
}

TEST_F(GuiWindow, KeysBubbleUpToTheDesktopAndStopWhereConsumed) {
    auto outer = add(desktop(), {0.f, 0.f, 400.f, 400.f}, "outer");
    auto inner = add(outer, {10.f, 10.f, 100.f, 100.f}, "inner");
    log.clear();
    EXPECT_FALSE(inner->keyPressed(keyEvent(sf::Keyboard::B).key));
    EXPECT_EQ(log, (std::vector<std::string>{"inner:key", "outer:key"}));

    outer->consumeKeys = true;
    EXPECT_TRUE(inner->keyPressed(keyEvent(sf::Keyboard::B).key));
    EXPECT_TRUE(inner->textEntered(U'x'));
    EXPECT_EQ(outer->texts, std::vector<std::uint32_t>{U'x'});

    // Through the application: the focused window gets the key first.
    outer->consumeKeys = false;
    app->setFocus(inner);
    log.clear();
    frame({keyEvent(sf::Keyboard::C)});
    EXPECT_EQ(log.front(), "inner:key");
    EXPECT_EQ(inner->keys.back(), sf::Keyboard::C);
    EXPECT_EQ(outer->keys.back(), sf::Keyboard::C);
}

TEST_F(GuiWindow, TreeOperationsKeepOrderAndLinks) {
    auto a = add(desktop(), {0.f, 0.f, 10.f, 10.f});
    auto b = add(desktop(), {0.f, 0.f, 10.f, 10.f});
    auto c = add(desktop(), {0.f, 0.f, 10.f, 10.f});
    EXPECT_EQ(a->attached, 1);

    // Attaching again to the same parent keeps the place but calls the hook.
    a->setParent(a, desktop());
    EXPECT_EQ(a->attached, 2);
    EXPECT_EQ(desktop()->getChildren(), (std::vector<std::shared_ptr<Window>>{a, b, c}));

    desktop()->removeChild(b);
    EXPECT_EQ(desktop()->getChildren(), (std::vector<std::shared_ptr<Window>>{a, c}));
    EXPECT_EQ(b->getParent(), nullptr);
    desktop()->removeChild(b);
    EXPECT_EQ(desktop()->getChildren().size(), 2u);

    // Moving to another parent takes it out of the old one.
    c->addChild(a);
    EXPECT_EQ(desktop()->getChildren(), (std::vector<std::shared_ptr<Window>>{c}));
    EXPECT_EQ(a->getParent(), c);

    // A window whose self link was never set passes an empty parent link on:
    // key bubbling then stops at the child.
    auto orphanParent = std::make_shared<RecordingWindow>(app.get(), desktop());
    auto orphan = std::make_shared<RecordingWindow>(app.get(), orphanParent);
    orphanParent->consumeKeys = true;
    orphanParent->addChild(orphan);
    EXPECT_EQ(orphan->getParent(), nullptr);
    EXPECT_FALSE(orphan->keyPressed(keyEvent(sf::Keyboard::D).key));
    EXPECT_TRUE(orphanParent->keys.empty());
}

TEST_F(GuiWindow, FocusMarksRecordOneLevelOfThePath) {
    auto outer = add(desktop(), {0.f, 0.f, 400.f, 400.f});
    auto inner = add(outer, {10.f, 10.f, 100.f, 100.f});
    auto other = add(desktop(), {500.f, 0.f, 100.f, 100.f});

    app->setFocus(inner);
    EXPECT_TRUE(inner->isFocused());
    EXPECT_TRUE(outer->isFocused());
    EXPECT_EQ(outer->getFocusedChild(), inner);
    EXPECT_FALSE(desktop()->isFocused());
    EXPECT_EQ(app->getFocused(), inner);

    app->setFocus(other);
    EXPECT_FALSE(inner->isFocused());
    EXPECT_FALSE(outer->isFocused());
    EXPECT_EQ(outer->getFocusedChild(), nullptr);
    EXPECT_TRUE(desktop()->isFocused());
    EXPECT_EQ(desktop()->getFocusedChild(), other);
}

} // namespace
} // namespace pyx::gui
