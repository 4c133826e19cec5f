#include "tools/bench/Bench.hpp"

#include "engine/graphics/Camera.hpp"
#include "engine/gui/Application.hpp"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>

namespace ironmoat::bench {

namespace {

constexpr int WarmUpFrames = 30;

double millis(BenchClock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void drainEvents(sf::RenderWindow& window, pyx::gui::Application& application) {
    sf::Event event;
    while (window.pollEvent(event))
        if (event.type != sf::Event::Closed)
            application.handleEvent(event);
}

} // namespace

std::vector<Figure> runFrameBench(int frames) {
    auto window = std::make_shared<sf::RenderWindow>(sf::VideoMode(1280, 720, 32), "IronMoat bench",
                                                     sf::Style::Default, sf::ContextSettings());
    window->setFramerateLimit(0);
    window->setVerticalSyncEnabled(false);
    pyx::gui::Application application(window);
    pyx::gfx::Camera& camera = *application.getCamera();

    std::vector<double> floorSamples;
    for (int i = 0; i < WarmUpFrames + frames; ++i) {
        drainEvents(*window, application);
        const auto start = BenchClock::now();
        window->clear();
        window->display();
        const auto end = BenchClock::now();
        if (i >= WarmUpFrames)
            floorSamples.push_back(millis(end - start));
    }

    std::vector<double> samples;
    {
        QuietStdout quiet;
        Match match(4242);
        for (int i = 0; i < 600; ++i)
            match.tick();
        for (int i = 0; i < WarmUpFrames + frames; ++i) {
            if (match.finished()) {
                match.restart();
                for (int t = 0; t < 600; ++t)
                    match.tick();
            }
            // One tick a frame keeps the picture changing; the tick itself
            // is measured elsewhere and left out here.
            match.tick();
            drainEvents(*window, application);
            const auto start = BenchClock::now();
            application.updateFrame(1.0f / 60.0f, *window);
            window->clear();
            match.world().draw(camera);
            window->display();
            const auto end = BenchClock::now();
            if (i >= WarmUpFrames)
                samples.push_back(millis(end - start));
        }
    }
    window->close();

    const double median = percentile(samples, 50);
    const double floorMedian = percentile(floorSamples, 50);
    const std::string note = std::to_string(samples.size()) +
                             " frames at 1280x720, World::draw through the Application's camera";
    std::vector<Figure> figures;
    figures.push_back({"frame.median", "ms", median, true, floorMedian, "", 0.0, note});
    figures.push_back({"frame.p95", "ms", percentile(samples, 95), true,
                       percentile(floorSamples, 95), "<=", 14.3, ""});
    figures.push_back({"frame.fps", "1/s", median > 0 ? 1000.0 / median : 0.0, true,
                       floorMedian > 0 ? 1000.0 / floorMedian : 0.0, "", 0.0, "from the medians"});
    return figures;
}

} // namespace ironmoat::bench
