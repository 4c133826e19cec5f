#pragma once

namespace pyx::wrp {

// Settings of the C library's allocator for a program that draws frames at a
// steady rate. The OpenGL driver allocates and frees buffers of up to a few
// megabytes every frame; with the allocator's defaults each of them is a
// fresh memory mapping (or a trim of the heap) and comes back as page faults
// in the next frame. Kept in the heap instead, the same memory serves every
// frame.
class HeapTuning {
public:
    // Blocks below 32 MiB come from the heap, and the heap keeps up to 64 MiB
    // of free memory at its top instead of returning it to the system. Call
    // once at start-up, before the window opens. Does nothing where the C
    // library has no such settings.
    static void forSteadyFrames();
};

} // namespace pyx::wrp
