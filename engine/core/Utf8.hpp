#pragma once

#include <string>

namespace pyx::core {

// Converts wide text to UTF-8. A surrogate pair is joined into one code
// point; an unpaired surrogate or a unit above 0x10FFFF ends the
// conversion, and the result holds what came before it.
std::string wideToUtf8(const std::wstring& text);

// Converts UTF-8 to wide text, leniently: stray continuation bytes and
// overlong forms decode as they come, values that are surrogates or lie
// above 0x10FFFF are dropped. ASCII converts byte for byte.
std::wstring utf8ToWide(const std::string& text);

} // namespace pyx::core
