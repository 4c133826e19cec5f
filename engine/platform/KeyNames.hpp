#pragma once

#include <map>
#include <string>

namespace pyx::wrp {

// The name table of the key codes: every code from -1 ("Unknown") to 100
// named after its key, except V (21) and Escape (36), which have no entry.
std::map<int, std::wstring> buildKeyNames();

} // namespace pyx::wrp
