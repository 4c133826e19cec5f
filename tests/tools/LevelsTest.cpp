#include "game/world/LevelReader.hpp"
#include "tests/tools/AssetsToolSupport.hpp"

#include <gtest/gtest.h>

#include <set>

using namespace ironmoat::testing;
using ironmoat::cmn::TileKind;
namespace fs = std::filesystem;

namespace {

fs::path levelPath(int n) {
    char name[64];
    std::snprintf(name, sizeof name, "Dunmark-level-%02d.mtc", n);
    return sourceDir() / "data/levels" / name;
}

struct Counts {
    int metalAndWater = 0;
    int brickAroundBase = 0; // within the 8 x 5 cells around the base
};

} // namespace

// Every level file shipped, whatever its number, keeps every map rule,
// warnings included.
TEST(ToolsLevels, EveryCampaignLevelPassesMapcheckStrict) {
    std::string args;
    int files = 0;
    for (const auto& entry : fs::directory_iterator(sourceDir() / "data/levels")) {
        if (entry.path().extension() == ".mtc") {
            args += " " + quoted(entry.path());
            ++files;
        }
    }
    ASSERT_GE(files, 35);
    const auto run = runCommand(quoted(binaryDir() / "tools/mapcheck/ironmoat-mapcheck") +
                                " -q --strict" + args);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output, "");
}

TEST(ToolsLevels, CampaignLevelsAreWellFormedDistinctAndGrowHarder) {
    std::set<std::string> seen;
    std::vector<Counts> counts;
    for (int n = 1; n <= 35; ++n) {
        const std::string text = readFile(levelPath(n));
        ASSERT_EQ(text.size(), 26u * 27u) << n; // 26 lines of 26 bytes, LF ends
        for (int row = 0; row < 26; ++row) {
            ASSERT_EQ(text[static_cast<std::size_t>(row * 27 + 26)], '\n') << n << " row " << row;
        }
        EXPECT_TRUE(seen.insert(text).second) << "level " << n << " repeats another";

        const auto level = ironmoat::cmn::readLevel(text);
        int bases = 0;
        int enemies = 0;
        int players = 0;
        for (const auto& m : level.markers) {
            if (m.digit == 1) {
                ++bases;
                EXPECT_GE(m.row, 22) << n;
                EXPECT_GE(m.column, 10) << n;
                EXPECT_LE(m.column, 14) << n;
                // Walled in: bricks right above the base.
                EXPECT_EQ(level.kinds[m.column][m.row - 1], TileKind::Brick) << n;
                EXPECT_EQ(level.kinds[m.column - 1][m.row], TileKind::Brick) << n;
                EXPECT_EQ(level.kinds[m.column + 2][m.row], TileKind::Brick) << n;
            } else if (m.digit == 0) {
                ++enemies;
                EXPECT_LE(m.row, 1) << n;
            } else if (m.digit == 2) {
                ++players;
                EXPECT_GE(m.row, 20) << n;
            }
        }
        EXPECT_EQ(bases, 1) << n;
        EXPECT_GE(enemies, 2) << n;
        EXPECT_LE(enemies, 3) << n;
        EXPECT_GE(players, 1) << n;
        EXPECT_LE(players, 2) << n;

        Counts c;
        for (int x = 0; x < 26; ++x) {
            for (int y = 0; y < 26; ++y) {
                const TileKind k = level.kinds[x][y];
                c.metalAndWater += (k == TileKind::Metal || k == TileKind::Water) ? 1 : 0;
                if (x >= 9 && x <= 16 && y >= 19 && y <= 23) {
                    c.brickAroundBase += k == TileKind::Brick ? 1 : 0;
                }
            }
        }
        counts.push_back(c);
    }
    auto sum = [&](int from, int to, int Counts::*field) {
        int s = 0;
        for (int n = from; n <= to; ++n) {
            s += counts[static_cast<std::size_t>(n - 1)].*field;
        }
        return s;
    };
    // The last ten levels hold far more metal and water than the first ten,
    // and less brick guarding the base.
    EXPECT_GT(sum(26, 35, &Counts::metalAndWater), 2 * sum(1, 10, &Counts::metalAndWater));
    EXPECT_LT(sum(26, 35, &Counts::brickAroundBase), sum(1, 10, &Counts::brickAroundBase));
}
