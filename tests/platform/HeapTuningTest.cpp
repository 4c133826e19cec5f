#include "engine/platform/HeapTuning.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <malloc.h>

namespace pyx::wrp {
namespace {

// A block of a frame buffer's size is served from the heap, not from a
// mapping of its own, and freeing it leaves the heap as large as it was, so
// the next frame's block costs no new pages.
TEST(PlatformHeapTuning, FrameSizedBlocksStayInTheHeap) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "sanitizer builds replace glibc's heap, whose settings this checks";
#endif
    HeapTuning::forSteadyFrames();
    constexpr std::size_t Size = 8u * 1024u * 1024u;
    const struct mallinfo2 before = mallinfo2();
    void* volatile block = std::malloc(Size);
    ASSERT_NE(block, nullptr);
    std::memset(block, 1, Size);
    const struct mallinfo2 during = mallinfo2();
    EXPECT_EQ(during.hblks, before.hblks) << "no mapping of its own";
    EXPECT_GE(during.arena, before.arena + Size);
    std::free(block);
    const struct mallinfo2 after = mallinfo2();
    EXPECT_EQ(after.arena, during.arena) << "the heap is not trimmed";
}

} // namespace
} // namespace pyx::wrp
