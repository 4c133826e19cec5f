#include "engine/core/Assert.hpp"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace pyx::core::_impl {
namespace {

// Drops what a build adds in front of a source path when it names it
// relative to its build folder ("../", "../../", "./"), so that the same
// file compiled from different folders starts the same way.
std::string_view withoutLeadingUps(std::string_view path) {
    for (;;) {
        if (path.starts_with("../") || path.starts_with("..\\")) {
            path.remove_prefix(3);
        } else if (path.starts_with("./") || path.starts_with(".\\")) {
            path.remove_prefix(2);
        } else {
            return path;
        }
    }
}

bool sameSeparated(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] == '\\' ? '/' : a[i];
        const char y = b[i] == '\\' ? '/' : b[i];
        if (x != y) {
            return false;
        }
    }
    return true;
}

} // namespace

void shortSourcePath(const char* file, const char* rootMarker, const char* rootMarkerBelowRoot,
                     char* out, std::size_t capacity) noexcept {
    if (capacity == 0) {
        return;
    }
    std::string_view path = withoutLeadingUps(file);
    std::string_view marker = withoutLeadingUps(rootMarker);
    const std::string_view below = rootMarkerBelowRoot;
    if (marker.size() >= below.size() &&
        sameSeparated(marker.substr(marker.size() - below.size()), below)) {
        const std::string_view root = marker.substr(0, marker.size() - below.size());
        if (path.size() > root.size() && sameSeparated(path.substr(0, root.size()), root)) {
            path.remove_prefix(root.size());
        }
    }
    if (path.starts_with("engine/") || path.starts_with("engine\\")) {
        path.remove_prefix(7);
    }
    const std::size_t separator = path.find_last_of("/\\");
    const std::size_t dot = path.find_last_of('.');
    if (dot != std::string_view::npos && (separator == std::string_view::npos || dot > separator)) {
        path = path.substr(0, dot);
    }
    std::size_t n = 0;
    for (; n < path.size() && n + 1 < capacity; ++n) {
        const char c = path[n];
        out[n] = c == '\\' ? '/' : (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
    out[n] = '\0';
}

void assertionFailed(const char* expression, const char* file, int line) noexcept {
    // This file's own path, as the build spelt it, tells where the project's
    // root is in every other path of the same build.
    char shortPath[512];
    shortSourcePath(file, __FILE__, "engine/core/Assert.cpp", shortPath, sizeof shortPath);
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", expression, shortPath, line);
    std::fflush(stderr);
    std::abort();
}

} // namespace pyx::core::_impl
