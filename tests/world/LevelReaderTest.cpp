#include "game/world/LevelReader.hpp"

#include <gtest/gtest.h>

#include <string>

using ironmoat::cmn::isMarkerByte;
using ironmoat::cmn::LevelLayout;
using ironmoat::cmn::MapMarker;
using ironmoat::cmn::readLevel;
using ironmoat::cmn::TileKind;

namespace {

// 26 lines of 26 bytes with a varied pattern, every kind and some markers.
std::string sampleLines(const std::string& eol) {
    const std::string pattern = "b-fsx 0 1 2 bbxx--ff  ss 9";
    std::string text;
    for (int row = 0; row < 26; ++row) {
        text += pattern.substr(static_cast<std::size_t>(row % 7)) +
                pattern.substr(0, static_cast<std::size_t>(row % 7)) + eol;
    }
    return text;
}

bool sameLayout(const LevelLayout& a, const LevelLayout& b) {
    return a.kinds == b.kinds && a.markers == b.markers && a.bytes == b.bytes;
}

} // namespace

TEST(WorldLevelReader, KindsAreCaseSensitiveAndEverythingElseIsEmpty) {
    EXPECT_EQ(ironmoat::cmn::tileKindOfByte('-'), TileKind::Water);
    EXPECT_EQ(ironmoat::cmn::tileKindOfByte('b'), TileKind::Brick);
    EXPECT_EQ(ironmoat::cmn::tileKindOfByte('f'), TileKind::Tree);
    EXPECT_EQ(ironmoat::cmn::tileKindOfByte('s'), TileKind::Wood);
    EXPECT_EQ(ironmoat::cmn::tileKindOfByte('x'), TileKind::Metal);
    for (unsigned char byte : std::string("BXFS \r\t07#") + "\x80\xff") {
        EXPECT_EQ(ironmoat::cmn::tileKindOfByte(byte), TileKind::Empty) << int(byte);
    }
    const auto level = readLevel(std::string("BXFSW-"));
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(level.kinds[x][0], TileKind::Empty) << x;
    }
    EXPECT_EQ(level.kinds[5][0], TileKind::Water);
    // Bytes above 0x7F are never digits, whatever a signed char would say.
    EXPECT_FALSE(isMarkerByte(0x80 + '1'));
    EXPECT_TRUE(readLevel(std::string("\xb1\xb0")).markers.empty());
}

TEST(WorldLevelReader, CrLfFileReadsLikeLfFile) {
    const auto lf = readLevel(sampleLines("\n"));
    const auto crlf = readLevel(sampleLines("\r\n"));
    EXPECT_TRUE(sameLayout(lf, crlf));
    EXPECT_FALSE(lf.markers.empty());
}

TEST(WorldLevelReader, ShortAndMissingLinesArePaddedWithEmptyGround) {
    const auto level = readLevel(std::string("bbbb"));
    for (int y = 0; y < 26; ++y) {
        for (int x = 0; x < 26; ++x) {
            const TileKind want = (y == 0 && x < 4) ? TileKind::Brick : TileKind::Empty;
            ASSERT_EQ(level.kinds[x][y], want) << x << "," << y;
            ASSERT_EQ(level.bytes[x][y], (y == 0 && x < 4) ? 'b' : ' ');
        }
    }
    EXPECT_TRUE(level.markers.empty());

    // A short line in the middle of a CR LF file: its CR falls inside the
    // 26 columns and reads as empty ground, recorded as the byte it was.
    const auto crShort = readLevel(std::string("xx\r\nss\r\n"));
    EXPECT_EQ(crShort.kinds[1][0], TileKind::Metal);
    EXPECT_EQ(crShort.kinds[2][0], TileKind::Empty);
    EXPECT_EQ(crShort.bytes[2][0], '\r');
    EXPECT_EQ(crShort.kinds[0][1], TileKind::Wood);

    // Empty lines and an empty file.
    const auto gaps = readLevel(std::string("\n\nb"));
    EXPECT_EQ(gaps.kinds[0][0], TileKind::Empty);
    EXPECT_EQ(gaps.kinds[0][2], TileKind::Brick);
    const auto none = readLevel(nullptr, 0);
    EXPECT_EQ(none.kinds[0][0], TileKind::Empty);
    EXPECT_TRUE(none.markers.empty());
}

TEST(WorldLevelReader, BytesPastColumn26AndLinesPastRow26AreIgnored) {
    std::string text = std::string(26, 'x') + "0123\n"; // 30 bytes: the digits are cut
    for (int row = 1; row < 26; ++row) {
        text += "f\n";
    }
    text += "2bbb\n1\n"; // rows 26 and 27 do not exist
    const auto level = readLevel(text);
    EXPECT_TRUE(level.markers.empty());
    EXPECT_EQ(level.kinds[25][0], TileKind::Metal);
    EXPECT_EQ(level.kinds[0][1], TileKind::Tree); // the next line starts after the LF
    EXPECT_EQ(level.kinds[0][25], TileKind::Tree);
    EXPECT_EQ(level.kinds[1][25], TileKind::Empty);
}

TEST(WorldLevelReader, DigitsBecomeMarkersInReadingOrderOnEmptyCells) {
    std::string text;
    for (int row = 0; row < 26; ++row) {
        std::string line(26, ' ');
        if (row == 0) {
            line[24] = '0';
            line[0] = '0';
            line[12] = '7';
        }
        if (row == 24) {
            line[12] = '1';
            line[8] = '2';
            line[16] = '2';
        }
        text += line + "\n";
    }
    const auto level = readLevel(text);
    const std::vector<MapMarker> want = {{0, 0, 0},  {12, 0, 7},  {24, 0, 0},
                                         {8, 24, 2}, {12, 24, 1}, {16, 24, 2}};
    EXPECT_EQ(level.markers, want);
    EXPECT_EQ(level.kinds[12][24], TileKind::Empty);
    EXPECT_EQ(level.bytes[12][24], '1');
}
