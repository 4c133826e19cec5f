#include "engine/common/Archive.hpp"

#include <zlib.h>

#include "engine/core/Utf8.hpp"
#include "engine/platform/Path.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <set>

#ifdef _WIN32
#include <windows.h>
#endif

namespace pyx::cmn {
namespace {

constexpr char Signature[10] = {'P', 'Y', 'X', 'A', 'r', 'c', 'h', 'i', 'v', 'e'};
constexpr std::uint8_t Revision = 1;
constexpr std::uint64_t HeaderSize = 16;
// nameLength, offset, size and crc: the least an index record can take.
constexpr std::uint64_t MinRecordSize = 14;
constexpr std::uint64_t MaxU32 = 0xFFFFFFFFu;

// The name the C library's file functions want: UTF-8, and on POSIX with
// "/" separators, matching what the file driver opens.
std::string nativeName(const std::wstring& path) {
    std::wstring name = path;
#ifndef _WIN32
    std::replace(name.begin(), name.end(), L'\\', L'/');
#endif
    return core::wideToUtf8(name);
}

bool fileExists(const std::wstring& path) {
    // A plain fopen, not the driver: a file some writer holds locked still
    // exists.
    std::FILE* probe = std::fopen(nativeName(path).c_str(), "rb");
    if (probe == nullptr) {
        return false;
    }
    std::fclose(probe);
    return true;
}

} // namespace

Archive::Archive() : m_log(L"Archive") {}

Archive::~Archive() {
    close();
    m_pending.clear();
}

std::uint32_t Archive::crc32(const void* data, std::size_t length, std::uint32_t running) {
    // zlib computes the same CRC-32 many times faster than a byte-wise table;
    // it takes and returns the finished (inverted) value, while `running` is
    // the raw register, hence the inversion on the way in.
    return static_cast<std::uint32_t>(
        ::crc32_z(~running, static_cast<const Bytef*>(data), static_cast<z_size_t>(length)));
}

bool Archive::open(const std::wstring& path, bool readOnly) {
    if (m_file.isOpen()) {
        close();
    }
    m_entries.clear();
    if (!m_file.open(path, readOnly ? wrp::FileDriver::ModeRead : wrp::FileDriver::ModeReadWrite)) {
        if (readOnly || !m_file.open(path, wrp::FileDriver::ModeCreate)) {
            return false;
        }
    }
    m_readOnly = readOnly;
    m_path = path;
    return readIndex();
}

bool Archive::readIndex() {
    char signature[sizeof Signature];
    if (!m_file.readExact(signature, sizeof signature) ||
        std::memcmp(signature, Signature, sizeof Signature) != 0) {
        return false;
    }
    std::uint32_t count = 0;
    std::uint8_t revision = 0;
    if (!m_file.readU32(count) || !m_file.readU8(revision)) {
        return false;
    }
    if (revision != Revision) {
        m_log.error(L"File has proper signature, but revision number (" +
                    std::to_wstring(revision) + L") is invalid. Supported version is " +
                    std::to_wstring(Revision) + L".");
        return false;
    }
    std::uint8_t reserved = 0;
    std::uint64_t fileSize = 0;
    if (!m_file.readU8(reserved) || !m_file.trySize(fileSize)) {
        return false;
    }
    // A damaged count must not make us reserve gigabytes: an index that
    // cannot fit in the file is refused before any room is taken for it.
    if (static_cast<std::uint64_t>(count) * MinRecordSize > fileSize - HeaderSize) {
        return false;
    }
    m_entries.reserve(count);
    std::string name;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint16_t nameLength = 0;
        ArchiveEntry entry;
        if (!m_file.readU16(nameLength)) {
            return false;
        }
        name.resize(nameLength);
        if (!m_file.readExact(name.data(), nameLength) || !m_file.readU32(entry.offset) ||
            !m_file.readU32(entry.size) || !m_file.readU32(entry.crc)) {
            return false;
        }
        entry.name = core::utf8ToWide(name);
        m_entries.push_back(std::move(entry));
    }
    const std::int64_t position = m_file.tell();
    m_dataBase = position < 0 || static_cast<std::uint64_t>(position) > MaxU32
                     ? static_cast<std::uint32_t>(MaxU32)
                     : static_cast<std::uint32_t>(position);
    if (position < 0 || static_cast<std::uint64_t>(position) > MaxU32) {
        return false;
    }
    // 64-bit sums: in 32 bits an entry claiming nearly 4 GiB would wrap
    // around and pass the check in a tiny file.
    std::uint64_t end = 0;
    for (const ArchiveEntry& entry : m_entries) {
        end = std::max(end, static_cast<std::uint64_t>(entry.offset) + entry.size);
    }
    return fileSize >= static_cast<std::uint64_t>(m_dataBase) + end;
}

void Archive::close() {
    if (m_modified) {
        commit();
    }
    m_file.close();
    m_entries.clear();
}

bool Archive::readEntry(const std::wstring& name, std::vector<std::uint8_t>& bytes) {
    if (!m_file.isOpen()) {
        return false;
    }
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&](const ArchiveEntry& e) { return e.name == name; });
    if (found == m_entries.end()) {
        return false;
    }
    return readRecord(static_cast<std::size_t>(found - m_entries.begin()), bytes);
}

bool Archive::readRecord(std::size_t index, std::vector<std::uint8_t>& bytes) {
    if (!m_file.isOpen() || index >= m_entries.size()) {
        return false;
    }
    const ArchiveEntry& entry = m_entries[index];
    const std::uint64_t at = static_cast<std::uint64_t>(m_dataBase) + entry.offset;
    // A damaged index (kept after a failed open) may claim more than the file
    // holds: the buffer is sized only for an entry that fits, or a few bytes
    // of file could make us allocate gigabytes before the read fails.
    std::uint64_t fileSize = 0;
    if (!m_file.trySize(fileSize) || at > fileSize || entry.size > fileSize - at) {
        return false;
    }
    if (!m_file.seek(static_cast<std::int64_t>(at)) || !m_file.readVector(bytes, entry.size)) {
        return false;
    }
    return crc32(bytes.data(), bytes.size(), 0xFFFFFFFFu) == entry.crc;
}

bool Archive::validName(const std::wstring& name) const {
    if (name.empty()) {
        return false;
    }
    // A name the UTF-8 converter cannot carry whole, or one too long for
    // the 16-bit length, would be stored damaged.
    const std::string encoded = core::wideToUtf8(name);
    return encoded.size() <= MaxNameBytes && core::utf8ToWide(encoded) == name;
}

bool Archive::queueAddition(PendingChange change) {
    if (!m_file.isOpen() || m_readOnly || !validName(change.name)) {
        return false;
    }
    // The latest addition of a name wins; an entry already stored under it is
    // removed first, so no two records ever share the name.
    m_pending.remove_if([&](const PendingChange& c) {
        return c.kind != PendingChange::Remove && c.name == change.name;
    });
    const bool stored = std::any_of(m_entries.begin(), m_entries.end(),
                                    [&](const ArchiveEntry& e) { return e.name == change.name; });
    if (stored) {
        PendingChange removal;
        removal.kind = PendingChange::Remove;
        removal.name = change.name;
        m_pending.push_back(std::move(removal));
    }
    m_pending.push_back(std::move(change));
    m_modified = true;
    return true;
}

bool Archive::addBytes(const std::wstring& name, std::vector<std::uint8_t> bytes) {
    PendingChange change;
    change.kind = PendingChange::AddBytes;
    change.name = name;
    change.bytes = std::move(bytes);
    return queueAddition(std::move(change));
}

bool Archive::addFile(const std::wstring& name, const std::wstring& sourcePath) {
    PendingChange change;
    change.kind = PendingChange::AddFile;
    change.name = name;
    change.sourcePath = sourcePath;
    return queueAddition(std::move(change));
}

bool Archive::remove(const std::wstring& name) {
    if (!m_file.isOpen() || m_readOnly || name.empty()) {
        return false;
    }
    m_pending.remove_if(
        [&](const PendingChange& c) { return c.kind != PendingChange::Remove && c.name == name; });
    PendingChange removal;
    removal.kind = PendingChange::Remove;
    removal.name = name;
    m_pending.push_back(std::move(removal));
    m_modified = true;
    return true;
}

bool Archive::commit() {
    if (!m_file.isOpen() || !m_modified) {
        return false;
    }
    if (m_pending.empty()) {
        return true;
    }
    m_modified = false;

    std::set<std::wstring> removed;
    for (const PendingChange& change : m_pending) {
        if (change.kind == PendingChange::Remove) {
            removed.insert(change.name);
        }
    }
    // Kept entries are referred to by their old index, so each keeps its own
    // data even if an old archive held two records of one name.
    std::vector<std::size_t> keptSources;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (removed.count(m_entries[i].name) == 0) {
            keptSources.push_back(i);
        }
    }
    std::stable_sort(keptSources.begin(), keptSources.end(), [&](std::size_t a, std::size_t b) {
        return m_entries[a].offset < m_entries[b].offset;
    });

    std::vector<ArchiveEntry> newEntries;
    std::uint64_t total = 0;
    for (std::size_t source : keptSources) {
        ArchiveEntry entry = m_entries[source];
        entry.offset = static_cast<std::uint32_t>(total);
        total += entry.size;
        newEntries.push_back(std::move(entry));
    }
    int missing = 0;
    bool tooLarge = total > MaxU32;
    for (const PendingChange& change : m_pending) {
        if (change.kind == PendingChange::Remove) {
            continue;
        }
        std::uint64_t size = change.bytes.size();
        if (change.kind == PendingChange::AddFile) {
            File source;
            if (!source.open(change.sourcePath, wrp::FileDriver::ModeRead)) {
                m_log.error(L"Archive: Could not open file " + change.sourcePath);
                ++missing;
                continue;
            }
            size = source.size();
        }
        ArchiveEntry entry;
        entry.name = change.name;
        entry.offset = static_cast<std::uint32_t>(total);
        entry.size = static_cast<std::uint32_t>(size);
        total += size;
        // Offsets and sizes are 32-bit: a larger archive would be written
        // with wrapped offsets and read back as other entries' data.
        tooLarge = tooLarge || size > MaxU32 || total > MaxU32;
        newEntries.push_back(std::move(entry));
    }
    if (missing > 0) {
        m_log.error(std::to_wstring(missing) + L" files not found. Exiting..");
        return false;
    }
    if (tooLarge) {
        m_log.error(L"Archive: " + m_path + L" would exceed 4 GiB of data. Exiting..");
        return false;
    }

    // The temporary file goes beside the archive, so that the final rename
    // stays within one file system and can replace the archive atomically.
    const std::wstring tempName = makeTempName(wrp::directoryOf(m_path));
    File out;
    const bool created = out.open(tempName, wrp::FileDriver::ModeCreate);
    const bool written = created && writeArchive(out, newEntries, keptSources) && out.flush();
    out.close();
    if (!written) {
        if (created) {
            std::remove(nativeName(tempName).c_str());
        }
        return false;
    }
    m_file.close();
    if (!replaceWith(tempName)) {
        return false;
    }
    m_pending.clear();
    return true;
}

bool Archive::writeArchive(File& out, const std::vector<ArchiveEntry>& newEntries,
                           const std::vector<std::size_t>& keptSources) {
    if (!out.writeExact(Signature, sizeof Signature) ||
        !out.writeU32(static_cast<std::uint32_t>(newEntries.size())) || !out.writeU8(Revision) ||
        !out.writeU8(0)) {
        return false;
    }
    std::vector<std::int64_t> crcPositions;
    crcPositions.reserve(newEntries.size());
    for (const ArchiveEntry& entry : newEntries) {
        const std::string name = core::wideToUtf8(entry.name);
        if (!out.writeU16(static_cast<std::uint16_t>(name.size())) ||
            !out.writeExact(name.data(), name.size()) || !out.writeU32(entry.offset) ||
            !out.writeU32(entry.size) || !out.writeU32(entry.crc)) {
            return false;
        }
        crcPositions.push_back(out.tell() - 4);
    }

    File::Chunk chunk;
    for (std::size_t i = 0; i < keptSources.size(); ++i) {
        const ArchiveEntry& old = m_entries[keptSources[i]];
        const std::uint64_t at = static_cast<std::uint64_t>(m_dataBase) + old.offset;
        if (!m_file.seek(static_cast<std::int64_t>(at))) {
            return false;
        }
        std::uint64_t remaining = old.size;
        while (remaining > 0) {
            const std::uint64_t step = std::min<std::uint64_t>(remaining, chunk.size());
            if (!m_file.readExact(chunk.data(), step) || !out.writeExact(chunk.data(), step)) {
                return false;
            }
            remaining -= step;
        }
    }

    std::size_t index = keptSources.size();
    for (const PendingChange& change : m_pending) {
        if (change.kind == PendingChange::Remove) {
            continue;
        }
        std::uint32_t crc = 0;
        if (change.kind == PendingChange::AddBytes) {
            if (!out.writeExact(change.bytes.data(), change.bytes.size())) {
                return false;
            }
            crc = crc32(change.bytes.data(), change.bytes.size(), 0xFFFFFFFFu);
        } else {
            File source;
            if (!source.open(change.sourcePath, wrp::FileDriver::ModeRead)) {
                return false;
            }
            std::uint64_t copied = 0;
            while (const std::uint64_t n = source.readChunk(chunk)) {
                if (!out.writeExact(chunk.data(), n)) {
                    return false;
                }
                crc = crc32(chunk.data(), n, ~crc);
                copied += n;
            }
            // A source that changed size since planning would no longer
            // match its index record and shift every later entry.
            if (copied != newEntries[index].size) {
                return false;
            }
        }
        const std::int64_t back = out.tell();
        if (back < 0 || !out.seek(crcPositions[index]) || !out.writeU32(crc) || !out.seek(back)) {
            return false;
        }
        ++index;
    }
    return true;
}

bool Archive::replaceWith(const std::wstring& tempName) {
    m_file.close();
    m_entries.clear();
    // One rename over the archive: on POSIX it is atomic, so at every moment
    // either the old or the new archive is complete under its name.
#ifdef _WIN32
    // The C rename refuses an existing target on Windows; this call replaces it.
    const bool moved = MoveFileExW(tempName.c_str(), m_path.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    const bool moved = std::rename(nativeName(tempName).c_str(), nativeName(m_path).c_str()) == 0;
#endif
    if (!moved) {
        std::remove(nativeName(tempName).c_str());
        open(m_path, m_readOnly);
        return false;
    }
    return open(m_path, m_readOnly);
}

std::wstring Archive::makeTempName(const std::wstring& directory) {
    constexpr std::uint64_t Modulus = 2147483647;
    std::uint64_t x = static_cast<std::uint32_t>(std::time(nullptr)) % Modulus;
    if (x == 0) {
        x = 1;
    }
    const auto step = [&x] { x = x * 48271 % Modulus; };
    for (int i = 0; i < 5; ++i) {
        step();
    }
    for (;;) {
        step();
        std::wstring name = directory + L"PYXArchive_tmp_" + std::to_wstring(x) + L".dat";
        if (!fileExists(name)) {
            return name;
        }
    }
}

} // namespace pyx::cmn
