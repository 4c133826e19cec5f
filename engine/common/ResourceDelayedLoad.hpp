#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pyx::cmn {
class ResourceBase;
}

namespace pyx::cmn::_impl {

// A load that has been planned for a resource but not run yet. Whichever
// thread takes it from the resource runs it, exactly once.
class ResourceDelayedLoad {
public:
    virtual ~ResourceDelayedLoad() = default;
    // Runs the load on resource; true when its content decoded.
    virtual bool apply(ResourceBase& resource) = 0;
};

// Decodes the resource from a file on disk.
class ResourceDelayedLoadFile : public ResourceDelayedLoad {
public:
    explicit ResourceDelayedLoadFile(std::wstring path) : m_path(std::move(path)) {}
    bool apply(ResourceBase& resource) override;

private:
    std::wstring m_path;
};

// Decodes the resource from bytes already read out of an archive.
class ResourceDelayedLoadMemory : public ResourceDelayedLoad {
public:
    explicit ResourceDelayedLoadMemory(std::vector<std::uint8_t> bytes)
        : m_bytes(std::move(bytes)) {}
    bool apply(ResourceBase& resource) override;

private:
    std::vector<std::uint8_t> m_bytes;
};

} // namespace pyx::cmn::_impl
