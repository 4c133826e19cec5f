#include "engine/common/Logger.hpp"
#include "engine/common/ResourceManager.hpp"
#include "engine/common/ResourceSfFont.hpp"
#include "engine/core/WeakSingleton.hpp"
#include "engine/gui/Application.hpp"
#include "engine/gui/Desktop.hpp"
#include "engine/gui/GuiResources.hpp"
#include "engine/platform/HeapTuning.hpp"
#include "game/forms/GameForm.hpp"
#include "game/forms/MainMenuForm.hpp"
#include "game/forms/SwitchingWindow.hpp"

#include <SFML/Graphics/RenderWindow.hpp>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <locale>
#include <memory>
#include <optional>

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
    std::optional<pyx::core::WeakSingleton<pyx::cmn::Logger>> logger(std::in_place);
    std::optional<pyx::core::WeakSingleton<pyx::cmn::ResourceManager>> resources(std::in_place);
    (*resources)->mount(L"data/core.dat", L"@release/Core");
    (*resources)->mount(L"data/ironmoat.dat", L"ironmoat");

    auto window = std::make_shared<sf::RenderWindow>(
        sf::VideoMode(1280, 720, 32),
        sf::String("IronMoat v1.0 (Dunmark PYX Remake)", std::locale()), sf::Style::Default,
        sf::ContextSettings());
    window->setFramerateLimit(70);

    std::optional<pyx::core::WeakSingleton<pyx::gui::GuiResources>> gui(std::in_place);
    (*gui)->setDefaultFont(
        (*resources)->getFont(L"@release/Core/Fonts/Charis-SIL/Font-Face-R.ttf"));

    auto application = std::make_unique<pyx::gui::Application>(window);
    const std::shared_ptr<pyx::gui::Desktop>& desktop = application->getDesktop();
    auto switching = std::make_shared<ironmoat::cmn::SwitchingWindow>(application.get(), desktop);
    switching->setPoint(0.f, 0.f);
    switching->setSize(desktop->getWidth(), desktop->getHeight());
    switching->setParent(switching, desktop);

    // The menu first, so that it is the form shown; the game form waits
    // hidden, its tick timer already running, until a button starts a match.
    std::shared_ptr<MainMenuForm> menu = switching->addShown<MainMenuForm>("menu");
    std::shared_ptr<GameForm> game = switching->addHidden<GameForm>("game");
    menu->setGameForm(game);

    application->run();

    game.reset();
    menu.reset();
    switching.reset();
    application.reset();
    gui.reset();
    window.reset();
    resources.reset();
    logger.reset();
    return 0;
}
