// Path normalization: no input may crash it, and a normalized path is a fixed
// point (normalizing it again changes nothing), which the mounts and the
// archive index rely on when they compare names exactly.

#include "engine/core/Utf8.hpp"
#include "engine/platform/Path.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::wstring path = pyx::core::utf8ToWide(text);
    const std::wstring once = pyx::wrp::normalizePath(path);
    const std::wstring twice = pyx::wrp::normalizePath(once);
    if (once != twice) {
        std::fprintf(stderr, "normalizePath is not idempotent\n");
        std::abort();
    }
    if (path.empty() != once.empty() && path.empty()) {
        std::fprintf(stderr, "normalizePath made a path out of nothing\n");
        std::abort();
    }
    if (once.find(L'/') != std::wstring::npos) {
        std::fprintf(stderr, "normalizePath left a forward slash\n");
        std::abort();
    }
    // The other helpers must not crash either.
    (void)pyx::wrp::toBackslashes(path);
    (void)pyx::wrp::directoryOf(path);
    return 0;
}
