#pragma once

#include "engine/common/LogClient.hpp"
#include "engine/common/Mount.hpp"
#include "engine/common/ResourceBase.hpp"
#include "engine/common/ResourceRaw.hpp"
#include "engine/common/ResourceSfFont.hpp"
#include "engine/common/ResourceSfTexture.hpp"
#include "engine/core/BlockingQueue.hpp"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace pyx::cmn {

// Hands out shared resource handles by path, keeps every resource it ever
// served until it is destroyed, and decodes them on a loader thread of its
// own. Bytes come from the first mounted archive that holds the path, else
// from disk. Shared as pyx::core::WeakSingleton<ResourceManager>.
class ResourceManager {
public:
    // Starts the loader thread.
    ResourceManager();
    // Drops every load still queued (a handle used later decodes on its own
    // thread), waits for the load in progress and closes the archives.
    ~ResourceManager();
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

    // The resource of class T for path, created and queued for loading on
    // the first request; never empty. Returns without waiting for decoding
    // (archive bytes are read during the call). The path is the cache key
    // as spelled: two spellings of one file are two resources.
    template <class T> std::shared_ptr<T> get(const std::wstring& path);
    std::shared_ptr<pyx::gfx::ResourceSfTexture> getTexture(const std::wstring& path) {
        return get<pyx::gfx::ResourceSfTexture>(path);
    }
    std::shared_ptr<pyx::gfx::ResourceSfFont> getFont(const std::wstring& path) {
        return get<pyx::gfx::ResourceSfFont>(path);
    }
    std::shared_ptr<ResourceRaw> getRaw(const std::wstring& path) { return get<ResourceRaw>(path); }

    // Opens the archive read-only and serves paths under mountName from it,
    // after the mounts added before. False (and no mount) when the archive
    // cannot be opened. Meant for start-up, before the first request.
    bool mount(const std::wstring& archivePath, const std::wstring& mountName);
    // The bytes of path from the first mount whose name prefixes it and
    // whose archive holds the entry with a correct CRC. False (bytes
    // cleared) when no mount serves it.
    bool readFromMounts(const std::wstring& path, std::vector<std::uint8_t>& bytes);

    // Number of mounts made.
    std::size_t mountCount() const;
    // Number of resources waiting for the loader thread.
    std::size_t queuedCount() const { return m_queue.size(); }
    // Number of resources requested so far whose load has not finished
    // (0 once everything asked for has been decoded, or has failed).
    std::size_t loadingCount() const;

private:
    using Key = std::pair<int, std::wstring>;

    void requestLoad(ResourceBase& resource, const std::shared_ptr<ResourceBase>& shared,
                     const std::wstring& path);
    bool lookupMounts(const std::wstring& _path, std::vector<std::uint8_t>& bytes);
    void loaderMain();

    mutable std::mutex m_lock;
    LogClient m_log;
    pyx::core::BlockingQueue<std::weak_ptr<ResourceBase>> m_queue;
    std::map<Key, std::shared_ptr<ResourceBase>> m_cache;
    std::thread m_loader;
    std::vector<std::unique_ptr<Mount>> m_mounts;
};

template <class T> std::shared_ptr<T> ResourceManager::get(const std::wstring& path) {
    std::lock_guard<std::mutex> guard(m_lock);
    Key key(T::staticTypeId(), path);
    auto found = m_cache.find(key);
    if (found != m_cache.end()) {
        return std::static_pointer_cast<T>(found->second);
    }
    auto resource = std::make_shared<T>();
    requestLoad(*resource, resource, path);
    m_cache.emplace(std::move(key), resource);
    return resource;
}

} // namespace pyx::cmn
