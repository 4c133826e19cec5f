#include "engine/platform/Path.hpp"

#include <gtest/gtest.h>

using pyx::wrp::directoryOf;
using pyx::wrp::normalizePath;
using pyx::wrp::toBackslashes;

TEST(PlatformPath, NormalizeResolvesDotsAndSeparators) {
    EXPECT_EQ(normalizePath(L"ironmoat/maps/../tank_tileset.png"), L"ironmoat\\tank_tileset.png");
    EXPECT_EQ(normalizePath(L"a//./b/"), L"a\\b");
    EXPECT_EQ(normalizePath(L"../x"), L"..\\x");
    EXPECT_EQ(normalizePath(L"../../x/.."), L"..\\..");
    EXPECT_EQ(normalizePath(L"a/b/../../.."), L"..");
    EXPECT_EQ(normalizePath(L"C:/a/../.."), L"C:");
    EXPECT_EQ(normalizePath(L"/a/b"), L"\\a\\b");
    EXPECT_EQ(normalizePath(L"//server\\share/x"), L"\\\\server\\share\\x");
    EXPECT_EQ(normalizePath(L"@release/Core\\Fonts"), L"@release\\Core\\Fonts");
    EXPECT_EQ(normalizePath(L"Mixed/Case"), L"Mixed\\Case");
    EXPECT_EQ(normalizePath(L""), L"");
}

TEST(PlatformPath, NormalizeKeepsARootOfSeparatorsOnly) {
    EXPECT_EQ(normalizePath(L"/"), L"\\");
    EXPECT_EQ(normalizePath(L"//"), L"\\\\");
    EXPECT_EQ(normalizePath(L"/./"), L"\\");
    EXPECT_EQ(normalizePath(L"."), L"");
}

TEST(PlatformPath, BackslashesAndDirectory) {
    EXPECT_EQ(toBackslashes(L"a/b\\c/"), L"a\\b\\c\\");
    EXPECT_EQ(toBackslashes(L"../x.y"), L"..\\x.y");
    EXPECT_EQ(directoryOf(L"maps/*.mtc"), L"maps/");
    EXPECT_EQ(directoryOf(L"a\\b/c"), L"a\\b/");
    EXPECT_EQ(directoryOf(L"file.txt"), L"");
    EXPECT_EQ(directoryOf(L"dir/"), L"dir/");
}
