#pragma once

// A fresh folder with a unique name under the system's temporary directory,
// made the same way on every platform (Windows has no mkdtemp).

#include <filesystem>
#include <random>
#include <string>

namespace ironmoat::test {

inline std::filesystem::path makeTempFolder(const std::string& prefix) {
    thread_local std::mt19937_64 pick{std::random_device{}()};
    for (;;) {
        const std::filesystem::path candidate =
            std::filesystem::temp_directory_path() / (prefix + std::to_string(pick()));
        if (std::filesystem::create_directory(candidate)) {
            return candidate;
        }
    }
}

} // namespace ironmoat::test
