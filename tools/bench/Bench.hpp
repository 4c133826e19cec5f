#pragma once

// Shared pieces of the benchmark: sample statistics, the figures it reports
// and the busy match every measurement is taken from.

#include "game/controllers/PlayerController.hpp"
#include "game/objects/World.hpp"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ironmoat::bench {

using BenchClock = std::chrono::steady_clock;

// One reported figure: the measured value beside its floor (the same
// measurement with the work taken out) and the target, when it has one.
struct Figure {
    std::string name;
    std::string unit;
    double value = 0.0;
    bool hasFloor = false;
    double floor = 0.0;
    // "<=", ">=", "<" or empty when the figure has no target.
    std::string targetOp;
    double target = 0.0;
    std::string note;

    bool hasTarget() const { return !targetOp.empty(); }
    bool met() const;
};

// The p-th percentile (0..100) of the samples, nearest rank.
double percentile(std::vector<double> samples, double p);

// A busy match of the campaign's first level: the enemy with five bots and
// two human players driven by scripted controllers that keep moving and
// firing. When the match ends (base lost or both players out of lives) a
// fresh one is started, so a long run stays busy.
class Match {
public:
    explicit Match(std::uint32_t seed);
    ~Match();

    cmn::World& world() { return *m_world; }
    // Controllers, then one tick of 1/60 s.
    void tick();
    // True when the match is over and should be replaced by `restart`.
    bool finished();
    void restart();
    int restarts() const { return m_restarts; }

    // Live tanks and shells in flight right now (call between ticks).
    int liveTanks();
    int liveShells();

private:
    void build();

    std::uint32_t m_seed;
    std::unique_ptr<cmn::World> m_world;
    int m_restarts = 0;
};

// A controller that holds a direction for a while and fires most of the
// time, as a busy player would; seeded, so runs repeat.
std::shared_ptr<cmn::PlayerController> makeFiringController(std::uint32_t seed);

// Live tanks and shells in the world right now (takes the world's lock).
int countLiveTanks(cmn::World& world);
int countLiveShells(cmn::World& world);

// Peak resident set (VmHWM) in MiB of the process, or a negative value when
// unreadable; "self" for this process.
double peakResidentMiB(const std::string& pid = "self");

// Sends the standard output to /dev/null while alive: the bots trace every
// change of direction there, which would bury the table and cost I/O.
class QuietStdout {
public:
    QuietStdout();
    ~QuietStdout();
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;

private:
    int m_saved = -1;
};

std::vector<Figure> runTickBench(int ticks);
std::vector<Figure> runDataBench(const std::vector<std::string>& archives);
// Menu and game frames through the real forms in an Application window
// tree, beside a frame that only clears and presents.
std::vector<Figure> runFrameBench(int frames);
// Start-up, idle CPU and peak memory of the real game executable (`game`,
// a path) beside the floor window of `self` (this program).
std::vector<Figure> runProcessBench(const std::string& game, const std::string& self, int launches,
                                    double idleSeconds, double matchSeconds);

// Child modes of this program, started by runProcessBench.
// An SFML window that only clears and presents at 70 frames per second
// until it is closed.
int floorWindowMain();
// The game's start-up wiring with its resource manager watched: prints the
// steady-clock times (ns) of the first presented frame and of the moment
// nothing requested is left to decode, then exits.
int startupReplicaMain();

} // namespace ironmoat::bench
