#pragma once

// Path helpers shared by the file driver, the file finder and the mounts.
// Both "/" and "\" separate components; comparisons elsewhere are exact and
// case-sensitive, so these helpers never change letter case.

#include <string>

namespace pyx::wrp {

// Collapses doubled separators, "." and ".." components and joins the result
// with "\". Leading separators are kept as that many backslashes; a ".." that
// would climb above a drive ("C:") is dropped. An empty path stays empty.
std::wstring normalizePath(const std::wstring& path);

// Every "/" replaced by "\"; nothing else changes.
std::wstring toBackslashes(const std::wstring& path);

// The path up to and including its last separator, or "" if it has none.
std::wstring directoryOf(const std::wstring& path);

} // namespace pyx::wrp
