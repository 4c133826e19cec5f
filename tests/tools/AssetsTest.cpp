#include "tests/tools/AssetsToolSupport.hpp"

#include <SFML/Graphics/Image.hpp>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

using namespace ironmoat::testing;
namespace fs = std::filesystem;

namespace {

struct Grid {
    int frame; // square frames, in pixels
    int minColumns;
    int maxColumns;
    int rows;
};

// What the game's loaders cut each picture into.
const std::map<std::string, Grid>& expectedGrids() {
    static const std::map<std::string, Grid> grids = {
        {"background_tileset.png", {80, 4, 64, 1}}, {"brick_tileset.png", {40, 4, 64, 5}},
        {"metal_tileset.png", {40, 2, 64, 1}},      {"tree_tileset.png", {40, 2, 64, 1}},
        {"wood_tileset.png", {40, 2, 64, 1}},       {"water_tileset.png", {40, 8, 8, 1}},
        {"tank_tileset.png", {80, 4, 4, 4}},        {"wheels_tileset.png", {80, 4, 64, 1}},
        {"shield_tileset.png", {100, 4, 64, 1}},    {"bullet_tileset.png", {20, 2, 64, 1}},
        {"explosion_tileset.png", {80, 5, 5, 2}},   {"bonuses_tileset.png", {80, 8, 8, 1}},
        {"spawn_tileset.png", {80, 1, 64, 1}},      {"bunker_thing.png", {80, 1, 64, 1}},
    };
    return grids;
}

fs::path assetgen() {
    return binaryDir() / "tools/assetgen/assetgen";
}

int opaquePixels(const sf::Image& image, unsigned x0, unsigned y0, unsigned w, unsigned h) {
    int n = 0;
    for (unsigned y = y0; y < y0 + h; ++y) {
        for (unsigned x = x0; x < x0 + w; ++x) {
            n += image.getPixel(x, y).a > 0 ? 1 : 0;
        }
    }
    return n;
}

} // namespace

TEST(ToolsAssets, EveryPictureDecodesWithTheGridTheGameCutsItInto) {
    TempDir out;
    const auto run = runCommand(quoted(assetgen()) + " " + quoted(out.path()));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    std::set<std::string> written;
    for (const auto& entry : fs::directory_iterator(out.path())) {
        written.insert(entry.path().filename().string());
    }
    std::set<std::string> wanted;
    for (const auto& [name, grid] : expectedGrids()) {
        wanted.insert(name);
    }
    EXPECT_EQ(written, wanted);

    for (const auto& [name, grid] : expectedGrids()) {
        sf::Image image;
        ASSERT_TRUE(image.loadFromFile((out.path() / name).string())) << name;
        const auto size = image.getSize();
        EXPECT_EQ(size.x % grid.frame, 0u) << name;
        EXPECT_EQ(size.y, static_cast<unsigned>(grid.frame * grid.rows)) << name;
        const int columns = static_cast<int>(size.x) / grid.frame;
        EXPECT_GE(columns, grid.minColumns) << name;
        EXPECT_LE(columns, grid.maxColumns) << name;
        // No frame may be blank: an empty frame shows as a missing picture.
        for (int r = 0; r < grid.rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                const auto f = static_cast<unsigned>(grid.frame);
                EXPECT_GT(opaquePixels(image, c * f, r * f, f, f), 0)
                    << name << " frame " << c << "," << r;
            }
        }
    }
}

TEST(ToolsAssets, PicturesFollowTheirLayeringRules) {
    TempDir out;
    ASSERT_EQ(runCommand(quoted(assetgen()) + " " + quoted(out.path())).exitCode, 0);
    auto load = [&](const std::string& name) {
        sf::Image image;
        EXPECT_TRUE(image.loadFromFile((out.path() / name).string())) << name;
        return image;
    };
    // Ground tiles are fully opaque; objects drawn over the ground keep
    // transparent corners so the ground shows around them.
    const sf::Image ground = load("background_tileset.png");
    EXPECT_EQ(opaquePixels(ground, 0, 0, ground.getSize().x, ground.getSize().y),
              static_cast<int>(ground.getSize().x * ground.getSize().y));
    for (const char* name : {"tank_tileset.png", "wheels_tileset.png", "shield_tileset.png",
                             "bullet_tileset.png", "explosion_tileset.png", "bonuses_tileset.png",
                             "spawn_tileset.png", "bunker_thing.png"}) {
        const sf::Image image = load(name);
        EXPECT_EQ(image.getPixel(0, 0).a, 0) << name;
    }
    // A broken brick really lost the half its row says.
    const sf::Image brick = load("brick_tileset.png");
    EXPECT_GT(opaquePixels(brick, 0, 0, 40, 40), 1500);
    EXPECT_EQ(opaquePixels(brick, 0, 40 + 24, 40, 16), 0); // row 1: bottom gone
    EXPECT_EQ(opaquePixels(brick, 0, 80, 40, 16), 0);      // row 2: top gone
    EXPECT_EQ(opaquePixels(brick, 24, 120, 16, 40), 0);    // row 3: right gone
    EXPECT_EQ(opaquePixels(brick, 0, 160, 16, 40), 0);     // row 4: left gone
    EXPECT_GT(opaquePixels(brick, 0, 40, 40, 16), 500);    // ... and kept the rest
    // Trees let a tank under them show through.
    const sf::Image tree = load("tree_tileset.png");
    int seeThrough = 0;
    for (unsigned y = 0; y < 40; ++y) {
        for (unsigned x = 0; x < 40; ++x) {
            seeThrough += tree.getPixel(x, y).a < 255 ? 1 : 0;
        }
    }
    EXPECT_EQ(seeThrough, 1600);
    // Shield frames are translucent throughout.
    const sf::Image shield = load("shield_tileset.png");
    EXPECT_LT(shield.getPixel(50, 50).a, 128);
    EXPECT_GT(shield.getPixel(50, 50).a, 0);
}

TEST(ToolsAssets, AssetgenWritesTheSameBytesOnEveryRun) {
    TempDir a;
    TempDir b;
    ASSERT_EQ(runCommand(quoted(assetgen()) + " " + quoted(a.path())).exitCode, 0);
    ASSERT_EQ(runCommand(quoted(assetgen()) + " " + quoted(b.path())).exitCode, 0);
    int compared = 0;
    for (const auto& [name, grid] : expectedGrids()) {
        const std::string first = readFile(a.path() / name);
        ASSERT_FALSE(first.empty()) << name;
        EXPECT_EQ(first, readFile(b.path() / name)) << name;
        ++compared;
    }
    EXPECT_EQ(compared, 14);
}

TEST(ToolsAssets, AssetgenRejectsBadUsageAndUnwritableFolders) {
    EXPECT_EQ(runCommand(quoted(assetgen())).exitCode, 2);
    EXPECT_EQ(runCommand(quoted(assetgen()) + " --bogus").exitCode, 2);
    TempDir out;
    EXPECT_EQ(runCommand(quoted(assetgen()) + " " + quoted(out.path() / "missing/deeper")).exitCode,
              1);
    const auto sheet = out.path() / "sheet.png";
    ASSERT_EQ(runCommand(quoted(assetgen()) + " --sheet " + quoted(sheet)).exitCode, 0);
    sf::Image image;
    EXPECT_TRUE(image.loadFromFile(sheet.string()));
}

namespace {

// Entry names of an archive as `pyxarc list` prints them, with "\" turned
// into "/" so they compare with the paths the game asks for.
std::set<std::string> archiveEntries(const fs::path& archive) {
    const auto run =
        runCommand(quoted(binaryDir() / "tools/pyxarc/pyxarc") + " list " + quoted(archive));
    EXPECT_EQ(run.exitCode, 0) << run.output;
    std::set<std::string> names;
    std::istringstream lines(run.output);
    std::string line;
    while (std::getline(lines, line)) {
        std::string name = line.substr(0, line.find('\t'));
        for (char& ch : name) {
            ch = ch == '\\' ? '/' : ch;
        }
        names.insert(name);
    }
    return names;
}

std::string stripPrefix(const std::string& path, const std::string& prefix) {
    return path.rfind(prefix, 0) == 0 ? path.substr(prefix.size()) : std::string();
}

} // namespace

TEST(ToolsAssets, ArchivesVerifyAndServeEveryPathTheGameRequests) {
    const fs::path data = binaryDir() / "game/data";
    const fs::path pyxarc = binaryDir() / "tools/pyxarc/pyxarc";
    for (const char* name : {"core.dat", "ironmoat.dat"}) {
        const auto run = runCommand(quoted(pyxarc) + " verify " + quoted(data / name));
        EXPECT_EQ(run.exitCode, 0) << name << ": " << run.output;
    }

    const auto core = archiveEntries(data / "core.dat");
    for (const char* path : {"@release/Core/Fonts/Charis-SIL/Font-Face-R.ttf",
                             "@release/Core/Fonts/Charis-SIL/Font-Face-B.ttf"}) {
        EXPECT_EQ(core.count(stripPrefix(path, "@release/Core/")), 1u) << path;
    }

    const auto game = archiveEntries(data / "ironmoat.dat");
    std::vector<std::string> requested;
    for (const auto& [name, grid] : expectedGrids()) {
        requested.push_back("ironmoat/" + name);
    }
    for (int n = 1; n <= 35; ++n) {
        char path[64];
        std::snprintf(path, sizeof path, "ironmoat/maps/Dunmark-level-%02d.mtc", n);
        requested.push_back(path);
    }
    for (const std::string& path : requested) {
        EXPECT_EQ(game.count(stripPrefix(path, "ironmoat/")), 1u) << path;
    }
    EXPECT_EQ(game.size(), requested.size());

    // The fonts inside are the installed package's files, byte for byte.
    TempDir out;
    const auto run = runCommand(quoted(pyxarc) + " extract " + quoted(data / "core.dat") + " -C " +
                                quoted(out.path()));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const std::string packed = readFile(out.path() / "Fonts/Charis-SIL/Font-Face-B.ttf");
    EXPECT_FALSE(packed.empty());
    EXPECT_EQ(packed, readFile("/usr/share/fonts/truetype/charis/CharisSIL-Bold.ttf"));
}
