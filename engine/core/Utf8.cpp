#include "engine/core/Utf8.hpp"

#include <cstdint>

namespace pyx::core {

namespace {

constexpr std::uint32_t kMaxCodePoint = 0x10FFFF;

bool isHighSurrogate(std::uint32_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(std::uint32_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void appendWide(std::wstring& out, std::uint32_t cp) {
    if (cp > kMaxCodePoint || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return;
    }
    if (cp < 0x10000 || sizeof(wchar_t) >= 4) {
        // A 32-bit wide character holds every code point in one unit.
        out += static_cast<wchar_t>(cp);
    } else {
        out += static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
        out += static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
}

} // namespace

std::string wideToUtf8(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto unit = static_cast<std::uint32_t>(text[i]);
        std::uint32_t cp = unit;
        if (isHighSurrogate(unit)) {
            if (i + 1 >= text.size() || !isLowSurrogate(static_cast<std::uint32_t>(text[i + 1]))) {
                break;
            }
            cp = 0x10000 + ((unit - 0xD800) << 10) +
                 (static_cast<std::uint32_t>(text[i + 1]) - 0xDC00);
            ++i;
        } else if (isLowSurrogate(unit) || unit > kMaxCodePoint) {
            // Four UTF-8 bytes cannot carry more than 21 bits: a larger unit
            // is as unconvertible as a lone surrogate.
            break;
        }
        appendUtf8(out, cp);
    }
    return out;
}

std::wstring utf8ToWide(const std::string& text) {
    std::wstring out;
    out.reserve(text.size());
    std::uint32_t value = 0;
    bool pending = false;
    for (char ch : text) {
        const auto b = static_cast<std::uint8_t>(ch);
        if (b >= 0x80 && b <= 0xBF) {
            // Once a value is out of range it stays out of range: shifting on
            // would push its high bits out and could turn garbage into a
            // valid-looking character such as U+0000.
            if (value <= kMaxCodePoint) {
                value = (value << 6) | (b & 0x3F);
            }
            pending = true;
            continue;
        }
        // Any other byte starts a new code point; an out-of-range value in
        // progress is discarded by appendWide.
        if (pending) {
            appendWide(out, value);
        }
        if (b < 0x80) {
            value = b;
        } else if (b <= 0xDF) {
            value = b & 0x1F;
        } else if (b <= 0xEF) {
            value = b & 0x0F;
        } else {
            value = b & 0x07;
        }
        pending = true;
    }
    if (pending) {
        appendWide(out, value);
    }
    return out;
}

} // namespace pyx::core
