#pragma once

// Real files, real archives and the real logger for the mount and resource
// tests: a private temporary folder per test, archives written through
// pyx::cmn::Archive, and log lines read back from the logger's history.

#include "engine/common/Archive.hpp"
#include "engine/common/Logger.hpp"
#include "engine/common/LoggerSettings.hpp"
#include "engine/core/WeakSingleton.hpp"
#include "tests/TempFolder.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace pyx::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

inline void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

inline Bytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh folder under the system's temporary folder, removed afterwards.
class TempDir {
public:
    TempDir() { m_path = ironmoat::test::makeTempFolder("ironmoat-res-"); }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::wstring wide(const std::string& relative = std::string()) const {
        return relative.empty() ? m_path.wstring() : (m_path / relative).wstring();
    }

private:
    std::filesystem::path m_path;
};

// Writes an archive at path holding the given (entry name, bytes) pairs.
inline void buildArchive(const std::filesystem::path& path,
                         const std::vector<std::pair<std::wstring, Bytes>>& entries) {
    std::filesystem::remove(path);
    pyx::cmn::Archive archive;
    archive.open(path.wstring(), false); // creates the empty file
    ASSERT_TRUE(archive.isOpen()) << path;
    for (const auto& [name, bytes] : entries) {
        ASSERT_TRUE(archive.addBytes(name, bytes));
    }
    ASSERT_TRUE(archive.commit());
    archive.close();
}

// Flips one data byte of the named entry, so its CRC check fails.
inline void corruptEntry(const std::filesystem::path& path, const std::wstring& name) {
    pyx::cmn::Archive archive;
    ASSERT_TRUE(archive.open(path.wstring(), true));
    std::uint64_t position = 0;
    bool found = false;
    for (const auto& entry : archive.entries()) {
        if (entry.name == name) {
            ASSERT_GT(entry.size, 0u);
            position = std::uint64_t(archive.dataBase()) + entry.offset;
            found = true;
            break;
        }
    }
    archive.close();
    ASSERT_TRUE(found);
    Bytes content = readFile(path);
    content[position] ^= 0x5A;
    writeFile(path, content);
}

// Keeps a logger with a history for the test, so that lines can be
// counted; nothing is written to log files.
class LogCapture {
public:
    LogCapture() {
        m_settings->setHistorySize(100000);
        m_settings->clearFileOutput();
        // Only now: the logger sizes its history when it is created.
        m_logger.emplace();
    }

    // The lines logged so far. Everything written before the call on any
    // thread whose writes happen-before it is included: a marker line is
    // written and waited for.
    std::vector<std::wstring> lines() {
        const std::wstring marker = L"-- log marker " + std::to_wstring(++m_markers) + L" --";
        (*m_logger)->write(marker);
        for (int attempt = 0; attempt < 6000; ++attempt) {
            std::vector<std::wstring> all = (*m_logger)->history();
            for (std::size_t i = 0; i < all.size(); ++i) {
                if (all[i].size() >= marker.size() &&
                    all[i].compare(all[i].size() - marker.size(), marker.size(), marker) == 0) {
                    all.resize(i);
                    return all;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ADD_FAILURE() << "the logger never wrote the marker line";
        return {};
    }

    // Number of lines ending with text.
    int count(const std::wstring& text) {
        int n = 0;
        for (const auto& line : lines()) {
            if (line.size() >= text.size() &&
                line.compare(line.size() - text.size(), text.size(), text) == 0) {
                ++n;
            }
        }
        return n;
    }

    // Number of lines holding text anywhere.
    int countContaining(const std::wstring& text) {
        int n = 0;
        for (const auto& line : lines()) {
            n += line.find(text) != std::wstring::npos;
        }
        return n;
    }

private:
    pyx::core::WeakSingleton<pyx::cmn::LoggerSettings> m_settings;
    std::optional<pyx::core::WeakSingleton<pyx::cmn::Logger>> m_logger;
    int m_markers = 0;
};

// Waits (generously) until predicate holds; false if it never did.
template <class P> bool eventually(P predicate) {
    for (int attempt = 0; attempt < 6000; ++attempt) {
        if (predicate()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return predicate();
}

} // namespace pyx::test
