#pragma once

// Lets a fixed number of threads meet, round after round. std::barrier would
// do, but its libstdc++ 12 build for Windows can miss a wake-up and hang; a
// mutex and a condition variable work on every runtime.

#include <condition_variable>
#include <mutex>

namespace ironmoat::test {

class ThreadBarrier {
public:
    explicit ThreadBarrier(int count) : m_count(count) {}

    // Returns once `count` threads have arrived in this round.
    void arrive_and_wait() {
        std::unique_lock lock(m_mutex);
        const long round = m_round;
        if (++m_arrived == m_count) {
            m_arrived = 0;
            ++m_round;
            m_wake.notify_all();
            return;
        }
        m_wake.wait(lock, [&] { return m_round != round; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    const int m_count;
    int m_arrived = 0;
    long m_round = 0;
};

} // namespace ironmoat::test
