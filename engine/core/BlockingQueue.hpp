#pragma once

#include <condition_variable>
#include <cstddef>
#include <list>
#include <mutex>

namespace pyx::core {

// A first-in, first-out queue for handing items between threads. pop waits
// for an item; after stop, pop still returns what is queued, then false.
template <class T> class BlockingQueue {
public:
    // capacity 0 means unbounded; otherwise push waits while the queue is full.
    explicit BlockingQueue(int capacity = 0) : m_capacity(capacity) {}
    BlockingQueue(const BlockingQueue&) = delete;
    BlockingQueue& operator=(const BlockingQueue&) = delete;

    // Appends the item, waiting for room when the queue is bounded and full.
    void push(T item) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_notFull.wait(lock, [this] {
            return m_capacity == 0 || m_items.size() < static_cast<std::size_t>(m_capacity);
        });
        m_items.push_back(std::move(item));
        m_notEmpty.notify_one();
    }

    // Moves the oldest item to out and returns true; waits while the queue is
    // empty and running; returns false once it is stopped and empty.
    bool pop(T& out) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_notEmpty.wait(lock, [this] { return !m_items.empty() || !m_running; });
        if (m_items.empty()) {
            return false;
        }
        out = std::move(m_items.front());
        m_items.pop_front();
        m_notFull.notify_one();
        return true;
    }

    // Discards every queued item and wakes all waiters.
    void clear() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_items.clear();
        m_notEmpty.notify_all();
        m_notFull.notify_all();
    }

    // Ends waiting: pops drain the remaining items, then return false.
    void stop() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_running = false;
        m_notEmpty.notify_all();
    }

    // Number of queued items at the moment of the call.
    std::size_t size() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_items.size();
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_notEmpty;
    std::condition_variable m_notFull;
    std::list<T> m_items;
    bool m_running = true;
    int m_capacity;
};

} // namespace pyx::core
