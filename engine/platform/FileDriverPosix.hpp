#pragma once

#ifndef _WIN32

#include "engine/platform/FileDriver.hpp"

namespace pyx::wrp {

// File driver on POSIX descriptors. The sharing rule of the open modes is
// kept with non-blocking advisory `flock` locks (shared for mode 0,
// exclusive for modes 1 and 2); every "\" in a path is turned into "/".
class FileDriverPosix : public FileDriver {
public:
    FileDriverPosix() = default;
    ~FileDriverPosix() override;

    bool open(const std::wstring& path, int mode) override;
    std::uint64_t write(const void* bytes, std::uint64_t count) override;
    std::uint64_t read(void* buffer, std::uint64_t count) override;
    bool seek(std::int64_t offset, int origin) override;
    bool tell(std::uint64_t& position) const override;
    bool flush() override;
    void close() override;
    bool size(std::uint64_t& size) const override;
    bool truncate(std::uint64_t newSize) override;
    bool isOpen() const override { return m_fd >= 0; }

private:
    int m_fd = -1;
};

} // namespace pyx::wrp

#endif
