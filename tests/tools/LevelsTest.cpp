#include "game/world/LevelReader.hpp"
#include "tests/tools/AssetsToolSupport.hpp"

#include <gtest/gtest.h>

#include <set>
#include <utility>

using namespace ironmoat::testing;
namespace fs = std::filesystem;

namespace {

fs::path levelPath(int n) {
    char name[64];
    std::snprintf(name, sizeof name, "Dunmark-level-%02d.mtc", n);
    return sourceDir() / "data/levels" / name;
}

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

TEST(ToolsLevels, CampaignLevelsAreWellFormedDistinctAndPlacedVariously) {
    std::set<std::string> seen;
    std::set<std::pair<int, int>> baseCells;
    for (int n = 1; n <= 35; ++n) {
        const std::string text = readFile(levelPath(n));
        ASSERT_EQ(text.size(), 26u * 27u) << n; // 26 lines of 26 bytes, LF ends
        for (int row = 0; row < 26; ++row) {
            ASSERT_EQ(text[static_cast<std::size_t>(row * 27 + 26)], '\n') << n << " row " << row;
        }
        EXPECT_TRUE(seen.insert(text).second) << "level " << n << " repeats another";

        int bases = 0;
        int enemies = 0;
        int players = 0;
        for (const auto& m : ironmoat::cmn::readLevel(text).markers) {
            bases += m.digit == 1 ? 1 : 0;
            enemies += m.digit == 0 ? 1 : 0;
            players += m.digit == 2 ? 1 : 0;
            if (m.digit == 1) {
                baseCells.insert({m.column, m.row});
            }
        }
        EXPECT_EQ(bases, 1) << n;
        EXPECT_GE(enemies, 2) << n;
        EXPECT_EQ(players, 2) << n; // one for each player of a two-player match
    }
    // Each level is laid out on its own, not over one shared frame: the base
    // stands in many different places across the campaign.
    EXPECT_GE(baseCells.size(), 12u);
}
