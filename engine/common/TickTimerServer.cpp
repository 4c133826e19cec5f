#include "engine/common/TickTimerServer.hpp"

#include "engine/common/Logger.hpp"
#include "engine/core/Assert.hpp"

#include <chrono>

namespace pyx::cmn {

namespace {

std::int64_t monotonicMicros() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void logLine(const std::wstring& text) {
    pyx::core::WeakSingleton<Logger> logger;
    logger->write(text);
}

} // namespace

TickTimerServer::TickTimerServer(std::int32_t ticksPerSec)
    : TickTimerServer(ticksPerSec, &monotonicMicros) {}

TickTimerServer::TickTimerServer(std::int32_t ticksPerSec, Clock clock)
    : m_ticksPerSec(ticksPerSec), m_clock(std::move(clock)) {
    PYX_ASSERT(m_ticksPerSec > 0);
    PYX_ASSERT(m_clock);
    m_startTime = m_clock();
}

void TickTimerServer::setCallback(Callback callback) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_callback = std::move(callback);
}

void TickTimerServer::reset() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_startTime = m_clock();
    m_tickCount = 0;
    ++m_resetGeneration;
}

std::uint64_t TickTimerServer::tickCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_tickCount;
}

void TickTimerServer::update() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        const std::int64_t elapsed = m_clock() - m_startTime;
        std::int64_t due = elapsed * static_cast<std::int64_t>(m_ticksPerSec) / 1000000;
        // A clock reading before the start would turn into an enormous
        // unsigned bound and an endless catch-up; nothing is due then.
        if (due < 0) {
            due = 0;
        }
        const std::uint64_t generation = m_resetGeneration;
        std::uint64_t n = 0;
        while (static_cast<std::uint64_t>(due) > m_tickCount) {
            ++n;
            const std::uint64_t tick = ++m_tickCount;
            Callback copy = m_callback;
            lock.unlock();
            if (copy) {
                copy(tick);
            }
            copy = nullptr;
            lock.lock();
            if (n % 100 == 0) {
                logLine(L"[WARNING] High tick timer srv (and increasing!) -- " +
                        std::to_wstring(n));
            }
            if (m_resetGeneration != generation) {
                break; // the callback restarted the count: measure afresh
            }
        }
        if (n > 5) {
            logLine(L"Tick timer srv -- " + std::to_wstring(n));
        }
        if (n == 0) {
            return;
        }
    }
}

} // namespace pyx::cmn
