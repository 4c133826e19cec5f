#pragma once

#ifndef _WIN32

#include "engine/platform/FileFinderBase.hpp"

#include <vector>

namespace pyx::wrp::_impl {

// Finder on opendir/readdir/fnmatch. The matching entries of the folder are
// gathered when the search starts and handed out in name order (byte order
// of their UTF-8 names), so enumeration does not depend on the file system's
// own order. "." and ".." are included when the pattern matches them, as the
// Windows finder does; an entry whose name begins with "." counts as hidden.
class FileFinderImplPosix : public FileFinderBase {
public:
    FileFinderImplPosix() = default;
    ~FileFinderImplPosix() override = default;

    bool find(const std::wstring& pattern) override;
    bool next() override;
    std::wstring name() const override;
    std::wstring alternateName() const override;
    std::wstring directory() const override;
    std::uint64_t size() const override;
    bool isDirectory() const override;
    bool isHidden() const override;
    bool isSearching() const override;
    std::int64_t lastTime() const override;

private:
    struct Entry {
        std::wstring name;
        std::uint64_t size = 0;
        bool isDirectory = false;
        bool isHidden = false;
        std::int64_t lastTime = 0;
    };

    void closeSearch();

    std::vector<Entry> m_entries;
    std::size_t m_current = 0;
    bool m_searching = false;
    std::wstring m_directory;
};

} // namespace pyx::wrp::_impl

#endif
