#pragma once

// A read-mostly archive: a header, an index of named entries and a data
// region of stored files, each protected by a CRC-32. Changes are queued and
// written by `commit`, which rewrites the whole file and swaps it in.
//
// Layout (little-endian, no padding): "PYXArchive", u32 entryCount,
// u8 revision (1), u8 reserved; then entryCount records of u16 nameLength,
// UTF-8 name, u32 offset, u32 size, u32 crc; then the data region. An
// entry's data lies at dataBase + offset, dataBase being the position right
// after the index.

#include "engine/common/File.hpp"
#include "engine/common/LogClient.hpp"

#include <cstdint>
#include <list>
#include <string>
#include <vector>

namespace pyx::cmn {

// One index record in memory.
struct ArchiveEntry {
    std::wstring name;
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
    std::uint32_t crc = 0;
};

// A change queued for `commit`.
struct PendingChange {
    static constexpr int AddBytes = 1;
    static constexpr int AddFile = 2;
    static constexpr int Remove = 3;

    int kind = AddBytes;
    std::wstring name;
    std::wstring sourcePath;
    std::vector<std::uint8_t> bytes;
};

class Archive {
public:
    // The longest entry name the index can hold, in UTF-8 bytes.
    static constexpr std::size_t MaxNameBytes = 0xFFFF;

    Archive();
    // Closes the archive (committing queued changes first).
    ~Archive();
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    // Opens the archive at path and reads its index. With readOnly false a
    // missing file is created empty (yet `open` still reports false for it,
    // since it holds no header). False for a damaged archive; see the log
    // for a wrong revision.
    bool open(const std::wstring& path, bool readOnly);
    // Commits queued changes if any, then closes the file and forgets the index.
    void close();
    // Reads the first entry named exactly name (a normalized entry name:
    // components joined by "\"). True when bytes hold its data and the CRC
    // matches; on a CRC mismatch bytes keep what was read.
    bool readEntry(const std::wstring& name, std::vector<std::uint8_t>& bytes);
    // Reads the index record at position index (file order), whatever its
    // name: a record hidden behind an earlier one of the same name can still
    // be checked. Same results as `readEntry`; false for an index past the end.
    bool readRecord(std::size_t index, std::vector<std::uint8_t>& bytes);
    // Writes a new archive with the queued changes applied and reopens it.
    // On failure the old archive stays as it was, open and readable, and no
    // temporary file is left behind.
    bool commit();

    // Queue changes for `commit`. Adding a name that exists (in the index or
    // among earlier queued additions) replaces it, so an archive never gets
    // two records of one name. Names are stored as given: pass normalized
    // names. All fail (queue nothing) when the archive is not open, is
    // read-only, or the name is empty or longer than MaxNameBytes in UTF-8.
    bool addBytes(const std::wstring& name, std::vector<std::uint8_t> bytes);
    bool addFile(const std::wstring& name, const std::wstring& sourcePath);
    bool remove(const std::wstring& name);

    // Used by `commit`: closes the archive, moves tempName over it in one
    // rename (so the old archive is never missing) and reopens it. When the
    // rename fails the old archive is reopened and false returned.
    bool replaceWith(const std::wstring& tempName);

    // A name "PYXArchive_tmp_" + number + ".dat" in directory (a prefix
    // ending with a separator, or "" for the working directory) that no
    // readable file has yet.
    static std::wstring makeTempName(const std::wstring& directory = std::wstring());
    // CRC-32 (the zlib polynomial) continuing from the register value
    // running; a whole buffer is checked with running 0xFFFFFFFF. For
    // chunks, pass the complement of the previous result.
    static std::uint32_t crc32(const void* data, std::size_t length, std::uint32_t running);

    bool isOpen() const { return m_file.isOpen(); }
    bool isModified() const { return m_modified; }
    bool isReadOnly() const { return m_readOnly; }
    const std::wstring& path() const { return m_path; }
    std::uint32_t dataBase() const { return m_dataBase; }
    // The index in file order.
    const std::vector<ArchiveEntry>& entries() const { return m_entries; }
    const std::list<PendingChange>& pending() const { return m_pending; }

private:
    bool readIndex();
    bool queueAddition(PendingChange change);
    bool validName(const std::wstring& name) const;
    bool writeArchive(File& out, const std::vector<ArchiveEntry>& newEntries,
                      const std::vector<std::size_t>& keptSources);

    bool m_modified = false;
    bool m_readOnly = false;
    LogClient m_log;
    std::wstring m_path;
    File m_file;
    std::uint32_t m_dataBase = 0;
    std::vector<ArchiveEntry> m_entries;
    std::list<PendingChange> m_pending;
};

} // namespace pyx::cmn
