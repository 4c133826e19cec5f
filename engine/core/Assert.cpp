#include "engine/core/Assert.hpp"

#include <cstdio>
#include <cstdlib>

namespace pyx::core::_impl {

void assertionFailed(const char* expression, const char* file, int line) noexcept {
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", expression, file, line);
    std::fflush(stderr);
    std::abort();
}

} // namespace pyx::core::_impl
