#pragma once

namespace pyx::core {

// Base for classes whose objects own something that must not be duplicated.
class NonCopyable {
public:
    NonCopyable(const NonCopyable&) = delete;
    NonCopyable& operator=(const NonCopyable&) = delete;

protected:
    NonCopyable() = default;
    ~NonCopyable() = default;
};

} // namespace pyx::core
