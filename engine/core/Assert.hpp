#pragma once

// Fatal precondition checks. They stay on in release builds: a broken
// precondition is a programming error, and running on would only move the
// damage somewhere harder to find. The check itself costs one test; the
// source path is shortened only once it has failed.

#include <cstddef>

namespace pyx::core::_impl {

// Reports "Assertion failed: EXPR, file FILE, line LINE" on standard error
// and aborts the process. FILE is the source's short path (see below).
[[noreturn]] void assertionFailed(const char* expression, const char* file, int line) noexcept;

// Writes to `out` (always terminated, cut to `capacity`) the short path of
// `file`, a source path as the compiler saw it: its path below the project's
// root, lower case, without extension; engine sources also drop "engine/",
// so engine/common/TickTimerServer.cpp reads "common/ticktimerserver" and
// game/world/Terrain.cpp "game/world/terrain". `rootMarker` is the path the
// compiler saw for a file whose path below the root is `rootMarkerBelowRoot`;
// whatever comes before that in it is the root as this build spells it.
void shortSourcePath(const char* file, const char* rootMarker, const char* rootMarkerBelowRoot,
                     char* out, std::size_t capacity) noexcept;

} // namespace pyx::core::_impl

#define PYX_ASSERT(expr)                                                                           \
    ((expr) ? static_cast<void>(0) : ::pyx::core::_impl::assertionFailed(#expr, __FILE__, __LINE__))
