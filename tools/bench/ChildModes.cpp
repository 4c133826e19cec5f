#include "tools/bench/Bench.hpp"

#include "engine/common/Logger.hpp"
#include "engine/common/ResourceManager.hpp"
#include "engine/core/WeakSingleton.hpp"
#include "engine/gui/Application.hpp"
#include "engine/gui/Desktop.hpp"
#include "engine/gui/GuiResources.hpp"
#include "game/forms/GameForm.hpp"
#include "game/forms/MainMenuForm.hpp"
#include "game/forms/SwitchingWindow.hpp"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <locale>
#include <optional>
#include <thread>

namespace ironmoat::bench {

namespace {

long long nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               BenchClock::now().time_since_epoch())
        .count();
}

} // namespace

int floorWindowMain() {
    sf::RenderWindow window(sf::VideoMode(1280, 720, 32), "IronMoat floor", sf::Style::Default,
                            sf::ContextSettings());
    window.setFramerateLimit(70);
    while (window.isOpen()) {
        sf::Event event;
        while (window.pollEvent(event))
            if (event.type == sf::Event::Closed)
                window.close();
        if (!window.isOpen())
            break;
        window.clear(sf::Color(55, 55, 55, 255));
        window.display();
    }
    return 0;
}

int startupReplicaMain() {
    // The executable's start-up, step by step, so that the resource
    // manager it builds can be asked when everything has been decoded.
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    std::optional<pyx::core::WeakSingleton<pyx::cmn::Logger>> logger(std::in_place);
    std::optional<pyx::core::WeakSingleton<pyx::cmn::ResourceManager>> resources(std::in_place);
    // A watcher notes the last moment the count of loads in progress fell to
    // zero; whatever start-up requests is requested before `run`.
    std::atomic<long long> lastDrained{0};
    std::atomic<bool> watching{true};
    pyx::cmn::ResourceManager* manager = &**resources;
    std::thread watcher([&] {
        bool busy = false;
        while (watching.load()) {
            const bool loading = manager->loadingCount() > 0;
            if (loading)
                busy = true;
            else if (busy) {
                lastDrained.store(nowNs());
                busy = false;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(250));
        }
    });
    (*resources)->mount(L"data/core.dat", L"@release/Core");
    (*resources)->mount(L"data/ironmoat.dat", L"ironmoat");
    auto window = std::make_shared<sf::RenderWindow>(
        sf::VideoMode(1280, 720, 32),
        sf::String("IronMoat v1.0 (Dunmark PYX Remake) start-up", std::locale()),
        sf::Style::Default, sf::ContextSettings());
    window->setFramerateLimit(70);
    std::optional<pyx::core::WeakSingleton<pyx::gui::GuiResources>> gui(std::in_place);
    (*gui)->setDefaultFont(
        (*resources)->getFont(L"@release/Core/Fonts/Charis-SIL/Font-Face-R.ttf"));
    auto application = std::make_unique<pyx::gui::Application>(window);
    const std::shared_ptr<pyx::gui::Desktop>& desktop = application->getDesktop();
    auto switching = std::make_shared<cmn::SwitchingWindow>(application.get(), desktop);
    switching->setPoint(0.f, 0.f);
    switching->setSize(desktop->getWidth(), desktop->getHeight());
    switching->setParent(switching, desktop);
    std::shared_ptr<MainMenuForm> menu = switching->addShown<MainMenuForm>("menu");
    std::shared_ptr<GameForm> game = switching->addHidden<GameForm>("game");
    menu->setGameForm(game);

    const long long built = nowNs();

    // The loop of Application::run, with the two moments noted.
    long long firstFrame = 0;
    long long decoded = 0;
    const auto start = BenchClock::now();
    auto previous = start;
    while (window->isOpen() && (firstFrame == 0 || decoded == 0) &&
           BenchClock::now() - start < std::chrono::seconds(20)) {
        sf::Event event;
        while (window->pollEvent(event))
            if (event.type != sf::Event::Closed)
                application->handleEvent(event);
        const auto now = BenchClock::now();
        application->updateFrame(std::chrono::duration<float>(now - previous).count(), *window);
        previous = now;
        desktop->draw(*application->getCamera());
        window->display();
        if (firstFrame == 0)
            firstFrame = nowNs();
        if (firstFrame != 0 && decoded == 0 && manager->loadingCount() == 0) {
            // Let the watcher see the last fall before reading it.
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            decoded = std::max(lastDrained.load(), 1LL);
            if (lastDrained.load() == 0)
                decoded = built; // nothing was still loading when polled
        }
    }
    watching.store(false);
    watcher.join();
    std::printf("frame %lld\ndecoded %lld\n", firstFrame, decoded);
    std::fflush(stdout);

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

} // namespace ironmoat::bench
