#include "tools/pyxarc/Verify.hpp"

#include "engine/common/Archive.hpp"
#include "engine/core/Utf8.hpp"
#include "engine/platform/Path.hpp"

#include <cstdint>
#include <filesystem>
#include <set>
#include <system_error>

namespace ironmoat::tools {

std::wstring storedEntryName(const std::wstring& given) {
    const std::wstring name = pyx::wrp::normalizePath(given);
    if (name.empty() || name.front() == L'\\' || name == L".." || name.rfind(L"..\\", 0) == 0 ||
        name.find(L':') != std::wstring::npos) {
        return std::wstring();
    }
    return name;
}

ArchiveCheck verifyArchive(const std::string& path) {
    ArchiveCheck check;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        check.problems.push_back(path + ": no such archive");
        return check;
    }
    pyx::cmn::Archive archive;
    // Opening checks that the data region holds every entry the index claims.
    if (!archive.open(pyx::core::utf8ToWide(path), true)) {
        check.problems.push_back(path + (archive.isOpen()
                                             ? ": not a valid archive (bad header, index or "
                                               "truncated data)"
                                             : ": cannot open (in use or not readable)"));
        return check;
    }
    check.readable = true;
    check.entries = archive.entries().size();

    std::set<std::wstring> seen;
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < archive.entries().size(); ++i) {
        const std::wstring& name = archive.entries()[i].name;
        const std::string shown = "\"" + pyx::core::wideToUtf8(name) + "\"";
        if (!archive.readRecord(i, bytes)) {
            check.problems.push_back(path + ": entry " + shown + " is damaged (CRC mismatch)");
        }
        if (!seen.insert(name).second) {
            check.problems.push_back(path + ": entry " + shown +
                                     " is stored twice (only the first can be read)");
        }
        // An empty name normalizes to itself, yet no path can ever name it.
        if (name.empty() || storedEntryName(name) != name) {
            check.problems.push_back(path + ": entry " + shown +
                                     " has an unsafe or unnormalized name");
        }
    }
    return check;
}

} // namespace ironmoat::tools
