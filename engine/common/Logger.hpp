#pragma once

#include "engine/common/LoggerSettings.hpp"
#include "engine/core/BlockingQueue.hpp"
#include "engine/core/WeakSingleton.hpp"

#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pyx::cmn {

// Collects lines from any thread and writes them, on a thread of its own,
// to a log file in the settings' log folder and to standard error. Shared
// as pyx::core::WeakSingleton<Logger>: the first handle starts the thread
// and opens the file, the release of the last one drains the queue to the
// file and ends the thread.
class Logger {
public:
    Logger();
    ~Logger();
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    // Prefixes the text with "THR <thread id>: " on the calling thread and
    // queues it. Never blocks on output; callable from any thread.
    void write(const std::wstring& text);

    // The kept lines, oldest first (empty when the history size is 0).
    std::vector<std::wstring> history() const;

    // Name of the log file in use; empty until it is open or when file
    // logging failed. Safe from any thread.
    std::string fileName() const;

private:
    void loggerMain();
    void output(const std::wstring& line);
    void openLogFile();

    pyx::core::WeakSingleton<LoggerSettings> m_settings;
    pyx::core::BlockingQueue<std::wstring> m_queue;
    mutable std::mutex m_historyMutex;
    std::vector<std::wstring> m_history;
    int m_historyStart = 0;
    int m_historyCount = 0;
    // Touched by the logger thread only (m_fileName also under m_fileNameMutex).
    std::FILE* m_file = nullptr;
    mutable std::mutex m_fileNameMutex;
    std::string m_fileName;
    // Last, so that it starts after every field above is ready.
    std::thread m_thread;
};

} // namespace pyx::cmn
