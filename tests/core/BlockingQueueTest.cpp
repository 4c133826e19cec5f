#include "engine/core/BlockingQueue.hpp"

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using pyx::core::BlockingQueue;

TEST(CoreBlockingQueue, StoppedQueueReturnsItsItemsThenFalse) {
    BlockingQueue<std::string> queue;
    queue.push("a");
    queue.push("b");
    queue.push("c");
    queue.stop();
    std::string out;
    ASSERT_TRUE(queue.pop(out));
    EXPECT_EQ(out, "a");
    ASSERT_TRUE(queue.pop(out));
    EXPECT_EQ(out, "b");
    ASSERT_TRUE(queue.pop(out));
    EXPECT_EQ(out, "c");
    EXPECT_FALSE(queue.pop(out));
    EXPECT_FALSE(queue.pop(out)) << "stays stopped";
}

TEST(CoreBlockingQueue, ClearAndStopWakeAWaitingPop) {
    BlockingQueue<int> queue;
    queue.push(1);
    int first = 0;
    ASSERT_TRUE(queue.pop(first));
    auto waiter = std::async(std::launch::async, [&] {
        int out = 0;
        return queue.pop(out);
    });
    // The waiter is (or soon will be) blocked on the empty queue; clear must
    // not make it return, only stop does.
    queue.clear();
    queue.stop();
    EXPECT_FALSE(waiter.get());
}

TEST(CoreBlockingQueue, ClearDiscardsQueuedItems) {
    BlockingQueue<int> queue;
    queue.push(1);
    queue.push(2);
    queue.clear();
    EXPECT_EQ(queue.size(), 0u);
    queue.push(3);
    queue.stop();
    int out = 0;
    ASSERT_TRUE(queue.pop(out));
    EXPECT_EQ(out, 3);
    EXPECT_FALSE(queue.pop(out));
}

TEST(CoreBlockingQueue, ProducersAndConsumersLoseNothingAndKeepEachProducersOrder) {
    constexpr int kProducers = 3;
    constexpr int kItems = 2000;
    BlockingQueue<std::pair<int, int>> queue(16); // bounded: producers must wait too
    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p) {
        producers.emplace_back([&, p] {
            for (int i = 0; i < kItems; ++i) {
                queue.push({p, i});
            }
        });
    }
    std::vector<int> next(kProducers, 0);
    bool ordered = true;
    std::thread consumer([&] {
        std::pair<int, int> item;
        while (queue.pop(item)) {
            ordered = ordered && item.second == next[item.first];
            next[item.first] = item.second + 1;
        }
    });
    for (auto& t : producers) {
        t.join();
    }
    queue.stop();
    consumer.join();
    EXPECT_TRUE(ordered);
    for (int p = 0; p < kProducers; ++p) {
        EXPECT_EQ(next[p], kItems);
    }
}

TEST(CoreBlockingQueue, SeveralProducersAndConsumersDeliverEveryItemExactlyOnce) {
    // Bounded (producers block on a full queue) and unbounded alike.
    for (const int capacity : {0, 8}) {
        constexpr int kProducers = 3;
        constexpr int kConsumers = 3;
        constexpr int kItems = 3000;
        BlockingQueue<std::pair<int, int>> queue(capacity);
        std::vector<std::vector<std::pair<int, int>>> received(kConsumers);
        std::vector<std::thread> consumers;
        for (int c = 0; c < kConsumers; ++c) {
            consumers.emplace_back([&, c] {
                std::pair<int, int> item;
                while (queue.pop(item)) {
                    received[c].push_back(item);
                }
            });
        }
        std::vector<std::thread> producers;
        for (int p = 0; p < kProducers; ++p) {
            producers.emplace_back([&, p] {
                for (int i = 0; i < kItems; ++i) {
                    queue.push({p, i});
                }
            });
        }
        for (auto& t : producers) {
            t.join();
        }
        // Consumers still waiting must drain what is left, then see the stop.
        queue.stop();
        for (auto& t : consumers) {
            t.join();
        }

        std::vector<std::vector<int>> deliveries(kProducers, std::vector<int>(kItems, 0));
        for (int c = 0; c < kConsumers; ++c) {
            std::vector<int> last(kProducers, -1);
            for (const auto& [p, i] : received[c]) {
                ASSERT_GE(p, 0);
                ASSERT_LT(p, kProducers);
                ASSERT_GE(i, 0);
                ASSERT_LT(i, kItems);
                ++deliveries[p][i];
                // First in, first out: one consumer sees each producer's
                // items in the order they were pushed.
                EXPECT_GT(i, last[p]) << "capacity " << capacity << ", consumer " << c;
                last[p] = i;
            }
        }
        int wrong = 0;
        for (int p = 0; p < kProducers; ++p) {
            for (int i = 0; i < kItems; ++i) {
                wrong += deliveries[p][i] != 1;
            }
        }
        EXPECT_EQ(wrong, 0) << "items lost or delivered twice, capacity " << capacity;
        EXPECT_EQ(queue.size(), 0u);
    }
}
