#include "engine/common/File.hpp"
#include "tests/TempFolder.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using pyx::cmn::File;
using pyx::wrp::FileDriver;

namespace {

class CommonFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = ironmoat::test::makeTempFolder("pyx_file_");
    }
    void TearDown() override { fs::remove_all(dir); }
    std::wstring path(const std::string& name) const { return (dir / name).wstring(); }

    fs::path dir;
};

} // namespace

TEST_F(CommonFile, LittleEndianRoundTripAndLayout) {
    File f;
    ASSERT_TRUE(f.open(path("le"), FileDriver::ModeCreate));
    EXPECT_TRUE(f.writeU8(0xAB));
    EXPECT_TRUE(f.writeU16(0x1234));
    EXPECT_TRUE(f.writeU32(0xDEADBEEF));
    EXPECT_EQ(f.size(), 7u);
    ASSERT_TRUE(f.seek(0));
    std::uint8_t raw[7];
    ASSERT_TRUE(f.readExact(raw, 7));
    const std::uint8_t expected[7] = {0xAB, 0x34, 0x12, 0xEF, 0xBE, 0xAD, 0xDE};
    EXPECT_EQ(0, std::memcmp(raw, expected, 7));
    ASSERT_TRUE(f.seek(0));
    std::uint8_t a = 0;
    std::uint16_t b = 0;
    std::uint32_t c = 0;
    EXPECT_TRUE(f.readU8(a));
    EXPECT_TRUE(f.readU16(b));
    EXPECT_TRUE(f.readU32(c));
    EXPECT_EQ(a, 0xAB);
    EXPECT_EQ(b, 0x1234);
    EXPECT_EQ(c, 0xDEADBEEFu);
    EXPECT_EQ(f.tell(), 7);
    EXPECT_FALSE(f.readU8(a)) << "nothing left";
    // A partial integer at the end of the file fails.
    ASSERT_TRUE(f.seek(5));
    EXPECT_FALSE(f.readU32(c));
}

TEST_F(CommonFile, ExactTransfersChunksAndReadAll) {
    std::string content(10000, 'q');
    content[9999] = 'z';
    std::ofstream(dir / "big", std::ios::binary) << content;
    File f;
    ASSERT_TRUE(f.open(path("big"), FileDriver::ModeRead));
    File::Chunk chunk;
    EXPECT_EQ(f.readChunk(chunk), File::ChunkSize);
    ASSERT_TRUE(f.seek(9000));
    EXPECT_EQ(f.readChunk(chunk), 1000u);
    EXPECT_EQ(chunk[999], 'z');
    EXPECT_EQ(f.readChunk(chunk), 0u);

    std::vector<std::uint8_t> all;
    ASSERT_TRUE(f.readAll(all));
    EXPECT_EQ(std::string(all.begin(), all.end()), content);
    std::vector<std::uint8_t> part;
    ASSERT_TRUE(f.seek(9998));
    EXPECT_FALSE(f.readVector(part, 3));
    ASSERT_TRUE(f.seek(9998));
    EXPECT_TRUE(f.readVector(part, 2));
    EXPECT_EQ(part.back(), 'z');
    EXPECT_FALSE(f.writeExact("x", 1)) << "opened for reading";
}

TEST_F(CommonFile, ClosedFileFailsAndReportsIt) {
    File f;
    EXPECT_FALSE(f.isOpen());
    EXPECT_FALSE(f.open(path("missing"), FileDriver::ModeRead));
    EXPECT_FALSE(f.isOpen());
    std::vector<std::uint8_t> all;
    EXPECT_FALSE(f.readAll(all));
    EXPECT_EQ(f.tell(), -1);
    std::uint64_t size = 0;
    EXPECT_FALSE(f.trySize(size));
    ASSERT_TRUE(f.open(path("new"), FileDriver::ModeCreate));
    EXPECT_TRUE(f.isOpen());
    EXPECT_TRUE(f.readAll(all));
    EXPECT_TRUE(all.empty());
    f.close();
    EXPECT_FALSE(f.isOpen());
}

TEST(CommonFileDeath, SizeOfAClosedFileIsAProgramFault) {
    File f;
    EXPECT_DEATH(f.size(), "Assertion failed: false");
}
