#include "engine/gui/Theme.hpp"
#include "engine/gui/Button.hpp"
#include "engine/gui/ButtonSkinWin10.hpp"
#include "engine/gui/EditSkinWin10.hpp"
#include "engine/gui/ScrollSkinWin10.hpp"

#include "tests/gui/GuiTestSupport.hpp"
#include "tests/gui/RecordingWindow.hpp"

#include <gtest/gtest.h>

namespace pyx::gui {
namespace {

// A second button look, to see what a change of class does.
class OtherButtonSkin : public ButtonSkinWin10 {
public:
    int typeId() const override { return core::UniqueTypeId<OtherButtonSkin>::value(); }
    std::unique_ptr<ButtonSkin> newInstance() const override {
        return std::make_unique<OtherButtonSkin>();
    }
};

using GuiTheme = test::GuiFixture;

TEST_F(GuiTheme, UpdateSkinKeepsSameClassAndFollowsStyle) {
    auto source = std::make_unique<ButtonSkinWin10>();
    std::unique_ptr<ButtonSkin> target = source->clone();
    ButtonSkin* kept = target.get();
    EXPECT_FALSE(Theme::updateSkin(source.get(), target));

    source->textSize = 20;
    EXPECT_TRUE(Theme::updateSkin(source.get(), target));
    EXPECT_EQ(target.get(), kept);
    EXPECT_EQ(target->textSize, 20);

    // A size chosen by the control survives.
    target->textSize = 11;
    target->textSizeSet = true;
    source->textSize = 25;
    EXPECT_TRUE(Theme::updateSkin(source.get(), target));
    EXPECT_EQ(target->textSize, 11);

    EXPECT_FALSE(Theme::updateSkin(static_cast<const ButtonSkin*>(nullptr), target));
    EXPECT_EQ(target.get(), kept);
}

TEST_F(GuiTheme, ChangeOfClassClonesAndKeepsExplicitProperties) {
    std::unique_ptr<ButtonSkin> target = std::make_unique<ButtonSkinWin10>();
    target->textColour = sf::Color::Red;
    target->textColourSet = true;
    target->textSize = 9;
    OtherButtonSkin other;
    other.textSize = 30;
    other.textColour = sf::Color::Blue;
    EXPECT_NE(other.typeId(), target->typeId());
    EXPECT_TRUE(Theme::updateSkin(&other, target));
    EXPECT_EQ(target->typeId(), other.typeId());
    EXPECT_EQ(target->textColour, sf::Color::Red);
    EXPECT_TRUE(target->textColourSet);
    EXPECT_EQ(target->textSize, 30);
    EXPECT_FALSE(target->textSizeSet);
}

TEST_F(GuiTheme, PendingSkinsReachTheTreeThroughTheFrame) {
    Theme& theme = *app->getTheme();
    EXPECT_FALSE(theme.applyPending());
    ASSERT_NE(theme.getButtonSkin(), nullptr);
    EXPECT_EQ(theme.getButtonSkin()->typeId(), ButtonSkinWin10::classTypeId());
    EXPECT_EQ(theme.getEditSkin()->typeId(), EditSkinWin10::classTypeId());
    EXPECT_EQ(theme.getScrollSkin()->typeId(), ScrollSkinWin10::classTypeId());

    auto button = app->getDesktop()->createChild<Button>();
    auto pending = std::make_unique<OtherButtonSkin>();
    pending->textSize = 33;
    theme.setPendingButtonSkin(std::move(pending));
    frame();
    EXPECT_EQ(theme.getButtonSkin()->typeId(), core::UniqueTypeId<OtherButtonSkin>::value());
    EXPECT_EQ(button->skin->typeId(), core::UniqueTypeId<OtherButtonSkin>::value());
    EXPECT_EQ(button->skin->textSize, 33);
    EXPECT_FALSE(theme.applyPending());
}

TEST_F(GuiTheme, ScrollPartsDrawInTheirColoursAndSmallArrowsNot) {
    auto host = app->getDesktop()->createChild<test::RecordingWindow>();
    host->setRect({0.f, 0.f, 400.f, 400.f});
    ScrollSkinWin10 skin;
    skin.rect = {0.f, 0.f, 200.f, 40.f};
    skin.firstArrow = {{0.f, 0.f, 40.f, 40.f}, ScrollSkin::LeftArrow, ScrollSkin::Hover};
    skin.secondArrow = {{160.f, 0.f, 10.f, 10.f}, ScrollSkin::RightArrow, ScrollSkin::Normal};
    skin.thumb = {{60.f, 0.f, 60.f, 40.f}, ScrollSkin::HorizontalThumb, ScrollSkin::Pressed};
    host->onDraw = [&](gfx::Camera& camera) { skin.draw(camera); };
    frame();
    const sf::Image image = drawAndCapture();
    EXPECT_TRUE(test::colourIs(image, 190, 30, ScrollSkinWin10::Track));
    EXPECT_TRUE(test::colourIs(image, 20, 20, ScrollSkinWin10::partColour(0, 1)));
    EXPECT_TRUE(test::colourIs(image, 90, 20, ScrollSkinWin10::partColour(5, 2)));
    // The thumb is 10 units shorter along its axis: 65 .. 115.
    EXPECT_TRUE(test::colourIs(image, 62, 20, ScrollSkinWin10::Track));
    for (unsigned x = 160; x < 170; ++x) {
        EXPECT_TRUE(test::colourIs(image, x, 5, ScrollSkinWin10::Track));
    }
    EXPECT_EQ(ScrollSkinWin10::partColour(6, 0), sf::Color::Transparent);
    EXPECT_EQ(ScrollSkinWin10::partColour(1, 3), sf::Color::Transparent);
}

TEST_F(GuiTheme, MaskedEditTextDrawsOneDotPerCharacter) {
    auto host = app->getDesktop()->createChild<test::RecordingWindow>();
    host->setRect({0.f, 0.f, 400.f, 400.f});
    EditSkinWin10 skin;
    skin.masked = true;
    skin.text = L"abcd";
    host->onDraw = [&](gfx::Camera& camera) { skin.drawText(camera, 20.f, 20.f, 3, 1); };
    frame();
    const sf::Image image = drawAndCapture();
    // Dots at x = 20, 34, 48, 62 (centres + 5); the middle two selected.
    EXPECT_TRUE(test::colourIs(image, 25, 25, EditSkinWin10::Text));
    EXPECT_TRUE(test::colourIs(image, 39, 25, EditSkinWin10::TextSelected));
    EXPECT_TRUE(test::colourIs(image, 53, 25, EditSkinWin10::TextSelected));
    EXPECT_TRUE(test::colourIs(image, 67, 25, EditSkinWin10::Text));
    EXPECT_TRUE(test::colourIs(image, 34, 20, EditSkinWin10::SelectionBackground));
    EXPECT_TRUE(test::colourIs(image, 80, 25, Desktop::BackgroundColour));
    EXPECT_EQ(skin.textWidth(*app->getCamera(), L"abc"), 42.f);
    EXPECT_EQ(skin.lineHeight(), 14.f);
}

} // namespace
} // namespace pyx::gui
