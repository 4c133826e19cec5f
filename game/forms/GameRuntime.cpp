#include "game/forms/GameRuntime.hpp"

#include "engine/common/ResourceSfFont.hpp"
#include "engine/gui/Desktop.hpp"
#include "engine/gui/Window.hpp"

namespace ironmoat::cmn {

namespace {

// The resource manager exists before the window, so that the archives are
// mounted before anything asks for a picture or a font.
std::shared_ptr<sf::RenderWindow> mountAndOpen(pyx::cmn::ResourceManager& resources,
                                               const sf::String& title) {
    resources.mount(L"data/core.dat", L"@release/Core");
    resources.mount(L"data/ironmoat.dat", L"ironmoat");
    auto window = std::make_shared<sf::RenderWindow>(sf::VideoMode(1280, 720, 32), title,
                                                     sf::Style::Default, sf::ContextSettings());
    window->setFramerateLimit(70);
    return window;
}

} // namespace

GameRuntime::GameRuntime(const sf::String& title)
    : m_window(mountAndOpen(*m_resources, title)) {
    m_gui->setDefaultFont(
        m_resources->getFont(L"@release/Core/Fonts/Charis-SIL/Font-Face-R.ttf"));
    m_application = std::make_unique<pyx::gui::Application>(m_window);
}

void GameRuntime::fillDesktop(const std::shared_ptr<pyx::gui::Window>& root) {
    const std::shared_ptr<pyx::gui::Desktop>& desktop = m_application->getDesktop();
    root->setPoint(0.f, 0.f);
    root->setSize(desktop->getWidth(), desktop->getHeight());
    root->setParent(root, desktop);
}

} // namespace ironmoat::cmn
