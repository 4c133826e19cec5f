#include "engine/common/TickTimerServer.hpp"
#include "engine/common/Logger.hpp"
#include "engine/core/WeakSingleton.hpp"
#include "tests/common/LoggerTestSupport.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

using pyx::cmn::TickTimerServer;

namespace {

// A clock the test moves by hand, in microseconds.
struct DrivenClock {
    std::int64_t now = 1'000'000'000;
    TickTimerServer::Clock function() {
        return [this] { return now; };
    }
};

struct Recorder {
    std::vector<std::uint64_t> ticks;
    TickTimerServer::Callback callback() {
        return [this](std::uint64_t tick) { ticks.push_back(tick); };
    }
};

// The timer's log lines, read from the log file after the logger ended.
std::vector<std::string> timerLines(const ironmoat_test::TempWorkDir& dir) {
    std::vector<std::string> lines;
    const auto files = dir.logFiles();
    EXPECT_EQ(files.size(), 1u);
    if (files.empty()) {
        return lines;
    }
    for (const auto& line :
         ironmoat_test::splitLines(ironmoat_test::readFile(dir.path() / "logs" / files[0]))) {
        if (line.find("tick timer srv") != std::string::npos ||
            line.find("Tick timer srv") != std::string::npos) {
            lines.push_back(line);
        }
    }
    return lines;
}

} // namespace

TEST(CommonTickTimerServer, FirstTickComesAfterOnePeriod) {
    DrivenClock clock;
    Recorder rec;
    TickTimerServer timer(60, clock.function());
    timer.setCallback(rec.callback());
    timer.update();
    clock.now += 16'666;
    timer.update();
    EXPECT_TRUE(rec.ticks.empty());
    clock.now += 1;
    timer.update();
    timer.update(); // a second call right after delivers nothing more
    EXPECT_EQ(rec.ticks, (std::vector<std::uint64_t>{1}));
}

TEST(CommonTickTimerServer, TicksAreNumberedWithoutGapsAndMatchElapsedTime) {
    DrivenClock clock;
    const std::int64_t start = clock.now;
    Recorder rec;
    TickTimerServer timer(60, clock.function());
    timer.setCallback(rec.callback());
    for (std::int64_t step : {5'000, 16'667, 40'000, 1, 3, 250'000, 16'666, 7'777, 33'334}) {
        clock.now += step;
        timer.update();
        const auto expected = static_cast<std::uint64_t>((clock.now - start) * 60 / 1'000'000);
        EXPECT_EQ(timer.tickCount(), expected);
    }
    ASSERT_FALSE(rec.ticks.empty());
    for (std::size_t i = 0; i < rec.ticks.size(); ++i) {
        EXPECT_EQ(rec.ticks[i], i + 1);
    }
}

TEST(CommonTickTimerServer, ResetRestartsTheCountFromNow) {
    DrivenClock clock;
    Recorder rec;
    TickTimerServer timer(60, clock.function());
    timer.setCallback(rec.callback());
    clock.now += 50'000;
    timer.update();
    EXPECT_EQ(rec.ticks.size(), 3u);
    clock.now += 10'000;
    timer.reset();
    EXPECT_EQ(timer.tickCount(), 0u);
    clock.now += 16'666;
    timer.update();
    EXPECT_EQ(rec.ticks.size(), 3u) << "10 ms before the reset do not count";
    clock.now += 1;
    timer.update();
    EXPECT_EQ(rec.ticks, (std::vector<std::uint64_t>{1, 2, 3, 1}));
}

TEST(CommonTickTimerServer, TimeSpentInCallbacksIsCaughtUpBeforeUpdateReturns) {
    DrivenClock clock;
    const std::int64_t start = clock.now;
    TickTimerServer timer(60, clock.function());
    std::uint64_t last = 0;
    timer.setCallback([&](std::uint64_t tick) {
        EXPECT_EQ(tick, last + 1);
        last = tick;
        clock.now += 9'000; // each tick takes over half a period
    });
    ironmoat_test::TempWorkDir dir;
    ironmoat_test::StderrCapture quiet;
    pyx::core::WeakSingleton<pyx::cmn::Logger> logger;
    clock.now += 100'000;
    timer.update();
    EXPECT_GT(last, 6u);
    EXPECT_EQ(timer.tickCount(), static_cast<std::uint64_t>((clock.now - start) * 60 / 1'000'000));
}

TEST(CommonTickTimerServer, CallbackMayReplaceItselfAndReset) {
    DrivenClock clock;
    TickTimerServer timer(60, clock.function());
    std::vector<std::string> calls;
    TickTimerServer::Callback second = [&](std::uint64_t tick) {
        calls.push_back("second " + std::to_string(tick));
        if (tick == 3) {
            timer.reset();
        }
    };
    timer.setCallback([&](std::uint64_t tick) {
        calls.push_back("first " + std::to_string(tick));
        timer.setCallback(second);
    });
    clock.now += 60'000; // four ticks due
    timer.update();
    // The reset at tick 3 ends the batch: the old bound is not replayed.
    EXPECT_EQ(calls, (std::vector<std::string>{"first 1", "second 2", "second 3"}));
    EXPECT_EQ(timer.tickCount(), 0u);
    clock.now += 16'667;
    timer.update();
    EXPECT_EQ(calls.back(), "second 1");
}

TEST(CommonTickTimerServer, ClockBeforeTheStartDeliversNothing) {
    DrivenClock clock;
    Recorder rec;
    TickTimerServer timer(60, clock.function());
    timer.setCallback(rec.callback());
    clock.now -= 1'000'000;
    timer.update(); // must return, not replay 2^64 ticks
    EXPECT_TRUE(rec.ticks.empty());
    clock.now += 1'000'000 + 16'667;
    timer.update();
    EXPECT_EQ(rec.ticks, (std::vector<std::uint64_t>{1}));
}

TEST(CommonTickTimerServer, WorksWithoutACallbackAndOnTheRealClock) {
    TickTimerServer timer(1000);
    timer.update();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    timer.update();
    EXPECT_GE(timer.tickCount(), 1u);
}

TEST(CommonTickTimerServer, StallsAreReplayedAndLogged) {
    ironmoat_test::TempWorkDir dir;
    DrivenClock clock;
    Recorder rec;
    {
        ironmoat_test::StderrCapture quiet;
        pyx::core::WeakSingleton<pyx::cmn::Logger> logger;
        TickTimerServer timer(60, clock.function());
        timer.setCallback(rec.callback());
        clock.now += 5 * 16'667; // five ticks: too few to mention
        timer.update();
        EXPECT_EQ(rec.ticks.size(), 5u);
        timer.reset();
        rec.ticks.clear();
        clock.now += 1'000'000;
        timer.update();
        EXPECT_EQ(rec.ticks.size(), 60u);
        timer.reset();
        rec.ticks.clear();
        clock.now += 2'000'000;
        timer.update();
        EXPECT_EQ(rec.ticks.size(), 120u);
        EXPECT_EQ(rec.ticks.back(), 120u);
    }
    const std::string prefix = ironmoat_test::threadPrefix();
    const std::vector<std::string> expected = {
        prefix + "Tick timer srv -- 60",
        prefix + "[WARNING] High tick timer srv (and increasing!) -- 100",
        prefix + "Tick timer srv -- 120"};
    EXPECT_EQ(timerLines(dir), expected);
}

TEST(CommonTickTimerServer, CallbackAndResetFromAnotherThreadAreSafe) {
    std::atomic<std::int64_t> now{0};
    TickTimerServer timer(60, [&] { return now.load(); });
    std::atomic<bool> done{false};
    std::atomic<std::uint64_t> calls{0};
    std::atomic<std::uint64_t> lastTick{0};
    auto counting = [&](std::uint64_t tick) {
        calls.fetch_add(1);
        lastTick.store(tick);
    };
    timer.setCallback(counting);
    std::thread other([&] {
        for (int i = 0; i < 2000; ++i) {
            timer.setCallback(counting);
            if (i % 50 == 0) {
                timer.reset();
            }
        }
        done.store(true);
    });
    // Keep the timer busy while the other thread meddles, then until ticks
    // flow undisturbed.
    std::uint64_t quietTicks = 0;
    while (!done.load() || quietTicks < 10) {
        const std::uint64_t before = calls.load();
        now.fetch_add(5'000);
        timer.update();
        if (done.load()) {
            quietTicks += calls.load() - before;
        }
    }
    other.join();
    EXPECT_EQ(lastTick.load(), timer.tickCount());
}

TEST(CommonTickTimerServerDeathTest, RateMustBePositive) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(TickTimerServer timer(0), "Assertion failed: m_ticksPerSec > 0");
}
