#pragma once

// An abstract binary file with 64-bit sizes and positions. Every operation
// reports failure through its result (false or a short count) and never
// throws; a closed driver fails everything except `close`.

#include <cstdint>
#include <memory>
#include <string>

namespace pyx::wrp {

class FileDriver {
public:
    // Open modes: read an existing file; read and write an existing file;
    // read and write a file that is created or truncated to 0. Any other
    // mode value behaves as ReadWrite. Every mode lets other openers read the
    // file but never write it: while a file is held in mode 1 or 2 no second
    // open succeeds; a file held in mode 0 can be opened again in mode 0.
    static constexpr int ModeRead = 0;
    static constexpr int ModeReadWrite = 1;
    static constexpr int ModeCreate = 2;

    // Seek origins.
    static constexpr int FromStart = 0;
    static constexpr int FromCurrent = 1;
    static constexpr int FromEnd = 2;

    FileDriver() = default;
    FileDriver(const FileDriver&) = delete;
    FileDriver& operator=(const FileDriver&) = delete;
    virtual ~FileDriver() = default;

    // True when the file is open; an open file is closed first.
    virtual bool open(const std::wstring& path, int mode) = 0;
    // Returns the number of bytes written (short on failure).
    virtual std::uint64_t write(const void* bytes, std::uint64_t count) = 0;
    // Returns the number of bytes read; 0 at the end of the file.
    virtual std::uint64_t read(void* buffer, std::uint64_t count) = 0;
    // Never moves past the end of the file; seeking exactly to it is allowed.
    virtual bool seek(std::int64_t offset, int origin) = 0;
    // The current position.
    virtual bool tell(std::uint64_t& position) const = 0;
    // Buffers written through to the device.
    virtual bool flush() = 0;
    // Closing a closed driver does nothing.
    virtual void close() = 0;
    // The current file size.
    virtual bool size(std::uint64_t& size) const = 0;
    // Shrinks the file to newSize (never grows it); the position stays at newSize.
    virtual bool truncate(std::uint64_t newSize) = 0;

    // Whether a file is open (not a slot of the interface proper; a
    // convenience every implementation answers from its handle).
    virtual bool isOpen() const = 0;
};

// A new, closed driver of this platform (FileDriverPosix or FileDriverWin32).
std::unique_ptr<FileDriver> createFileDriver();

} // namespace pyx::wrp
