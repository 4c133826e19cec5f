#include "engine/gui/Application.hpp"
#include "engine/gui/Desktop.hpp"
#include "engine/platform/HeapTuning.hpp"
#include "game/forms/GameForm.hpp"
#include "game/forms/GameRuntime.hpp"
#include "game/forms/MainMenuForm.hpp"
#include "game/forms/SwitchingWindow.hpp"

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <locale>
#include <memory>

// Hybrid-graphics drivers look these up in the executable and then run it on
// the discrete graphics processor.
#if defined(_WIN32)
#define IRONMOAT_EXPORT __declspec(dllexport)
#else
#define IRONMOAT_EXPORT __attribute__((visibility("default")))
#endif
extern "C" {
IRONMOAT_EXPORT std::int32_t NvOptimusEnablement = 1;
IRONMOAT_EXPORT std::int32_t AmdPowerXpressRequestHighPerformance = 1;
}

int main(int, char**) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    // Before any thread or buffer exists: the driver's per-frame buffers then
    // stay in the heap instead of being mapped and unmapped every frame.
    pyx::wrp::HeapTuning::forSteadyFrames();

    // The services come first and go last, so their threads end only after
    // the window tree is gone.
    ironmoat::cmn::GameRuntime runtime(
        sf::String("IronMoat v1.0 (Dunmark PYX Remake)", std::locale()));
    pyx::gui::Application& application = runtime.application();
    auto switching = std::make_shared<ironmoat::cmn::SwitchingWindow>(
        &application, application.getDesktop());
    runtime.fillDesktop(switching);

    // The menu first, so that it is the form shown; the game form waits
    // hidden, its tick timer already running, until a button starts a match.
    std::shared_ptr<MainMenuForm> menu = switching->addShown<MainMenuForm>("menu");
    std::shared_ptr<GameForm> game = switching->addHidden<GameForm>("game");
    menu->setGameForm(game);

    application.run();
    return 0;
}
