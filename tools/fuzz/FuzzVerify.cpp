// `pyxarc verify` on arbitrary (mostly damaged) archives: it must never crash,
// and its verdict must agree with an independent reading of the same bytes.
// Above all, an archive with any fault must never be reported as fine.

#include "engine/core/Utf8.hpp"
#include "engine/platform/Path.hpp"
#include "tools/fuzz/ScratchArchive.hpp"
#include "tools/pyxarc/Verify.hpp"

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

std::uint32_t le(const std::uint8_t* p, int bytes) {
    std::uint32_t value = 0;
    for (int k = 0; k < bytes; ++k)
        value |= static_cast<std::uint32_t>(p[k]) << (8 * k);
    return value;
}

// What a sound archive is, read straight from the bytes without the engine's
// reader: header "PYXArchive" revision 1, a complete index, every record's
// data inside the file with a matching CRC-32 (zlib's), names unique after
// decoding and in stored form. Sets entries to the index length when the
// structure reads.
bool soundArchive(const std::uint8_t* data, std::size_t size, bool& structure,
                  std::size_t& entries) {
    structure = false;
    if (size < 16 || std::memcmp(data, "PYXArchive", 10) != 0 || data[14] != 1)
        return false;
    const std::uint32_t count = le(data + 10, 4);
    struct Record {
        std::wstring name;
        std::uint32_t offset, size, crc;
    };
    std::vector<Record> records;
    std::size_t at = 16;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (size - at < 2)
            return false;
        const std::size_t nameLength = le(data + at, 2);
        at += 2;
        if (size - at < nameLength + 12)
            return false;
        Record r;
        r.name = pyx::core::utf8ToWide(
            std::string(reinterpret_cast<const char*>(data + at), nameLength));
        at += nameLength;
        r.offset = le(data + at, 4);
        r.size = le(data + at + 4, 4);
        r.crc = le(data + at + 8, 4);
        at += 12;
        records.push_back(std::move(r));
    }
    const std::uint64_t dataBase = at;
    for (const Record& r : records)
        if (dataBase + r.offset + r.size > size)
            return false;
    structure = true;
    entries = records.size();

    std::set<std::wstring> names;
    for (const Record& r : records) {
        const std::uint8_t* bytes = data + dataBase + r.offset;
        if (::crc32_z(0, bytes, r.size) != r.crc)
            return false;
        if (!names.insert(r.name).second)
            return false;
        const std::wstring normal = pyx::wrp::normalizePath(r.name);
        if (normal != r.name || normal.empty() || normal.front() == L'\\' || normal == L".." ||
            normal.rfind(L"..\\", 0) == 0 || normal.find(L':') != std::wstring::npos)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ironmoat::fuzz::openScratch("verify", "damaged.dat");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& file = ironmoat::fuzz::writeScratch(data, size);

    const ironmoat::tools::ArchiveCheck check = ironmoat::tools::verifyArchive(file);
    bool structure = false;
    std::size_t entries = 0;
    const bool sound = soundArchive(data, size, structure, entries);
    if (check.ok() && !sound) {
        std::fprintf(stderr, "verify called a damaged archive fine\n");
        std::abort();
    }
    if (!check.ok() && sound) {
        std::fprintf(stderr, "verify called a sound archive damaged:\n");
        for (const auto& line : check.problems)
            std::fprintf(stderr, "  %s\n", line.c_str());
        std::abort();
    }
    if (check.readable != structure || (structure && check.entries != entries)) {
        std::fprintf(stderr, "verify read the index differently (%zu entries, expected %zu)\n",
                     check.entries, entries);
        std::abort();
    }
    return 0;
}
