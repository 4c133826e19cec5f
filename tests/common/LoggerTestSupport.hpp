#pragma once

// Helpers for tests that run a real logger: a temporary working folder
// (the logger resolves "logs" against it) and a capture of standard error.

#include <gtest/gtest.h>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif
#include "tests/TempFolder.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>

namespace ironmoat_test {

class TempWorkDir {
public:
    explicit TempWorkDir(bool withLogsFolder = true) {
        m_previous = std::filesystem::current_path();
        m_path = ironmoat::test::makeTempFolder("pyxlog");
        if (withLogsFolder) {
            std::filesystem::create_directory(m_path / "logs");
        }
        std::filesystem::current_path(m_path);
    }
    ~TempWorkDir() {
        std::filesystem::current_path(m_previous);
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempWorkDir(const TempWorkDir&) = delete;
    TempWorkDir& operator=(const TempWorkDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }

    // Names of the files in "logs", sorted.
    std::vector<std::string> logFiles() const {
        std::vector<std::string> names;
        if (!std::filesystem::exists(m_path / "logs")) {
            return names;
        }
        for (const auto& e : std::filesystem::directory_iterator(m_path / "logs")) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_path;
};

// A text file as the platform's text streams read it: the log file is
// written in text mode, so its lines end in CR LF on Windows.
inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    return lines;
}

// Redirects file descriptor 2 into a temporary file while alive. The file
// is written in append mode and read through a handle of its own: reading
// moves no offset that the logger thread's writes depend on, so a peek while
// it writes cannot make a later line land over an earlier one.
class StderrCapture {
public:
    StderrCapture() {
        m_path = ironmoat::test::makeTempFolder("pyxerr") / "stderr.txt";
        std::fflush(stderr);
#ifdef _WIN32
        const int fd = _open(m_path.string().c_str(), _O_WRONLY | _O_CREAT | _O_APPEND | _O_BINARY,
                             _S_IREAD | _S_IWRITE);
#else
        const int fd = open(m_path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
#endif
        EXPECT_GE(fd, 0) << "cannot create " << m_path;
        m_saved = dup(2);
        dup2(fd, 2);
        close(fd);
    }
    ~StderrCapture() {
        restore();
        std::error_code ignored;
        std::filesystem::remove_all(m_path.parent_path(), ignored);
    }
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    // Stops capturing and returns what was written.
    std::string finish() {
        restore();
        return peek();
    }

    // What was written so far; standard error is a text stream, so on
    // Windows every line break reached it as CR LF, returned as LF.
    std::string peek() {
        std::fflush(stderr);
        std::ifstream in(m_path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        std::string text = bytes.str();
#ifdef _WIN32
        std::string lf;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
                lf += text[i];
            }
        }
        text = lf;
#endif
        return text;
    }

private:
    void restore() {
        if (m_saved >= 0) {
            std::fflush(stderr);
            dup2(m_saved, 2);
            close(m_saved);
            m_saved = -1;
        }
    }
    std::filesystem::path m_path;
    int m_saved = -1;
};

// The operating system's id of the calling thread, as the logger prints it.
inline unsigned long osThreadId() {
#ifdef _WIN32
    return static_cast<unsigned long>(GetCurrentThreadId());
#else
    return static_cast<unsigned long>(gettid());
#endif
}

inline std::string threadPrefix() {
    return "THR " + std::to_string(osThreadId()) + ": ";
}

} // namespace ironmoat_test
