#pragma once

#include "engine/common/Logger.hpp"
#include "engine/common/ResourceManager.hpp"
#include "engine/core/NonCopyable.hpp"
#include "engine/core/WeakSingleton.hpp"
#include "engine/gui/Application.hpp"
#include "engine/gui/GuiResources.hpp"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/System/String.hpp>

#include <memory>

namespace pyx::gui {
class Window;
}

namespace ironmoat::cmn {

// What every program run from the game's runtime folder sets up before its
// own windows: the logger, the resource manager with the game's two archives
// mounted, a 1280 x 720 render window held at 70 frames per second, the GUI
// default font and the Application. The members are released in reverse
// order, so the service threads end only after the window tree is gone.
class GameRuntime : public pyx::core::NonCopyable {
public:
    // Takes the services, mounts "data/core.dat" and "data/ironmoat.dat" and
    // opens the window with the given title.
    explicit GameRuntime(const sf::String& title);

    pyx::gui::Application& application() { return *m_application; }

    // Makes `root` a child of the desktop that covers all of it.
    void fillDesktop(const std::shared_ptr<pyx::gui::Window>& root);

private:
    pyx::core::WeakSingleton<pyx::cmn::Logger> m_logger;
    pyx::core::WeakSingleton<pyx::cmn::ResourceManager> m_resources;
    std::shared_ptr<sf::RenderWindow> m_window;
    pyx::core::WeakSingleton<pyx::gui::GuiResources> m_gui;
    std::unique_ptr<pyx::gui::Application> m_application;
};

} // namespace ironmoat::cmn
