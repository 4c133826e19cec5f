#pragma once

#include <optional>
#include <string>

namespace ironmoat::tools {

// The whole content of a file, or nothing when it cannot be opened.
std::optional<std::string> readWholeFile(const std::string& path);

} // namespace ironmoat::tools
