#pragma once

#include <cstdint>
#include <functional>
#include <mutex>

namespace pyx::cmn {

// Turns elapsed time into numbered ticks at a fixed rate: each update calls
// the callback once for every tick that has fallen due, so the number of
// ticks delivered always matches the time elapsed since the start.
class TickTimerServer {
public:
    using Callback = std::function<void(std::uint64_t)>;
    // Returns a monotonic reading in microseconds.
    using Clock = std::function<std::int64_t()>;

    // A timer at ticksPerSec (> 0, asserted) on the monotonic clock.
    explicit TickTimerServer(std::int32_t ticksPerSec);
    // The same on the given clock, which must never run backwards.
    TickTimerServer(std::int32_t ticksPerSec, Clock clock);
    TickTimerServer(const TickTimerServer&) = delete;
    TickTimerServer& operator=(const TickTimerServer&) = delete;

    // Sets the function called with each tick number (1 is the first tick
    // after construction or reset); an empty function delivers ticks to
    // nobody. Safe from any thread, also from inside the callback.
    void setCallback(Callback callback);

    // Restarts the count from the current moment.
    void reset();

    // Delivers every tick that is due, in order, including those that fell
    // due while the callbacks ran. The callback runs without the lock held.
    void update();

    // Ticks delivered since construction or the last reset.
    std::uint64_t tickCount() const;

    std::int32_t ticksPerSec() const { return m_ticksPerSec; }

private:
    std::int32_t m_ticksPerSec;
    Clock m_clock;
    std::int64_t m_startTime;
    std::uint64_t m_tickCount = 0;
    Callback m_callback;
    // Bumped by reset, so an update in progress notices a reset made by its
    // callback and does not replay ticks of the old count.
    std::uint64_t m_resetGeneration = 0;
    mutable std::mutex m_mutex;
};

} // namespace pyx::cmn
