#pragma once

// A binary file over the platform's FileDriver, adding exact-size transfers
// and little-endian integers. Failures are reported by results, never thrown.

#include "engine/platform/FileDriver.hpp"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pyx::cmn {

class File {
public:
    // Size of the transfers of `readChunk` and of the archive's copy loops.
    static constexpr std::size_t ChunkSize = 4096;
    using Chunk = std::array<std::uint8_t, ChunkSize>;

    // A closed file with a new driver of this platform.
    File();
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Opens path in a FileDriver mode (0 read, 1 read/write, 2 create or
    // truncate); an open file is closed first. Returns and remembers whether it worked.
    bool open(const std::wstring& path, int mode);
    // Closes the file; closing a closed file does nothing.
    void close();
    // The result of the last `open`, cleared by `close`.
    bool isOpen() const { return m_isOpen; }

    // Bytes actually moved; short on failure or at the end of the file.
    std::uint64_t read(void* buffer, std::uint64_t count);
    std::uint64_t write(const void* buffer, std::uint64_t count);
    // True only when exactly count bytes moved.
    bool readExact(void* buffer, std::uint64_t count);
    bool writeExact(const void* buffer, std::uint64_t count);

    // Little-endian integers, assembled byte by byte; true when every byte moved.
    bool readU8(std::uint8_t& value);
    bool readU16(std::uint16_t& value);
    bool readU32(std::uint32_t& value);
    bool writeU8(std::uint8_t value);
    bool writeU16(std::uint16_t value);
    bool writeU32(std::uint32_t value);

    // Reads up to ChunkSize bytes; returns how many arrived (0 at the end).
    std::uint64_t readChunk(Chunk& buffer);
    // Resizes bytes to count, then reads exactly count bytes into it.
    bool readVector(std::vector<std::uint8_t>& bytes, std::uint64_t count);

    // Moves to offset from the start; never past the end of the file.
    bool seek(std::int64_t offset);
    // The current position, -1 on failure.
    std::int64_t tell() const;
    // The file size. Asking a file whose size cannot be read (a closed one
    // included) is a programming error and fails an assertion.
    std::uint64_t size() const;
    // The file size without the assertion: false when it cannot be read.
    bool trySize(std::uint64_t& size) const;
    // The whole file from its start: true when every byte of it was read.
    bool readAll(std::vector<std::uint8_t>& bytes);

    // Writes buffered data through to the device.
    bool flush();
    // Shrinks the file to newSize (never grows it).
    bool truncate(std::uint64_t newSize);

private:
    std::unique_ptr<wrp::FileDriver> m_driver;
    bool m_isOpen = false;
};

} // namespace pyx::cmn
