#ifdef _WIN32

#include "engine/platform/FileFinderImplWin32.hpp"

#include "engine/platform/Path.hpp"

#include <ctime>
#include <windows.h>

namespace pyx::wrp::_impl {
namespace {

HANDLE native(void* handle) {
    return static_cast<HANDLE>(handle);
}

FILETIME toFileTime(std::uint32_t low, std::uint32_t high) {
    FILETIME t;
    t.dwLowDateTime = low;
    t.dwHighDateTime = high;
    return t;
}

} // namespace

FileFinderImplWin32::~FileFinderImplWin32() {
    closeSearch();
}

void FileFinderImplWin32::closeSearch() {
    if (native(m_search) != INVALID_HANDLE_VALUE) {
        FindClose(native(m_search));
        m_search = INVALID_HANDLE_VALUE;
    }
}

bool FileFinderImplWin32::find(const std::wstring& pattern) {
    closeSearch();
    m_directory = toBackslashes(directoryOf(pattern));
    WIN32_FIND_DATAW data;
    m_search = FindFirstFileW(pattern.c_str(), &data);
    if (native(m_search) == INVALID_HANDLE_VALUE) {
        return false;
    }
    m_name = data.cFileName;
    m_size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    m_attributes = data.dwFileAttributes;
    m_creation = {data.ftCreationTime.dwLowDateTime, data.ftCreationTime.dwHighDateTime};
    m_lastWrite = {data.ftLastWriteTime.dwLowDateTime, data.ftLastWriteTime.dwHighDateTime};
    m_lastAccess = {data.ftLastAccessTime.dwLowDateTime, data.ftLastAccessTime.dwHighDateTime};
    return true;
}

bool FileFinderImplWin32::next() {
    if (native(m_search) == INVALID_HANDLE_VALUE) {
        return false;
    }
    WIN32_FIND_DATAW data;
    if (!FindNextFileW(native(m_search), &data)) {
        closeSearch();
        return false;
    }
    m_name = data.cFileName;
    m_size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    m_attributes = data.dwFileAttributes;
    m_creation = {data.ftCreationTime.dwLowDateTime, data.ftCreationTime.dwHighDateTime};
    m_lastWrite = {data.ftLastWriteTime.dwLowDateTime, data.ftLastWriteTime.dwHighDateTime};
    m_lastAccess = {data.ftLastAccessTime.dwLowDateTime, data.ftLastAccessTime.dwHighDateTime};
    return true;
}

std::wstring FileFinderImplWin32::name() const {
    return m_name;
}

std::wstring FileFinderImplWin32::alternateName() const {
    throw std::wstring(L"Not yet implemented");
}

std::wstring FileFinderImplWin32::directory() const {
    return m_directory;
}

std::uint64_t FileFinderImplWin32::size() const {
    return m_size;
}

bool FileFinderImplWin32::isDirectory() const {
    return (m_attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FileFinderImplWin32::isHidden() const {
    return (m_attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
}

bool FileFinderImplWin32::isSearching() const {
    return native(m_search) != INVALID_HANDLE_VALUE;
}

std::int64_t FileFinderImplWin32::lastTime() const {
    FILETIME latest = toFileTime(m_creation.low, m_creation.high);
    const FILETIME write = toFileTime(m_lastWrite.low, m_lastWrite.high);
    const FILETIME access = toFileTime(m_lastAccess.low, m_lastAccess.high);
    if (CompareFileTime(&write, &latest) > 0) {
        latest = write;
    }
    if (CompareFileTime(&access, &latest) > 0) {
        latest = access;
    }
    FILETIME local;
    SYSTEMTIME parts;
    if (!FileTimeToLocalFileTime(&latest, &local) || !FileTimeToSystemTime(&local, &parts)) {
        return 0;
    }
    std::tm broken{};
    broken.tm_year = parts.wYear - 1900;
    broken.tm_mon = parts.wMonth - 1;
    broken.tm_mday = parts.wDay;
    broken.tm_hour = parts.wHour;
    broken.tm_min = parts.wMinute;
    broken.tm_sec = parts.wSecond;
    broken.tm_isdst = -1;
    const std::time_t result = std::mktime(&broken);
    return result == static_cast<std::time_t>(-1) ? 0 : static_cast<std::int64_t>(result);
}

} // namespace pyx::wrp::_impl

#endif
