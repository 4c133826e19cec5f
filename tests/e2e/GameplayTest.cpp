#include "tests/e2e/E2eSupport.hpp"

#include <SFML/Graphics/Image.hpp>
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

namespace ironmoat::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const sf::Color Desktop = DesktopGrey;

bool reddish(sf::Color c) {
    return c.r > 150 && c.g < 80 && c.b < 80;
}
std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The game on the test display, its window placed at the screen's corner
// and focused, as a window manager would after a click.
class E2eGameplay : public ::testing::Test {
protected:
    void start() {
        ASSERT_TRUE(x.connected()) << "no X server on DISPLAY";
        game = std::make_unique<GameProcess>(folder);
        window = x.findWindow(GameTitle, 30s);
        ASSERT_NE(window, 0u) << "no window titled " << GameTitle;
        ASSERT_TRUE(x.place(window, 0, 0));
        x.focus(window);
    }

    void TearDown() override {
        if (game && window != 0 && !game->waitForExit(0ms)) {
            x.sendDeleteWindow(window);
            game->waitForExit(20s);
        }
    }

    std::optional<sf::Image> shot() { return x.shot(window); }

    template <class Pred>
    std::optional<sf::Image> waitForShot(Pred pred, std::chrono::milliseconds timeout) {
        return x.waitForShot(window, pred, timeout);
    }

    static int countPixels(const sf::Image& image, sf::IntRect box, bool (*pred)(sf::Color)) {
        int count = 0;
        for (int y = box.top; y < box.top + box.height; ++y)
            for (int x = box.left; x < box.left + box.width; ++x)
                if (pred(image.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y))))
                    ++count;
        return count;
    }

    static bool singlePlayerPanelShown(const sf::Image& image) {
        const sf::Color white(255, 255, 255);
        // The Enemy and Player 1 blocks' outlines, nothing of a third block.
        return matchPanelShown(image) && image.getPixel(911, 415) == white &&
               image.getPixel(911, 470) != white;
    }

    void closeAndCheckShutdown() {
        ironmoat::e2e::closeAndCheckShutdown(x, window, *game, folder, 30s);
    }

    XSession x;
    RuntimeFolder folder;
    std::unique_ptr<GameProcess> game;
    WindowId window = 0;
};

TEST_F(E2eGameplay, SinglePlayerMatchFromTheMenu) {
    start();
    const std::optional<MenuButtons> buttons = clickMatchStart(x, window, false, 30s);
    ASSERT_TRUE(buttons.has_value()) << "the menu's buttons never appeared";
    // 150 x 50, centred in the 1280-pixel window, the second 100 pixels lower.
    EXPECT_EQ(buttons->left, 565);
    EXPECT_EQ(buttons->width, 150);
    EXPECT_EQ(buttons->height, 50);
    EXPECT_EQ(buttons->twoPlayersTop - buttons->singlePlayerTop, 100);

    const std::optional<sf::Image> match = waitForShot(singlePlayerPanelShown, 30s);
    ASSERT_TRUE(match.has_value()) << "no panel with the Enemy and Player 1 blocks";
    // The field fills 702 x 702 from the corner; the rest is panel or grey.
    EXPECT_NE(match->getPixel(700, 700), Desktop);
    EXPECT_NE(match->getPixel(1, 1), Desktop);
    EXPECT_EQ(match->getPixel(700, 710), Desktop);
    EXPECT_EQ(match->getPixel(705, 700), Desktop);

    // Player 1's tank appears, and holding an arrow key moves it.
    std::optional<sf::Image> withTank =
        waitForShot([](const sf::Image& image) { return playerTank(image).has_value(); }, 20s);
    ASSERT_TRUE(withTank.has_value()) << "Player 1's tank never appeared";
    const sf::Vector2f before = *playerTank(*withTank);
    const bool moved = driveTankAway(x, window, before, 3s).has_value();
    EXPECT_TRUE(moved) << "the tank at (" << before.x << ", " << before.y << ") never moved";

    // The enemy's controllers trace on standard output.
    const auto end = Clock::now() + 20s;
    while (readFile(folder.path() / "stdout.txt")
                   .find("[Randomize position] Initialize bot "
                         "controller") == std::string::npos &&
           Clock::now() < end)
        std::this_thread::sleep_for(200ms);
    EXPECT_NE(readFile(folder.path() / "stdout.txt")
                  .find("[Randomize position] Initialize bot controller"),
              std::string::npos);

    closeAndCheckShutdown();
}

TEST_F(E2eGameplay, AMapWithoutABaseEndsInGameOverAndTheMenuReturns) {
    // Only the fonts' archive: the campaign is unreadable, so the one map of
    // the maps folder is every level. It has a spawn point but no base.
    const fs::path data = folder.path() / "data";
    fs::remove(data);
    fs::create_directory(data);
    fs::create_symlink(fs::path(IRONMOAT_BINARY_DIR) / "game" / "data" / "core.dat",
                       data / "core.dat");
    {
        std::ofstream map(folder.path() / "maps" / "nobase.mtc", std::ios::binary);
        for (int row = 0; row < 26; ++row)
            map << (row == 24 ? "    2\n" : row < 4 ? "bbbbbbbbbb      xxxxxxxxxx\n" : "\n");
    }

    start();
    ASSERT_TRUE(clickMatchStart(x, window, false, 30s).has_value())
        << "the menu's buttons never appeared";
    const auto clicked = Clock::now();
    const sf::IntRect field(0, 0, 702, 702);
    const std::optional<sf::Image> over = waitForShot(
        [&](const sf::Image& image) { return countPixels(image, field, reddish) > 2000; }, 20s);
    ASSERT_TRUE(over.has_value()) << "no red GAME OVER over the field";
    EXPECT_EQ(countPixels(*over, sf::IntRect(702, 0, 578, 720), reddish), 0);

    const std::optional<sf::Image> back =
        waitForShot([](const sf::Image& image) { return findMenuButtons(image).has_value(); }, 40s);
    ASSERT_TRUE(back.has_value()) << "the menu did not come back";
    const auto shownFor = Clock::now() - clicked;
    // About 10 s; a loaded machine may run late, never early.
    EXPECT_GT(shownFor, 9s);
    EXPECT_EQ(findMenuButtons(*back)->left, 565);

    closeAndCheckShutdown();
}

} // namespace
} // namespace ironmoat::e2e
