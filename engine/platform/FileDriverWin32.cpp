#ifdef _WIN32

#include "engine/platform/FileDriverWin32.hpp"

#include "engine/platform/Path.hpp"

#include <algorithm>
#include <windows.h>

namespace pyx::wrp {
namespace {

constexpr std::uint64_t MaxTransfer = 0x1000000;

HANDLE native(void* handle) {
    return static_cast<HANDLE>(handle);
}

} // namespace

std::unique_ptr<FileDriver> createFileDriver() {
    return std::make_unique<FileDriverWin32>();
}

FileDriverWin32::~FileDriverWin32() {
    close();
}

bool FileDriverWin32::isOpen() const {
    return native(m_handle) != INVALID_HANDLE_VALUE;
}

bool FileDriverWin32::open(const std::wstring& path, int mode) {
    close();
    const std::wstring name = toBackslashes(path);
    const DWORD access = mode == ModeRead ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    const DWORD disposition = mode == ModeCreate ? CREATE_ALWAYS : OPEN_EXISTING;
    // Others may read the file while it is open, never write it.
    m_handle = CreateFileW(name.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    return isOpen();
}

std::uint64_t FileDriverWin32::write(const void* bytes, std::uint64_t count) {
    if (!isOpen()) {
        return 0;
    }
    const auto* from = static_cast<const unsigned char*>(bytes);
    std::uint64_t done = 0;
    while (done < count) {
        const DWORD step = static_cast<DWORD>(std::min(count - done, MaxTransfer));
        DWORD written = 0;
        if (!WriteFile(native(m_handle), from + done, step, &written, nullptr)) {
            break;
        }
        done += written;
        if (written < step) {
            break;
        }
    }
    return done;
}

std::uint64_t FileDriverWin32::read(void* buffer, std::uint64_t count) {
    if (!isOpen() || count == 0) {
        return 0;
    }
    auto* to = static_cast<unsigned char*>(buffer);
    std::uint64_t done = 0;
    while (done < count) {
        const DWORD step = static_cast<DWORD>(std::min(count - done, MaxTransfer));
        DWORD got = 0;
        if (!ReadFile(native(m_handle), to + done, step, &got, nullptr) || got == 0) {
            break;
        }
        done += got;
    }
    return done;
}

bool FileDriverWin32::seek(std::int64_t offset, int origin) {
    std::uint64_t fileSize = 0;
    if (!isOpen() || !size(fileSize)) {
        return false;
    }
    DWORD method;
    switch (origin) {
    case FromStart:
        if (offset < 0 || static_cast<std::uint64_t>(offset) > fileSize) {
            return false;
        }
        method = FILE_BEGIN;
        break;
    case FromCurrent:
        if (offset != 0) {
            std::uint64_t current = 0;
            if (!tell(current)) {
                return false;
            }
            const std::int64_t target = static_cast<std::int64_t>(current) + offset;
            if (target < 0 || static_cast<std::uint64_t>(target) > fileSize) {
                return false;
            }
        }
        method = FILE_CURRENT;
        break;
    case FromEnd:
        if (offset > 0) {
            return false;
        }
        method = FILE_END;
        break;
    default:
        return false;
    }
    LONG high = static_cast<LONG>(offset >> 32);
    const DWORD low =
        SetFilePointer(native(m_handle), static_cast<LONG>(offset & 0xFFFFFFFF), &high, method);
    return !(low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
}

bool FileDriverWin32::tell(std::uint64_t& position) const {
    if (!isOpen()) {
        return false;
    }
    LONG high = 0;
    const DWORD low = SetFilePointer(native(m_handle), 0, &high, FILE_CURRENT);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) {
        return false;
    }
    position = (static_cast<std::uint64_t>(static_cast<DWORD>(high)) << 32) | low;
    return true;
}

bool FileDriverWin32::flush() {
    return isOpen() && FlushFileBuffers(native(m_handle));
}

void FileDriverWin32::close() {
    if (isOpen()) {
        CloseHandle(native(m_handle));
        m_handle = INVALID_HANDLE_VALUE;
    }
}

bool FileDriverWin32::size(std::uint64_t& size) const {
    LARGE_INTEGER value;
    if (!isOpen() || !GetFileSizeEx(native(m_handle), &value)) {
        return false;
    }
    size = static_cast<std::uint64_t>(value.QuadPart);
    return true;
}

bool FileDriverWin32::truncate(std::uint64_t newSize) {
    std::uint64_t fileSize = 0;
    if (!isOpen() || !size(fileSize) || newSize > fileSize) {
        return false;
    }
    return seek(static_cast<std::int64_t>(newSize), FromStart) && SetEndOfFile(native(m_handle));
}

} // namespace pyx::wrp

#endif
