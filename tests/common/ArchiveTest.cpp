#include "engine/common/Archive.hpp"

#include "engine/common/Logger.hpp"
#include "engine/common/LoggerSettings.hpp"
#include "engine/core/WeakSingleton.hpp"
#include "tests/TempFolder.hpp"

#include <gtest/gtest.h>
#include <zlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#ifndef _WIN32
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using pyx::cmn::Archive;
using Bytes = std::vector<std::uint8_t>;

namespace {

const Bytes SmallArchive = {0x50, 0x59, 0x58, 0x41, 0x72, 0x63, 0x68, 0x69, 0x76, 0x65,
                            0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x05, 0x00, 0x61, 0x2E,
                            0x74, 0x78, 0x74, 0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00,
                            0x00, 0xC2, 0x41, 0x24, 0x35, 0x61, 0x62, 0x63};

Bytes text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

void appendU32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

// An archive image with the given records (name, offset, size, crc) and data.
Bytes image(std::uint32_t count, std::uint8_t revision,
            const std::vector<std::tuple<std::string, std::uint32_t, std::uint32_t, std::uint32_t>>&
                records,
            const Bytes& data) {
    Bytes b = text("PYXArchive");
    appendU32(b, count);
    b.push_back(revision);
    b.push_back(0);
    for (const auto& [name, offset, size, crc] : records) {
        b.push_back(static_cast<std::uint8_t>(name.size()));
        b.push_back(static_cast<std::uint8_t>(name.size() >> 8));
        b.insert(b.end(), name.begin(), name.end());
        appendU32(b, offset);
        appendU32(b, size);
        appendU32(b, crc);
    }
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

std::uint32_t zcrc(const Bytes& b) {
    return static_cast<std::uint32_t>(::crc32(0L, b.data(), static_cast<uInt>(b.size())));
}

class CommonArchive : public ::testing::Test {
protected:
    void SetUp() override { dir = ironmoat::test::makeTempFolder("pyx_archive_"); }
    void TearDown() override { fs::remove_all(dir); }

    std::wstring path(const std::string& name) const { return (dir / name).wstring(); }
    void put(const std::string& name, const Bytes& content) const {
        std::ofstream out(dir / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(content.data()),
                  static_cast<std::streamsize>(content.size()));
    }
    Bytes get(const std::string& name) const {
        std::ifstream in(dir / name, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    // Files in the folder other than the archives the test made itself.
    std::vector<std::string> leftovers() const {
        std::vector<std::string> found;
        for (const auto& e : fs::directory_iterator(dir)) {
            if (e.path().filename().string().rfind("PYXArchive_tmp_", 0) == 0) {
                found.push_back(e.path().filename().string());
            }
        }
        return found;
    }

#ifndef _WIN32
    // Runs body in a child process as an unprivileged user that owns the
    // test's folder and files (nobody, when the tests run as root) and
    // returns its result, or -1 when the child could not drop its rights.
    template <class Body> int asUnprivilegedOwner(Body body) const {
        const passwd* user = ::geteuid() == 0 ? ::getpwnam("nobody") : nullptr;
        if (::geteuid() == 0) {
            if (user == nullptr) {
                ADD_FAILURE() << "no user nobody to drop to";
                return -1;
            }
            for (const auto& e : fs::recursive_directory_iterator(dir)) {
                EXPECT_EQ(::chown(e.path().c_str(), user->pw_uid, user->pw_gid), 0);
            }
            EXPECT_EQ(::chown(dir.c_str(), user->pw_uid, user->pw_gid), 0);
        }
        std::fflush(nullptr);
        const pid_t child = ::fork();
        if (child == 0) {
            if (user != nullptr && (::setgroups(0, nullptr) != 0 || ::setgid(user->pw_gid) != 0 ||
                                    ::setuid(user->pw_uid) != 0 || ::geteuid() == 0)) {
                ::_exit(255);
            }
            ::_exit(body());
        }
        int status = 0;
        if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
            WEXITSTATUS(status) == 255) {
            return -1;
        }
        return WEXITSTATUS(status);
    }
#endif

    fs::path dir;
};

} // namespace

TEST_F(CommonArchive, SmallestArchiveOpensAndReads) {
    put("a.dat", SmallArchive);
    Archive a;
    ASSERT_TRUE(a.open(path("a.dat"), true));
    EXPECT_EQ(a.dataBase(), 35u);
    Bytes out;
    ASSERT_TRUE(a.readEntry(L"a.txt", out));
    EXPECT_EQ(out, text("abc"));
    EXPECT_FALSE(a.readEntry(L"A.txt", out));
    EXPECT_FALSE(a.readEntry(L"a.tx", out));
}

TEST_F(CommonArchive, EmptyArchiveOpensAndFindsNothing) {
    put("e.dat", image(0, 1, {}, {}));
    Archive a;
    ASSERT_TRUE(a.open(path("e.dat"), true));
    EXPECT_TRUE(a.entries().empty());
    Bytes out;
    EXPECT_FALSE(a.readEntry(L"a.txt", out));
    a.close();
    EXPECT_FALSE(a.readEntry(L"a.txt", out));
}

TEST_F(CommonArchive, WrongRevisionFailsWithTheRevisionMessage) {
    pyx::core::WeakSingleton<pyx::cmn::LoggerSettings> settings;
    settings->setHistorySize(64);
    settings->clearFileOutput();
    settings->clearConsoleOutput();
    pyx::core::WeakSingleton<pyx::cmn::Logger> logger;

    put("r.dat", image(0, 2, {}, {}));
    Archive a;
    EXPECT_FALSE(a.open(path("r.dat"), true));
    const std::wstring expected =
        L"[ERROR, Archive] File has proper signature, but revision number "
        L"(2) is invalid. Supported version is 1.";
    // The line reaches the history on the logger's thread; wait until it has.
    bool seen = false;
    for (int i = 0; i < 500 && !seen; ++i) {
        for (const std::wstring& line : logger->history()) {
            seen = seen ||
                   (line.size() >= expected.size() &&
                    line.compare(line.size() - expected.size(), expected.size(), expected) == 0);
        }
        if (!seen) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    EXPECT_TRUE(seen);
}

TEST_F(CommonArchive, DamagedFilesFailToOpen) {
    Archive a;
    EXPECT_FALSE(a.open(path("missing.dat"), true));
    EXPECT_FALSE(fs::exists(dir / "missing.dat"));

    Bytes cut = SmallArchive;
    cut.pop_back();
    put("cut.dat", cut);
    EXPECT_FALSE(a.open(path("cut.dat"), true)) << "cut short in the data region";

    Bytes badSig = SmallArchive;
    badSig[0] = 'Q';
    put("sig.dat", badSig);
    EXPECT_FALSE(a.open(path("sig.dat"), true));

    put("short.dat", Bytes(SmallArchive.begin(), SmallArchive.begin() + 25));
    EXPECT_FALSE(a.open(path("short.dat"), true)) << "index cut short";
}

TEST_F(CommonArchive, HugeClaimsDoNotWrapAround) {
    // offset + size wraps to 2 in 32 bits: the 64-bit check must refuse it.
    put("wrap.dat", image(1, 1, {{"a", 0xFFFFFFFFu, 3, 0}}, text("abc")));
    Archive a;
    EXPECT_FALSE(a.open(path("wrap.dat"), true));
    // An entry claiming nearly 4 GiB in a tiny file.
    put("big.dat", image(1, 1, {{"a", 0, 0xFFFFFFF0u, 0}}, text("abc")));
    EXPECT_FALSE(a.open(path("big.dat"), true));
    // An entry count whose index could never fit in the file is refused
    // outright instead of reserving room for it.
    put("count.dat", image(0xFFFFFFFFu, 1, {}, {}));
    EXPECT_FALSE(a.open(path("count.dat"), true));
    EXPECT_TRUE(a.entries().empty());
}

TEST_F(CommonArchive, AnEntryLargerThanTheFileIsRefusedBeforeAnyRoomIsTaken) {
    // The open fails (the data region is short) but leaves the index it
    // read, which readEntry still serves: its 64 MiB claim must be checked
    // against the file before a buffer is sized from it.
    put("claim.dat", image(1, 1, {{"a", 0, 64u << 20, 0}}, text("abc")));
    Archive a;
    EXPECT_FALSE(a.open(path("claim.dat"), true));
    ASSERT_EQ(a.entries().size(), 1u);
    Bytes out;
    EXPECT_FALSE(a.readEntry(L"a", out));
    EXPECT_LT(out.capacity(), 4096u);
}

TEST_F(CommonArchive, CrcMismatchDuplicatesAndEmptyEntries) {
    Bytes flipped = SmallArchive;
    flipped.back() ^= 0x01;
    put("f.dat", flipped);
    Archive a;
    ASSERT_TRUE(a.open(path("f.dat"), true));
    Bytes out;
    EXPECT_FALSE(a.readEntry(L"a.txt", out));
    EXPECT_EQ(out, text("abb")) << "the bytes read are kept";

    const Bytes data = text("firstsecond");
    put("d.dat", image(3, 1,
                       {{"x", 0, 5, zcrc(text("first"))},
                        {"x", 5, 6, zcrc(text("second"))},
                        {"empty", 11, 0, 0}},
                       data));
    ASSERT_TRUE(a.open(path("d.dat"), true));
    ASSERT_TRUE(a.readEntry(L"x", out));
    EXPECT_EQ(out, text("first"));
    ASSERT_TRUE(a.readEntry(L"empty", out));
    EXPECT_TRUE(out.empty());
}

TEST_F(CommonArchive, RecordsHiddenBehindADuplicateNameAreReadByPosition) {
    // Found by fuzzing: a lookup by name only ever reaches the first record
    // of a name, so checking an archive by name misses a damaged second one.
    const Bytes data = text("firstsecond");
    put("d.dat",
        image(3, 1,
              {{"", 0, 0, 0}, {"", 0, 11, zcrc(data) ^ 1u}, {"x", 5, 6, zcrc(text("second"))}},
              data));
    Archive a;
    ASSERT_TRUE(a.open(path("d.dat"), true));
    Bytes byName;
    Bytes byPosition;
    ASSERT_TRUE(a.readEntry(L"", byName));
    ASSERT_TRUE(a.readRecord(0, byPosition));
    EXPECT_EQ(byName, byPosition);
    EXPECT_TRUE(byPosition.empty());

    EXPECT_FALSE(a.readRecord(1, byPosition)) << "the hidden record's CRC is wrong";
    EXPECT_EQ(byPosition, data) << "its bytes are still delivered";
    ASSERT_TRUE(a.readRecord(2, byPosition));
    EXPECT_EQ(byPosition, text("second"));
    EXPECT_FALSE(a.readRecord(3, byPosition)) << "past the index";
    a.close();
    EXPECT_FALSE(a.readRecord(0, byPosition)) << "closed";
}

TEST_F(CommonArchive, Crc32AgreesWithZlib) {
    const std::string check = "123456789";
    EXPECT_EQ(Archive::crc32(check.data(), check.size(), 0xFFFFFFFFu), 0xCBF43926u);
    EXPECT_EQ(Archive::crc32(nullptr, 0, 0xFFFFFFFFu), 0u);
    std::mt19937 rng(12345);
    for (std::size_t size : {1u, 2u, 3u, 7u, 64u, 255u, 256u, 1000u, 4096u, 4097u, 65536u + 13u}) {
        Bytes b(size);
        for (auto& x : b) {
            x = static_cast<std::uint8_t>(rng());
        }
        EXPECT_EQ(Archive::crc32(b.data(), b.size(), 0xFFFFFFFFu), zcrc(b)) << size;
        // Chunked: pass the complement of each result on.
        const std::size_t half = size / 2;
        const std::uint32_t first = Archive::crc32(b.data(), half, 0xFFFFFFFFu);
        EXPECT_EQ(Archive::crc32(b.data() + half, size - half, ~first), zcrc(b)) << size;
    }
}

TEST_F(CommonArchive, CommitAddsReplacesAndRemoves) {
    put("src.bin", text("from disk"));
    put("w.dat", image(0, 1, {}, {}));
    {
        Archive a;
        ASSERT_TRUE(a.open(path("w.dat"), false));
        EXPECT_TRUE(a.addBytes(L"one", text("1111")));
        EXPECT_TRUE(a.addFile(L"dir\\two", path("src.bin")));
        EXPECT_TRUE(a.addBytes(L"three", text("333")));
        EXPECT_TRUE(a.addBytes(L"empty", {}));
        ASSERT_TRUE(a.commit());
        EXPECT_TRUE(a.pending().empty());
        Bytes out;
        ASSERT_TRUE(a.readEntry(L"dir\\two", out));
        EXPECT_EQ(out, text("from disk"));

        // Replacing a stored name and re-adding a queued one: one record each.
        EXPECT_TRUE(a.addBytes(L"one", text("uno")));
        EXPECT_TRUE(a.addBytes(L"four", text("4")));
        EXPECT_TRUE(a.addBytes(L"four", text("44")));
        EXPECT_TRUE(a.remove(L"three"));
        EXPECT_TRUE(a.isModified());
        // close commits what is queued.
    }
    Archive a;
    ASSERT_TRUE(a.open(path("w.dat"), true));
    std::vector<std::wstring> names;
    for (const auto& e : a.entries()) {
        names.push_back(e.name);
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"dir\\two", L"empty", L"one", L"four"}));
    Bytes out;
    ASSERT_TRUE(a.readEntry(L"one", out));
    EXPECT_EQ(out, text("uno"));
    ASSERT_TRUE(a.readEntry(L"four", out));
    EXPECT_EQ(out, text("44"));
    ASSERT_TRUE(a.readEntry(L"empty", out));
    EXPECT_TRUE(out.empty());
    // Written without gaps, in index order.
    std::uint32_t offset = 0;
    for (const auto& e : a.entries()) {
        EXPECT_EQ(e.offset, offset);
        offset += e.size;
    }
    EXPECT_TRUE(leftovers().empty());
    EXPECT_FALSE(a.addBytes(L"x", text("read-only"))) << "read-only archives take no changes";
}

TEST_F(CommonArchive, RemovalsKeepTheOldOrder) {
    // Stored out of offset order: the commit keeps data order, not index order.
    const Bytes data = text("AAABBCCCC");
    put("o.dat", image(3, 1,
                       {{"c", 5, 4, zcrc(text("CCCC"))},
                        {"a", 0, 3, zcrc(text("AAA"))},
                        {"b", 3, 2, zcrc(text("BB"))}},
                       data));
    Archive a;
    ASSERT_TRUE(a.open(path("o.dat"), false));
    ASSERT_TRUE(a.remove(L"b"));
    ASSERT_TRUE(a.commit());
    ASSERT_EQ(a.entries().size(), 2u);
    EXPECT_EQ(a.entries()[0].name, L"a");
    EXPECT_EQ(a.entries()[1].name, L"c");
    a.close();
    const Bytes file = get("o.dat");
    ASSERT_GE(file.size(), 6u);
    EXPECT_EQ(Bytes(file.end() - 7, file.end()), text("AAACCCC"));
}

TEST_F(CommonArchive, FailedCommitLeavesTheOldArchiveIntact) {
    put("src.bin", text("temporary"));
    put("k.dat", SmallArchive);
    Archive a;
    ASSERT_TRUE(a.open(path("k.dat"), false));
    ASSERT_TRUE(a.addFile(L"gone", path("src.bin")));
    fs::remove(dir / "src.bin");
    EXPECT_FALSE(a.commit());
    EXPECT_FALSE(a.isModified());
    Bytes out;
    ASSERT_TRUE(a.readEntry(L"a.txt", out)) << "the old archive stays open and readable";
    EXPECT_EQ(out, text("abc"));
    EXPECT_EQ(get("k.dat"), SmallArchive);
    EXPECT_TRUE(leftovers().empty());

#ifndef _WIN32
    // On Windows a folder's read-only attribute does not stop files being
    // created in it, so this half is for POSIX only.
    // The temporary file cannot be created (the folder is read-only). Root
    // would write there anyway, so the commit runs as the folder's
    // unprivileged owner. (A fresh archive: `a` still holds the change whose
    // source is gone, which would fail any commit of its own.)
    put("r.dat", SmallArchive);
    Archive b;
    ASSERT_TRUE(b.open(path("r.dat"), false));
    ASSERT_TRUE(b.addBytes(L"more", text("more")));
    fs::permissions(dir, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_EQ(asUnprivilegedOwner([&] {
                  const bool committed = b.commit();
                  Bytes again;
                  const bool readable = b.readEntry(L"a.txt", again) && again == text("abc");
                  return (committed ? 1 : 0) | (readable ? 0 : 2);
              }),
              0)
        << "1: committed anyway, 2: the old archive is no longer readable";
    EXPECT_EQ(get("r.dat"), SmallArchive);
    EXPECT_TRUE(leftovers().empty());
    // The same user in the same folder, writable again: the commit goes
    // through, so the refusal above came from the folder's mode.
    fs::permissions(dir, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(asUnprivilegedOwner([&] { return b.commit() ? 0 : 1; }), 0);
    Archive reopened;
    ASSERT_TRUE(reopened.open(path("r.dat"), true));
    EXPECT_TRUE(reopened.readEntry(L"more", out));
#endif
}

TEST_F(CommonArchive, FailureWhileWritingRemovesTheTemporaryFile) {
    put("k.dat", SmallArchive);
    Archive a;
    ASSERT_TRUE(a.open(path("k.dat"), false));
    ASSERT_TRUE(a.addBytes(L"b.txt", text("more")));
#ifdef _WIN32
    // On Windows the open archive shares its file for reading only: nobody
    // can cut it short meanwhile, and the commit goes through.
    std::error_code refused;
    fs::resize_file(dir / "k.dat", 34, refused);
    EXPECT_TRUE(refused);
    EXPECT_TRUE(a.commit());
    EXPECT_TRUE(leftovers().empty());
    return;
#endif
    // The stored data vanishes under the open archive: copying the kept
    // entry fails halfway through the new file.
    fs::resize_file(dir / "k.dat", 34);
    EXPECT_FALSE(a.commit());
    EXPECT_TRUE(leftovers().empty());
    EXPECT_TRUE(a.isOpen());
    ASSERT_EQ(a.entries().size(), 1u);
    EXPECT_EQ(get("k.dat").size(), 34u);
}

TEST_F(CommonArchive, ReplaceWithRenamesOverTheArchive) {
    put("k.dat", SmallArchive);
    put("new.dat", image(0, 1, {}, {}));
    Archive a;
    ASSERT_TRUE(a.open(path("k.dat"), false));
    // A temporary file that is not there: the archive must survive.
    EXPECT_FALSE(a.replaceWith(path("absent.dat")));
    EXPECT_EQ(get("k.dat"), SmallArchive);
    ASSERT_TRUE(a.isOpen());
    Bytes out;
    EXPECT_TRUE(a.readEntry(L"a.txt", out));

    EXPECT_TRUE(a.replaceWith(path("new.dat")));
    EXPECT_FALSE(fs::exists(dir / "new.dat"));
    EXPECT_TRUE(a.entries().empty());
}

TEST_F(CommonArchive, QueueRefusesNamesItCannotStore) {
    put("q.dat", image(0, 1, {}, {}));
    Archive a;
    EXPECT_FALSE(a.addBytes(L"closed", text("x")));
    ASSERT_TRUE(a.open(path("q.dat"), false));
    EXPECT_FALSE(a.addBytes(L"", text("x")));
    EXPECT_FALSE(a.addBytes(std::wstring(70000, L'n'), text("x")));
    EXPECT_FALSE(a.remove(L""));
    EXPECT_FALSE(a.isModified());
    EXPECT_TRUE(a.addBytes(std::wstring(65535, L'n'), text("x")));
    EXPECT_TRUE(a.addBytes(L"caf\u00e9\\\U0001F600", text("utf8")));
    ASSERT_TRUE(a.commit());
    Bytes out;
    EXPECT_TRUE(a.readEntry(std::wstring(65535, L'n'), out));
    EXPECT_TRUE(a.readEntry(L"caf\u00e9\\\U0001F600", out));
    EXPECT_EQ(out, text("utf8"));
}

TEST_F(CommonArchive, TempNamesAreFreshAndInTheGivenFolder) {
    const std::wstring folder = path("");
    const std::wstring first = Archive::makeTempName(folder);
    ASSERT_EQ(first.rfind(folder + L"PYXArchive_tmp_", 0), 0u);
    EXPECT_EQ(first.substr(first.size() - 4), L".dat");
    put(fs::path(first).filename().string(), text("taken"));
    EXPECT_NE(Archive::makeTempName(folder), first);
}
