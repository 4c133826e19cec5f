#include "tests/tools/AssetsToolSupport.hpp"

#include <SFML/Graphics/Image.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace ironmoat::testing;
namespace fs = std::filesystem;

namespace {

fs::path mapcheck() {
    return binaryDir() / "tools/mapcheck/ironmoat-mapcheck";
}

// The checker as a command that opens an OpenGL context (simulation and
// pictures). In a sanitizer build, Mesa's software renderer keeps
// allocations no suppression can name, so leak checking is off for these
// runs, as for every suite with a window; memory errors still abort.
std::string withGl() {
    return "ASAN_OPTIONS=abort_on_error=1:detect_leaks=0 " + quoted(mapcheck());
}

using Rows = std::vector<std::string>;

// A level that keeps every rule: enemies in the top corners, the base at
// (12, 20) in its whole brick ring, the two human spawns either side of it,
// and a band of every kind of ground across the middle.
Rows goodMap() {
    Rows rows(26, std::string(26, ' '));
    rows[0][0] = '0';
    rows[0][24] = '0';
    rows[20][12] = '1';
    rows[19].replace(11, 4, "bbbb");
    rows[22].replace(11, 4, "bbbb");
    rows[20][11] = rows[21][11] = rows[20][14] = rows[21][14] = 'b';
    rows[22][7] = '2';
    rows[22][17] = '2';
    rows[10] = "xxxxxxxxxx  ffff--ssbbbbbb";
    return rows;
}

std::string join(const Rows& rows) {
    std::string text;
    for (const auto& row : rows) {
        text += row + "\n";
    }
    return text;
}

int lines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

class ToolsMapcheck : public ::testing::Test {
protected:
    CommandResult check(const std::string& bytes, const std::string& flags = "-q") {
        const fs::path file = dir.path() / "map.mtc";
        writeFile(file, bytes);
        return runCommand(quoted(mapcheck()) + " " + flags + " " + quoted(file));
    }
    // The map breaks exactly the rule whose message holds `expected`.
    void expectOnly(const Rows& rows, const std::string& expected, const char* what) {
        const auto run = check(join(rows));
        EXPECT_EQ(run.exitCode, 1) << what << "\n" << run.output;
        EXPECT_NE(run.output.find("map.mtc: error: " + expected), std::string::npos) << what << "\n"
                                                                                     << run.output;
        EXPECT_EQ(lines(run.output), 1) << what << "\n" << run.output;
    }
    TempDir dir;
};

} // namespace

TEST_F(ToolsMapcheck, CleanMapPassesStrictAndPrintsItsPreview) {
    const auto quiet = check(join(goodMap()), "-q --strict");
    EXPECT_EQ(quiet.exitCode, 0) << quiet.output;
    EXPECT_EQ(quiet.output, "");

    const auto loud = check(join(goodMap()), "");
    EXPECT_EQ(loud.exitCode, 0);
    EXPECT_EQ(lines(loud.output), 27); // the name, then the 26 rows
    EXPECT_NE(loud.output.find("xxxxxxxxxx..ffff--ssbbbbbb\n"), std::string::npos) << loud.output;
}

TEST_F(ToolsMapcheck, BaseAndSpawnRulesAreEachCaught) {
    Rows m = goodMap();
    m[20][12] = ' ';
    expectOnly(m, "no base \"1\"", "no base");

    m = goodMap(); // the second base has no ring either: told as well
    m[3][12] = '1';
    const auto two = check(join(m));
    EXPECT_EQ(two.exitCode, 1);
    EXPECT_NE(two.output.find("error: 2 bases \"1\" at (12, 3) and (12, 20): a level has "
                              "exactly one"),
              std::string::npos)
        << two.output;

    m = goodMap();
    m[22][13] = 'f';
    expectOnly(m, "base at (12, 20): its ring has trees at (13, 22) where brick belongs",
               "ring gap");

    m = goodMap(); // the whole base, ring and all, moved to the bottom edge
    for (int y = 19; y <= 22; ++y) {
        m[y].replace(11, 4, "    ");
    }
    m[24][12] = '1';
    m[23].replace(11, 4, "bbbb");
    m[24][11] = m[25][11] = m[24][14] = m[25][14] = 'b';
    expectOnly(m, "base at (12, 24) is too close to the edge: 4 cells of its 12-cell brick ring",
               "base at the edge");

    m = goodMap();
    m[21][12] = 'x';
    expectOnly(m, "base at (12, 20) stands on metal at (12, 21)", "base on metal");

    m = goodMap();
    m[22][17] = ' ';
    expectOnly(m, "only one human spawn \"2\", at (7, 22)", "one human spawn");

    m = goodMap();
    m[22][17] = ' ';
    m[23][8] = '2';
    expectOnly(m, "human spawns at (7, 22) and (8, 23) overlap", "overlapping humans");

    m = goodMap();
    m[0][24] = ' ';
    expectOnly(m, "only one enemy spawn \"0\", at (0, 0)", "one enemy spawn");

    m = goodMap();
    m[1][25] = 'x';
    expectOnly(m, "enemy spawn at (24, 0): a tank cannot stand there, metal at (25, 1)",
               "spawn on metal");

    m = goodMap();
    m[0][24] = ' ';
    m[0][25] = '0';
    expectOnly(m, "enemy spawn at (25, 0): its 2x2 cells reach past the edge", "spawn at edge");
}

TEST_F(ToolsMapcheck, RoutesFollowTheTanksMovementRules) {
    // Brick, wood and trees can be shot away: still a route.
    Rows m = goodMap();
    m[12] = std::string(26, 'b');
    m[13] = std::string(26, 's');
    m[14] = std::string(26, 'f');
    EXPECT_EQ(check(join(m)).exitCode, 0) << check(join(m)).output;

    // Metal and water are not, and a one-cell gap is too narrow for a 2x2
    // tank; a two-cell gap in line with the one above is enough.
    m = goodMap();
    m[12] = std::string(13, 'x') + std::string(13, '-');
    auto run = check(join(m));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("error: human spawn at (7, 22) cannot reach enemy spawn at (0, 0) "
                              "at all"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(lines(run.output), 4) << run.output; // two humans, two enemies
    m[12][10] = ' ';
    EXPECT_EQ(check(join(m)).exitCode, 1);
    m[12][11] = ' ';
    EXPECT_EQ(check(join(m)).exitCode, 0) << check(join(m)).output;

    // The humans' corner opens only through the base's ring.
    m = goodMap();
    m[22][7] = m[22][17] = ' ';
    m[23][10] = m[23][13] = '2';
    for (int y = 23; y <= 25; ++y) {
        m[y][9] = m[y][16] = 'x';
    }
    run = check(join(m));
    EXPECT_NE(run.output.find("error: human spawn at (10, 23) cannot reach enemy spawn at (0, 0) "
                              "without breaking the base's ring"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(lines(run.output), 4) << run.output;

    // Walled in by brick on all four sides: reachable, but boxed in.
    m = goodMap();
    m[21].replace(7, 2, "bb");
    m[24].replace(7, 2, "bb");
    m[22][6] = m[23][6] = m[22][9] = m[23][9] = 'b';
    expectOnly(m, "human spawn at (7, 22) is boxed in", "boxed in");
}

TEST_F(ToolsMapcheck, OpenLineOfFireFromAnEnemySpawnOntoTheRing) {
    Rows m = goodMap();
    m[0][12] = '0';
    expectOnly(m,
               "enemy spawn at (12, 0) has an open line of fire onto the base's ring: a shell "
               "fired down from it first hits (12, 19) and (13, 19)",
               "open line");

    // Water and trees let the shell through; one brick in either column of
    // the tank's two-cell-wide line stops it.
    m[5][12] = '-';
    m[6][13] = 'f';
    EXPECT_EQ(check(join(m)).exitCode, 1);
    m[7][13] = 'b';
    EXPECT_EQ(check(join(m)).exitCode, 0) << check(join(m)).output;

    // Sideways too, along the rows the tank covers.
    m = goodMap();
    m[20][0] = '0';
    expectOnly(m,
               "enemy spawn at (0, 20) has an open line of fire onto the base's ring: a shell "
               "fired right from it first hits (11, 20) and (11, 21)",
               "sideways");
}

TEST_F(ToolsMapcheck, WarningsFailOnlyUnderStrictAndUnknownBytesAreSummedUp) {
    Rows m = goodMap();
    m[5][5] = '7';
    m[5][6] = 'B';
    auto run = check(join(m));
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("warning: digit \"7\" at (5, 5) marks nothing"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("warning: byte 0x42 (\"B\") at (6, 5) reads as open ground"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(check(join(m), "-q --strict").exitCode, 1);

    // CR LF line ends put the CR in the ignored 27th column: clean.
    std::string crlf;
    for (const auto& row : goodMap()) {
        crlf += row + "\r\n";
    }
    EXPECT_EQ(check(crlf, "-q --strict").exitCode, 0) << check(crlf).output;

    // A file of noise: a few lines, not one per byte.
    std::string noise;
    for (int i = 0; i < 26 * 27; ++i) {
        noise += static_cast<char>(i % 27 == 26 ? '\n' : 0x80 + (i * 7919) % 120);
    }
    run = check(noise);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("this does not look like a level file"), std::string::npos);
    EXPECT_LE(lines(run.output), 12) << run.output;
    EXPECT_NE(run.output.find("other unknown bytes at"), std::string::npos) << run.output;
}

TEST_F(ToolsMapcheck, HelpUsageAndExitStatus) {
    const auto help = runCommand(quoted(mapcheck()) + " --help 2>/dev/null");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("usage: ironmoat-mapcheck"), std::string::npos);
    EXPECT_NE(help.output.find("Warnings"), std::string::npos);

    EXPECT_EQ(runCommand(quoted(mapcheck())).exitCode, 2);
    EXPECT_EQ(runCommand(quoted(mapcheck()) + " -q").exitCode, 2);
    EXPECT_EQ(runCommand(quoted(mapcheck()) + " --bogus x.mtc").exitCode, 2);
    EXPECT_EQ(runCommand(quoted(mapcheck()) + " --simulate many x.mtc").exitCode, 2);
    const auto absent = runCommand(quoted(mapcheck()) + " -q " + quoted(dir.path() / "absent"));
    EXPECT_EQ(absent.exitCode, 2);
    EXPECT_NE(absent.output.find("absent: error: cannot be read"), std::string::npos);
    const auto empty = check("");
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_NE(empty.output.find("the file is empty"), std::string::npos);
}

TEST_F(ToolsMapcheck, SimulationRepeatsExactlyForTheSameSeed) {
    const fs::path file = dir.path() / "map.mtc";
    writeFile(file, join(goodMap()));
    const std::string command =
        withGl() + " --simulate 3 --seed 11 --tsv " + quoted(file) + " 2>/dev/null";
    const auto first = runCommand(command);
    const auto second = runCommand(command);
    ASSERT_EQ(first.exitCode, 0) << first.output;
    EXPECT_EQ(first.output, second.output);
    ASSERT_EQ(lines(first.output), 2) << first.output; // the header and one level

    // runs, then ... cleared, base fell, humans out, capped: they add up.
    std::vector<std::string> fields;
    std::string row = first.output.substr(first.output.find('\n') + 1);
    row.pop_back();
    for (std::size_t at = 0, tab = 0; tab != std::string::npos; at = tab + 1) {
        tab = row.find('\t', at);
        fields.push_back(row.substr(at, tab == std::string::npos ? tab : tab - at));
    }
    ASSERT_EQ(fields.size(), 12u) << row;
    EXPECT_EQ(fields[0], "map.mtc");
    EXPECT_EQ(fields[1], "3");
    EXPECT_EQ(std::stoi(fields[8]) + std::stoi(fields[9]) + std::stoi(fields[10]) +
                  std::stoi(fields[11]),
              3)
        << row;
}

TEST_F(ToolsMapcheck, PicturesAreDrawnWithTheGamesPicturesAndNamed) {
    const fs::path map = dir.path() / "Dunmark-level-07.mtc";
    const fs::path other = dir.path() / "other.mtc";
    writeFile(map, join(goodMap()));
    Rows metal = goodMap();
    metal[5].replace(4, 2, "xx");
    writeFile(other, join(metal));

    const fs::path png = dir.path() / "one.png";
    const auto one = runCommand(withGl() + " --png " + quoted(png) + " " + quoted(other));
    ASSERT_EQ(one.exitCode, 0) << one.output;
    sf::Image image;
    ASSERT_TRUE(image.loadFromFile(png.string()));
    ASSERT_EQ(image.getSize(), sf::Vector2u(26 * 32, 26 * 32));
    // Cells of 32 pixels: metal at (4, 5), brick at (20, 10) and open ground
    // at (4, 6) each look different at their centres.
    const auto centre = [&](int x, int y) { return image.getPixel(x * 32 + 16, y * 32 + 16); };
    EXPECT_NE(centre(4, 5), centre(4, 6));
    EXPECT_NE(centre(20, 10), centre(4, 6));
    EXPECT_NE(centre(4, 5), centre(20, 10));

    // A sheet of two maps in one row, the first named from the table.
    const fs::path names = dir.path() / "LEVELS.md";
    writeFile(names, "| # | Name | Idea |\n|---|---|---|\n| 07 | Test Ground | x |\n");
    const fs::path sheet = dir.path() / "sheet.png";
    const auto two = runCommand(withGl() + " --sheet " + quoted(sheet) + " --names " +
                                quoted(names) + " " + quoted(map) + " " + quoted(other));
    ASSERT_EQ(two.exitCode, 0) << two.output;
    ASSERT_TRUE(image.loadFromFile(sheet.string()));
    EXPECT_EQ(image.getSize(), sf::Vector2u(2 * (416 + 12) + 12, 28 + 416 + 12 + 12));
}
