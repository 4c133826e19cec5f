// The Windows release as a player gets it: the zip unpacked, ironmoat.exe
// started from its folder under Wine, on the test X server. `make
// test-windows` runs this with IRONMOAT_WINDOWS_ZIP (the zip),
// IRONMOAT_WINE_RUN (tools/scripts/wine-run.sh), IRONMOAT_WINEPREFIX (the
// private Wine prefix) and IRONMOAT_WINE_SHOTS (where the screenshots go).

#include "tests/e2e/E2eSupport.hpp"

#include <SFML/Graphics/Image.hpp>
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>

namespace ironmoat::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

class E2eWine : public ::testing::Test {
protected:
    void SetUp() override {
        zip = env("IRONMOAT_WINDOWS_ZIP");
        wineRun = env("IRONMOAT_WINE_RUN");
        prefix = env("IRONMOAT_WINEPREFIX");
        shots = env("IRONMOAT_WINE_SHOTS");
        ASSERT_FALSE(zip.empty() || wineRun.empty() || prefix.empty())
            << "run through `make test-windows`, which names the zip and the Wine prefix";
        ASSERT_TRUE(x.connected()) << "no X server on DISPLAY";
        unpacked =
            fs::temp_directory_path() / ("ironmoat-zip-" + std::to_string(std::random_device{}()));
        fs::create_directories(unpacked);
        const std::string unzip = "unzip -q '" + zip + "' -d '" + unpacked.string() + "'";
        ASSERT_EQ(std::system(unzip.c_str()), 0) << unzip;
        // What a player finds in the zip, and nothing else.
        const fs::path top = unpacked / "IronMoat";
        for (const char* file :
             {"ironmoat.exe", "README.txt", "data/core.dat", "data/ironmoat.dat"})
            EXPECT_TRUE(fs::is_regular_file(top / file)) << file;
        EXPECT_TRUE(fs::is_empty(top / "maps"));
        EXPECT_TRUE(fs::is_empty(top / "logs"));
        folder = std::make_unique<RuntimeFolder>(top, "ironmoat.exe");
    }

    void TearDown() override {
        if (game && window != 0 && !game->waitForExit(0ms)) {
            x.sendDeleteWindow(window);
            game->waitForExit(30s);
        }
        game.reset();
        folder.reset();
        std::error_code ignored;
        fs::remove_all(unpacked, ignored);
    }

    void start() {
        game = std::make_unique<GameProcess>(*folder, std::vector<std::string>{wineRun, prefix});
        window = x.findWindow(GameTitle, 90s);
        ASSERT_NE(window, 0u) << "no window titled " << GameTitle;
        ASSERT_TRUE(x.place(window, 0, 0));
        x.focus(window);
    }

    void save(const sf::Image& image, const std::string& name) {
        if (!shots.empty()) {
            fs::create_directories(shots);
            image.saveToFile((fs::path(shots) / name).string());
        }
    }

    std::string zip, wineRun, prefix, shots;
    fs::path unpacked;
    XSession x;
    std::unique_ptr<RuntimeFolder> folder;
    std::unique_ptr<GameProcess> game;
    WindowId window = 0;
};

TEST_F(E2eWine, MenuMatchTankAndCloseFromTheZip) {
    ASSERT_NO_FATAL_FAILURE(start());
    EXPECT_EQ(x.title(window), GameTitle);
    EXPECT_EQ(x.size(window), std::make_pair(1280, 720));

    const auto menu = x.waitForShot(
        window, [](const sf::Image& i) { return findMenuButtons(i).has_value(); }, 60s);
    ASSERT_TRUE(menu.has_value()) << "the menu was never drawn";
    save(*menu, "wine-menu.png");
    EXPECT_EQ(findMenuButtons(*menu)->left, 565);
    EXPECT_EQ(menu->getPixel(1270, 710), DesktopGrey);

    ASSERT_TRUE(clickMatchStart(x, window, false, 30s).has_value());
    const auto match = x.waitForShot(
        window, [](const sf::Image& i) { return matchPanelShown(i) && playerTank(i); }, 30s);
    ASSERT_TRUE(match.has_value()) << "no match with Player 1's tank after the click";
    save(*match, "wine-match.png");

    // Keys reach the game through Wine's GetAsyncKeyState.
    const sf::Vector2f before = *playerTank(*match);
    const auto moved = driveTankAway(x, window, before, 5s);
    if (moved) {
        save(*moved, "wine-moved.png");
    }
    EXPECT_TRUE(moved.has_value())
        << "the tank at (" << before.x << ", " << before.y << ") never moved";

    // The close box ends the game with status 0, and the Win32 file driver
    // wrote the whole log.
    closeAndCheckShutdown(x, window, *game, *folder, 60s);
    const auto log = folder->newestLog();
    ASSERT_TRUE(log.has_value());
    EXPECT_EQ(log->parent_path().filename(), "logs");
}

TEST_F(E2eWine, AMapFromTheMapsFolderIsPlayed) {
    // The campaign's levels leave the game archive (its pictures stay), so
    // the one map in maps\ is every level: found by the Win32 finder, read
    // by the Win32 file driver, drawn with the game's own pictures. It has a
    // band of metal across rows 12 and 13 that no campaign level has.
    const fs::path archive = folder->path() / "data" / "ironmoat.dat";
    std::string remove =
        "'" IRONMOAT_BINARY_DIR "/tools/pyxarc/pyxarc' remove '" + archive.string() + "'";
    for (int level = 1; level <= 35; ++level) {
        remove += std::string(" 'maps/Dunmark-level-") + (level < 10 ? "0" : "") +
                  std::to_string(level) + ".mtc'";
    }
    ASSERT_EQ(std::system(remove.c_str()), 0) << remove;
    {
        std::ofstream map(folder->path() / "maps" / "ironband.mtc", std::ios::binary);
        for (int row = 0; row < 26; ++row) {
            std::string line(26, ' ');
            if (row == 0) {
                line = "0                        0";
            } else if (row == 12 || row == 13) {
                line = std::string(26, 'x');
            } else if (row == 23) {
                line.replace(11, 4, "bbbb");
            } else if (row == 24 || row == 25) {
                line.replace(11, 4, "b  b");
                if (row == 24) {
                    line[12] = '1';
                    line[4] = '2';
                    line[19] = '2';
                }
            }
            map << line << "\r\n";
        }
    }
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_TRUE(clickMatchStart(x, window, false, 60s).has_value())
        << "the menu's buttons never appeared";
    // 27 pixels a cell: the band is rows 324 to 377 of the field.
    const auto metalShare = [](const sf::Image& i, int top) {
        int metal = 0;
        for (unsigned y = static_cast<unsigned>(top); y < static_cast<unsigned>(top + 54); y += 3)
            for (unsigned x = 0; x < 702; x += 3) {
                const sf::Color c = i.getPixel(x, y);
                metal += c.r > 110 && std::abs(c.r - c.b) < 40 && std::abs(c.g - c.b) < 40;
            }
        return metal / (18.0 * 234.0);
    };
    const auto played = x.waitForShot(
        window, [&](const sf::Image& i) { return matchPanelShown(i) && playerTank(i); }, 30s);
    ASSERT_TRUE(played.has_value()) << "no match with Player 1's tank on the maps\\ level";
    save(*played, "wine-map.png");
    EXPECT_GT(metalShare(*played, 324), 0.4) << "the band of metal is not where the map puts it";
    EXPECT_LT(metalShare(*played, 432), 0.1) << "metal where the map has open ground";
    const sf::Vector2f tank = *playerTank(*played);
    EXPECT_GT(tank.y, 621.f) << "Player 1 does not start on one of the map's spawn points";
    closeAndCheckShutdown(x, window, *game, *folder, 60s);
}

} // namespace
} // namespace ironmoat::e2e
