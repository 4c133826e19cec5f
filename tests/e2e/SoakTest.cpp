#include "tests/e2e/E2eSupport.hpp"

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <thread>
#include <vector>

// The real game left to two random players for a long time: it must keep
// answering, keep its memory flat and close cleanly at the end. The length
// comes from IRONMOAT_SOAK_SECONDS (120 when unset; `make soak` runs 1800).
//
// Memory: VmRSS is sampled every 2 seconds. The baseline is the median of
// the samples of the first minute's last 15 seconds (45 s to 60 s after the
// window appeared), the end level the median of the last 15 seconds'
// samples. The run fails when the end level exceeds the baseline by more
// than 5 %; medians keep one noisy sample from deciding either way.
//
// Hang: a shot of the window is taken every second. The menu animates its
// tanks' wheels every frame and the enemy's tanks never stand still in a
// match, so a window whose content stays the same for 10 seconds has
// stopped drawing frames, which in this game means it stopped handling
// events too (one loop does both).

namespace ironmoat::e2e {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const auto FreezeLimit = 10s;
const auto SampleEvery = 2s;
const auto ShotEvery = 1s;
const double BaselineFrom = 45.0, BaselineTo = 60.0, EndWindow = 15.0;
const double GrowthLimit = 0.05;

int soakSeconds() {
    const char* text = std::getenv("IRONMOAT_SOAK_SECONDS");
    const int seconds = text != nullptr ? std::atoi(text) : 120;
    return seconds > 0 ? seconds : 120;
}

struct Sample {
    double at = 0; // seconds since the window appeared
    long kib = 0;
};

long median(std::vector<long> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

std::vector<long> between(const std::vector<Sample>& samples, double from, double to) {
    std::vector<long> values;
    for (const Sample& s : samples)
        if (s.at >= from && s.at <= to)
            values.push_back(s.kib);
    return values;
}

// A cheap fingerprint of a shot: every pixel of every fourth row.
std::uint64_t fingerprint(const sf::Image& image) {
    std::uint64_t hash = 1469598103934665603ull;
    const sf::Uint8* pixels = image.getPixelsPtr();
    const std::size_t row = static_cast<std::size_t>(image.getSize().x) * 4;
    for (unsigned y = 0; y < image.getSize().y; y += 4)
        for (std::size_t i = 0; i < row; ++i)
            hash = (hash ^ pixels[y * row + i]) * 1099511628211ull;
    return hash;
}

// Both players' keys: Player 1's arrows and Right Ctrl, Player 2's W A S D
// and Left Ctrl.
const unsigned long PlayerKeys[] = {XK_Left, XK_Right, XK_Up, XK_Down, XK_Control_R,
                                    XK_a,    XK_d,     XK_w,  XK_s,    XK_Control_L};

TEST(E2eSoak, RandomTwoPlayerMatchesKeepTheGameAliveAndItsMemoryFlat) {
    const int seconds = soakSeconds();
    ASSERT_GE(seconds, 75) << "the soak needs more than its first minute to compare against";
    XSession x;
    ASSERT_TRUE(x.connected()) << "no X server on DISPLAY";
    RuntimeFolder folder;
    GameProcess game(folder);
    const WindowId window = x.findWindow(GameTitle, 60s);
    ASSERT_NE(window, 0u) << "no window titled " << GameTitle;
    ASSERT_TRUE(x.place(window, 0, 0));
    x.focus(window);

    const auto start = Clock::now();
    const auto end = start + std::chrono::seconds(seconds);
    const auto since = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
    std::mt19937 random(std::random_device{}());
    std::set<unsigned long> held;
    std::vector<Sample> samples;
    int matches = 0, failedClicks = 0, keyEvents = 0;
    std::uint64_t lastPicture = 0;
    auto lastChange = Clock::now();
    auto nextSample = Clock::now(), nextShot = Clock::now();
    std::string failure;

    const auto releaseAll = [&] {
        for (unsigned long key : held)
            x.setKey(key, false);
        held.clear();
    };

    while (Clock::now() < end && failure.empty()) {
        if (const std::optional<int> status = game.waitForExit(0ms)) {
            failure = "the game ended by itself with status " + std::to_string(*status);
            break;
        }
        if (Clock::now() >= nextSample) {
            nextSample += SampleEvery;
            const std::optional<long> kib = game.residentKiB();
            if (!kib) {
                failure = "the game's process is gone";
                break;
            }
            samples.push_back({since(), *kib});
        }
        if (Clock::now() >= nextShot) {
            nextShot += ShotEvery;
            const std::optional<sf::Image> image = x.shot(window);
            if (!image) {
                failure = "the game's window cannot be read any more";
                break;
            }
            const std::uint64_t picture = fingerprint(*image);
            if (picture != lastPicture) {
                lastPicture = picture;
                lastChange = Clock::now();
            } else if (Clock::now() - lastChange > FreezeLimit) {
                failure = "the window showed the same frame for more than 10 s at " +
                          std::to_string(static_cast<int>(since())) + " s";
                break;
            }
            if (findMenuButtons(*image)) {
                // Keys held across the switch would stay held in the next match.
                releaseAll();
                if (clickMatchStart(x, window, true, 2s) &&
                    x.waitForShot(window, matchPanelShown, 10s)) {
                    ++matches;
                    failedClicks = 0;
                } else if (++failedClicks >= 3) {
                    failure = "three clicks on Two players started no match";
                    break;
                }
                lastChange = Clock::now();
            }
        }
        // Random presses and releases; about half of the keys end up held.
        const unsigned long key = PlayerKeys[random() % std::size(PlayerKeys)];
        const bool down = held.count(key) == 0;
        x.setKey(key, down);
        if (down)
            held.insert(key);
        else
            held.erase(key);
        ++keyEvents;
        std::this_thread::sleep_for(std::chrono::milliseconds(30 + random() % 150));
    }
    releaseAll();

    const double ran = since();
    const long baseline = median(between(samples, BaselineFrom, BaselineTo));
    const long last = median(between(samples, ran - EndWindow, ran));
    long peak = 0;
    for (const Sample& s : samples)
        peak = std::max(peak, s.kib);
    const double growth = baseline > 0 ? (static_cast<double>(last) - baseline) / baseline : 0;
    std::printf("soak: ran %.0f s, %d two-player matches started, %d key events\n"
                "soak: VmRSS first sample %ld KiB, first minute (median 45-60 s) %ld KiB, "
                "end (median of last 15 s) %ld KiB, peak %ld KiB, growth %+.2f %%\n",
                ran, matches, keyEvents, samples.empty() ? 0 : samples.front().kib, baseline, last,
                peak, growth * 100.0);
    std::fflush(stdout);
    ASSERT_TRUE(failure.empty()) << failure;

    EXPECT_GE(matches, 1) << "no match was ever started";
    ASSERT_GT(baseline, 0) << "no memory samples in the first minute";
    EXPECT_LE(growth, GrowthLimit) << "resident memory grew from " << baseline << " KiB to " << last
                                   << " KiB after the first minute";

    closeAndCheckShutdown(x, window, game, folder, 60s);
}

} // namespace
} // namespace ironmoat::e2e
