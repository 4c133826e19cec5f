// Conversions between UTF-8 and wide text: no input may crash them, and text
// that is valid UTF-8 must come back byte for byte.

#include "engine/core/Utf8.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Strict UTF-8: shortest forms only, no surrogates, nothing above 0x10FFFF.
bool isValidUtf8(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t length = 0;
        std::uint32_t cp = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            cp = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            cp = b & 0x07;
        } else {
            return false;
        }
        if (i + length > s.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if ((length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000) || cp > 0x10FFFF ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::wstring wide = pyx::core::utf8ToWide(text);
    const std::string back = pyx::core::wideToUtf8(wide);
    if (isValidUtf8(text) && back != text) {
        std::fprintf(stderr, "UTF-8 round trip changed valid text\n");
        std::abort();
    }

    // The same bytes read as wide units (including surrogates and values above
    // 0x10FFFF) must convert without a crash, and what comes out is valid.
    std::wstring units;
    for (std::size_t i = 0; i + 4 <= size; i += 4) {
        std::uint32_t unit = 0;
        for (int k = 0; k < 4; ++k)
            unit |= static_cast<std::uint32_t>(data[i + k]) << (8 * k);
        units.push_back(static_cast<wchar_t>(unit));
    }
    const std::string narrow = pyx::core::wideToUtf8(units);
    if (!isValidUtf8(narrow)) {
        std::fprintf(stderr, "wideToUtf8 produced invalid UTF-8\n");
        std::abort();
    }
    return 0;
}
