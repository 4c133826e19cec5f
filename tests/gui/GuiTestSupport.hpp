#pragma once

// A real render window under the test X server with an Application on it,
// plus the mouse seams that stand in for a hand on the mouse: an X server
// without a window manager gives no reliable focus, so the fixture claims
// the foreground and moves the cursor and buttons itself. Everything else
// (camera, mouse bookkeeping, window tree, drawing) is the real thing.

#include "engine/common/ResourceManager.hpp"
#include "engine/common/ResourceSfFont.hpp"
#include "engine/core/WeakSingleton.hpp"
#include "engine/graphics/Camera.hpp"
#include "engine/graphics/Mouse.hpp"
#include "engine/gui/Application.hpp"
#include "engine/gui/Desktop.hpp"
#include "engine/gui/GuiResources.hpp"
#include "engine/platform/Keyboard.hpp"
#include "engine/platform/MousePlatform.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <ostream>
#include <string>

namespace pyx::gui::test {

inline const char* const TestFontPath = "/usr/share/fonts/truetype/charis/CharisSIL-Regular.ttf";

class GuiFixture : public ::testing::Test {
protected:
    void SetUp() override {
        wrp::MousePlatform::setForegroundPoll([this](const sf::Window&) { return foreground; });
        wrp::MousePlatform::setButtonPoll([this](int button) {
            return button >= 0 && button < 3 && buttons[static_cast<unsigned>(button)];
        });
        wrp::MousePlatform::setCursorPoll([this]() { return cursor; });
        wrp::Keyboard::setPollFunction([](int) { return false; });

        resources.get()->setDefaultFont(manager.get()->getFont(std::wstring(
            TestFontPath, TestFontPath + std::char_traits<char>::length(TestFontPath))));
        window = std::make_shared<sf::RenderWindow>(sf::VideoMode(1280, 720, 32), "GuiTest",
                                                    sf::Style::Default);
        app = std::make_unique<Application>(window);
    }

    void TearDown() override {
        app.reset();
        window.reset();
        wrp::MousePlatform::setForegroundPoll({});
        wrp::MousePlatform::setButtonPoll({});
        wrp::MousePlatform::setCursorPoll({});
        wrp::Keyboard::setPollFunction({});
    }

    // Hands the events to the application and runs one frame's update.
    void frame(std::initializer_list<sf::Event> events = {}) {
        for (const sf::Event& event : events) {
            app->handleEvent(event);
        }
        app->updateFrame(1.f / 70.f, *window);
    }

    // Draws the tree into the back buffer and reads it back.
    sf::Image drawAndCapture() {
        app->getDesktop()->draw(*app->getCamera());
        sf::Texture texture;
        texture.create(window->getSize().x, window->getSize().y);
        texture.update(*window);
        sf::Image image = texture.copyToImage();
        window->display();
        return image;
    }

    static sf::Event buttonEvent(bool pressed, sf::Mouse::Button button = sf::Mouse::Left) {
        sf::Event event;
        event.type = pressed ? sf::Event::MouseButtonPressed : sf::Event::MouseButtonReleased;
        event.mouseButton.button = button;
        event.mouseButton.x = 0;
        event.mouseButton.y = 0;
        return event;
    }

    static sf::Event keyEvent(sf::Keyboard::Key code) {
        sf::Event event;
        event.type = sf::Event::KeyPressed;
        event.key.code = code;
        event.key.alt = event.key.control = event.key.shift = event.key.system = false;
        return event;
    }

    // A real press: the button is held from now on and its event counted.
    void press(int button = 0) {
        buttons[static_cast<unsigned>(button)] = true;
        frame({buttonEvent(true, static_cast<sf::Mouse::Button>(button))});
    }
    void release(int button = 0) {
        buttons[static_cast<unsigned>(button)] = false;
        frame({buttonEvent(false, static_cast<sf::Mouse::Button>(button))});
    }
    void moveTo(int x, int y) {
        cursor = {x, y};
        frame();
    }

    core::WeakSingleton<cmn::ResourceManager> manager;
    core::WeakSingleton<GuiResources> resources;
    std::shared_ptr<sf::RenderWindow> window;
    std::unique_ptr<Application> app;
    bool foreground = true;
    std::array<bool, 3> buttons{};
    sf::Vector2i cursor{0, 0};
};

inline ::testing::AssertionResult colourIs(const sf::Image& image, unsigned x, unsigned y,
                                           sf::Color expected) {
    const sf::Color c = image.getPixel(x, y);
    if (c.r == expected.r && c.g == expected.g && c.b == expected.b) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "pixel (" << x << ", " << y << ") is (" << int(c.r) << ", " << int(c.g) << ", "
           << int(c.b) << "), expected (" << int(expected.r) << ", " << int(expected.g) << ", "
           << int(expected.b) << ")";
}

} // namespace pyx::gui::test
