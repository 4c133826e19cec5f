#pragma once

#include <atomic>

namespace ironmoat::cmn {

// The five command flags a controller hands its tank. They are held signals,
// not events: a flag stays set for as long as the controller keeps setting
// it. Atomic so that a reader without the world lock still sees whole values.
struct ControlFlags {
    std::atomic<bool> left{false};
    std::atomic<bool> right{false};
    std::atomic<bool> up{false};
    std::atomic<bool> down{false};
    std::atomic<bool> fire{false};
};

} // namespace ironmoat::cmn
