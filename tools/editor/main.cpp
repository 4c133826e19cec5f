// ironmoat-editor [FILE]: the map editor. Started from the game's runtime
// folder, it mounts the game's archives as the game does, draws with the
// game's pictures and saves maps into "maps/", where the game finds them.
#include "engine/common/Logger.hpp"
#include "engine/common/ResourceManager.hpp"
#include "engine/common/ResourceSfFont.hpp"
#include "engine/core/WeakSingleton.hpp"
#include "engine/gui/Application.hpp"
#include "engine/gui/Desktop.hpp"
#include "engine/gui/GuiResources.hpp"
#include "tools/editor/EditorForm.hpp"
#include "tools/editor/MapChecks.hpp"

#include <SFML/Graphics/RenderWindow.hpp>

#include <cstdlib>
#include <ctime>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

int main(int argc, char** argv) {
    if (argc > 2 ||
        (argc == 2 && (std::string(argv[1]) == "-h" || std::string(argv[1]) == "--help"))) {
        std::cerr << "usage: ironmoat-editor [FILE]\n"
                     "  Run it in the game's folder; FILE is a map to open, e.g. maps/mine.mtc.\n";
        return argc > 2 ? 2 : 0;
    }
    // Terrain pictures pick their variants with rand, as in the game.
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    std::optional<pyx::core::WeakSingleton<pyx::cmn::Logger>> logger(std::in_place);
    std::optional<pyx::core::WeakSingleton<pyx::cmn::ResourceManager>> resources(std::in_place);
    (*resources)->mount(L"data/core.dat", L"@release/Core");
    (*resources)->mount(L"data/ironmoat.dat", L"ironmoat");

    auto window =
        std::make_shared<sf::RenderWindow>(sf::VideoMode(1280, 720, 32), "IronMoat map editor",
                                           sf::Style::Default, sf::ContextSettings());
    window->setFramerateLimit(70);

    std::optional<pyx::core::WeakSingleton<pyx::gui::GuiResources>> gui(std::in_place);
    (*gui)->setDefaultFont(
        (*resources)->getFont(L"@release/Core/Fonts/Charis-SIL/Font-Face-R.ttf"));

    auto application = std::make_unique<pyx::gui::Application>(window);
    const std::shared_ptr<pyx::gui::Desktop>& desktop = application->getDesktop();
    auto form = std::make_shared<ironmoat::editor::EditorForm>(application.get(), desktop);
    form->setPoint(0.f, 0.f);
    form->setSize(desktop->getWidth(), desktop->getHeight());
    form->setParent(form, desktop);
    form->setChecker(ironmoat::editor::MapChecks::run);
    // Shortcuts travel up from the focused window; the form must be on that
    // path before the first click.
    application->setFocus(form);
    if (argc == 2) {
        form->openPath(argv[1]);
    }
    // The close box asks first when there are unsaved changes, like Quit.
    application->onCloseRequest = [&form] { return form->requestQuit(); };

    application->run();

    application->onCloseRequest = nullptr;
    form.reset();
    application.reset();
    gui.reset();
    window.reset();
    resources.reset();
    logger.reset();
    return 0;
}
