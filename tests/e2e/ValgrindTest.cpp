#include "tests/e2e/E2eSupport.hpp"

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <thread>

// A short two-player match of the real game under valgrind's memcheck: the
// orderly shutdown after WM_DELETE_WINDOW must leave no definitely lost
// block and no memory error outside the third-party code that
// tools/sanitizers/valgrind.supp names. Mesa runs its plain software
// rasterizer (softpipe) here: the JIT of llvmpipe is several times slower
// under valgrind. The match lasts IRONMOAT_VALGRIND_SECONDS (25 when unset).

namespace ironmoat::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

int matchSeconds() {
    const char* text = std::getenv("IRONMOAT_VALGRIND_SECONDS");
    const int seconds = text != nullptr ? std::atoi(text) : 25;
    return seconds > 0 ? seconds : 25;
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The first number the pattern captures in valgrind's log, its thousands
// separators dropped; nothing when the pattern is missing.
std::optional<long> summaryNumber(const std::string& log, const std::string& pattern) {
    std::smatch found;
    if (!std::regex_search(log, found, std::regex(pattern)))
        return std::nullopt;
    std::string digits = found[1].str();
    digits.erase(std::remove(digits.begin(), digits.end(), ','), digits.end());
    return std::stol(digits);
}

// The number in front of "bytes" on valgrind's summary line with this
// label ("definitely lost", ...); nothing when the line is missing.
std::optional<long> lostBytes(const std::string& log, const std::string& label) {
    return summaryNumber(log, label + ": ([0-9,]+) bytes in ([0-9,]+) blocks");
}

std::optional<long> errorCount(const std::string& log) {
    return summaryNumber(log, "ERROR SUMMARY: ([0-9,]+) errors");
}

const unsigned long PlayerKeys[] = {XK_Left, XK_Right, XK_Up, XK_Down, XK_Control_R,
                                    XK_a,    XK_d,     XK_w,  XK_s,    XK_Control_L};

TEST(E2eValgrind, ShortMatchEndsWithoutDefiniteLeaksOrMemoryErrors) {
    ASSERT_EQ(std::system("valgrind --version >/dev/null 2>&1"), 0)
        << "valgrind is not installed (make deps installs it)";
    XSession x;
    ASSERT_TRUE(x.connected()) << "no X server on DISPLAY";
    RuntimeFolder folder;
    const fs::path log = folder.path() / "valgrind.txt";
    const fs::path suppressions =
        fs::path(IRONMOAT_SOURCE_DIR) / "tools" / "sanitizers" / "valgrind.supp";
    GameProcess game(folder,
                     {"env", "GALLIUM_DRIVER=softpipe", "valgrind", "--leak-check=full",
                      "--errors-for-leak-kinds=definite", "--error-exitcode=99", "--num-callers=40",
                      "--keep-debuginfo=yes", "--suppressions=" + suppressions.string(),
                      "--log-file=" + log.string()});

    // Valgrind refuses to start on a bad option or suppression file: stop
    // waiting as soon as the process has ended.
    WindowId window = 0;
    const auto appear = std::chrono::steady_clock::now() + 180s;
    while (window == 0 && !game.waitForExit(0ms) && std::chrono::steady_clock::now() < appear)
        window = x.findWindow(GameTitle, 2s);
    ASSERT_NE(window, 0u) << "no window titled " << GameTitle << " under valgrind; its log:\n"
                          << readFile(log);
    ASSERT_TRUE(x.place(window, 0, 0));
    x.focus(window);
    ASSERT_TRUE(clickMatchStart(x, window, true, 180s).has_value())
        << "the menu's buttons never appeared under valgrind";
    ASSERT_TRUE(x.waitForShot(window, matchPanelShown, 120s).has_value())
        << "no match after clicking Two players";

    // Both players drive and fire at random, so that shells, hits and
    // explosions are made and dropped too.
    std::mt19937 random(std::random_device{}());
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(matchSeconds());
    bool held[std::size(PlayerKeys)] = {};
    while (std::chrono::steady_clock::now() < end) {
        const std::size_t k = random() % std::size(PlayerKeys);
        held[k] = !held[k];
        x.setKey(PlayerKeys[k], held[k]);
        std::this_thread::sleep_for(std::chrono::milliseconds(100 + random() % 300));
    }
    for (std::size_t k = 0; k < std::size(PlayerKeys); ++k)
        if (held[k])
            x.setKey(PlayerKeys[k], false);
    ASSERT_FALSE(game.waitForExit(0ms).has_value())
        << "the game ended during the match; valgrind log:\n"
        << readFile(log);

    ASSERT_TRUE(x.sendDeleteWindow(window));
    // The leak search over Mesa's heap takes a while.
    const std::optional<int> status = game.waitForExit(300s);
    ASSERT_TRUE(status.has_value()) << "the game did not exit after WM_DELETE_WINDOW";

    const std::string report = readFile(log);
    const std::optional<long> definite = lostBytes(report, "definitely lost");
    const std::optional<long> indirect = lostBytes(report, "indirectly lost");
    const std::optional<long> possible = lostBytes(report, "possibly lost");
    const std::optional<long> errors = errorCount(report);
    const std::optional<long> suppressed = lostBytes(report, "suppressed");
    std::printf("valgrind: definitely lost %ld bytes, indirectly lost %ld bytes, possibly lost "
                "%ld bytes, suppressed (third-party) %ld bytes; %ld errors after suppressions; "
                "exit status %d\n",
                definite.value_or(-1), indirect.value_or(-1), possible.value_or(-1),
                suppressed.value_or(-1), errors.value_or(-1), *status);
    std::fflush(stdout);

    EXPECT_EQ(*status, 0) << "valgrind found errors (exit status 99) or the game failed:\n"
                          << report;
    ASSERT_TRUE(errors.has_value()) << "no ERROR SUMMARY in the valgrind log:\n" << report;
    EXPECT_EQ(*errors, 0) << report;
    // No leak summary at all means every block was freed.
    if (report.find("All heap blocks were freed") == std::string::npos) {
        ASSERT_TRUE(definite.has_value()) << report;
        EXPECT_EQ(*definite, 0) << report;
    }
    EXPECT_NE(folder.lastLogLine().find("Logging thread finished."), std::string::npos)
        << "last log line: " << folder.lastLogLine();
}

} // namespace
} // namespace ironmoat::e2e
