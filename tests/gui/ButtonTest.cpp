#include "engine/gui/Button.hpp"
#include "engine/gui/ButtonSkinWin10.hpp"

#include "tests/gui/GuiTestSupport.hpp"

#include <gtest/gtest.h>

namespace pyx::gui {
namespace {

// A button at (100, 100) of 200 x 40 on the desktop; the cursor starts
// outside it.
class GuiButton : public test::GuiFixture {
protected:
    void SetUp() override {
        test::GuiFixture::SetUp();
        button = app->getDesktop()->createChild<Button>();
        button->setRect({100.f, 100.f, 200.f, 40.f});
        button->text = L"Press";
        button->onClick = [this] { ++clicks; };
        moveTo(10, 10);
    }

    std::shared_ptr<Button> button;
    int clicks = 0;
};

TEST_F(GuiButton, PressAndReleaseInsideClicksOnce) {
    moveTo(150, 120);
    press();
    EXPECT_EQ(app->getFocused(), button);
    EXPECT_TRUE(button->isPressedLook());
    EXPECT_EQ(clicks, 0);
    frame();
    EXPECT_EQ(clicks, 0);
    release();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button->isPressedLook());
    frame();
    EXPECT_EQ(clicks, 1);
}

TEST_F(GuiButton, LeavingWhilePressedKeepsTheLatchButReleasingOutsideDoesNotClick) {
    moveTo(150, 120);
    press();
    moveTo(400, 300);
    EXPECT_FALSE(button->isPressedLook());
    EXPECT_TRUE(button->isPressLatched());
    release();
    EXPECT_EQ(clicks, 0);

    // Out and back in before releasing: one click.
    moveTo(150, 120);
    press();
    moveTo(400, 300);
    moveTo(299, 139);
    EXPECT_TRUE(button->isPressedLook());
    release();
    EXPECT_EQ(clicks, 1);
}

TEST_F(GuiButton, PressOutsideThenReleaseInsideDoesNotClick) {
    moveTo(500, 500);
    press();
    EXPECT_NE(app->getFocused(), button);
    moveTo(150, 120);
    release();
    EXPECT_EQ(clicks, 0);

    // Even with the focus already on the button a press outside does not latch.
    app->setFocus(button);
    moveTo(500, 500);
    buttons[0] = true;
    app->handleEvent(buttonEvent(true));
    app->updateFrame(0.01f, *window);
    moveTo(150, 120);
    release();
    EXPECT_EQ(clicks, 0);
}

TEST_F(GuiButton, PressAndReleaseWithinOneFrameClicks) {
    moveTo(150, 120);
    // Both events arrive before the update; the button reads as up.
    frame({buttonEvent(true), buttonEvent(false)});
    EXPECT_EQ(app->getFocused(), button);
    EXPECT_EQ(clicks, 1);
    frame();
    EXPECT_EQ(clicks, 1);
}

TEST_F(GuiButton, OnlyTheLeftButtonClicksButOthersMoveFocus) {
    moveTo(150, 120);
    press(1);
    EXPECT_EQ(app->getFocused(), button);
    release(1);
    press(2);
    release(2);
    EXPECT_EQ(clicks, 0);
    app->setFocus(app->getDesktop());
    moveTo(500, 500);
    press(1);
    EXPECT_EQ(app->getFocused(), app->getDesktop());
}

TEST_F(GuiButton, SpaceClicksAndIsConsumedOtherKeysBubble) {
    app->setFocus(button);
    EXPECT_TRUE(button->keyPressed(keyEvent(sf::Keyboard::Space).key));
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button->keyPressed(keyEvent(sf::Keyboard::Return).key));
    frame({keyEvent(sf::Keyboard::Space)});
    EXPECT_EQ(clicks, 2);
}

TEST_F(GuiButton, DisabledButtonStillClicksAndContainsIsHalfOpen) {
    button->setEnabled(false);
    moveTo(150, 120);
    press();
    release();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(button->contains({100.f, 100.f}));
    EXPECT_FALSE(button->contains({300.f, 120.f}));
    EXPECT_FALSE(button->contains({150.f, 140.f}));
}

TEST_F(GuiButton, InactiveButtonIsNotFocusedByAClickAndNotDrawn) {
    button->setActive(false);
    moveTo(150, 120);
    press();
    EXPECT_EQ(app->getFocused(), app->getDesktop());
    release();
    EXPECT_EQ(clicks, 0);
    const sf::Image image = drawAndCapture();
    EXPECT_TRUE(test::colourIs(image, 150, 110, Desktop::BackgroundColour));
}

TEST_F(GuiButton, ClickHandlerMaySwitchTheTreeAway) {
    // A handler that removes its own button from the tree, as a menu that
    // switches forms may do, must not leave a dangling button behind.
    button->onClick = [this] {
        ++clicks;
        app->getDesktop()->removeChild(button);
        button.reset();
    };
    moveTo(150, 120);
    press();
    release();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(app->getDesktop()->getChildren().empty());
    frame();
}

// The flat look read back from the screen.
TEST_F(GuiButton, FlatLookColoursOnScreen) {
    // Rest, not focused: grey body, thin grey outline.
    frame();
    sf::Image image = drawAndCapture();
    EXPECT_TRUE(test::colourIs(image, 110, 105, ButtonSkinWin10::FillNormal));
    EXPECT_TRUE(test::colourIs(image, 100, 100, ButtonSkinWin10::OutlineNormal));
    EXPECT_TRUE(test::colourIs(image, 299, 139, ButtonSkinWin10::OutlineNormal));
    EXPECT_TRUE(test::colourIs(image, 101, 101, ButtonSkinWin10::FillNormal));
    EXPECT_TRUE(test::colourIs(image, 300, 140, Desktop::BackgroundColour));

    // Hover: pale blue body, blue thin outline.
    moveTo(110, 105);
    image = drawAndCapture();
    EXPECT_TRUE(test::colourIs(image, 120, 105, ButtonSkinWin10::FillHover));
    EXPECT_TRUE(test::colourIs(image, 100, 100, ButtonSkinWin10::OutlineActive));
    EXPECT_TRUE(test::colourIs(image, 101, 101, ButtonSkinWin10::FillHover));

    // Pressed: darker body and outline.
    press();
    image = drawAndCapture();
    EXPECT_TRUE(test::colourIs(image, 120, 105, ButtonSkinWin10::FillPressed));
    EXPECT_TRUE(test::colourIs(image, 100, 100, ButtonSkinWin10::OutlinePressed));
    release();

    // Focused at rest (pointer away): thick blue outline, 2 pixels wide.
    moveTo(600, 600);
    image = drawAndCapture(); // the skin learns the focus while drawing
    image = drawAndCapture();
    EXPECT_TRUE(button->isFocused());
    EXPECT_TRUE(test::colourIs(image, 100, 100, ButtonSkinWin10::OutlineActive));
    EXPECT_TRUE(test::colourIs(image, 101, 101, ButtonSkinWin10::OutlineActive));
    EXPECT_TRUE(test::colourIs(image, 298, 138, ButtonSkinWin10::OutlineActive));
    EXPECT_TRUE(test::colourIs(image, 102, 102, ButtonSkinWin10::FillNormal));
    EXPECT_EQ(button->borderWidth(), 2.f);

    // Disabled: grey whatever the mouse does.
    button->setEnabled(false);
    moveTo(110, 105);
    press();
    image = drawAndCapture();
    EXPECT_TRUE(test::colourIs(image, 120, 105, ButtonSkinWin10::FillDisabled));
    EXPECT_TRUE(test::colourIs(image, 100, 100, ButtonSkinWin10::OutlineDisabled));
    release();
}

TEST_F(GuiButton, CaptionIsCentredAndClipped) {
    button->text = L"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW";
    button->skin->textSize = 30;
    frame();
    const sf::Image image = drawAndCapture();
    // Some caption pixels are dark inside the button...
    int dark = 0;
    for (unsigned x = 102; x < 298; ++x) {
        for (unsigned y = 102; y < 138; ++y) {
            dark += image.getPixel(x, y).r < 100 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 50);
    // ...and none leak past the clip on either side.
    for (unsigned y = 95; y < 145; ++y) {
        EXPECT_TRUE(test::colourIs(image, 95, y, Desktop::BackgroundColour));
        EXPECT_TRUE(test::colourIs(image, 305, y, Desktop::BackgroundColour));
    }
}

} // namespace
} // namespace pyx::gui
