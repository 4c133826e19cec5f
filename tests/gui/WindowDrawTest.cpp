#include "engine/gui/Window.hpp"

#include "tests/gui/GuiTestSupport.hpp"
#include "tests/gui/RecordingWindow.hpp"

#include <SFML/OpenGL.hpp>
#include <gtest/gtest.h>

#include <array>

namespace pyx::gui {
namespace {

using test::RecordingWindow;

std::array<GLint, 4> scissorBox() {
    std::array<GLint, 4> box{};
    glGetIntegerv(GL_SCISSOR_BOX, box.data());
    return box;
}

using GuiWindowDraw = test::GuiFixture;

TEST_F(GuiWindowDraw, WindowIsClippedToItsRectangleInWindowPixels) {
    auto w = app->getDesktop()->createChild<RecordingWindow>();
    w->setRect({10.f, 20.f, 100.f, 50.f});
    w->fill = sf::Color::Red;
    std::array<GLint, 4> seen{};
    bool scissorOn = false;
    w->onDraw = [&](gfx::Camera&) {
        seen = scissorBox();
        scissorOn = glIsEnabled(GL_SCISSOR_TEST) == GL_TRUE;
    };
    frame();
    const sf::Image image = drawAndCapture();
    EXPECT_TRUE(scissorOn);
    EXPECT_EQ(seen, (std::array<GLint, 4>{10, 650, 100, 50}));
    // The scissor test is off again once the desktop has drawn.
    EXPECT_EQ(glIsEnabled(GL_SCISSOR_TEST), GL_FALSE);

    EXPECT_TRUE(test::colourIs(image, 10, 20, sf::Color::Red));
    EXPECT_TRUE(test::colourIs(image, 109, 69, sf::Color::Red));
    EXPECT_TRUE(test::colourIs(image, 9, 20, Desktop::BackgroundColour));
    EXPECT_TRUE(test::colourIs(image, 110, 40, Desktop::BackgroundColour));
    EXPECT_TRUE(test::colourIs(image, 50, 70, Desktop::BackgroundColour));
    EXPECT_TRUE(test::colourIs(image, 50, 19, Desktop::BackgroundColour));
}

TEST_F(GuiWindowDraw, NestedClipsIntersectAndBorderInsetsOnlyTheChildren) {
    // A bordered parent: its children are clipped to (1, 1, 98, 38) of its
    // local frame, its overlay is not.
    auto parent = app->getDesktop()->createChild<RecordingWindow>();
    parent->setRect({200.f, 100.f, 100.f, 40.f});
    parent->border = 2.f;
    auto child = parent->createChild<RecordingWindow>();
    child->setRect({-50.f, -50.f, 400.f, 400.f});
    child->fill = sf::Color::Green;
    std::array<GLint, 4> seen{};
    child->onDraw = [&](gfx::Camera&) { seen = scissorBox(); };

    // A child lying partly outside the parent: the overlap only.
    auto partly = app->getDesktop()->createChild<RecordingWindow>();
    partly->setRect({400.f, 100.f, 100.f, 100.f});
    auto sticking = partly->createChild<RecordingWindow>();
    sticking->setRect({50.f, 50.f, 100.f, 100.f});
    sticking->fill = sf::Color::Blue;

    frame();
    const sf::Image image = drawAndCapture();
    // Parent clip (201, 720 - 101 - 38, 98, 38) intersected with the child's
    // own rectangle, which covers it wholly.
    EXPECT_EQ(seen, (std::array<GLint, 4>{201, 581, 98, 38}));
    EXPECT_TRUE(test::colourIs(image, 201, 101, sf::Color::Green));
    EXPECT_TRUE(test::colourIs(image, 298, 138, sf::Color::Green));
    EXPECT_TRUE(test::colourIs(image, 200, 100, Desktop::BackgroundColour));
    EXPECT_TRUE(test::colourIs(image, 299, 139, Desktop::BackgroundColour));

    EXPECT_TRUE(test::colourIs(image, 450, 150, sf::Color::Blue));
    EXPECT_TRUE(test::colourIs(image, 499, 199, sf::Color::Blue));
    EXPECT_TRUE(test::colourIs(image, 500, 150, Desktop::BackgroundColour));
    EXPECT_TRUE(test::colourIs(image, 450, 200, Desktop::BackgroundColour));
    EXPECT_EQ(glIsEnabled(GL_SCISSOR_TEST), GL_FALSE);
}

TEST_F(GuiWindowDraw, OverlayIsDrawnOutsideTheWindowsOwnClip) {
    auto parent = app->getDesktop()->createChild<RecordingWindow>();
    parent->setRect({200.f, 100.f, 100.f, 40.f});
    parent->border = 2.f;
    parent->overlay = sf::Color::Yellow;
    frame();
    const sf::Image image = drawAndCapture();
    // Pixel (200, 100) lies in the border band that the clip leaves out.
    EXPECT_TRUE(test::colourIs(image, 200, 100, sf::Color::Yellow));
    EXPECT_TRUE(test::colourIs(image, 299, 139, sf::Color::Yellow));
    EXPECT_TRUE(test::colourIs(image, 300, 140, Desktop::BackgroundColour));
}

} // namespace
} // namespace pyx::gui
