#pragma once

#ifdef _WIN32

#include "engine/platform/FileDriver.hpp"

namespace pyx::wrp {

// File driver on Windows file handles (CreateFileW and friends).
class FileDriverWin32 : public FileDriver {
public:
    FileDriverWin32() = default;
    ~FileDriverWin32() override;

    bool open(const std::wstring& path, int mode) override;
    std::uint64_t write(const void* bytes, std::uint64_t count) override;
    std::uint64_t read(void* buffer, std::uint64_t count) override;
    bool seek(std::int64_t offset, int origin) override;
    bool tell(std::uint64_t& position) const override;
    bool flush() override;
    void close() override;
    bool size(std::uint64_t& size) const override;
    bool truncate(std::uint64_t newSize) override;
    bool isOpen() const override;

private:
    // The native HANDLE; kept as void* so this header does not pull in
    // <windows.h>. INVALID_HANDLE_VALUE when closed.
    void* m_handle = reinterpret_cast<void*>(static_cast<long long>(-1));
};

} // namespace pyx::wrp

#endif
