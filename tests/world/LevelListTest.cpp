#include "game/world/Terrain.hpp"
#include "tests/world/TempWorkingFolder.hpp"

#include "engine/common/ResourceManager.hpp"
#include "engine/core/WeakSingleton.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

using ironmoat::cmn::CellState;
using ironmoat::cmn::MapMarker;
using ironmoat::cmn::Terrain;
using ironmoat::cmn::TileKind;

namespace fs = std::filesystem;

namespace {

// Runs each test in a fresh temporary working folder, since level paths are
// resolved against it, with a resource manager of its own (its cache would
// otherwise keep the previous test's files).
class WorldLevelList : public ::testing::Test {
protected:
    void SetUp() override { m_resources.get(); }

    static void writeFile(const fs::path& path, const std::string& bytes) {
        ironmoat::test::TempWorkingFolder::writeFile(path, bytes);
    }

    // A level whose only marker, a "3", encodes its number n (1 to 35).
    static std::string numberedLevel(int n) {
        std::string text;
        for (int row = 0; row < 26; ++row) {
            std::string line(26, ' ');
            if (row == (n - 1) / 26) {
                line[(n - 1) % 26] = '3';
            }
            text += line + "\n";
        }
        return text;
    }

    static int levelNumberOf(const Terrain& terrain) {
        if (terrain.markers().size() != 1) {
            return -1;
        }
        const MapMarker& m = terrain.markers().front();
        return m.row * 26 + m.column + 1;
    }

    static void writeCampaign(int count) {
        for (int n = 1; n <= count; ++n) {
            char name[64];
            std::snprintf(name, sizeof name, "ironmoat/maps/Dunmark-level-%02d.mtc", n);
            writeFile(name, numberedLevel(n));
        }
    }

    ironmoat::test::TempWorkingFolder m_folder;
    pyx::core::WeakSingleton<pyx::cmn::ResourceManager> m_resources;
};

// 26 lines of 26 bytes using every kind, upper-case look-alikes and digits.
std::string mixedLevel(const char* lineEnd) {
    const std::string alphabet = "bfsx- 0123BXF9";
    std::string text;
    for (int row = 0; row < 26; ++row) {
        for (int column = 0; column < 26; ++column) {
            text += alphabet[(row * 7 + column * 3) % alphabet.size()];
        }
        text += lineEnd;
    }
    return text;
}

TEST_F(WorldLevelList, CrLfFileReadsLikeLfFile) {
    writeFile("maps/lf.mtc", mixedLevel("\n"));
    writeFile("maps/crlf.mtc", mixedLevel("\r\n"));
    Terrain lf(40);
    Terrain crlf(40);
    ASSERT_TRUE(lf.readLevelFile(L"maps/lf.mtc"));
    ASSERT_TRUE(crlf.readLevelFile(L"maps/crlf.mtc"));

    EXPECT_EQ(lf.markers(), crlf.markers());
    EXPECT_GT(lf.markers().size(), 50u);
    int bricks = 0;
    for (int x = 0; x < 26; ++x) {
        for (int y = 0; y < 26; ++y) {
            EXPECT_EQ(lf.cellAt(x, y).kind, crlf.cellAt(x, y).kind) << x << "," << y;
            bricks += lf.cellAt(x, y).kind == TileKind::Brick;
        }
    }
    EXPECT_GT(bricks, 20);
    // Row 0 starts "bfsx- 0123BXF9..." (column step 3 through the alphabet).
    EXPECT_EQ(lf.cellAt(0, 0).kind, TileKind::Brick);
    EXPECT_EQ(lf.cellAt(1, 0).kind, TileKind::Metal);
    EXPECT_EQ(lf.levelNumber(), 0); // a plain read is not a level change
}

TEST_F(WorldLevelList, ReadReplacesTheWholeGridAndMarkers) {
    writeFile("maps/full.mtc", std::string(26, 'x') + "\n" + std::string(10, 'f') + "1\n");
    writeFile("maps/short.mtc", "bbbb");
    Terrain terrain(40);
    ASSERT_TRUE(terrain.readLevelFile(L"maps/full.mtc"));
    ASSERT_EQ(terrain.markers(), (std::vector<MapMarker>{{10, 1, 1}}));
    ASSERT_EQ(terrain.cellAt(25, 0).kind, TileKind::Metal);
    const std::int32_t variant = terrain.cellAt(2, 0).variant;
    terrain.shellHitTerrain(true, false, 3, 1, 1, 0); // breaks metal at (3, 0)
    ASSERT_EQ(terrain.cellAt(3, 0).state, CellState::Destroyed);

    ASSERT_TRUE(terrain.readLevelFile(L"maps/short.mtc"));
    EXPECT_TRUE(terrain.markers().empty());
    for (int x = 0; x < 26; ++x) {
        for (int y = 0; y < 26; ++y) {
            const TileKind expected = (y == 0 && x < 4) ? TileKind::Brick : TileKind::Empty;
            EXPECT_EQ(terrain.cellAt(x, y).kind, expected) << x << "," << y;
            EXPECT_EQ(terrain.cellAt(x, y).state, CellState::Intact) << x << "," << y;
        }
    }
    EXPECT_FALSE(terrain.cellAt(0, 0).tankPassable);
    EXPECT_EQ(terrain.cellAt(2, 0).variant, variant);
}

TEST_F(WorldLevelList, ReadCancelsProtectionTimersButKeepsTheirKeys) {
    writeFile("maps/a.mtc", "bbbb\n");
    Terrain terrain(40);
    terrain.protectCell(1, 0, 10.f);
    ASSERT_EQ(terrain.cellAt(1, 0).kind, TileKind::Metal);

    ASSERT_TRUE(terrain.readLevelFile(L"maps/a.mtc"));
    EXPECT_EQ(terrain.cellAt(1, 0).kind, TileKind::Brick);
    EXPECT_FLOAT_EQ(terrain.protectionAt(1, 0).remaining, 0.f);
    EXPECT_EQ(terrain.protectionAt(1, 0).key, 1);
    // No leftover timer turns the new level's cell into anything.
    terrain.shellHitTerrain(false, false, 1, 1, 1, 0); // halves (1, 0)
    for (int i = 0; i < 700; ++i) {
        terrain.updateTimers(1.f / 60.f);
    }
    EXPECT_EQ(terrain.cellAt(1, 0).state, CellState::HitHorizontally);
}

TEST_F(WorldLevelList, MissingOrEmptyFileChangesNothing) {
    writeFile("maps/good.mtc", "ss\n 2\n");
    writeFile("maps/empty.mtc", "");
    Terrain terrain(40);
    ASSERT_TRUE(terrain.readLevelFile(L"maps/good.mtc"));
    terrain.protectCell(5, 5, 3.f);

    EXPECT_FALSE(terrain.readLevelFile(L"maps/empty.mtc"));
    EXPECT_FALSE(terrain.readLevelFile(L"maps/nothing-here.mtc"));
    EXPECT_EQ(terrain.cellAt(0, 0).kind, TileKind::Wood);
    EXPECT_EQ(terrain.markers(), (std::vector<MapMarker>{{1, 1, 2}}));
    EXPECT_EQ(terrain.cellAt(5, 5).kind, TileKind::Metal);
    EXPECT_FLOAT_EQ(terrain.protectionAt(5, 5).remaining, 3.f);
}

TEST_F(WorldLevelList, ListHoldsTheCampaignThenTheMapsFilesInNameOrder) {
    writeFile("maps/b.mtc", "b");
    writeFile("maps/a.mtc", "a");
    writeFile("maps/notes.txt", "x");
    fs::create_directories("maps/folder.mtc");

    const std::vector<std::wstring> list = Terrain::buildLevelList();
    ASSERT_EQ(list.size(), 37u);
    EXPECT_EQ(list[0], L"ironmoat/maps/Dunmark-level-01.mtc");
    EXPECT_EQ(list[9], L"ironmoat/maps/Dunmark-level-10.mtc");
    EXPECT_EQ(list[34], L"ironmoat/maps/Dunmark-level-35.mtc");
    EXPECT_EQ(list[35], L"maps/a.mtc");
    EXPECT_EQ(list[36], L"maps/b.mtc");

    fs::remove_all("maps");
    EXPECT_EQ(Terrain::buildLevelList().size(), 35u);
}

TEST_F(WorldLevelList, EveryCampaignLevelIsPlayedOncePerCycle) {
    writeCampaign(35);
    Terrain terrain(40);
    std::vector<int> played;
    for (int call = 1; call <= 35; ++call) {
        terrain.loadNextLevel();
        EXPECT_EQ(terrain.levelNumber(), call);
        played.push_back(levelNumberOf(terrain));
    }
    EXPECT_TRUE(terrain.levelStack().empty());
    const std::set<int> distinct(played.begin(), played.end());
    EXPECT_EQ(distinct.size(), 35u);
    EXPECT_EQ(*distinct.begin(), 1);
    EXPECT_EQ(*distinct.rbegin(), 35);
    // The list was shuffled: unshuffled, the back of the list (35) would come
    // first and the levels would run down to 1.
    std::vector<int> descending;
    for (int n = 35; n >= 1; --n) {
        descending.push_back(n);
    }
    EXPECT_NE(played, descending);

    // The 36th call starts a new cycle from a freshly built list.
    terrain.loadNextLevel();
    EXPECT_EQ(terrain.levelNumber(), 36);
    EXPECT_EQ(terrain.levelStack().size(), 34u);
    const int first = levelNumberOf(terrain);
    EXPECT_GE(first, 1);
    EXPECT_LE(first, 35);
}

TEST_F(WorldLevelList, UnreadablePathsAreSkippedWithinTheCall) {
    // No campaign files at all, an empty map file and one good one: whatever
    // the shuffle, each call ends on the good level.
    writeFile("maps/a-empty.mtc", "");
    writeFile("maps/b-good.mtc", "xxxx\n  1\n");
    Terrain terrain(40);
    for (int call = 1; call <= 3; ++call) {
        terrain.loadNextLevel();
        EXPECT_EQ(terrain.levelNumber(), call);
        EXPECT_EQ(terrain.cellAt(3, 0).kind, TileKind::Metal);
        EXPECT_EQ(terrain.markers(), (std::vector<MapMarker>{{2, 1, 1}}));
    }
}

TEST_F(WorldLevelList, WhenEveryPathFailsTheGridStaysAndTheNumberStillRises) {
    writeFile("elsewhere/level.mtc", "ff\n0\n");
    writeFile("maps/empty.mtc", "");
    Terrain terrain(40);
    ASSERT_TRUE(terrain.readLevelFile(L"elsewhere/level.mtc"));

    terrain.loadNextLevel();
    EXPECT_EQ(terrain.levelNumber(), 1);
    EXPECT_TRUE(terrain.levelStack().empty()); // every path was tried once
    EXPECT_EQ(terrain.cellAt(1, 0).kind, TileKind::Tree);
    EXPECT_EQ(terrain.markers(), (std::vector<MapMarker>{{0, 1, 0}}));

    terrain.loadNextLevel();
    EXPECT_EQ(terrain.levelNumber(), 2);
    EXPECT_EQ(terrain.cellAt(1, 0).kind, TileKind::Tree);
}

TEST_F(WorldLevelList, UserMapsJoinTheCampaignCycle) {
    writeCampaign(35);
    writeFile("maps/zz-own.mtc", numberedLevel(36));
    Terrain terrain(40);
    std::set<int> played;
    for (int call = 0; call < 36; ++call) {
        terrain.loadNextLevel();
        played.insert(levelNumberOf(terrain));
    }
    EXPECT_EQ(played.size(), 36u);
    EXPECT_EQ(played.count(36), 1u);
}

} // namespace
