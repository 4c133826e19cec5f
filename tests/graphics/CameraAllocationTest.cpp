#include "engine/graphics/Camera.hpp"
#include "tests/graphics/RenderTestSupport.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

// Counts the allocations made through operator new while a test asks for it
// (this replaces the program's operator new for the whole suite; outside the
// counted stretch it only forwards to malloc).
// Sanitizer builds own the allocator and pair every block with the call that
// made it, so the count is taken only in plain builds.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define IRONMOAT_COUNT_ALLOCATIONS 0
#else
#define IRONMOAT_COUNT_ALLOCATIONS 1
#endif

namespace {
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};
} // namespace

#if IRONMOAT_COUNT_ALLOCATIONS
void* operator new(std::size_t size) {
    if (counting.load(std::memory_order_relaxed))
        allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size == 0 ? 1 : size))
        return block;
    throw std::bad_alloc();
}
// The replacements pair malloc with free; GCC, seeing them inlined into
// code that used new, cannot tell and warns.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
#endif

namespace {

// Every frame the window tree pushes and pops a transform per nested window;
// once the stack has been that deep, frames must not allocate for it.
TEST(GraphicsCameraStack, PushingAndPoppingAFrameTreeAllocatesNothing) {
    if (!IRONMOAT_COUNT_ALLOCATIONS)
        GTEST_SKIP() << "the sanitizer's allocator cannot be counted";
    auto window = pyx::gfx::test::makeWindow(200, 100);
    pyx::gfx::Camera camera(window, true);
    pyx::core::Transformable3 step;
    step.setPosition(-3.0f, -2.0f);
    constexpr int Depth = 9;
    auto frame = [&] {
        for (int i = 0; i < Depth; ++i)
            camera.pushTransform(step);
        for (int i = 0; i < Depth; ++i)
            camera.popTransform();
    };
    frame(); // the stack grows to the tree's depth once

    allocations = 0;
    counting = true;
    for (int i = 0; i < 100; ++i)
        frame();
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
    EXPECT_EQ(camera.transformDepth(), 0u);
}

} // namespace
