#include "engine/common/ResourceManager.hpp"
#include "engine/core/WeakSingleton.hpp"

#include "tests/common/ResourceTestSupport.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

using pyx::cmn::ResourceManager;
using pyx::cmn::ResourceRaw;
using pyx::test::Bytes;
using pyx::test::bytesOf;

namespace {

// A resource kind of the tests' own that records who loaded it, and can
// hold the loader thread inside a load until the test lets it go.
class ProbeResource : public pyx::cmn::ResourceTyped<int> {
public:
    static int staticTypeId() { return pyx::core::UniqueTypeId<ProbeResource>::value(); }
    int typeId() const override { return staticTypeId(); }

    bool loadFromFile(const std::wstring& path) override {
        loads.fetch_add(1);
        loaderThread = std::this_thread::get_id();
        if (path == L"gate") {
            std::unique_lock<std::mutex> lock(gateMutex);
            gateCondition.wait(lock, [] { return gateOpen(); });
        }
        if (path.find(L"throws") != std::wstring::npos) {
            throw std::runtime_error("decoder blew up");
        }
        m_value = 42;
        return true;
    }
    bool loadFromMemory(const std::vector<std::uint8_t>&) override { return loadFromFile(L""); }

    std::atomic<int> loads{0};
    std::thread::id loaderThread;

    // The gate opens when the test says so, or when `gateUntilEmpty` is set
    // and the manager's queue has been emptied.
    static bool gateOpen() {
        return gateReleased || (gateUntilEmpty != nullptr && gateUntilEmpty->queuedCount() == 0);
    }
    static void releaseGate() {
        std::lock_guard<std::mutex> lock(gateMutex);
        gateReleased = true;
        gateCondition.notify_all();
    }
    static void resetGate() {
        std::lock_guard<std::mutex> lock(gateMutex);
        gateReleased = false;
        gateUntilEmpty = nullptr;
    }

    static inline std::mutex gateMutex;
    static inline std::condition_variable gateCondition;
    static inline std::atomic<bool> gateReleased{false};
    static inline ResourceManager* gateUntilEmpty = nullptr;
};

class ResourceManagerTest : public ::testing::Test {
protected:
    ResourceManagerTest() { ProbeResource::resetGate(); }
    ~ResourceManagerTest() override {
        ProbeResource::releaseGate();
        manager.release();
    }

    static std::wstring failureLine(const std::wstring& path) {
        return L"Failed to load resource \"" + path + L"\".";
    }

    pyx::test::LogCapture log;
    pyx::test::TempDir dir;
    pyx::core::WeakSingleton<ResourceManager> manager;
};

} // namespace

TEST_F(ResourceManagerTest, OnePathAndClassGiveOneObjectAndOneLoad) {
    pyx::test::writeFile(dir.path() / "a.bin", bytesOf("abc"));
    const std::wstring path = dir.wide("a.bin");

    auto first = manager->get<ProbeResource>(path);
    auto second = manager->get<ProbeResource>(path);
    auto raw = manager->getRaw(path);
    auto rawAgain = manager->getRaw(path);
    ASSERT_TRUE(first);
    EXPECT_EQ(first, second);
    EXPECT_EQ(raw, rawAgain);
    EXPECT_NE(static_cast<void*>(first.get()), static_cast<void*>(raw.get()));
    EXPECT_EQ(first->path(), path);

    EXPECT_EQ(pyx::cmn::resourceValue(first), 42);
    EXPECT_EQ(pyx::cmn::resourceValue(raw), bytesOf("abc"));
    // Other spellings of the same file are separate resources with the same data.
    auto spelledOtherwise = manager->getRaw(dir.wide("./a.bin"));
    EXPECT_NE(spelledOtherwise, raw);
    EXPECT_EQ(pyx::cmn::resourceValue(spelledOtherwise), bytesOf("abc"));

    manager.release(); // joins the loader: no load can still be under way
    EXPECT_EQ(first->loads.load(), 1);
}

TEST_F(ResourceManagerTest, AWaitingCallerDecodesAFreshResourceItself) {
    auto gate = manager->get<ProbeResource>(L"gate");
    ASSERT_TRUE(pyx::test::eventually([&] { return gate->loads.load() == 1; }));
    // The loader thread is held inside the gate's load; the next resource
    // waits in the queue behind it.
    auto fresh = manager->get<ProbeResource>(dir.wide("fresh"));
    EXPECT_FALSE(fresh->isReady());

    fresh->waitUntilLoaded();
    EXPECT_TRUE(fresh->isReady());
    EXPECT_EQ(fresh->loaderThread, std::this_thread::get_id());
    EXPECT_EQ(fresh->value(), 42);

    ProbeResource::releaseGate();
    manager.release();
    EXPECT_EQ(fresh->loads.load(), 1) << "the loader thread must skip a taken load";
    EXPECT_NE(gate->loaderThread, std::this_thread::get_id());
    EXPECT_TRUE(gate->isReady());
}

TEST_F(ResourceManagerTest, AMissingFileEndsReadyAndEmptyWithOneFailureLine) {
    const std::wstring path = dir.wide("no/such/file.png");
    auto raw = manager->getRaw(path);
    auto again = manager->getRaw(path);
    EXPECT_TRUE(pyx::cmn::resourceValue(raw).empty());
    EXPECT_TRUE(raw->isReady());
    EXPECT_TRUE(pyx::cmn::resourceValue(again).empty());

    manager.release();
    const auto lines = log.lines();
    int failures = 0;
    for (const auto& line : lines) {
        if (line.find(L"Failed to load resource") != std::wstring::npos) {
            ++failures;
            // The plain line: thread prefix, no level word, no channel.
            EXPECT_EQ(line.rfind(L"THR ", 0), 0u) << std::string(line.begin(), line.end());
            EXPECT_EQ(line.substr(line.find(L": ") + 2), failureLine(path));
        }
    }
    EXPECT_EQ(failures, 1);
}

TEST_F(ResourceManagerTest, AnEmptyFileIsAnEmptyRawResourceWithoutFailure) {
    pyx::test::writeFile(dir.path() / "empty.txt", Bytes());
    auto raw = manager->getRaw(dir.wide("empty.txt"));
    EXPECT_TRUE(pyx::cmn::resourceValue(raw).empty());
    manager.release();
    EXPECT_EQ(log.count(failureLine(dir.wide("empty.txt"))), 0);
}

TEST_F(ResourceManagerTest, AnEmptyHandleThrowsNullResourceException) {
    std::shared_ptr<ResourceRaw> none;
    std::shared_ptr<pyx::gfx::ResourceSfTexture> noTexture;
    std::shared_ptr<pyx::gfx::ResourceSfFont> noFont;
    for (int kind = 0; kind < 3; ++kind) {
        try {
            if (kind == 0) {
                pyx::cmn::resourceValue(none);
            } else if (kind == 1) {
                pyx::cmn::resourceValue(noTexture);
            } else {
                pyx::cmn::resourceValue(noFont);
            }
            ADD_FAILURE() << "no exception for kind " << kind;
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "Null resource exception");
        }
    }
}

TEST_F(ResourceManagerTest, AThrowingLoadStillEndsReadyAndTheLoaderGoesOn) {
    // Once on the loader thread...
    auto onLoader = manager->get<ProbeResource>(L"throws");
    pyx::test::writeFile(dir.path() / "after.bin", bytesOf("after"));
    auto after = manager->get<ProbeResource>(dir.wide("after.bin"));
    ASSERT_TRUE(pyx::test::eventually([&] { return after->isReady(); }))
        << "the loader thread stopped after a throwing load";
    EXPECT_TRUE(onLoader->isReady());
    onLoader->waitUntilLoaded(); // must not block
    EXPECT_EQ(onLoader->loads.load(), 1);

    // ...and once on a waiting caller's thread, behind a held loader.
    auto gate = manager->get<ProbeResource>(L"gate");
    ASSERT_TRUE(pyx::test::eventually([&] { return gate->loads.load() == 1; }));
    auto retry = manager->get<ProbeResource>(L"throws");
    EXPECT_EQ(retry, onLoader) << "a failed resource is cached, never retried";
    auto second = manager->get<ProbeResource>(L"throws/../throws");
    EXPECT_NO_THROW(second->waitUntilLoaded());
    EXPECT_TRUE(second->isReady());
    ProbeResource::releaseGate();
    manager.release();
    EXPECT_EQ(log.count(failureLine(L"throws")), 1);
    EXPECT_EQ(log.count(failureLine(L"throws/../throws")), 1);
}

TEST_F(ResourceManagerTest, DestructionDropsTheQueueAndLaterUseDecodesOnTheCaller) {
    pyx::test::writeFile(dir.path() / "x.bin", bytesOf("x"));
    auto gate = manager->get<ProbeResource>(L"gate");
    ASSERT_TRUE(pyx::test::eventually([&] { return gate->loads.load() == 1; }));
    std::vector<std::shared_ptr<ProbeResource>> queued;
    for (int i = 0; i < 3000; ++i) {
        queued.push_back(
            manager->get<ProbeResource>(dir.wide("x.bin") + L"?" + std::to_wstring(i)));
    }
    auto raw = manager->getRaw(dir.wide("x.bin"));
    EXPECT_EQ(manager->queuedCount(), 3001u);
    {
        // From now on the gate opens as soon as the queue is empty, which
        // only the destructor's clearing can bring about.
        std::lock_guard<std::mutex> lock(ProbeResource::gateMutex);
        ProbeResource::gateUntilEmpty = manager.get();
    }
    std::thread poke([] {
        // The gate's waiter has to re-check its condition once the queue is
        // empty; wake it until it has left.
        while (!ProbeResource::gateReleased) {
            {
                std::lock_guard<std::mutex> lock(ProbeResource::gateMutex);
                ProbeResource::gateCondition.notify_all();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    manager.release();
    ProbeResource::releaseGate();
    poke.join();

    EXPECT_EQ(log.count(L"[INFO, ResourceManager] Resource Manager destroyed!"), 1);
    int loaded = 0;
    for (const auto& r : queued) {
        loaded += r->loads.load();
    }
    EXPECT_EQ(loaded, 0) << "queued resources must be dropped, not loaded, at shutdown";
    EXPECT_FALSE(raw->isReady());
    // A handle kept past the manager still gets its content, on this thread.
    EXPECT_EQ(pyx::cmn::resourceValue(raw), bytesOf("x"));
    EXPECT_EQ(queued.front()->value(), 42);
    EXPECT_EQ(queued.front()->loaderThread, std::this_thread::get_id());
}

TEST_F(ResourceManagerTest, ManyThreadsRequestingOnePathShareOneLoad) {
    pyx::test::writeFile(dir.path() / "shared.bin", bytesOf("shared"));
    const std::wstring path = dir.wide("shared.bin");
    std::vector<std::shared_ptr<ProbeResource>> seen(4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            pyx::core::WeakSingleton<ResourceManager> handle;
            seen[t] = handle->get<ProbeResource>(path);
            seen[t]->waitUntilLoaded();
            EXPECT_EQ(pyx::cmn::resourceValue(handle->getRaw(path)), bytesOf("shared"));
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (const auto& r : seen) {
        EXPECT_EQ(r, seen.front());
    }
    manager.release();
    EXPECT_EQ(seen.front()->loads.load(), 1);
}
