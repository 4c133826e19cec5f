#include "engine/common/Logger.hpp"

#include "engine/core/Date.hpp"
#include "engine/core/Utf8.hpp"

#include <cerrno>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace pyx::cmn {

namespace {

unsigned long currentThreadId() {
#ifdef _WIN32
    return static_cast<unsigned long>(GetCurrentThreadId());
#else
    return static_cast<unsigned long>(gettid());
#endif
}

// Creates the file for writing only when no file has the name: nullptr
// with errno EEXIST when one has.
std::FILE* createNew(const std::string& name) {
#ifdef _WIN32
    // The C runtime of Windows ignores fopen's "x" and would truncate an
    // existing log; its low-level open refuses an existing name. Others may
    // read the file meanwhile, not write it.
    int fd = -1;
    const errno_t failed = _sopen_s(&fd, name.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_TEXT,
                                    _SH_DENYWR, _S_IREAD | _S_IWRITE);
    if (failed != 0) {
        errno = failed;
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "w");
    if (file == nullptr) {
        _close(fd);
    }
    return file;
#else
    return std::fopen(name.c_str(), "wx");
#endif
}

// More same-second runs than this is a sign of something other than a
// name clash (e.g. a folder that refuses every create); give up then.
constexpr int kMaxNameSuffix = 100000;

} // namespace

Logger::Logger() : m_history(static_cast<std::size_t>(m_settings->historySize())) {
    // The history is sized before the thread starts: its first line already
    // goes through the history.
    m_thread = std::thread([this] { loggerMain(); });
}

Logger::~Logger() {
    // Lines still queued reach the file only: the console may be gone by now.
    m_settings->clearConsoleOutput();
    m_queue.stop();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void Logger::write(const std::wstring& text) {
    m_queue.push(L"THR " + std::to_wstring(currentThreadId()) + L": " + text);
}

std::vector<std::wstring> Logger::history() const {
    std::lock_guard<std::mutex> lock(m_historyMutex);
    std::vector<std::wstring> lines;
    const int size = static_cast<int>(m_history.size());
    for (int i = 0; i < m_historyCount; ++i) {
        lines.push_back(m_history[static_cast<std::size_t>((m_historyStart + i) % size)]);
    }
    return lines;
}

std::string Logger::fileName() const {
    std::lock_guard<std::mutex> lock(m_fileNameMutex);
    return m_fileName;
}

void Logger::loggerMain() {
    output(L"Logging started.");
    std::wstring line;
    while (m_queue.pop(line)) {
        output(line);
    }
    output(L"Logging thread finished.");
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

void Logger::openLogFile() {
    std::string base = pyx::core::Date::now().format("pyx_%y%m%d_%H%M%S");
    const std::string folder = m_settings->logDirectory();
    if (!folder.empty()) {
        base = folder + "/" + base;
    }
    std::string candidate;
    for (int n = 0; n <= kMaxNameSuffix; ++n) {
        candidate = n == 0 ? base + ".log" : base + "_" + std::to_string(n) + ".log";
        // Exclusive creation: a name that exists (or appears between a check
        // and the open, e.g. from a second logger started in the same second)
        // is never truncated; the next suffix is tried instead.
        errno = 0;
        m_file = createNew(candidate);
        if (m_file != nullptr) {
            std::lock_guard<std::mutex> lock(m_fileNameMutex);
            m_fileName = candidate;
            return;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    write(L"Failed to open file " + pyx::core::utf8ToWide(candidate) +
          L"! Disabling file logging..");
    m_settings->clearFileOutput();
}

void Logger::output(const std::wstring& line) {
    if (!m_history.empty()) {
        std::lock_guard<std::mutex> lock(m_historyMutex);
        const int size = static_cast<int>(m_history.size());
        if (m_historyCount < size) {
            m_history[static_cast<std::size_t>((m_historyStart + m_historyCount) % size)] = line;
            ++m_historyCount;
        }
    }
    // Both copies are UTF-8, so text outside ASCII survives in the file too.
    std::string bytes;
    if (m_settings->fileOutput()) {
        if (m_file == nullptr) {
            openLogFile();
        }
        if (m_file != nullptr) {
            bytes = pyx::core::wideToUtf8(line) + "\n";
            std::fwrite(bytes.data(), 1, bytes.size(), m_file);
            std::fflush(m_file);
        }
    }
    if (m_settings->consoleOutput()) {
        if (bytes.empty()) {
            bytes = pyx::core::wideToUtf8(line) + "\n";
        }
        std::fwrite(bytes.data(), 1, bytes.size(), stderr);
        std::fflush(stderr);
    }
}

} // namespace pyx::cmn
