#include "engine/common/ResourceManager.hpp"

#include "engine/core/Assert.hpp"

namespace pyx::cmn {

ResourceManager::ResourceManager() : m_log(L"ResourceManager") {
    m_loader = std::thread([this] { loaderMain(); });
}

ResourceManager::~ResourceManager() {
    // Clearing first makes shutdown prompt however long the queue is: only
    // the load already running is finished.
    m_queue.clear();
    m_queue.stop();
    if (m_loader.joinable()) {
        m_loader.join();
    }
    m_log.info(L"Resource Manager destroyed!");
    m_mounts.clear();
    m_cache.clear();
}

bool ResourceManager::mount(const std::wstring& archivePath, const std::wstring& mountName) {
    auto entry = std::make_unique<Mount>();
    entry->name = mountName;
    if (!entry->archive.open(archivePath, true)) {
        return false;
    }
    // The table is meant to be filled before any request, but taking the
    // lock costs nothing and keeps a late mount from racing a lookup.
    std::lock_guard<std::mutex> guard(m_lock);
    m_mounts.push_back(std::move(entry));
    return true;
}

std::size_t ResourceManager::mountCount() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_mounts.size();
}

bool ResourceManager::readFromMounts(const std::wstring& path, std::vector<std::uint8_t>& bytes) {
    std::lock_guard<std::mutex> guard(m_lock);
    return lookupMounts(path, bytes);
}

bool ResourceManager::lookupMounts(const std::wstring& _path, std::vector<std::uint8_t>& bytes) {
    for (const auto& entry : m_mounts) {
        std::wstring tmpPath = _path;
        if (stripMountPrefix(tmpPath, entry->name)) {
            if (entry->archive.readEntry(tmpPath, bytes)) {
                return true;
            }
        } else {
            PYX_ASSERT(tmpPath == _path);
        }
    }
    // A CRC mismatch leaves the damaged data behind; nobody may mistake it
    // for content.
    bytes.clear();
    return false;
}

void ResourceManager::requestLoad(ResourceBase& resource,
                                  const std::shared_ptr<ResourceBase>& shared,
                                  const std::wstring& path) {
    std::vector<std::uint8_t> bytes;
    if (lookupMounts(path, bytes)) {
        resource.setPendingLoad(
            path, std::make_unique<_impl::ResourceDelayedLoadMemory>(std::move(bytes)));
    } else {
        resource.setPendingLoad(path, std::make_unique<_impl::ResourceDelayedLoadFile>(path));
    }
    m_queue.push(shared);
}

void ResourceManager::loaderMain() {
    std::weak_ptr<ResourceBase> next;
    while (m_queue.pop(next)) {
        std::shared_ptr<ResourceBase> resource = next.lock();
        next.reset();
        if (!resource) {
            continue;
        }
        try {
            resource->performLoad();
        } catch (...) {
            // performLoad already turns a throwing decoder into a failed,
            // ready resource; whatever else escapes must not end the loader.
        }
    }
}

std::size_t ResourceManager::loadingCount() const {
    std::lock_guard<std::mutex> guard(m_lock);
    std::size_t loading = 0;
    for (const auto& entry : m_cache) {
        if (!entry.second->isReady()) {
            ++loading;
        }
    }
    return loading;
}

} // namespace pyx::cmn
