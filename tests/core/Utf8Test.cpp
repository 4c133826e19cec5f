#include "engine/core/Utf8.hpp"

#include <gtest/gtest.h>

using pyx::core::utf8ToWide;
using pyx::core::wideToUtf8;

TEST(CoreUtf8, EncodesEachLengthClass) {
    EXPECT_EQ(wideToUtf8(L"Archive"), "Archive");
    EXPECT_EQ(wideToUtf8(std::wstring(1, wchar_t(0xE9))), "\xC3\xA9");
    EXPECT_EQ(wideToUtf8(std::wstring(1, wchar_t(0x20AC))), "\xE2\x82\xAC");
    // Beyond 16 bits: one unit where wchar_t has 32 bits, a surrogate pair
    // where it has 16 (Windows).
    const std::wstring beyond = sizeof(wchar_t) >= 4
                                    ? std::wstring(1, static_cast<wchar_t>(0x1F600))
                                    : std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)};
    EXPECT_EQ(wideToUtf8(beyond), "\xF0\x9F\x98\x80");
    EXPECT_EQ(wideToUtf8(std::wstring{wchar_t(0x7F), wchar_t(0x80), wchar_t(0x7FF), wchar_t(0x800),
                                      wchar_t(0xFFFF)}),
              "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF");
}

TEST(CoreUtf8, JoinsSurrogatePairsAndStopsAtUnpairedOnes) {
    EXPECT_EQ(wideToUtf8(std::wstring{L'a', wchar_t(0xD83D), wchar_t(0xDE00), L'b'}),
              "a\xF0\x9F\x98\x80"
              "b");
    // Lone low surrogate in the middle.
    EXPECT_EQ(wideToUtf8(std::wstring{L'a', L'b', wchar_t(0xDC00), L'c'}), "ab");
    // High surrogate followed by something else.
    EXPECT_EQ(wideToUtf8(std::wstring{L'a', wchar_t(0xD800), L'c'}), "a");
    // High surrogate at the end.
    EXPECT_EQ(wideToUtf8(std::wstring{L'x', wchar_t(0xDBFF)}), "x");
}

TEST(CoreUtf8, StopsAtAUnitBeyondTheCodeSpace) {
    if (sizeof(wchar_t) < 4) {
        GTEST_SKIP() << "16-bit wide characters cannot hold such a unit";
    }
    EXPECT_EQ(wideToUtf8(std::wstring{L'o', L'k', static_cast<wchar_t>(0x110000), L'z'}), "ok");
}

TEST(CoreUtf8, DecodesToOneUnitPerCodePoint) {
    EXPECT_EQ(utf8ToWide("ironmoat/maps"), L"ironmoat/maps");
    const std::wstring smiley = utf8ToWide("\xF0\x9F\x98\x80");
    if (sizeof(wchar_t) >= 4) {
        EXPECT_EQ(smiley, std::wstring(1, wchar_t(0x1F600)));
    } else {
        EXPECT_EQ(smiley, (std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)}));
    }
    EXPECT_EQ(utf8ToWide("\xC3\xA9t\xC3\xA9"), (std::wstring{wchar_t(0xE9), L't', wchar_t(0xE9)}));
}

TEST(CoreUtf8, DecodesMalformedInputLeniently) {
    // A continuation byte without a lead yields its own low 6 bits.
    EXPECT_EQ(utf8ToWide("\xA1"), std::wstring(1, wchar_t(0x21)));
    // Overlong forms decode as they come: C1 81 is 'A'.
    EXPECT_EQ(utf8ToWide("\xC1\x81"), L"A");
    // An encoded surrogate (ED A0 80 = D800) is dropped.
    EXPECT_EQ(utf8ToWide("a\xED\xA0\x80z"), L"az");
    // A value above 0x10FFFF is dropped, also at the end of the input.
    EXPECT_EQ(utf8ToWide("a\xF7\xBF\xBF\xBFz"), L"az");
    EXPECT_EQ(utf8ToWide("a\xF7\xBF\xBF\xBF"), L"a");
    // Ever more continuation bytes after an out-of-range value must not wrap
    // it around into a character (least of all U+0000).
    EXPECT_EQ(utf8ToWide("a\xF4\x90\x80\x80\x80\x80\x80\x80\x80\x80z"), L"az");
}

TEST(CoreUtf8, ValidTextSurvivesARoundTrip) {
    std::wstring all;
    for (std::uint32_t cp = 1; cp <= 0x10FFFF; cp += (cp < 0x3000 ? 1 : 97)) {
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            continue;
        }
        if (cp > 0xFFFF && sizeof(wchar_t) < 4) {
            const std::uint32_t v = cp - 0x10000;
            all += static_cast<wchar_t>(0xD800 + (v >> 10));
            all += static_cast<wchar_t>(0xDC00 + (v & 0x3FF));
        } else {
            all += static_cast<wchar_t>(cp);
        }
    }
    const std::string bytes = wideToUtf8(all);
    EXPECT_EQ(utf8ToWide(bytes), all);
    const std::string text =
        "Dunmark-level-07 \xE2\x80\x94 \xC3\xA6\xC3\xB8\xC3\xA5 \xF0\x90\x8D\x88";
    EXPECT_EQ(wideToUtf8(utf8ToWide(text)), text);
}
