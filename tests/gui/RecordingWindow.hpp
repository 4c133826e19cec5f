#pragma once

#include "engine/graphics/Camera.hpp"
#include "engine/gui/Window.hpp"

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/RectangleShape.hpp>

#include <string>
#include <vector>

namespace pyx::gui::test {

// A window that records what the tree does to it and, when given a colour,
// fills a large area so that its clip shows on screen.
class RecordingWindow : public Window {
public:
    RecordingWindow(Application* application, const std::shared_ptr<Window>& parent,
                    std::vector<std::string>* log = nullptr, std::string name = {})
        : Window(application, parent), log(log), name(std::move(name)) {}

    void update(float dt) override {
        ++updates;
        note("update");
        Window::update(dt);
    }
    void processMouse(gfx::Mouse& mouse) override {
        ++mouseCalls;
        note("mouse");
        Window::processMouse(mouse);
    }
    bool onEvent(const sf::Event& event) override {
        events.push_back(event.type);
        return false;
    }
    float borderWidth() const override { return border; }
    void onAttached() override { ++attached; }
    void drawSelf(gfx::Camera& camera) override {
        ++draws;
        note("draw");
        if (fill.a != 0) {
            sf::RectangleShape shape({4000.f, 4000.f});
            shape.setPosition(-2000.f, -2000.f);
            shape.setFillColor(fill);
            camera.drawSnapped(shape);
        }
        if (onDraw) {
            onDraw(camera);
        }
    }
    void drawOverlay(gfx::Camera& camera) override {
        if (overlay.a != 0) {
            sf::RectangleShape shape({getWidth(), getHeight()});
            shape.setFillColor(overlay);
            camera.drawSnapped(shape);
        }
    }
    bool onKeyPressed(const sf::Event::KeyEvent& key) override {
        keys.push_back(key.code);
        note("key");
        return consumeKeys;
    }
    bool onTextEntered(std::uint32_t codePoint) override {
        texts.push_back(codePoint);
        return consumeKeys;
    }

    void note(const char* what) {
        if (log != nullptr) {
            log->push_back(name + ":" + what);
        }
    }

    std::vector<std::string>* log;
    std::string name;
    int updates = 0, mouseCalls = 0, draws = 0, attached = 0;
    std::vector<sf::Event::EventType> events;
    std::vector<sf::Keyboard::Key> keys;
    std::vector<std::uint32_t> texts;
    bool consumeKeys = false;
    float border = 0.f;
    sf::Color fill{0, 0, 0, 0};
    sf::Color overlay{0, 0, 0, 0};
    std::function<void(gfx::Camera&)> onDraw;
};

} // namespace pyx::gui::test
