#include "engine/core/IUniqueObject.hpp"

#include <atomic>

namespace pyx::core::_impl {

int nextTypeId() {
    // Function-local so that it is ready for ids drawn by any static initializer.
    static std::atomic<int> counter{0};
    return counter.fetch_add(1) + 1;
}

} // namespace pyx::core::_impl
