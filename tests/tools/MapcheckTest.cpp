#include "tests/tools/AssetsToolSupport.hpp"

#include <gtest/gtest.h>

#include <vector>

using namespace ironmoat::testing;
namespace fs = std::filesystem;

namespace {

fs::path mapcheck() {
    return binaryDir() / "tools/mapcheck/ironmoat-mapcheck";
}

// A playable map: enemy spawns on the top row, the base walled in at the
// bottom middle, a player spawn beside it. Tests change single cells.
std::vector<std::string> goodMap() {
    std::vector<std::string> rows(26, std::string(26, ' '));
    rows[0][0] = '0';
    rows[0][24] = '0';
    rows[24][12] = '1';
    for (int x = 11; x <= 14; ++x) {
        rows[23][x] = 'b';
    }
    rows[24][11] = rows[25][11] = rows[24][14] = rows[25][14] = 'b';
    rows[24][8] = '2';
    rows[10] = "xxxxxxxxxx  ffff--ssbbbbbb";
    return rows;
}

std::string join(const std::vector<std::string>& rows) {
    std::string text;
    for (const auto& row : rows) {
        text += row + "\n";
    }
    return text;
}

class ToolsMapcheck : public ::testing::Test {
protected:
    CommandResult check(const std::string& bytes) {
        const fs::path file = dir.path() / "map.mtc";
        writeFile(file, bytes);
        return runCommand(quoted(mapcheck()) + " -q " + quoted(file));
    }
    static int lines(const std::string& text) {
        return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    }
    TempDir dir;
};

} // namespace

TEST_F(ToolsMapcheck, CleanMapPassesAndPrintsItsPreview) {
    const auto quiet = check(join(goodMap()));
    EXPECT_EQ(quiet.exitCode, 0) << quiet.output;
    EXPECT_EQ(quiet.output, "");

    const fs::path file = dir.path() / "map.mtc";
    const auto loud = runCommand(quoted(mapcheck()) + " " + quoted(file));
    EXPECT_EQ(loud.exitCode, 0);
    EXPECT_EQ(lines(loud.output), 27); // the name, then the 26 rows
    EXPECT_NE(loud.output.find("xxxxxxxxxx..ffff--ssbbbbbb\n"), std::string::npos) << loud.output;
    EXPECT_NE(loud.output.find("0.......................0.\n"), std::string::npos);
}

TEST_F(ToolsMapcheck, MissingMarkersAreEachReportedOnTheirOwnLine) {
    auto noBase = goodMap();
    noBase[24][12] = ' ';
    auto run = check(join(noBase));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("map.mtc: no base \"1\": the match ends at once"), std::string::npos)
        << run.output;
    EXPECT_EQ(lines(run.output), 1);

    auto noEnemy = goodMap();
    noEnemy[0][0] = noEnemy[0][24] = ' ';
    run = check(join(noEnemy));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("no enemy spawn point \"0\": the level never ends"),
              std::string::npos);

    auto noPlayer = goodMap();
    noPlayer[24][8] = ' ';
    run = check(join(noPlayer));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("no player spawn point \"2\""), std::string::npos);

    // An empty file would be skipped by the game: it is a problem too.
    run = check("");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("empty"), std::string::npos);
}

TEST_F(ToolsMapcheck, MarkerOnBlockedCellsIsReported) {
    auto blocked = goodMap();
    blocked[25][9] = 'x'; // under the player spawn's lower right cell
    auto run = check(join(blocked));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("marker \"2\" at column 8, row 24: its 2x2 cells are blocked at "
                              "column 9, row 25"),
              std::string::npos)
        << run.output;

    auto edge = goodMap();
    edge[0][24] = ' ';
    edge[0][25] = '0'; // its 2x2 cells leave the field
    run = check(join(edge));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("marker \"0\" at column 25, row 0"), std::string::npos) << run.output;

    // A digit no team uses is ignored by the game and so by the checker.
    auto unused = goodMap();
    unused[5][5] = '7';
    unused[5][6] = 'x';
    unused[6][5] = 'x';
    EXPECT_EQ(check(join(unused)).exitCode, 0);
}

TEST_F(ToolsMapcheck, EnemyWalledOffByMetalOrWaterIsReportedButBrickIsNot) {
    auto bricked = goodMap();
    bricked[12] = std::string(26, 'b'); // shootable: still a route
    bricked[13] = std::string(26, 's');
    bricked[14] = std::string(26, 'f');
    EXPECT_EQ(check(join(bricked)).exitCode, 0);

    auto walled = goodMap();
    walled[12] = std::string(13, 'x') + std::string(13, '-');
    auto run = check(join(walled));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("enemy spawn \"0\" at column 0, row 0: a tank cannot drive"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("enemy spawn \"0\" at column 24, row 0"), std::string::npos);

    // A one-cell gap is too narrow for a 2x2 tank; a two-cell gap is enough
    // (under the gap of row 10: row 11 alone is a corridor one cell high).
    auto narrow = walled;
    narrow[12][10] = ' ';
    EXPECT_EQ(check(join(narrow)).exitCode, 1);
    auto offset = walled; // two cells wide, but out of line with the gap above
    offset[12][5] = offset[12][6] = ' ';
    EXPECT_EQ(check(join(offset)).exitCode, 1);
    auto wide = narrow;
    wide[12][11] = ' ';
    EXPECT_EQ(check(join(wide)).exitCode, 0) << check(join(wide)).output;

    // Enclosed right at the spawn: only one of the two enemies is stuck.
    auto boxed = goodMap();
    boxed[2].replace(0, 3, "xxx");
    boxed[0][2] = boxed[1][2] = '-';
    run = check(join(boxed));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("column 0, row 0: a tank cannot drive"), std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.find("column 24, row 0"), std::string::npos) << run.output;
}

TEST_F(ToolsMapcheck, StrayBytesThatReadAsGroundAreReported) {
    auto upper = goodMap();
    upper[5][3] = 'B';
    auto run = check(join(upper));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("map.mtc: column 3, row 5: byte 0x42 reads as empty ground"),
              std::string::npos)
        << run.output;

    // CR LF line ends put the CR in the ignored 27th column: clean. A short
    // CR LF line puts it inside the field: reported.
    std::string crlf;
    for (const auto& row : goodMap()) {
        crlf += row + "\r\n";
    }
    EXPECT_EQ(check(crlf).exitCode, 0) << check(crlf).output;
    auto shortRows = goodMap();
    shortRows[7] = "bb\r";
    run = check(join(shortRows));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("column 2, row 7: byte 0x0D"), std::string::npos) << run.output;
}

TEST_F(ToolsMapcheck, UsageAndUnreadableFiles) {
    EXPECT_EQ(runCommand(quoted(mapcheck())).exitCode, 2);
    EXPECT_EQ(runCommand(quoted(mapcheck()) + " -q").exitCode, 2);
    const auto run = runCommand(quoted(mapcheck()) + " -q " + quoted(dir.path() / "absent.mtc"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("absent.mtc: cannot be read"), std::string::npos);
}
