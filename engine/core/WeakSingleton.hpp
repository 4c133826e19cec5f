#pragma once

#include <memory>
#include <mutex>

namespace pyx::core {

// A handle to a process-wide service T: the first handle creates T, the last
// one released destroys it, and the next acquire builds a fresh instance.
// One handle object is used by one thread at a time; different handles to
// the same T may live on any threads.
template <class T> class WeakSingleton {
public:
    // The live instance, with a mutex that users may lock to serialize their
    // work on it.
    class InstanceHandle {
    public:
        InstanceHandle() = default;
        InstanceHandle(const InstanceHandle&) = delete;
        InstanceHandle& operator=(const InstanceHandle&) = delete;

        T instance;
        std::mutex mutex;
    };

    // Acquires the current instance, creating it when none is alive.
    WeakSingleton() { acquire(); }

    // Returns the instance; an empty handle (moved from or released)
    // acquires first.
    T* get() {
        if (!m_ref) {
            acquire();
        }
        return &m_ref->instance;
    }
    T* operator->() { return get(); }
    T& operator*() { return *get(); }

    // The mutex that belongs to the instance (the handle acquires if empty).
    std::mutex& instanceMutex() {
        get();
        return m_ref->mutex;
    }

    // Drops this handle's reference early; the instance dies if it was the
    // last one.
    void release() { m_ref.reset(); }

    // True while this handle holds a reference.
    bool holds() const { return static_cast<bool>(m_ref); }

private:
    void acquire() {
        // Fast path without the creation mutex; lock() only succeeds while
        // the instance is alive.
        m_ref = current();
        if (m_ref) {
            return;
        }
        std::lock_guard<std::mutex> guard(s_creationMutex);
        m_ref = current();
        if (m_ref) {
            return;
        }
        auto fresh = std::make_shared<InstanceHandle>();
        {
            std::lock_guard<std::mutex> ref(s_currentMutex);
            s_current = fresh;
        }
        m_ref = std::move(fresh);
    }

    // The static weak reference must be read and replaced as a whole. A
    // short mutex does that: libstdc++ 12's std::atomic<std::weak_ptr>
    // releases its internal lock after a load with relaxed ordering, which
    // leaves the load unordered with a later store (ThreadSanitizer reports
    // it). The creation mutex may be held while this one is taken, never the
    // other way round.
    static std::shared_ptr<InstanceHandle> current() {
        std::lock_guard<std::mutex> ref(s_currentMutex);
        return s_current.lock();
    }

    std::shared_ptr<InstanceHandle> m_ref;

    static inline std::weak_ptr<InstanceHandle> s_current{};
    static inline std::mutex s_currentMutex{};
    static inline std::mutex s_creationMutex{};
};

} // namespace pyx::core
