#ifndef _WIN32

#include "engine/platform/FileDriverPosix.hpp"

#include "engine/core/Utf8.hpp"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pyx::wrp {
namespace {

// Large transfers are split so that one system call never moves more.
constexpr std::uint64_t MaxTransfer = 0x1000000;

// Moves `count` bytes in calls of at most MaxTransfer, retrying calls that a
// signal interrupted; stops at the first failure or end of file and returns
// how many bytes moved. `call(done, step)` is one read or write system call.
template <class Call> std::uint64_t transferAll(std::uint64_t count, Call call) {
    std::uint64_t done = 0;
    while (done < count) {
        const std::uint64_t step = std::min(count - done, MaxTransfer);
        const ssize_t n = call(done, step);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<std::uint64_t>(n);
    }
    return done;
}

std::string nativePath(const std::wstring& path) {
    std::wstring slashed = path;
    for (wchar_t& c : slashed) {
        if (c == L'\\') {
            c = L'/';
        }
    }
    return core::wideToUtf8(slashed);
}

} // namespace

std::unique_ptr<FileDriver> createFileDriver() {
    return std::make_unique<FileDriverPosix>();
}

FileDriverPosix::~FileDriverPosix() {
    close();
}

bool FileDriverPosix::open(const std::wstring& path, int mode) {
    close();
    const std::string native = nativePath(path);
    if (native.empty()) {
        return false;
    }
    // Mode 2 must not truncate before its lock is held, or it would cut a
    // file another opener is still using; so O_TRUNC is never passed.
    const int flags =
        mode == ModeRead ? O_RDONLY : (mode == ModeCreate ? O_RDWR | O_CREAT : O_RDWR);
    int fd;
    do {
        fd = ::open(native.c_str(), flags | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    // Folders open for reading here but not as files on Windows; refuse them
    // alike.
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        return false;
    }
    const int lock = (mode == ModeRead ? LOCK_SH : LOCK_EX) | LOCK_NB;
    int locked;
    do {
        locked = ::flock(fd, lock);
    } while (locked != 0 && errno == EINTR);
    // Only another opener's lock refuses the file. A file system that keeps
    // no locks (ENOLCK, EOPNOTSUPP on some network mounts) would otherwise
    // let no file be opened at all; there the file is used without one.
    if (locked != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        return false;
    }
    if (mode == ModeCreate && ::ftruncate(fd, 0) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

std::uint64_t FileDriverPosix::write(const void* bytes, std::uint64_t count) {
    if (m_fd < 0) {
        return 0;
    }
    const auto* from = static_cast<const unsigned char*>(bytes);
    return transferAll(count, [&](std::uint64_t done, std::uint64_t step) {
        return ::write(m_fd, from + done, step);
    });
}

std::uint64_t FileDriverPosix::read(void* buffer, std::uint64_t count) {
    if (m_fd < 0 || count == 0) {
        return 0;
    }
    auto* to = static_cast<unsigned char*>(buffer);
    return transferAll(count, [&](std::uint64_t done, std::uint64_t step) {
        return ::read(m_fd, to + done, step);
    });
}

bool FileDriverPosix::seek(std::int64_t offset, int origin) {
    std::uint64_t fileSize = 0;
    if (m_fd < 0 || !size(fileSize)) {
        return false;
    }
    int whence;
    switch (origin) {
    case FromStart:
        if (offset < 0 || static_cast<std::uint64_t>(offset) > fileSize) {
            return false;
        }
        whence = SEEK_SET;
        break;
    case FromCurrent: {
        std::uint64_t current = 0;
        if (offset != 0) {
            if (!tell(current)) {
                return false;
            }
            const std::int64_t target = static_cast<std::int64_t>(current) + offset;
            if (target < 0 || static_cast<std::uint64_t>(target) > fileSize) {
                return false;
            }
        }
        whence = SEEK_CUR;
        break;
    }
    case FromEnd:
        if (offset > 0) {
            return false;
        }
        whence = SEEK_END;
        break;
    default:
        return false;
    }
    return ::lseek(m_fd, static_cast<off_t>(offset), whence) >= 0;
}

bool FileDriverPosix::tell(std::uint64_t& position) const {
    if (m_fd < 0) {
        return false;
    }
    const off_t at = ::lseek(m_fd, 0, SEEK_CUR);
    if (at < 0) {
        return false;
    }
    position = static_cast<std::uint64_t>(at);
    return true;
}

bool FileDriverPosix::flush() {
    return m_fd >= 0 && ::fsync(m_fd) == 0;
}

void FileDriverPosix::close() {
    if (m_fd >= 0) {
        // Closing the descriptor releases its flock too.
        ::close(m_fd);
        m_fd = -1;
    }
}

bool FileDriverPosix::size(std::uint64_t& size) const {
    struct stat info {};
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0) {
        return false;
    }
    size = static_cast<std::uint64_t>(info.st_size);
    return true;
}

bool FileDriverPosix::truncate(std::uint64_t newSize) {
    std::uint64_t fileSize = 0;
    if (m_fd < 0 || !size(fileSize) || newSize > fileSize) {
        return false;
    }
    if (::lseek(m_fd, static_cast<off_t>(newSize), SEEK_SET) < 0) {
        return false;
    }
    return ::ftruncate(m_fd, static_cast<off_t>(newSize)) == 0;
}

} // namespace pyx::wrp

#endif
