#include "engine/platform/HeapTuning.hpp"

// Any C library header defines __GLIBC__ when the library is glibc.
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace pyx::wrp {

void HeapTuning::forSteadyFrames() {
#if defined(__GLIBC__)
    // 32 MiB is the largest mmap threshold glibc accepts on 64-bit systems;
    // setting it also turns off the allocator's own threshold adjustment.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
#endif
}

} // namespace pyx::wrp
