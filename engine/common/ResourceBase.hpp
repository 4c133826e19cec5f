#pragma once

#include "engine/common/ResourceDelayedLoad.hpp"
#include "engine/core/IUniqueObject.hpp"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace pyx::cmn {

class ResourceManager;

namespace _impl {
// SFML reports decoding failures on one unsynchronized error stream; the
// loader thread and a waiting caller may decode at the same time, so every
// decoding call of the resource kinds holds this lock.
std::mutex& sfmlDecodeMutex();
} // namespace _impl

// The load state every resource carries: the load still to run, and the
// "ready" flag that waiters block on. A resource receives one load; it is
// ready afterwards whether or not the load succeeded.
class ResourceBase : public pyx::core::IUniqueObject {
public:
    ResourceBase() = default;
    // Destroys a load that was never taken.
    ~ResourceBase() override;
    ResourceBase(const ResourceBase&) = delete;
    ResourceBase& operator=(const ResourceBase&) = delete;

    // Decode the content from a disk file / from bytes. Called once, by the
    // delayed load, on whichever thread runs `performLoad`.
    virtual bool loadFromFile(const std::wstring& path) = 0;
    virtual bool loadFromMemory(const std::vector<std::uint8_t>& bytes) = 0;

    // Returns once the content is decoded; decodes it on this thread when
    // nobody has started yet.
    void waitUntilLoaded();
    // Runs the pending load if nobody has taken it yet and returns its
    // result; true when there was nothing left to take. A load that fails
    // or throws logs "Failed to load resource "<path>"." and still makes
    // the resource ready.
    bool performLoad();

    bool isReady() const { return m_ready.load(); }
    // The path the resource was requested with.
    const std::wstring& path() const { return m_path; }

private:
    friend class ResourceManager;
    // Called by the manager before the resource is shared with any other
    // thread: the path is never written afterwards.
    void setPendingLoad(const std::wstring& path, std::unique_ptr<_impl::ResourceDelayedLoad> load);

    std::mutex m_mutex;
    std::condition_variable m_readyCondition;
    std::atomic<_impl::ResourceDelayedLoad*> m_pendingLoad{nullptr};
    std::atomic<bool> m_ready{false};
    std::wstring m_path;
};

} // namespace pyx::cmn
