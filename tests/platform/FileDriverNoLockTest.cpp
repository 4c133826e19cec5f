// The file driver on a file system that refuses flock, as some network
// mounts do: a small FUSE file system, served by a thread of the test, whose
// lock requests fail with ENOLCK or EOPNOTSUPP.

#define FUSE_USE_VERSION 34

#include "engine/platform/FileDriverPosix.hpp"

#include <fuse_lowlevel.h>
#include <gtest/gtest.h>

#include <sys/mount.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

namespace fs = std::filesystem;
using pyx::wrp::FileDriver;
using pyx::wrp::FileDriverPosix;

namespace {

constexpr char Content[] = "no locks here";
constexpr fuse_ino_t NoLockFile = 2;       // its locks fail with ENOLCK
constexpr fuse_ino_t NotSupportedFile = 3; // its locks fail with EOPNOTSUPP

bool fillStat(fuse_ino_t ino, struct stat& st) {
    std::memset(&st, 0, sizeof st);
    st.st_ino = ino;
    if (ino == FUSE_ROOT_ID) {
        st.st_mode = S_IFDIR | 0755;
        st.st_nlink = 2;
        return true;
    }
    if (ino != NoLockFile && ino != NotSupportedFile) {
        return false;
    }
    st.st_mode = S_IFREG | 0644;
    st.st_nlink = 1;
    st.st_size = sizeof Content - 1;
    return true;
}

void fsLookup(fuse_req_t req, fuse_ino_t parent, const char* name) {
    fuse_entry_param entry{};
    entry.ino = parent != FUSE_ROOT_ID             ? 0
                : std::strcmp(name, "nolck") == 0  ? NoLockFile
                : std::strcmp(name, "notsup") == 0 ? NotSupportedFile
                                                   : 0;
    if (entry.ino == 0 || !fillStat(entry.ino, entry.attr)) {
        fuse_reply_err(req, ENOENT);
        return;
    }
    fuse_reply_entry(req, &entry);
}

void fsGetattr(fuse_req_t req, fuse_ino_t ino, fuse_file_info*) {
    struct stat st;
    if (!fillStat(ino, st)) {
        fuse_reply_err(req, ENOENT);
        return;
    }
    fuse_reply_attr(req, &st, 0.0);
}

void fsOpen(fuse_req_t req, fuse_ino_t, fuse_file_info* fi) {
    fuse_reply_open(req, fi);
}

void fsRead(fuse_req_t req, fuse_ino_t, size_t size, off_t offset, fuse_file_info*) {
    const auto length = static_cast<off_t>(sizeof Content - 1);
    const off_t from = std::min(offset, length);
    fuse_reply_buf(req, Content + from, std::min(size, static_cast<size_t>(length - from)));
}

void fsFlock(fuse_req_t req, fuse_ino_t ino, fuse_file_info*, int) {
    fuse_reply_err(req, ino == NoLockFile ? ENOLCK : EOPNOTSUPP);
}

void fsRelease(fuse_req_t req, fuse_ino_t, fuse_file_info*) {
    fuse_reply_err(req, 0);
}

// Mounts the file system on a fresh folder for the life of the object.
class NoLockMount {
public:
    NoLockMount() {
        std::string pattern = (fs::temp_directory_path() / "pyx_nolock_XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            return;
        }
        m_folder = pattern;
        static fuse_lowlevel_ops ops{};
        ops.lookup = fsLookup;
        ops.getattr = fsGetattr;
        ops.open = fsOpen;
        ops.read = fsRead;
        ops.flock = fsFlock;
        ops.release = fsRelease;
        char program[] = "pyx-nolock";
        char* argv[] = {program, nullptr};
        fuse_args args = FUSE_ARGS_INIT(1, argv);
        m_session = fuse_session_new(&args, &ops, sizeof ops, nullptr);
        fuse_opt_free_args(&args);
        if (m_session == nullptr) {
            return;
        }
        if (fuse_session_mount(m_session, m_folder.c_str()) != 0) {
            fuse_session_destroy(m_session);
            m_session = nullptr;
            return;
        }
        m_loop = std::thread([this] { fuse_session_loop(m_session); });
    }
    ~NoLockMount() {
        if (m_session != nullptr) {
            // Unmounting ends the connection, which ends the loop.
            ::umount2(m_folder.c_str(), MNT_DETACH);
            m_loop.join();
            fuse_session_unmount(m_session);
            fuse_session_destroy(m_session);
        }
        std::error_code ec;
        fs::remove(m_folder, ec);
    }
    NoLockMount(const NoLockMount&) = delete;
    NoLockMount& operator=(const NoLockMount&) = delete;

    bool mounted() const { return m_session != nullptr; }
    std::wstring path(const char* name) const { return (m_folder / name).wstring(); }

private:
    fs::path m_folder;
    fuse_session* m_session = nullptr;
    std::thread m_loop;
};

} // namespace

TEST(PlatformFileDriverNoLock, FileSystemsWithoutLocksOpenUnlocked) {
    NoLockMount mount;
    if (!mount.mounted()) {
        GTEST_SKIP() << "cannot mount a FUSE file system here (needs /dev/fuse and root)";
    }
    for (const char* name : {"nolck", "notsup"}) {
        for (int mode : {FileDriver::ModeRead, FileDriver::ModeReadWrite}) {
            SCOPED_TRACE(std::string(name) + " in mode " + std::to_string(mode));
            FileDriverPosix d;
            ASSERT_TRUE(d.open(mount.path(name), mode));
            char buffer[64] = {};
            EXPECT_EQ(d.read(buffer, sizeof buffer), sizeof Content - 1);
            EXPECT_STREQ(buffer, Content);
        }
    }
}
