#include "tools/mapcheck/LevelFile.hpp"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace ironmoat::tools {

std::optional<std::string> readWholeFile(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes{std::istreambuf_iterator<char>(in), {}};
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace ironmoat::tools
