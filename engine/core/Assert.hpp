#pragma once

// Fatal precondition checks. They stay on in release builds: a broken
// precondition is a programming error, and running on would only move the
// damage somewhere harder to find.

namespace pyx::core::_impl {

// Reports "Assertion failed: EXPR, file FILE, line LINE" on standard error
// and aborts the process.
[[noreturn]] void assertionFailed(const char* expression, const char* file, int line) noexcept;

} // namespace pyx::core::_impl

#define PYX_ASSERT(expr)                                                                           \
    ((expr) ? static_cast<void>(0) : ::pyx::core::_impl::assertionFailed(#expr, __FILE__, __LINE__))
