#include "engine/platform/FileFinder.hpp"
#include "engine/platform/Path.hpp"
#include "tests/TempFolder.hpp"

#ifdef _WIN32
#include "engine/platform/FileDriverWin32.hpp"

#include <windows.h>
#else
#include "engine/platform/FileDriverPosix.hpp"
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;
using pyx::wrp::FileDriver;
#ifdef _WIN32
using NativeDriver = pyx::wrp::FileDriverWin32;
#else
using NativeDriver = pyx::wrp::FileDriverPosix;
#endif

namespace {

class PlatformFileDriver : public ::testing::Test {
protected:
    void SetUp() override { dir = ironmoat::test::makeTempFolder("pyx_driver_"); }
    void TearDown() override { fs::remove_all(dir); }

    std::wstring path(const std::string& name) const { return (dir / name).wstring(); }
    void put(const std::string& name, const std::string& content) const {
        std::ofstream(dir / name, std::ios::binary) << content;
    }
    std::string get(const std::string& name) const {
        std::ifstream in(dir / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path dir;
};

} // namespace

TEST_F(PlatformFileDriver, ModesOpenCreateAndTruncate) {
    NativeDriver d;
    EXPECT_FALSE(d.open(path("missing"), FileDriver::ModeRead));
    EXPECT_FALSE(d.open(path("missing"), FileDriver::ModeReadWrite));
    EXPECT_FALSE(fs::exists(dir / "missing"));
    EXPECT_TRUE(d.open(path("missing"), FileDriver::ModeCreate));
    std::uint64_t size = 99;
    ASSERT_TRUE(d.size(size));
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(d.write("hello", 5), 5u);
    d.close();
    EXPECT_EQ(get("missing"), "hello");

    EXPECT_TRUE(d.open(path("missing"), FileDriver::ModeReadWrite));
    EXPECT_EQ(d.write("J", 1), 1u);
    d.close();
    EXPECT_EQ(get("missing"), "Jello");

    EXPECT_TRUE(d.open(path("missing"), FileDriver::ModeCreate));
    d.close();
    EXPECT_EQ(get("missing"), "");

    // Mode 0 cannot write; an unknown mode acts as read/write on an existing file.
    put("r", "abc");
    EXPECT_TRUE(d.open(path("r"), FileDriver::ModeRead));
    EXPECT_EQ(d.write("x", 1), 0u);
    EXPECT_TRUE(d.open(path("r"), 7));
    EXPECT_EQ(d.write("x", 1), 1u);
    d.close();
    EXPECT_EQ(get("r"), "xbc");
    EXPECT_FALSE(d.open(path("nothere"), 7));
}

TEST_F(PlatformFileDriver, BackslashesSeparateAndFoldersDoNotOpen) {
    fs::create_directory(dir / "sub");
    put("sub/f", "data");
    NativeDriver d;
    EXPECT_TRUE(d.open(path("sub") + L"\\f", FileDriver::ModeRead));
    EXPECT_FALSE(d.open(path("sub"), FileDriver::ModeRead));
    EXPECT_FALSE(d.isOpen());
}

TEST_F(PlatformFileDriver, SharingRuleFollowsTheModes) {
    put("f", "content");
    for (int held : {FileDriver::ModeReadWrite, FileDriver::ModeCreate}) {
        NativeDriver holder;
        ASSERT_TRUE(holder.open(path("f"), held));
        for (int mode : {0, 1, 2}) {
            NativeDriver other;
            EXPECT_FALSE(other.open(path("f"), mode)) << "held " << held << " mode " << mode;
        }
        holder.write("content", 7);
    }
    // A failed mode-2 open must not have truncated the held file.
    EXPECT_EQ(get("f"), "content");

    NativeDriver reader;
    ASSERT_TRUE(reader.open(path("f"), FileDriver::ModeRead));
    NativeDriver second;
    EXPECT_TRUE(second.open(path("f"), FileDriver::ModeRead));
    NativeDriver writer;
    EXPECT_FALSE(writer.open(path("f"), FileDriver::ModeReadWrite));
    EXPECT_FALSE(writer.open(path("f"), FileDriver::ModeCreate));
    EXPECT_EQ(get("f"), "content");
    reader.close();
    second.close();
    EXPECT_TRUE(writer.open(path("f"), FileDriver::ModeReadWrite));
}

TEST_F(PlatformFileDriver, SeekTellAndReadAtTheEnd) {
    put("f", "0123456789");
    NativeDriver d;
    ASSERT_TRUE(d.open(path("f"), FileDriver::ModeRead));
    EXPECT_TRUE(d.seek(10, FileDriver::FromStart));
    EXPECT_FALSE(d.seek(11, FileDriver::FromStart));
    EXPECT_FALSE(d.seek(-1, FileDriver::FromStart));
    char buf[4];
    EXPECT_EQ(d.read(buf, 4), 0u);
    std::uint64_t pos = 0;
    ASSERT_TRUE(d.tell(pos));
    EXPECT_EQ(pos, 10u);
    EXPECT_TRUE(d.seek(-3, FileDriver::FromEnd));
    EXPECT_FALSE(d.seek(1, FileDriver::FromEnd));
    EXPECT_EQ(d.read(buf, 4), 3u);
    EXPECT_EQ(std::string(buf, 3), "789");
    EXPECT_TRUE(d.seek(2, FileDriver::FromStart));
    EXPECT_TRUE(d.seek(8, FileDriver::FromCurrent));
    EXPECT_FALSE(d.seek(1, FileDriver::FromCurrent));
    EXPECT_FALSE(d.seek(-11, FileDriver::FromCurrent));
    EXPECT_FALSE(d.seek(0, 3));
    ASSERT_TRUE(d.tell(pos));
    EXPECT_EQ(pos, 10u);
    EXPECT_EQ(d.read(buf, 0), 0u);
    EXPECT_TRUE(d.seek(0, FileDriver::FromStart));
    EXPECT_EQ(d.read(buf, 4), 4u);
}

TEST_F(PlatformFileDriver, TruncateOnlyShrinks) {
    put("f", "0123456789");
    NativeDriver d;
    ASSERT_TRUE(d.open(path("f"), FileDriver::ModeReadWrite));
    EXPECT_FALSE(d.truncate(11));
    EXPECT_EQ(get("f"), "0123456789");
    EXPECT_TRUE(d.truncate(4));
    std::uint64_t pos = 0;
    ASSERT_TRUE(d.tell(pos));
    EXPECT_EQ(pos, 4u);
    EXPECT_TRUE(d.flush());
    EXPECT_EQ(get("f"), "0123");
}

TEST_F(PlatformFileDriver, ClosedDriverFailsEverything) {
    NativeDriver d;
    char buf[1] = {0};
    std::uint64_t v = 0;
    EXPECT_EQ(d.read(buf, 1), 0u);
    EXPECT_EQ(d.write(buf, 1), 0u);
    EXPECT_FALSE(d.seek(0, FileDriver::FromStart));
    EXPECT_FALSE(d.tell(v));
    EXPECT_FALSE(d.size(v));
    EXPECT_FALSE(d.flush());
    EXPECT_FALSE(d.truncate(0));
    d.close();
    d.close();
}

// Entries come in name order on POSIX; Windows gives them in the order of
// the file system, which only NTFS keeps sorted, so there the test sorts.
// Hidden is a leading dot on POSIX and an attribute on Windows.
TEST_F(PlatformFileDriver, FinderListsMatchesInNameOrder) {
    fs::create_directory(dir / "maps");
    put("maps/b.mtc", "12345");
    put("maps/a.mtc", "1");
    put("maps/c.txt", "x");
    put("maps/.h.mtc", "");
    fs::create_directory(dir / "maps" / "d.mtc");
#ifdef _WIN32
    ASSERT_TRUE(
        SetFileAttributesW((dir / "maps" / ".h.mtc").wstring().c_str(), FILE_ATTRIBUTE_HIDDEN));
#endif

    pyx::wrp::FileFinder finder;
    const std::wstring pattern = path("maps") + L"/*.mtc";
    ASSERT_TRUE(finder.find(pattern));
    EXPECT_EQ(finder.directory(), pyx::wrp::toBackslashes(path("maps") + L"/"));
    std::vector<std::wstring> names;
    do {
        names.push_back(finder.name());
        if (finder.name() == L"b.mtc") {
            EXPECT_EQ(finder.size(), 5u);
            EXPECT_GT(finder.lastTime(), 0);
            EXPECT_EQ(finder.fullPath(), pyx::wrp::normalizePath(path("maps") + L"/b.mtc"));
        }
        EXPECT_EQ(finder.isDirectory(), finder.name() == L"d.mtc");
        EXPECT_EQ(finder.isHidden(), finder.name() == L".h.mtc");
    } while (finder.next());
#ifdef _WIN32
    std::sort(names.begin(), names.end());
#endif
    EXPECT_EQ(names, (std::vector<std::wstring>{L".h.mtc", L"a.mtc", L"b.mtc", L"d.mtc"}));
    EXPECT_FALSE(finder.isSearching());
    EXPECT_FALSE(finder.next());
    EXPECT_THROW(finder.alternateName(), std::wstring);
}

TEST_F(PlatformFileDriver, FinderOnAMissingFolderFindsNothing) {
    pyx::wrp::FileFinder finder;
    EXPECT_FALSE(finder.find(path("nope") + L"/*.mtc"));
    EXPECT_FALSE(finder.isSearching());
    EXPECT_FALSE(finder.next());
}

TEST(PlatformFileFinder, FullPathOfARelativePattern) {
    const fs::path old = fs::current_path();
    const fs::path pattern = ironmoat::test::makeTempFolder("pyx_finder_");
    fs::current_path(pattern);
    fs::create_directory("maps");
    std::ofstream("maps/x.mtc") << "x";
    bool found = false;
    std::wstring full;
    {
        // An open search holds its folder on Windows, so it ends before the
        // folder is removed.
        pyx::wrp::FileFinder finder;
        found = finder.find(L"maps/*.mtc");
        full = found ? finder.fullPath() : L"";
    }
    fs::current_path(old);
    fs::remove_all(pattern);
    ASSERT_TRUE(found);
    EXPECT_EQ(full, L"maps\\x.mtc");
}
