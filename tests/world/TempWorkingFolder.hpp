#pragma once

#include "tests/TempFolder.hpp"
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace ironmoat::test {

// A fresh temporary folder made the working directory for the lifetime of
// the object (game paths are resolved against the working directory); the
// previous working directory is restored and the folder removed afterwards.
class TempWorkingFolder {
public:
    TempWorkingFolder() {
        m_folder = ironmoat::test::makeTempFolder("ironmoat-world-");
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_folder);
    }

    ~TempWorkingFolder() {
        if (m_folder.empty()) {
            return;
        }
        std::filesystem::current_path(m_previous);
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    TempWorkingFolder(const TempWorkingFolder&) = delete;
    TempWorkingFolder& operator=(const TempWorkingFolder&) = delete;

    // Writes the bytes to a file below the folder, making its parents.
    static void writeFile(const std::filesystem::path& path, const std::string& bytes) {
        if (path.has_parent_path()) {
            std::filesystem::create_directories(path.parent_path());
        }
        std::ofstream out(path, std::ios::binary);
        out << bytes;
    }

private:
    std::filesystem::path m_folder;
    std::filesystem::path m_previous;
};

} // namespace ironmoat::test
