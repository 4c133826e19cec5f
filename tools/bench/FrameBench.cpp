#include "tools/bench/Bench.hpp"

#include "engine/graphics/Camera.hpp"
#include "engine/gui/Application.hpp"
#include "engine/gui/Desktop.hpp"
#include "game/forms/GameForm.hpp"
#include "game/forms/MainMenuForm.hpp"
#include "game/forms/SwitchingWindow.hpp"
#include "game/objects/Player.hpp"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>

#include <cstdio>

namespace ironmoat::bench {

namespace {

constexpr int WarmUpFrames = 30;
// Frames run untimed after a match (re)starts, so that tanks have left
// their spawn points and shells fly before anything is measured.
constexpr int MatchRunInFrames = 240;

double millis(BenchClock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// The game's window tree as the executable builds it: desktop, switching
// window, the menu (shown) and the game form (hidden), the menu holding the
// game form. Only the frame limit differs: it is off.
struct GameForms {
    GameForms() {
        window =
            std::make_shared<sf::RenderWindow>(sf::VideoMode(1280, 720, 32), "IronMoat frame bench",
                                               sf::Style::Default, sf::ContextSettings());
        window->setFramerateLimit(0);
        window->setVerticalSyncEnabled(false);
        application = std::make_unique<pyx::gui::Application>(window);
        const std::shared_ptr<pyx::gui::Desktop>& desktop = application->getDesktop();
        switching = std::make_shared<cmn::SwitchingWindow>(application.get(), desktop);
        switching->setPoint(0.f, 0.f);
        switching->setSize(desktop->getWidth(), desktop->getHeight());
        switching->setParent(switching, desktop);
        menu = switching->addShown<MainMenuForm>("menu");
        game = switching->addHidden<GameForm>("game");
        menu->setGameForm(game);
    }

    ~GameForms() {
        game.reset();
        menu.reset();
        switching.reset();
        application.reset();
        window->close();
    }

    // One pass of the Application's loop: events, update, draw, present.
    // Returns the time it took in milliseconds.
    double frame(Figure* update = nullptr, Figure* draw = nullptr, Figure* present = nullptr) {
        const auto start = BenchClock::now();
        sf::Event event;
        while (window->pollEvent(event))
            if (event.type != sf::Event::Closed)
                application->handleEvent(event);
        const auto now = BenchClock::now();
        const float dt = static_cast<float>(std::chrono::duration<double>(now - previous).count());
        previous = now;
        application->updateFrame(dt, *window);
        const auto updated = BenchClock::now();
        application->getDesktop()->draw(*application->getCamera());
        const auto drawn = BenchClock::now();
        window->display();
        const auto end = BenchClock::now();
        if (update)
            update->value += millis(updated - now);
        if (draw)
            draw->value += millis(drawn - updated);
        if (present)
            present->value += millis(end - drawn);
        return millis(end - start);
    }

    // Starts a two-player match from the menu, as its button does, with
    // both players' keyboards replaced by scripted firing controllers.
    void startMatch(std::uint32_t seed) {
        menu->startGame(true);
        cmn::World* world = game->getWorld();
        auto lock = world->acquireLock();
        for (const auto& player : world->players())
            if (player->team == 2)
                for (auto& controller : player->controllers)
                    controller = makeFiringController(seed++);
    }

    std::shared_ptr<sf::RenderWindow> window;
    std::unique_ptr<pyx::gui::Application> application;
    std::shared_ptr<cmn::SwitchingWindow> switching;
    std::shared_ptr<MainMenuForm> menu;
    std::shared_ptr<GameForm> game;
    BenchClock::time_point previous = BenchClock::now();
};

void floorFrames(GameForms& forms, int count, std::vector<double>& samples) {
    sf::RenderWindow& window = *forms.window;
    for (int i = 0; i < count; ++i) {
        sf::Event event;
        while (window.pollEvent(event)) {
        }
        const auto start = BenchClock::now();
        window.clear(sf::Color(55, 55, 55, 255));
        window.display();
        samples.push_back(millis(BenchClock::now() - start));
    }
}

void addFrameFigures(std::vector<Figure>& figures, const std::string& name,
                     const std::vector<double>& samples, const std::vector<double>& floor,
                     const std::string& note) {
    const double median = percentile(samples, 50);
    const double p95 = percentile(samples, 95);
    const double floorMedian = percentile(floor, 50);
    const double floorP95 = percentile(floor, 95);
    figures.push_back({name + ".median", "ms", median, true, floorMedian, "", 0.0, note});
    figures.push_back({name + ".p95", "ms", p95, true, floorP95, "<=", 14.3, ""});
    figures.push_back({name + ".fps", "1/s", median > 0 ? 1000.0 / median : 0.0, true,
                       floorMedian > 0 ? 1000.0 / floorMedian : 0.0, "", 0.0, "from the medians"});
}

// Where the time of a frame went: update, draw (the CPU side of drawing)
// and present (where the software renderer rasterises and copies).
std::string split(const Figure& update, const Figure& draw, const Figure& present,
                  std::size_t frames) {
    const double n = frames > 0 ? static_cast<double>(frames) : 1.0;
    char text[128];
    std::snprintf(text, sizeof text, "; mean update %.2f ms, draw %.2f ms, present %.2f ms",
                  update.value / n, draw.value / n, present.value / n);
    return text;
}

} // namespace

std::vector<Figure> runFrameBench(int frames) {
    GameForms forms;
    std::vector<double> floorSamples;
    std::vector<double> menuSamples;
    std::vector<double> gameSamples;
    Figure menuUpdate, menuDraw, menuPresent, gameUpdate, gameDraw, gamePresent;

    for (int i = 0; i < WarmUpFrames; ++i)
        forms.frame();
    floorFrames(forms, frames / 2, floorSamples);

    for (int i = 0; i < WarmUpFrames; ++i)
        forms.frame();
    for (int i = 0; i < frames; ++i)
        menuSamples.push_back(forms.frame(&menuUpdate, &menuDraw, &menuPresent));

    long tankSum = 0;
    long shellSum = 0;
    int matches = 0;
    {
        QuietStdout quiet;
        std::uint32_t seed = 4242;
        while (static_cast<int>(gameSamples.size()) < frames) {
            cmn::World* world = forms.game->getWorld();
            if (!world || forms.game->endTime() > 0.0f || !forms.game->isActive()) {
                forms.startMatch(seed);
                seed += 17;
                ++matches;
                for (int i = 0; i < MatchRunInFrames; ++i)
                    forms.frame();
                continue;
            }
            gameSamples.push_back(forms.frame(&gameUpdate, &gameDraw, &gamePresent));
            tankSum += countLiveTanks(*world);
            shellSum += countLiveShells(*world);
        }
    }
    floorFrames(forms, frames - frames / 2, floorSamples);

    std::vector<Figure> figures;
    addFrameFigures(figures, "frame.menu", menuSamples, floorSamples,
                    std::to_string(menuSamples.size()) + " frames at 1280x720, the real forms" +
                        split(menuUpdate, menuDraw, menuPresent, menuSamples.size()));
    const double n = gameSamples.empty() ? 1.0 : static_cast<double>(gameSamples.size());
    char load[96];
    std::snprintf(load, sizeof load, "; two players, tanks avg %.1f, shells avg %.1f, matches %d",
                  static_cast<double>(tankSum) / n, static_cast<double>(shellSum) / n, matches);
    addFrameFigures(figures, "frame.game", gameSamples, floorSamples,
                    std::to_string(gameSamples.size()) + " frames, the game form" + load +
                        split(gameUpdate, gameDraw, gamePresent, gameSamples.size()));
    return figures;
}

} // namespace ironmoat::bench
