#include "engine/core/BlockingQueue.hpp"

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <thread>
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
