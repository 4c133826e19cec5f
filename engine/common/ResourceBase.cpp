#include "engine/common/ResourceBase.hpp"

#include "engine/common/Logger.hpp"
#include "engine/core/WeakSingleton.hpp"

namespace pyx::cmn {

std::mutex& _impl::sfmlDecodeMutex() {
    static std::mutex mutex;
    return mutex;
}

ResourceBase::~ResourceBase() {
    std::unique_ptr<_impl::ResourceDelayedLoad> untaken(m_pendingLoad.exchange(nullptr));
}

void ResourceBase::setPendingLoad(const std::wstring& path,
                                  std::unique_ptr<_impl::ResourceDelayedLoad> load) {
    m_path = path;
    std::unique_ptr<_impl::ResourceDelayedLoad> previous(m_pendingLoad.exchange(load.release()));
}

bool ResourceBase::performLoad() {
    _impl::ResourceDelayedLoad* expected = m_pendingLoad.load();
    if (expected == nullptr) {
        return true;
    }
    if (!m_pendingLoad.compare_exchange_strong(expected, nullptr)) {
        return true;
    }
    std::unique_ptr<_impl::ResourceDelayedLoad> load(expected);
    bool result = false;
    try {
        result = load->apply(*this);
    } catch (...) {
        // A throwing decoder is a failed load: the resource must still become
        // ready, or every waiter would block for ever.
        result = false;
    }
    load.reset();
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_ready.store(true);
        m_readyCondition.notify_all();
    }
    if (!result) {
        pyx::core::WeakSingleton<Logger> logger;
        logger->write(L"Failed to load resource \"" + m_path + L"\".");
    }
    return result;
}

void ResourceBase::waitUntilLoaded() {
    performLoad();
    if (!m_ready.load()) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_readyCondition.wait(lock, [this] { return m_ready.load(); });
    }
}

} // namespace pyx::cmn
