#pragma once

#ifdef _WIN32

#include "engine/platform/FileFinderBase.hpp"

namespace pyx::wrp::_impl {

// Finder on FindFirstFileW/FindNextFileW; entries come in the platform's order.
class FileFinderImplWin32 : public FileFinderBase {
public:
    FileFinderImplWin32() = default;
    ~FileFinderImplWin32() override;

    bool find(const std::wstring& pattern) override;
    bool next() override;
    std::wstring name() const override;
    std::wstring alternateName() const override;
    std::wstring directory() const override;
    std::uint64_t size() const override;
    bool isDirectory() const override;
    bool isHidden() const override;
    bool isSearching() const override;
    std::int64_t lastTime() const override;

private:
    struct FileTime {
        std::uint32_t low = 0;
        std::uint32_t high = 0;
    };

    void closeSearch();

    // The native search HANDLE (void* so <windows.h> stays out of this header).
    void* m_search = reinterpret_cast<void*>(static_cast<long long>(-1));
    std::wstring m_name;
    std::uint64_t m_size = 0;
    std::uint32_t m_attributes = 0;
    FileTime m_creation;
    FileTime m_lastWrite;
    FileTime m_lastAccess;
    std::wstring m_directory;
};

} // namespace pyx::wrp::_impl

#endif
