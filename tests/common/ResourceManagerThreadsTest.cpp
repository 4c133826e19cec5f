// The resource manager under concurrent use: several threads requesting,
// waiting for and decoding the same resources (from a mounted archive and
// from disk) while the loader thread works, and the manager dying on
// whichever thread drops the last handle while loads are still queued.

#include "engine/common/ResourceManager.hpp"
#include "engine/core/WeakSingleton.hpp"

#include "tests/ThreadBarrier.hpp"
#include "tests/common/ResourceTestSupport.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

using pyx::cmn::ResourceManager;
using pyx::test::Bytes;
using pyx::test::bytesOf;

namespace {

// Counts its loads and keeps the bytes it was given; a short pause in every
// load keeps the loader thread busy long enough for callers to overtake it.
class CountingResource : public pyx::cmn::ResourceTyped<Bytes> {
public:
    static int staticTypeId() { return pyx::core::UniqueTypeId<CountingResource>::value(); }
    int typeId() const override { return staticTypeId(); }

    bool loadFromFile(const std::wstring& path) override {
        if (path == L"gate") {
            std::unique_lock<std::mutex> lock(gateMutex);
            gateCondition.wait(lock, [] { return gateOpen; });
        }
        return loadFromMemory(pyx::test::readFile(std::filesystem::path(path)));
    }
    bool loadFromMemory(const std::vector<std::uint8_t>& bytes) override {
        loads.fetch_add(1);
        loadedOn = std::this_thread::get_id();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        m_value = bytes;
        return !bytes.empty();
    }

    static void openGate() {
        std::lock_guard<std::mutex> lock(gateMutex);
        gateOpen = true;
        gateCondition.notify_all();
    }

    std::atomic<int> loads{0};
    std::thread::id loadedOn;

    // Holds the loader thread inside the load of "gate" until opened.
    static inline std::mutex gateMutex;
    static inline std::condition_variable gateCondition;
    static inline bool gateOpen = false;
};

constexpr int kFiles = 30;

std::string diskContent(int i) {
    return "disk " + std::to_string(i);
}
std::string packedContent(int i) {
    return "packed " + std::to_string(i);
}

class ResourceManagerThreads : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<std::pair<std::wstring, Bytes>> entries;
        for (int i = 0; i < kFiles; ++i) {
            pyx::test::writeFile(dir.path() / ("f" + std::to_string(i) + ".bin"),
                                 bytesOf(diskContent(i)));
            entries.emplace_back(L"e" + std::to_wstring(i) + L".bin", bytesOf(packedContent(i)));
        }
        pyx::test::buildArchive(dir.path() / "pack.dat", entries);
    }

    std::wstring diskPath(int i) const { return dir.wide("f" + std::to_string(i) + ".bin"); }
    static std::wstring packedPath(int i) { return L"pack/e" + std::to_wstring(i) + L".bin"; }

    pyx::test::LogCapture log;
    pyx::test::TempDir dir;
};

} // namespace

TEST_F(ResourceManagerThreads, SeveralThreadsShareEveryResourceAndEachLoadsOnce) {
    constexpr int kThreads = 4;
    auto manager = std::make_unique<pyx::core::WeakSingleton<ResourceManager>>();
    ASSERT_TRUE((*manager)->mount(dir.wide("pack.dat"), L"pack"));

    // Per thread: what it was handed for each (kind, path), by request order.
    using Seen = std::map<std::pair<int, std::wstring>, std::shared_ptr<pyx::cmn::ResourceBase>>;
    std::vector<Seen> seen(kThreads);
    std::atomic<int> wrongContent{0};
    ironmoat::test::ThreadBarrier start(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            pyx::core::WeakSingleton<ResourceManager> handle;
            std::vector<int> order(kFiles);
            for (int i = 0; i < kFiles; ++i) {
                order[static_cast<std::size_t>(i)] = i;
            }
            std::shuffle(order.begin(), order.end(), std::mt19937(static_cast<unsigned>(t)));
            start.arrive_and_wait();
            for (const int i : order) {
                auto counted = handle->get<CountingResource>(diskPath(i));
                auto packed = handle->get<CountingResource>(packedPath(i));
                auto raw = handle->getRaw(packedPath(i));
                seen[t][{0, diskPath(i)}] = counted;
                seen[t][{0, packedPath(i)}] = packed;
                seen[t][{1, packedPath(i)}] = raw;
                // Half the threads wait at once (decoding themselves when
                // they overtake the loader), the others only at the end.
                if (t % 2 == 0) {
                    wrongContent += pyx::cmn::resourceValue(counted) != bytesOf(diskContent(i));
                    wrongContent += pyx::cmn::resourceValue(raw) != bytesOf(packedContent(i));
                }
            }
            for (const int i : order) {
                auto packed =
                    std::static_pointer_cast<CountingResource>(seen[t][{0, packedPath(i)}]);
                wrongContent += pyx::cmn::resourceValue(packed) != bytesOf(packedContent(i));
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrongContent.load(), 0);
    ASSERT_EQ(seen[0].size(), static_cast<std::size_t>(3 * kFiles));
    for (int t = 1; t < kThreads; ++t) {
        EXPECT_EQ(seen[t], seen[0]) << "thread " << t << " was handed other objects";
    }
    manager.reset(); // joins the loader: no load is under way any more
    for (const auto& [key, resource] : seen[0]) {
        if (key.first == 0) {
            const auto counted = std::static_pointer_cast<CountingResource>(resource);
            EXPECT_EQ(counted->loads.load(), 1)
                << std::string(key.second.begin(), key.second.end());
        }
    }
    EXPECT_EQ(log.countContaining(L"Failed to load resource \""), 0);
}

TEST_F(ResourceManagerThreads, LastHandleDroppedOnAWorkerWhileLoadsAreQueued) {
    // No handle outside the workers: the manager is created by the first of
    // them and destroyed by the last to leave. The loader thread is held at
    // a gate until every worker is about to leave, so the queue is still
    // full when the manager dies.
    constexpr int kThreads = 4;
    constexpr int kRequests = 150;
    for (int r = 0; r < kRequests; ++r) {
        pyx::test::writeFile(dir.path() / ("g" + std::to_string(r) + ".bin"),
                             bytesOf("g " + std::to_string(r)));
    }
    std::vector<std::vector<std::shared_ptr<CountingResource>>> kept(kThreads);
    ironmoat::test::ThreadBarrier start(kThreads);
    std::atomic<int> leaving{0};
    {
        std::lock_guard<std::mutex> lock(CountingResource::gateMutex);
        CountingResource::gateOpen = false;
    }
    std::shared_ptr<CountingResource> gate;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            pyx::core::WeakSingleton<ResourceManager> handle;
            if (t == 0) {
                gate = handle->get<CountingResource>(L"gate");
            }
            start.arrive_and_wait();
            for (int r = 0; r < kRequests; ++r) {
                // The same paths for every thread.
                kept[t].push_back(
                    handle->get<CountingResource>(dir.wide("g" + std::to_string(r) + ".bin")));
            }
            // Wait for one resource only (decoding it here, the loader being
            // held), then leave; the rest stays queued.
            pyx::cmn::resourceValue(kept[t][static_cast<std::size_t>(t)]);
            if (leaving.fetch_add(1) == kThreads - 1) {
                CountingResource::openGate();
            }
            handle.release();
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    // The manager is gone; everything requested must still decode, once,
    // the dropped loads on this thread.
    EXPECT_EQ(log.count(L"[INFO, ResourceManager] Resource Manager destroyed!"), 1);
    int notReady = 0;
    for (const auto& resource : kept[0]) {
        notReady += !resource->isReady();
    }
    EXPECT_GT(notReady, 0) << "the queue was empty when the manager died";
    std::map<std::wstring, std::shared_ptr<CountingResource>> unique;
    for (int t = 0; t < kThreads; ++t) {
        ASSERT_EQ(kept[t].size(), static_cast<std::size_t>(kRequests));
        for (int r = 0; r < kRequests; ++r) {
            const auto& resource = kept[t][static_cast<std::size_t>(r)];
            const auto at = unique.emplace(resource->path(), resource).first;
            EXPECT_EQ(at->second, resource) << "two objects for one path";
            EXPECT_EQ(pyx::cmn::resourceValue(resource), bytesOf("g " + std::to_string(r)));
        }
    }
    EXPECT_EQ(unique.size(), static_cast<std::size_t>(kRequests));
    int onThisThread = 0;
    for (const auto& [path, resource] : unique) {
        EXPECT_EQ(resource->loads.load(), 1) << std::string(path.begin(), path.end());
        onThisThread += resource->loadedOn == std::this_thread::get_id();
    }
    EXPECT_EQ(onThisThread, notReady);
    EXPECT_LE(gate->loads.load(), 1);
}
