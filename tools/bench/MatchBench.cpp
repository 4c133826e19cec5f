#include "tools/bench/Bench.hpp"

#include <algorithm>
#include <numeric>

namespace ironmoat::bench {

namespace {

double micros(BenchClock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

} // namespace

std::vector<Figure> runTickBench(int ticks) {
    std::vector<double> samples;
    samples.reserve(static_cast<std::size_t>(ticks));
    long tankSum = 0;
    long shellSum = 0;
    int maxTanks = 0;
    int maxShells = 0;
    int restarts = 0;
    {
        QuietStdout quiet;
        Match match(20261209);
        // The first tick loads the level; a short run-in lets the first
        // tanks appear before anything is timed.
        for (int i = 0; i < 120; ++i)
            match.tick();
        while (static_cast<int>(samples.size()) < ticks) {
            if (match.finished()) {
                match.restart();
                for (int i = 0; i < 120; ++i)
                    match.tick();
            }
            // Controllers read their input outside the tick, as the game
            // form does in its frame; only World::update is timed.
            match.world().updateControllers(true);
            const auto start = BenchClock::now();
            match.world().update(1.0f / 60.0f);
            const auto end = BenchClock::now();
            samples.push_back(micros(end - start));
            const int tanks = match.liveTanks();
            const int shells = match.liveShells();
            tankSum += tanks;
            shellSum += shells;
            maxTanks = std::max(maxTanks, tanks);
            maxShells = std::max(maxShells, shells);
        }
        restarts = match.restarts();
    }

    // The floor: the same pair of timer calls around nothing.
    std::vector<double> floorSamples;
    floorSamples.reserve(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const auto start = BenchClock::now();
        const auto end = BenchClock::now();
        floorSamples.push_back(micros(end - start));
    }

    const double n = static_cast<double>(samples.size());
    const std::string load = "ticks " + std::to_string(samples.size()) + ", tanks avg " +
                             std::to_string(static_cast<double>(tankSum) / n).substr(0, 4) +
                             " max " + std::to_string(maxTanks) + ", shells avg " +
                             std::to_string(static_cast<double>(shellSum) / n).substr(0, 4) +
                             " max " + std::to_string(maxShells) + ", matches " +
                             std::to_string(restarts + 1);
    std::vector<Figure> figures;
    Figure median{
        "tick.median", "us", percentile(samples, 50), true, percentile(floorSamples, 50), "<=",
        20.0,          load};
    Figure p99{"tick.p99", "us", percentile(samples, 99), true, percentile(floorSamples, 99), "<=",
               100.0,      ""};
    Figure worst{"tick.max",
                 "us",
                 *std::max_element(samples.begin(), samples.end()),
                 true,
                 *std::max_element(floorSamples.begin(), floorSamples.end()),
                 "",
                 0.0,
                 "includes level loads"};
    figures.push_back(median);
    figures.push_back(p99);
    figures.push_back(worst);
    return figures;
}

} // namespace ironmoat::bench
