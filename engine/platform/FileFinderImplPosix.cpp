#ifndef _WIN32

#include "engine/platform/FileFinderImplPosix.hpp"

#include "engine/core/Utf8.hpp"
#include "engine/platform/Path.hpp"

#include <algorithm>
#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

namespace pyx::wrp::_impl {

bool FileFinderImplPosix::find(const std::wstring& pattern) {
    closeSearch();
    m_directory = toBackslashes(directoryOf(pattern));

    std::wstring slashed = pattern;
    std::replace(slashed.begin(), slashed.end(), L'\\', L'/');
    const std::string native = core::wideToUtf8(slashed);
    const std::size_t cut = native.find_last_of('/');
    const std::string folder =
        cut == std::string::npos ? std::string(".") : native.substr(0, cut + 1);
    const std::string mask = cut == std::string::npos ? native : native.substr(cut + 1);
    if (mask.empty()) {
        return false;
    }

    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return false;
    }
    std::vector<std::pair<std::string, Entry>> found;
    while (const dirent* item = ::readdir(dir)) {
        const std::string entryName = item->d_name;
        if (::fnmatch(mask.c_str(), entryName.c_str(), 0) != 0) {
            continue;
        }
        Entry entry;
        entry.name = core::utf8ToWide(entryName);
        entry.isHidden = !entryName.empty() && entryName[0] == '.';
        struct stat info {};
        if (::stat((folder + "/" + entryName).c_str(), &info) == 0) {
            entry.isDirectory = S_ISDIR(info.st_mode);
            entry.size = entry.isDirectory ? 0 : static_cast<std::uint64_t>(info.st_size);
            entry.lastTime = std::max({static_cast<std::int64_t>(info.st_ctime),
                                       static_cast<std::int64_t>(info.st_mtime),
                                       static_cast<std::int64_t>(info.st_atime)});
        }
        found.emplace_back(entryName, std::move(entry));
    }
    ::closedir(dir);
    if (found.empty()) {
        return false;
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& item : found) {
        m_entries.push_back(std::move(item.second));
    }
    m_current = 0;
    m_searching = true;
    return true;
}

bool FileFinderImplPosix::next() {
    if (!m_searching) {
        return false;
    }
    if (m_current + 1 >= m_entries.size()) {
        closeSearch();
        return false;
    }
    ++m_current;
    return true;
}

std::wstring FileFinderImplPosix::name() const {
    return m_searching ? m_entries[m_current].name : std::wstring();
}

std::wstring FileFinderImplPosix::alternateName() const {
    throw std::wstring(L"Not yet implemented");
}

std::wstring FileFinderImplPosix::directory() const {
    return m_directory;
}

std::uint64_t FileFinderImplPosix::size() const {
    return m_searching ? m_entries[m_current].size : 0;
}

bool FileFinderImplPosix::isDirectory() const {
    return m_searching && m_entries[m_current].isDirectory;
}

bool FileFinderImplPosix::isHidden() const {
    return m_searching && m_entries[m_current].isHidden;
}

bool FileFinderImplPosix::isSearching() const {
    return m_searching;
}

std::int64_t FileFinderImplPosix::lastTime() const {
    return m_searching ? m_entries[m_current].lastTime : 0;
}

void FileFinderImplPosix::closeSearch() {
    m_entries.clear();
    m_current = 0;
    m_searching = false;
}

} // namespace pyx::wrp::_impl

#endif
