#include "tools/bench/Bench.hpp"

#include "tools/bench/ChildProcess.hpp"
#include "tools/bench/XProbe.hpp"

#include <algorithm>
#include <cstdio>
#include <thread>

namespace ironmoat::bench {

namespace {

const std::string GameTitle = "IronMoat v1.0 (Dunmark PYX Remake)";
const std::string FloorTitle = "IronMoat floor";
// The desktop's grey, which also the floor window clears to.
constexpr std::uint32_t Grey = 0x373737;
// Points that the menu leaves as bare desktop (away from the title, the
// buttons, the legends and the authors line).
const std::vector<std::pair<int, int>> BarePoints = {{4, 4}, {300, 4}, {4, 300}};
// The buttons' faces, plain and under the pointer.
constexpr std::uint32_t ButtonFace = 0xE1E1E1;
constexpr std::uint32_t ButtonHover = 0xE5F1FB;

double millis(BenchClock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void sleepSeconds(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// Waits (bounded) for the process's window to show its first frame: the
// bare points all in the desktop's grey. Milliseconds since `start`.
std::optional<double> firstFrame(XProbe& x, ChildProcess& child, const std::string& title,
                                 BenchClock::time_point start, unsigned long& window) {
    window = 0;
    const auto end = start + std::chrono::seconds(30);
    while (BenchClock::now() < end && child.running()) {
        if (!window)
            window = x.findWindow(child.pid(), title);
        if (window) {
            const auto colours = x.pixels(window, BarePoints);
            if (colours && std::all_of(colours->begin(), colours->end(),
                                       [](std::uint32_t c) { return c == Grey; }))
                return millis(BenchClock::now() - start);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return std::nullopt;
}

// The process's share of one core over the given time, in percent.
std::optional<double> cpuShare(ChildProcess& child, double seconds) {
    const auto before = child.cpuSeconds();
    const auto start = BenchClock::now();
    sleepSeconds(seconds);
    const auto after = child.cpuSeconds();
    const double elapsed = std::chrono::duration<double>(BenchClock::now() - start).count();
    if (!before || !after || elapsed <= 0.0)
        return std::nullopt;
    return 100.0 * (*after - *before) / elapsed;
}

// The centre row of the n-th (0-based) button face down the column x.
std::optional<int> buttonRow(XProbe& x, unsigned long window, int column, int n) {
    const std::vector<std::uint32_t> colours = x.column(window, column, 0, 720);
    int run = 0;
    int found = 0;
    for (int y = 0; y <= static_cast<int>(colours.size()); ++y) {
        const bool face = y < static_cast<int>(colours.size()) &&
                          (colours[static_cast<std::size_t>(y)] == ButtonFace ||
                           colours[static_cast<std::size_t>(y)] == ButtonHover);
        if (face) {
            ++run;
            continue;
        }
        if (run >= 20 && found++ == n)
            return y - run / 2;
        run = 0;
    }
    return std::nullopt;
}

double median(std::vector<double> values) {
    return values.empty() ? -1.0 : percentile(std::move(values), 50);
}

} // namespace

std::vector<Figure> runProcessBench(const std::string& game, const std::string& self, int launches,
                                    double idleSeconds, double matchSeconds) {
    std::vector<Figure> figures;
    XProbe x;
    if (!x.connected()) {
        std::fprintf(stderr, "ironmoat-bench: no X server for the process figures\n");
        return figures;
    }

    // Start-up: the executable and the floor window, launched in turn.
    std::vector<double> gameStarts, floorStarts, replicaFrames, replicaDecoded;
    for (int i = 0; i < launches; ++i) {
        unsigned long window = 0;
        {
            const auto start = BenchClock::now();
            ChildProcess child(game, {}, false);
            if (auto ms = firstFrame(x, child, GameTitle, start, window))
                gameStarts.push_back(*ms);
        }
        {
            const auto start = BenchClock::now();
            ChildProcess child(self, {"--floor-window"}, false);
            if (auto ms = firstFrame(x, child, FloorTitle, start, window))
                floorStarts.push_back(*ms);
        }
        {
            const auto start = BenchClock::now();
            const long long startNs =
                std::chrono::duration_cast<std::chrono::nanoseconds>(start.time_since_epoch())
                    .count();
            ChildProcess child(self, {"--startup-replica"}, true);
            long long frame = 0, decoded = 0;
            while (auto line = child.readLine(std::chrono::seconds(30))) {
                std::sscanf(line->c_str(), "frame %lld", &frame);
                std::sscanf(line->c_str(), "decoded %lld", &decoded);
            }
            child.waitForExit(std::chrono::seconds(5));
            if (frame > 0 && decoded > 0) {
                replicaFrames.push_back(static_cast<double>(frame - startNs) / 1e6);
                replicaDecoded.push_back(static_cast<double>(decoded - startNs) / 1e6);
            }
        }
    }
    const std::string launchNote = std::to_string(gameStarts.size()) + " of " +
                                   std::to_string(launches) +
                                   " launches, median; fork/exec to the menu's first frame "
                                   "seen on the X server";
    figures.push_back({"startup.firstFrame", "ms", median(gameStarts), true, median(floorStarts),
                       "<=", 300.0, launchNote});
    figures.push_back({"startup.decoded", "ms", median(replicaDecoded), true, median(replicaFrames),
                       "", 0.0,
                       "every start-up picture and font decoded (replica of the start-up, "
                       "watching the resource manager); floor column: its first frame"});

    // Idle at the menu, then a two-player match, in one game process.
    {
        unsigned long window = 0;
        const auto start = BenchClock::now();
        ChildProcess child(game, {}, false);
        const bool shown = firstFrame(x, child, GameTitle, start, window).has_value();
        sleepSeconds(2.0); // decoding and the first frames settle
        const auto idle = shown ? cpuShare(child, idleSeconds) : std::nullopt;

        std::string matchNote = "VmHWM of the game process after " +
                                std::to_string(static_cast<int>(matchSeconds)) +
                                " s of a two-player match";
        double peak = -1.0;
        x.placeAtOrigin(window);
        const auto row = shown ? buttonRow(x, window, 640, 1) : std::nullopt;
        if (row) {
            x.click(window, 640, *row);
            sleepSeconds(1.0);
            if (buttonRow(x, window, 640, 0))
                matchNote += " (the menu stayed: the click was not taken)";
            sleepSeconds(matchSeconds);
            peak = child.peakResidentMiB();
        } else {
            matchNote += " (no \"Two players\" button found)";
        }
        x.sendDeleteWindow(window);
        if (!child.waitForExit(std::chrono::seconds(10)))
            matchNote += "; did not close in 10 s, killed";

        // The floor: a window that only clears and presents at 70 per second.
        const auto floorStart = BenchClock::now();
        ChildProcess floorChild(self, {"--floor-window"}, false);
        unsigned long floorWindow = 0;
        const bool floorShown =
            firstFrame(x, floorChild, FloorTitle, floorStart, floorWindow).has_value();
        sleepSeconds(2.0);
        const auto floorIdle = floorShown ? cpuShare(floorChild, idleSeconds) : std::nullopt;
        const double floorPeak = floorChild.peakResidentMiB();
        x.sendDeleteWindow(floorWindow);
        floorChild.waitForExit(std::chrono::seconds(5));

        figures.push_back(
            {"cpu.idleMenu", "% core", idle.value_or(-1.0), true, floorIdle.value_or(-1.0), "", 0.0,
             "utime+stime of the game at its menu over " +
                 std::to_string(static_cast<int>(idleSeconds)) + " s, frame limit on"});
        figures.push_back({"memory.peak", "MiB", peak, true, floorPeak, "<", 150.0, matchNote});
    }
    return figures;
}

} // namespace ironmoat::bench
