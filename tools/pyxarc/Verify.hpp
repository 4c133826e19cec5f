#pragma once

// The checks behind `pyxarc verify`, kept apart from the command line so that
// the fuzz target can run them on damaged archives without starting a process.

#include <cstddef>
#include <string>
#include <vector>

namespace ironmoat::tools {

// What verifying one archive found.
struct ArchiveCheck {
    // The file exists and opens as an archive: header, index and a data
    // region long enough for every entry the index lists.
    bool readable = false;
    // Number of index records (0 when not readable).
    std::size_t entries = 0;
    // One line per fault, each naming the archive and, where there is one,
    // the entry; empty for a sound archive.
    std::vector<std::string> problems;

    // True only for an archive that opens and has no fault at all.
    bool ok() const { return readable && problems.empty(); }
};

// An entry name in its stored form (normalized, "\" separators), or "" when
// the name cannot be one: empty, absolute, holding a drive or climbing
// above the archive's root.
std::wstring storedEntryName(const std::wstring& given);

// Checks the archive at path (UTF-8): it must open, every index record's data
// must match its CRC-32 (records are checked one by one, so a second record
// of a name, which no lookup can reach, is checked too), names must be unique
// and in stored form. Never throws for a damaged file.
ArchiveCheck verifyArchive(const std::string& path);

} // namespace ironmoat::tools
