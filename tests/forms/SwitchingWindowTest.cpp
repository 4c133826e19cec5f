#include "game/forms/SwitchingWindow.hpp"

#include "engine/gui/Button.hpp"
#include "tests/gui/GuiTestSupport.hpp"

#include <SFML/System/Sleep.hpp>
#include <gtest/gtest.h>

namespace ironmoat::cmn {
namespace {

class CountingForm : public pyx::gui::Window {
public:
    CountingForm(pyx::gui::Application* application,
                 const std::shared_ptr<pyx::gui::Window>& parent)
        : pyx::gui::Window(application, parent) {}
    void onAttached() override {
        if (!button) {
            button = createChild<pyx::gui::Button>();
            button->setRect({100.f, 100.f, 200.f, 40.f});
            button->onClick = [this] { ++clicks; };
        }
    }
    void update(float dt) override {
        ++updates;
        if (std::shared_ptr<pyx::gui::Window> parent = getParent()) {
            setSize(parent->getWidth(), parent->getHeight());
        }
        pyx::gui::Window::update(dt);
    }
    int updates = 0;
    int clicks = 0;
    std::shared_ptr<pyx::gui::Button> button;
};

class FormsSwitchingWindow : public pyx::gui::test::GuiFixture {
protected:
    void SetUp() override {
        pyx::gui::test::GuiFixture::SetUp();
        auto desktop = app->getDesktop();
        switching = std::make_shared<SwitchingWindow>(app.get(), desktop);
        switching->setParent(switching, desktop);
        menu = switching->addShown<CountingForm>("menu");
        game = switching->addHidden<CountingForm>("game");
    }

    std::shared_ptr<SwitchingWindow> switching;
    std::shared_ptr<CountingForm> menu;
    std::shared_ptr<CountingForm> game;
};

TEST_F(FormsSwitchingWindow, ShowsExactlyOneFormAndFocusesIt) {
    EXPECT_EQ(switching->getSize(), app->getDesktop()->getSize());
    EXPECT_TRUE(menu->isActive() && menu->isEnabled());
    EXPECT_FALSE(game->isActive() || game->isEnabled());
    EXPECT_EQ(app->getFocused(), menu);
    EXPECT_EQ(switching->getForm("game"), game);
    EXPECT_EQ(switching->getForm("nope"), nullptr);

    frame(); // the forms take their size from the switching window
    switching->switchTo("game");
    EXPECT_FALSE(menu->isActive() || menu->isEnabled());
    EXPECT_TRUE(game->isActive() && game->isEnabled());
    EXPECT_EQ(app->getFocused(), game);
    EXPECT_TRUE(game->isFocused());
    EXPECT_FALSE(menu->isFocused());

    switching->switchTo("unknown");
    EXPECT_TRUE(game->isActive());
    EXPECT_EQ(app->getFocused(), game);

    // The hidden menu's button no longer reacts; the shown form's does.
    EXPECT_EQ(app->getDesktop()->windowAt({150.f, 120.f}), game->button);
    moveTo(150, 120);
    frame({buttonEvent(true), buttonEvent(false)});
    EXPECT_EQ(menu->clicks, 0);
    EXPECT_EQ(game->clicks, 1);
}

TEST_F(FormsSwitchingWindow, HiddenFormsKeepGettingUpdatesAndTheNewSize) {
    frame();
    frame();
    EXPECT_EQ(menu->updates, 2);
    EXPECT_EQ(game->updates, 2);

    window->setSize({1000u, 600u});
    // Bounded wait for the server to apply the new size.
    for (int i = 0; i < 200 && window->getSize() != sf::Vector2u(1000u, 600u); ++i) {
        sf::Event event;
        while (window->pollEvent(event)) {
            app->handleEvent(event);
        }
        sf::sleep(sf::milliseconds(10));
    }
    ASSERT_EQ(window->getSize(), sf::Vector2u(1000u, 600u));
    frame();
    EXPECT_EQ(switching->getSize(), sf::Vector2f(1000.f, 600.f));
    EXPECT_EQ(menu->getSize(), sf::Vector2f(1000.f, 600.f));
    EXPECT_EQ(game->getSize(), sf::Vector2f(1000.f, 600.f));
    EXPECT_EQ(app->getCamera()->getViewSize(), sf::Vector2f(1000.f, 600.f));

    // An inactive switching window passes nothing on.
    switching->setActive(false);
    frame();
    EXPECT_EQ(game->updates, 3);
}

} // namespace
} // namespace ironmoat::cmn
