#include "engine/app/GameWindow.hpp"

namespace pyx::au {

GameWindow::GameWindow(gui::Application* application, const std::shared_ptr<gui::Window>& parent)
    : gui::Window(application, parent), m_ticksPerSecond(DefaultTicksPerSecond),
      m_timer(DefaultTicksPerSecond) {
    init(parent);
}

GameWindow::GameWindow(gui::Application* application, const std::shared_ptr<gui::Window>& parent,
                       cmn::TickTimerServer::Clock clock)
    : gui::Window(application, parent), m_ticksPerSecond(DefaultTicksPerSecond),
      m_timer(DefaultTicksPerSecond, std::move(clock)) {
    init(parent);
}

void GameWindow::init(const std::shared_ptr<gui::Window>& parent) {
    if (parent) {
        setPoint(0.f, 0.f);
        setSize(parent->getWidth(), parent->getHeight());
    }
    m_timer.setCallback([this](std::uint64_t tick) { onTick(tick); });
}

GameWindow::~GameWindow() {
    // No tick may reach the subclass parts that are already gone.
    m_timer.setCallback(nullptr);
}

void GameWindow::fitToParent() {
    if (std::shared_ptr<gui::Window> parent = getParent()) {
        setPoint(0.f, 0.f);
        setSize(parent->getWidth(), parent->getHeight());
    }
}

void GameWindow::update(float dt) {
    fitToParent();
    gui::Window::update(dt);
    m_timer.update();
}

void GameWindow::onAttached() {
    m_timer.reset();
}

void GameWindow::onTick(std::uint64_t) {}

} // namespace pyx::au
