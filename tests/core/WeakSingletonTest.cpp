#include "engine/core/WeakSingleton.hpp"

#include "tests/ThreadBarrier.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// Each test uses its own service type: the weak reference is per type and
// lives for the whole test process.
struct CountedService {
    static inline std::atomic<int> constructed{0};
    static inline std::atomic<int> destroyed{0};
    int generation;
    CountedService() : generation(constructed.fetch_add(1) + 1) {
        // Widen the window in which a second thread could slip past the
        // creation mutex.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ~CountedService() { destroyed.fetch_add(1); }
};

struct LifetimeService {
    static inline int constructed = 0;
    static inline int destroyed = 0;
    int value = 0;
    LifetimeService() { ++constructed; }
    ~LifetimeService() { ++destroyed; }
};

struct Dependency {
    int id = 7;
};
struct Dependent {
    pyx::core::WeakSingleton<Dependency> dependency;
};

} // namespace

TEST(CoreWeakSingleton, ConcurrentAcquiresShareOneInstance) {
    constexpr int kThreads = 8;
    std::vector<CountedService*> seen(kThreads, nullptr);
    ironmoat::test::ThreadBarrier sync(kThreads);
    {
        std::vector<std::unique_ptr<pyx::core::WeakSingleton<CountedService>>> handles(kThreads);
        std::vector<std::thread> threads;
        for (int i = 0; i < kThreads; ++i) {
            threads.emplace_back([&, i] {
                sync.arrive_and_wait();
                handles[i] = std::make_unique<pyx::core::WeakSingleton<CountedService>>();
                seen[i] = handles[i]->get();
            });
        }
        for (auto& t : threads) {
            t.join();
        }
        EXPECT_EQ(CountedService::constructed.load(), 1);
        for (int i = 1; i < kThreads; ++i) {
            EXPECT_EQ(seen[i], seen[0]);
        }
        EXPECT_EQ(CountedService::destroyed.load(), 0);
    }
    EXPECT_EQ(CountedService::destroyed.load(), 1);
}

TEST(CoreWeakSingleton, LastReleaseDestroysAndNextAcquireBuildsAfresh) {
    auto first = std::make_unique<pyx::core::WeakSingleton<LifetimeService>>();
    (*first)->value = 42;
    {
        pyx::core::WeakSingleton<LifetimeService> second;
        EXPECT_EQ(second.get(), first->get());
        EXPECT_EQ(second->value, 42);
    }
    EXPECT_EQ(LifetimeService::destroyed, 0) << "a remaining handle keeps the instance";
    first.reset();
    EXPECT_EQ(LifetimeService::destroyed, 1);

    pyx::core::WeakSingleton<LifetimeService> again;
    EXPECT_EQ(LifetimeService::constructed, 2);
    EXPECT_EQ(again->value, 0) << "the new instance has fresh state";

    // A released handle acquires again on its next use.
    again.release();
    EXPECT_FALSE(again.holds());
    EXPECT_EQ(LifetimeService::destroyed, 2);
    again->value = 5;
    EXPECT_EQ(LifetimeService::constructed, 3);
    EXPECT_TRUE(again.holds());
}

TEST(CoreWeakSingleton, ConstructorMayAcquireAnotherService) {
    pyx::core::WeakSingleton<Dependent> dependent;
    pyx::core::WeakSingleton<Dependency> direct;
    EXPECT_EQ(dependent->dependency.get(), direct.get());
    EXPECT_EQ(direct->id, 7);
}

TEST(CoreWeakSingleton, ChurnFromManyThreadsNeverSeesADeadInstance) {
    // Handles appear and vanish on several threads; every get() must see a
    // live, fully constructed instance.
    struct Churn {
        std::atomic<bool> alive{true};
        ~Churn() { alive.store(false); }
    };
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                pyx::core::WeakSingleton<Churn> handle;
                if (!handle->alive.load()) {
                    failures.fetch_add(1);
                }
            }
        });
    }
    for (auto& t : threads) {
        t.join();
    }
    EXPECT_EQ(failures.load(), 0);
}

namespace {

struct RoundService {
    static inline std::atomic<int> constructed{0};
    static inline std::atomic<int> destroyed{0};
    static inline std::atomic<int> alive{0};
    int generation;
    RoundService() : generation(constructed.fetch_add(1) + 1) { alive.fetch_add(1); }
    ~RoundService() {
        alive.fetch_sub(1);
        destroyed.fetch_add(1);
    }
};

} // namespace

TEST(CoreWeakSingleton, SimultaneousFirstHandlesAndLastReleasesMakeOneInstancePerRound) {
    // Every round, all threads take their first handle at once and drop it
    // at once: exactly one instance must be built and torn down per round,
    // and everyone in a round must see that same instance.
    constexpr int kThreads = 6;
    constexpr int kRounds = 40;
    std::vector<std::vector<int>> generations(kRounds, std::vector<int>(kThreads, 0));
    std::vector<int> aliveAfterRound(kRounds, -1);
    ironmoat::test::ThreadBarrier sync(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < kRounds; ++round) {
                sync.arrive_and_wait();
                {
                    pyx::core::WeakSingleton<RoundService> handle;
                    generations[round][t] = handle->generation;
                    // Nobody releases before everyone holds a handle.
                    sync.arrive_and_wait();
                }
                sync.arrive_and_wait();
                if (t == 0) {
                    aliveAfterRound[round] = RoundService::alive.load();
                }
            }
        });
    }
    for (auto& t : threads) {
        t.join();
    }
    EXPECT_EQ(RoundService::constructed.load(), kRounds);
    EXPECT_EQ(RoundService::destroyed.load(), kRounds);
    for (int round = 0; round < kRounds; ++round) {
        for (int t = 0; t < kThreads; ++t) {
            EXPECT_EQ(generations[round][t], round + 1) << "round " << round << ", thread " << t;
        }
        EXPECT_EQ(aliveAfterRound[round], 0)
            << "the last release of round " << round << " left the instance alive";
    }
}
