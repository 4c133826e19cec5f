#pragma once

#include <atomic>
#include <mutex>
#include <string>

namespace pyx::cmn {

// The logger's configuration, shared as a weak singleton
// (pyx::core::WeakSingleton<LoggerSettings>). The flags may be read and
// cleared from any thread.
class LoggerSettings {
public:
    LoggerSettings() = default;
    LoggerSettings(const LoggerSettings&) = delete;
    LoggerSettings& operator=(const LoggerSettings&) = delete;

    // Whether every line is echoed to the standard error stream.
    bool consoleOutput() const { return m_consoleOutput.load(); }
    // Whether every line is written to the log file.
    bool fileOutput() const { return m_fileOutput.load(); }
    // Number of lines a logger created from now on keeps in memory (0: none).
    int historySize() const { return m_historySize.load(); }

    // Turns console output off; returns the previous value.
    bool clearConsoleOutput() { return m_consoleOutput.exchange(false); }
    // Turns file output off; returns the previous value.
    bool clearFileOutput() { return m_fileOutput.exchange(false); }

    // Sets the history size a logger takes at its construction.
    void setHistorySize(int lines) { m_historySize.store(lines < 0 ? 0 : lines); }

    // A copy of the log folder ("logs" by default; empty: the working folder).
    std::string logDirectory() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_logDirectory;
    }

private:
    mutable std::mutex m_mutex;
    std::atomic<bool> m_consoleOutput{true};
    std::atomic<bool> m_fileOutput{true};
    std::atomic<int> m_historySize{0};
    std::string m_logDirectory = "logs";
};

} // namespace pyx::cmn
