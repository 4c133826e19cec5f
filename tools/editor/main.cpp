// ironmoat-editor [FILE]: the map editor. Started from the game's runtime
// folder, it mounts the game's archives as the game does, draws with the
// game's pictures and saves maps into "maps/", where the game finds them.
#include "engine/gui/Application.hpp"
#include "engine/gui/Desktop.hpp"
#include "game/forms/GameRuntime.hpp"
#include "tools/editor/EditorForm.hpp"
#include "tools/editor/MapChecks.hpp"

#include <cstdlib>
#include <ctime>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    const char* const usage =
        "usage: ironmoat-editor [FILE]\n"
        "  Run it in the game's folder; FILE is a map to open, e.g. maps/mine.mtc.\n";
    if (argc > 2) {
        std::cerr << usage;
        return 2;
    }
    if (argc == 2 && (std::string(argv[1]) == "-h" || std::string(argv[1]) == "--help")) {
        std::cout << usage;
        return 0;
    }
    // Terrain pictures pick their variants with rand, as in the game.
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    ironmoat::cmn::GameRuntime runtime("IronMoat map editor");
    pyx::gui::Application& application = runtime.application();
    auto form = std::make_shared<ironmoat::editor::EditorForm>(&application,
                                                               application.getDesktop());
    runtime.fillDesktop(form);
    form->setChecker(ironmoat::editor::MapChecks::run);
    // Shortcuts travel up from the focused window; the form must be on that
    // path before the first click.
    application.setFocus(form);
    if (argc == 2) {
        form->openPath(argv[1]);
    }
    // The close box asks first when there are unsaved changes, like Quit.
    application.onCloseRequest = [&form] { return form->requestQuit(); };

    application.run();

    application.onCloseRequest = nullptr;
    return 0;
}
