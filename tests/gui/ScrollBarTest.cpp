#include "engine/gui/ScrollBar.hpp"
#include "engine/gui/ScrollSkinWin10.hpp"

#include "tests/gui/GuiTestSupport.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace pyx::gui {
namespace {

// A bar at (100, 100), 20 x 220: arrows of 20 x 20 at both ends and a
// track of 180 between them. 100 rows of content, 20 of them visible.
class GuiScrollBar : public test::GuiFixture {
protected:
    void SetUp() override {
        test::GuiFixture::SetUp();
        bar = app->getDesktop()->createChild<ScrollBar>();
        bar->setRect({100.f, 100.f, 20.f, 220.f});
        bar->setRange(100.f, 20.f);
        bar->setStep(1.f);
        bar->onScroll = [this](float value) { seen.push_back(value); };
        moveTo(10, 10);
    }

    void clickAt(int x, int y) {
        moveTo(x, y);
        press();
        release();
    }

    std::shared_ptr<ScrollBar> bar;
    std::vector<float> seen;
};

TEST_F(GuiScrollBar, ArrowsStepTrackPagesAndTheValueStaysInRange) {
    clickAt(110, 310); // down arrow
    clickAt(110, 310);
    EXPECT_EQ(bar->getValue(), 2.f);
    clickAt(110, 105); // up arrow
    EXPECT_EQ(bar->getValue(), 1.f);
    // The thumb is 20 % of the track (36 units) at the top; below it the
    // track pages down by one view.
    const sf::FloatRect thumb = bar->thumbRect();
    EXPECT_FLOAT_EQ(thumb.height, 36.f);
    clickAt(110, 300);
    EXPECT_EQ(bar->getValue(), 21.f);
    for (int i = 0; i < 6; ++i) {
        clickAt(110, 300);
    }
    EXPECT_EQ(bar->getValue(), 80.f); // content - view, not beyond
    EXPECT_EQ(seen, (std::vector<float>{1.f, 2.f, 1.f, 21.f, 41.f, 61.f, 80.f}));
    bar->setRange(10.f, 20.f); // everything fits: back to 0
    EXPECT_EQ(bar->getValue(), 0.f);
    bar->scrollBy(5.f);
    EXPECT_EQ(bar->getValue(), 0.f);
}

TEST_F(GuiScrollBar, TheThumbFollowsADragAndTheSkinDrawsTheParts) {
    // Take the thumb by its middle and drag it half the free track down.
    const sf::FloatRect thumb = bar->thumbRect();
    moveTo(110, 100 + static_cast<int>(thumb.top + thumb.height / 2.f));
    press();
    moveTo(110, 100 + static_cast<int>(thumb.top + thumb.height / 2.f) + 72);
    EXPECT_NEAR(bar->getValue(), 40.f, 0.5f);
    moveTo(300, 700); // far below and beside: pinned at the end
    EXPECT_EQ(bar->getValue(), 80.f);
    release();
    moveTo(110, 285); // over the thumb, now at the end of the track
    EXPECT_EQ(bar->getValue(), 80.f);

    const sf::Image image = drawAndCapture();
    // The bare track, the down arrow's triangle, the hovered thumb at the
    // end of the track.
    EXPECT_TRUE(test::colourIs(image, 101, 150, ScrollSkinWin10::Track));
    EXPECT_TRUE(test::colourIs(image, 110, 310, sf::Color(134, 137, 153)));
    EXPECT_TRUE(test::colourIs(image, 110, 290, sf::Color(104, 104, 104))) << "hovered thumb";
}

} // namespace
} // namespace pyx::gui
