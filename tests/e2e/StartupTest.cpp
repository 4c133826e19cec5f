#include "tests/e2e/E2eSupport.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

namespace ironmoat::e2e {
namespace {

using namespace std::chrono_literals;

TEST(E2eStartup, OpensItsWindowAndShutsDownCleanlyOnClose) {
    XSession x;
    ASSERT_TRUE(x.connected()) << "no X server on DISPLAY";
    RuntimeFolder folder;
    GameProcess game(folder);

    const WindowId window = x.findWindow(GameTitle, 30s);
    ASSERT_NE(window, 0u) << "no window titled " << GameTitle;
    EXPECT_EQ(x.title(window), GameTitle);
    EXPECT_EQ(x.size(window), (std::pair<int, int>{1280, 720}));
    EXPECT_FALSE(game.waitForExit(500ms).has_value()) << "the game ended by itself";

    ASSERT_TRUE(x.place(window, 0, 0));
    // The frame is cleared to the desktop's grey, at least at a corner that
    // no form paints.
    std::optional<sf::Color> corner;
    for (int i = 0; i < 50; ++i) {
        corner = x.pixel(window, 2, 717);
        if (corner && *corner == sf::Color(55, 55, 55)) {
            break;
        }
        std::this_thread::sleep_for(100ms);
    }
    ASSERT_TRUE(corner.has_value());
    EXPECT_EQ(*corner, sf::Color(55, 55, 55));

    closeAndCheckShutdown(x, window, game, folder, 30s);
}

} // namespace
} // namespace ironmoat::e2e
