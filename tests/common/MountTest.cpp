#include "engine/common/Mount.hpp"
#include "engine/common/ResourceManager.hpp"
#include "engine/core/WeakSingleton.hpp"

#include "tests/common/ResourceTestSupport.hpp"

#include <gtest/gtest.h>

using pyx::cmn::ResourceManager;
using pyx::cmn::stripMountPrefix;
using pyx::test::Bytes;
using pyx::test::bytesOf;

namespace {

// The remainder stripMountPrefix leaves, or "<no match>" (path then unchanged).
std::wstring stripped(const std::wstring& path, const std::wstring& mountName) {
    std::wstring result = path;
    if (!stripMountPrefix(result, mountName)) {
        EXPECT_EQ(result, path) << "a failed match must leave the path alone";
        return L"<no match>";
    }
    return result;
}

} // namespace

TEST(CommonMountPrefix, MatchingPathsYieldTheNormalizedRemainder) {
    EXPECT_EQ(stripped(L"@release/Core/Fonts/Charis-SIL/Font-Face-R.ttf", L"@release/Core"),
              L"Fonts\\Charis-SIL\\Font-Face-R.ttf");
    EXPECT_EQ(stripped(L"ironmoat/maps/Dunmark-level-01.mtc", L"ironmoat"),
              L"maps\\Dunmark-level-01.mtc");
    EXPECT_EQ(stripped(L"ironmoat\\maps\\Dunmark-level-01.mtc", L"ironmoat"),
              L"maps\\Dunmark-level-01.mtc");
    // Both sides are normalized before they are compared.
    EXPECT_EQ(stripped(L"ironmoat//maps/./x/../a.png", L"ironmoat"), L"maps\\a.png");
    EXPECT_EQ(stripped(L"@release/Core/a.ttf", L"@release\\Core\\"), L"a.ttf");
    EXPECT_EQ(stripped(L"a/b/../c/d.png", L"a/c"), L"d.png");
}

TEST(CommonMountPrefix, NearMissesDoNotMatch) {
    EXPECT_EQ(stripped(L"ironmoat", L"ironmoat"), L"<no match>");
    EXPECT_EQ(stripped(L"ironmoat/", L"ironmoat"), L"<no match>");
    EXPECT_EQ(stripped(L"ironmoatx/a.png", L"ironmoat"), L"<no match>");
    EXPECT_EQ(stripped(L"IronMoat/a.png", L"ironmoat"), L"<no match>");
    EXPECT_EQ(stripped(L"data/ironmoat/a.png", L"ironmoat"), L"<no match>");
    EXPECT_EQ(stripped(L"iron", L"ironmoat"), L"<no match>");
    EXPECT_EQ(stripped(L"", L"ironmoat"), L"<no match>");
}

TEST(CommonMountPrefix, EmptyMountNameServesEveryPath) {
    EXPECT_EQ(stripped(L"a/./b//c.png", L""), L"a\\b\\c.png");
    EXPECT_EQ(stripped(L"x.png", L""), L"x.png");
}

class CommonMountLookup : public ::testing::Test {
protected:
    // Mount names are absolute folder names in the temporary folder, so that
    // a path that no archive serves is found on disk exactly as spelled,
    // whatever the working directory is.
    std::wstring under(const std::string& relative) const { return dir.wide(relative); }

    pyx::test::LogCapture log;
    pyx::test::TempDir dir;
    pyx::core::WeakSingleton<ResourceManager> manager;
};

TEST_F(CommonMountLookup, MissingOrDamagedArchivesAreNotMounted) {
    EXPECT_FALSE(manager->mount(under("none.dat"), L"x"));
    pyx::test::writeFile(dir.path() / "junk.dat", bytesOf("this is not an archive at all"));
    EXPECT_FALSE(manager->mount(under("junk.dat"), L"x"));
    EXPECT_EQ(manager->mountCount(), 0u);

    Bytes bytes = bytesOf("left over");
    EXPECT_FALSE(manager->readFromMounts(L"x/a.txt", bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST_F(CommonMountLookup, SlashesOfEitherKindFindTheSameEntry) {
    pyx::test::buildArchive(dir.path() / "game.dat",
                            {{L"maps\\Dunmark-level-01.mtc", bytesOf("level one")}});
    ASSERT_TRUE(manager->mount(under("game.dat"), L"ironmoat"));

    Bytes forward, backward;
    ASSERT_TRUE(manager->readFromMounts(L"ironmoat/maps/Dunmark-level-01.mtc", forward));
    ASSERT_TRUE(manager->readFromMounts(L"ironmoat\\maps\\Dunmark-level-01.mtc", backward));
    EXPECT_EQ(forward, bytesOf("level one"));
    EXPECT_EQ(backward, forward);
    // Entry names are case-sensitive, and so is the mount name.
    EXPECT_FALSE(manager->readFromMounts(L"ironmoat/Maps/Dunmark-level-01.mtc", forward));
    EXPECT_FALSE(manager->readFromMounts(L"IronMoat/maps/Dunmark-level-01.mtc", forward));
    EXPECT_FALSE(manager->readFromMounts(L"ironmoat", forward));
}

TEST_F(CommonMountLookup, EarlierMountsWinAndLaterOnesFillTheGaps) {
    const std::wstring pak = under("pak");
    pyx::test::buildArchive(dir.path() / "first.dat", {{L"shared.txt", bytesOf("from first")},
                                                       {L"bad.txt", bytesOf("bad 1")}});
    pyx::test::buildArchive(dir.path() / "second.dat", {{L"shared.txt", bytesOf("from second")},
                                                        {L"only2.txt", bytesOf("only second")},
                                                        {L"bad.txt", bytesOf("good 2")}});
    pyx::test::buildArchive(dir.path() / "other.dat", {{L"shared.txt", bytesOf("other name")}});
    pyx::test::corruptEntry(dir.path() / "first.dat", L"bad.txt");
    ASSERT_TRUE(manager->mount(under("other.dat"), L"elsewhere"));
    ASSERT_TRUE(manager->mount(under("first.dat"), pak));
    ASSERT_TRUE(manager->mount(under("second.dat"), pak));

    Bytes bytes;
    ASSERT_TRUE(manager->readFromMounts(pak + L"/shared.txt", bytes));
    EXPECT_EQ(bytes, bytesOf("from first"));
    ASSERT_TRUE(manager->readFromMounts(pak + L"/only2.txt", bytes));
    EXPECT_EQ(bytes, bytesOf("only second"));
    // A damaged entry counts as missing: the next mount serves it.
    ASSERT_TRUE(manager->readFromMounts(pak + L"/bad.txt", bytes));
    EXPECT_EQ(bytes, bytesOf("good 2"));
    ASSERT_TRUE(manager->readFromMounts(L"elsewhere/shared.txt", bytes));
    EXPECT_EQ(bytes, bytesOf("other name"));
}

TEST_F(CommonMountLookup, PathsNoArchiveServesComeFromDisk) {
    const std::wstring pak = under("pak");
    pyx::test::buildArchive(dir.path() / "a.dat", {{L"in-archive.txt", bytesOf("archived")},
                                                   {L"bad.txt", bytesOf("bad")}});
    pyx::test::corruptEntry(dir.path() / "a.dat", L"bad.txt");
    ASSERT_TRUE(manager->mount(under("a.dat"), pak));
    // The disk holds files under the mount's folder too; the archive wins
    // for what it holds.
    pyx::test::writeFile(dir.path() / "pak" / "in-archive.txt", bytesOf("on disk"));
    pyx::test::writeFile(dir.path() / "pak" / "disk-only.txt", bytesOf("disk only"));
    pyx::test::writeFile(dir.path() / "pak" / "bad.txt", bytesOf("disk copy of bad"));

    Bytes bytes = bytesOf("stale");
    EXPECT_FALSE(manager->readFromMounts(pak + L"/bad.txt", bytes));
    EXPECT_TRUE(bytes.empty()) << "damaged archive data must not be handed out";

    auto archived = manager->getRaw(pak + L"/in-archive.txt");
    auto diskOnly = manager->getRaw(pak + L"/disk-only.txt");
    auto damaged = manager->getRaw(pak + L"/bad.txt");
    EXPECT_EQ(pyx::cmn::resourceValue(archived), bytesOf("archived"));
    EXPECT_EQ(pyx::cmn::resourceValue(diskOnly), bytesOf("disk only"));
    EXPECT_EQ(pyx::cmn::resourceValue(damaged), bytesOf("disk copy of bad"));
    EXPECT_EQ(log.count(L"Failed to load resource \"" + pak + L"/bad.txt\"."), 0);
}

TEST_F(CommonMountLookup, WithoutArchivesMountedPathsAreReadFromDisk) {
    // Both game archives missing: the same paths still work from loose files.
    EXPECT_FALSE(manager->mount(under("data/core.dat"), under("@release/Core")));
    EXPECT_FALSE(manager->mount(under("data/ironmoat.dat"), under("ironmoat")));
    pyx::test::writeFile(dir.path() / "@release" / "Core" / "Fonts" / "f.ttf", bytesOf("font"));
    pyx::test::writeFile(dir.path() / "ironmoat", bytesOf("a file named like the mount"));

    auto font = manager->getRaw(under("@release/Core/Fonts/f.ttf"));
    auto bare = manager->getRaw(under("ironmoat"));
    EXPECT_EQ(pyx::cmn::resourceValue(font), bytesOf("font"));
    EXPECT_EQ(pyx::cmn::resourceValue(bare), bytesOf("a file named like the mount"));
}
