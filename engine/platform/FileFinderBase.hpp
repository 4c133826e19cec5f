#pragma once

// Enumerates the directory entries that match a wildcard pattern such as
// "maps/*.mtc". The current-entry accessors are meaningful only while
// `isSearching` is true.

#include <cstdint>
#include <string>

namespace pyx::wrp::_impl {

class FileFinderBase {
public:
    FileFinderBase() = default;
    FileFinderBase(const FileFinderBase&) = delete;
    FileFinderBase& operator=(const FileFinderBase&) = delete;
    virtual ~FileFinderBase() = default;

    // Starts a new search (closing an open one); true when a first entry was
    // found and is now current. The pattern's wildcards apply to its last
    // component only.
    virtual bool find(const std::wstring& pattern) = 0;
    // True when another entry is now current; the search closes when none is left.
    virtual bool next() = 0;
    // The current entry's file name, without directory.
    virtual std::wstring name() const = 0;
    // The entry's alternate (short) name; no platform offers it: throws the
    // wide text "Not yet implemented".
    virtual std::wstring alternateName() const = 0;
    // The directory part of the pattern, with backslashes ("" if none).
    virtual std::wstring directory() const = 0;
    // The current entry's size in bytes.
    virtual std::uint64_t size() const = 0;
    // The current entry is a folder.
    virtual bool isDirectory() const = 0;
    // The current entry is hidden.
    virtual bool isHidden() const = 0;
    // A search is open.
    virtual bool isSearching() const = 0;
    // Calendar time (seconds) of the entry's most recent time stamp; 0 on failure.
    virtual std::int64_t lastTime() const = 0;

    // `normalizePath` of directory + "/" + name: "maps/*.mtc" and x.mtc give maps\x.mtc.
    std::wstring fullPath() const;
};

} // namespace pyx::wrp::_impl
