#include "engine/common/Logger.hpp"
#include "engine/common/LogClient.hpp"
#include "engine/common/LoggerSettings.hpp"
#include "engine/core/Date.hpp"
#include "engine/core/WeakSingleton.hpp"
#include "tests/common/LoggerTestSupport.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <thread>

using ironmoat_test::osThreadId;
using ironmoat_test::readFile;
using ironmoat_test::splitLines;
using ironmoat_test::StderrCapture;
using ironmoat_test::TempWorkDir;
using ironmoat_test::threadPrefix;
using LoggerHandle = pyx::core::WeakSingleton<pyx::cmn::Logger>;

namespace {

// Waits (generously) for a condition the logger thread brings about.
bool eventually(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return condition();
}

std::vector<std::string> onlyLogLines(const TempWorkDir& dir) {
    const auto files = dir.logFiles();
    EXPECT_EQ(files.size(), 1u);
    if (files.empty()) {
        return {};
    }
    return splitLines(readFile(dir.path() / "logs" / files.front()));
}

std::string nameAt(std::time_t t) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    char buffer[64];
    return std::string(buffer, std::strftime(buffer, sizeof buffer, "pyx_%y%m%d_%H%M%S", &local));
}

} // namespace

TEST(CommonLogger, WritesPrefixedLinesBetweenStartAndEndToATimeNamedFile) {
    TempWorkDir dir;
    {
        StderrCapture quiet;
        LoggerHandle logger;
        logger->write(L"first");
        logger->write(L"Failed to load resource \"ironmoat/tank_tileset.png\".");
    }
    const auto files = dir.logFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(std::regex_match(files[0], std::regex(R"(pyx_\d{6}_\d{6}\.log)"))) << files[0];
    const auto lines = onlyLogLines(dir);
    const std::vector<std::string> expected = {
        "Logging started.", threadPrefix() + "first",
        threadPrefix() + "Failed to load resource \"ironmoat/tank_tileset.png\".",
        "Logging thread finished."};
    EXPECT_EQ(lines, expected);
#ifdef _WIN32
    // A Windows text file: every line ends in CR LF.
    std::ifstream raw(dir.path() / "logs" / files[0], std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(raw), {}};
    EXPECT_EQ(bytes.rfind("Logging thread finished.\r\n"), bytes.size() - 26);
#endif
}

TEST(CommonLogger, LogClientAddsLevelAndChannel) {
    TempWorkDir dir;
    {
        StderrCapture quiet;
        pyx::cmn::LogClient client(L"ResourceManager");
        client.info(L"Resource Manager destroyed!");
        client.error(L"broken");
        client.setInfoEnabled(false);
        client.info(L"hidden info");
        client.setErrorEnabled(false);
        client.error(L"hidden error");
    }
    const auto lines = onlyLogLines(dir);
    const std::vector<std::string> expected = {
        "Logging started.", threadPrefix() + "[INFO, ResourceManager] Resource Manager destroyed!",
        threadPrefix() + "[ERROR, ResourceManager] broken", "Logging thread finished."};
    EXPECT_EQ(lines, expected);
}

TEST(CommonLogger, ConsoleGetsUtf8CopiesAndTheFileToo) {
    TempWorkDir dir;
    StderrCapture capture;
    // U+1F600 is one wide character where wchar_t has 32 bits, a surrogate
    // pair where it has 16 (Windows); both give the same UTF-8.
    std::wstring text{L'c', L'a', L'f', wchar_t(0xE9), L' '};
    if (sizeof(wchar_t) >= 4) {
        text += static_cast<wchar_t>(0x1F600);
    } else {
        text += {wchar_t(0xD83D), wchar_t(0xDE00)};
    }
    const std::string utf8 = "caf\xC3\xA9 \xF0\x9F\x98\x80";
    {
        LoggerHandle logger;
        logger->write(text);
        ASSERT_TRUE(eventually([&] {
            const auto files = dir.logFiles();
            return !files.empty() &&
                   readFile(dir.path() / "logs" / files[0]).find(utf8) != std::string::npos;
        }));
    }
    const std::string console = capture.finish();
    EXPECT_NE(console.find("Logging started.\n"), std::string::npos);
    EXPECT_NE(console.find(threadPrefix() + utf8 + "\n"), std::string::npos);
    const auto lines = onlyLogLines(dir);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], threadPrefix() + utf8);
}

TEST(CommonLogger, SecondLoggerInTheSameSecondTakesTheNextSuffix) {
    TempWorkDir dir;
    StderrCapture quiet;
    for (int attempt = 0; attempt < 5; ++attempt) {
        {
            pyx::cmn::Logger first;
            pyx::cmn::Logger second;
            first.write(L"one");
            second.write(L"two");
        }
        const auto files = dir.logFiles();
        ASSERT_EQ(files.size(), 2u);
        const std::string base = files[0].substr(0, files[0].size() - 4);
        if (files[1].rfind(base, 0) != 0) {
            // The two starts fell into different seconds; try again.
            for (const auto& f : files) {
                std::filesystem::remove(dir.path() / "logs" / f);
            }
            continue;
        }
        EXPECT_EQ(files[1], base + "_1.log");
        return;
    }
    FAIL() << "no two starts within one second";
}

TEST(CommonLogger, ExistingLogFilesAreNeverOverwritten) {
    TempWorkDir dir;
    // Occupy the plain name and "_1" for the next few seconds, so whenever the
    // logger starts, it must pass over two existing files.
    const std::time_t now = std::time(nullptr);
    for (int s = 0; s < 6; ++s) {
        for (const char* suffix : {".log", "_1.log"}) {
            std::ofstream(dir.path() / "logs" / (nameAt(now + s) + suffix)) << "keep me\n";
        }
    }
    {
        StderrCapture quiet;
        LoggerHandle logger;
        logger->write(L"new run");
    }
    int fresh = 0;
    for (const auto& f : dir.logFiles()) {
        const std::string text = readFile(dir.path() / "logs" / f);
        if (text == "keep me\n") {
            continue;
        }
        ++fresh;
        EXPECT_TRUE(std::regex_match(f, std::regex(R"(pyx_\d{6}_\d{6}_2\.log)"))) << f;
        EXPECT_NE(text.find("new run"), std::string::npos);
    }
    EXPECT_EQ(fresh, 1);
    EXPECT_EQ(dir.logFiles().size(), 13u);
}

TEST(CommonLogger, MissingFolderDisablesFileLoggingAndSaysSoOnTheConsole) {
    TempWorkDir dir(false);
    StderrCapture capture;
    std::string console;
    {
        LoggerHandle logger;
        ASSERT_TRUE(eventually([&] {
            pyx::core::WeakSingleton<pyx::cmn::LoggerSettings> settings;
            return !settings->fileOutput();
        }));
        logger->write(L"still running");
        ASSERT_TRUE(
            eventually([&] { return capture.peek().find("still running") != std::string::npos; }));
    }
    console = capture.finish();
    const std::regex failed("THR \\d+: Failed to open file logs/pyx_\\d{6}_\\d{6}\\.log! "
                            "Disabling file logging\\.\\.\n");
    EXPECT_TRUE(std::regex_search(console, failed)) << console;
    EXPECT_NE(console.find(threadPrefix() + "still running\n"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << "nothing is written to any file";
}

TEST(CommonLogger, LinesQueuedAtReleaseStillReachTheFileInOrder) {
    TempWorkDir dir;
    {
        StderrCapture quiet;
        LoggerHandle logger;
        for (int i = 0; i < 500; ++i) {
            logger->write(L"line " + std::to_wstring(i));
        }
    }
    const auto lines = onlyLogLines(dir);
    ASSERT_EQ(lines.size(), 502u);
    for (int i = 0; i < 500; ++i) {
        EXPECT_EQ(lines[static_cast<std::size_t>(i) + 1],
                  threadPrefix() + "line " + std::to_string(i));
    }
    EXPECT_EQ(lines.back(), "Logging thread finished.");
}

TEST(CommonLogger, LinesFromSeveralThreadsKeepEachThreadsOrderAndId) {
    TempWorkDir dir;
    constexpr int kThreads = 4;
    constexpr int kLines = 400;
    {
        StderrCapture quiet;
        LoggerHandle logger;
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([t] {
                pyx::cmn::LogClient client(L"Worker" + std::to_wstring(t));
                for (int i = 0; i < kLines; ++i) {
                    client.info(std::to_wstring(i));
                }
            });
        }
        for (auto& th : threads) {
            th.join();
        }
    }
    const std::regex pattern(R"(THR (\d+): \[INFO, Worker(\d)\] (\d+))");
    std::map<int, int> next;
    std::map<int, std::string> idOf;
    int matched = 0;
    for (const auto& line : onlyLogLines(dir)) {
        std::smatch m;
        if (!std::regex_match(line, m, pattern)) {
            continue;
        }
        ++matched;
        const int worker = std::stoi(m[2]);
        EXPECT_EQ(std::stoi(m[3]), next[worker]) << "worker " << worker << " out of order";
        next[worker] = std::stoi(m[3]) + 1;
        if (idOf.count(worker) == 0) {
            idOf[worker] = m[1];
        }
        EXPECT_EQ(idOf[worker], m[1].str());
    }
    EXPECT_EQ(matched, kThreads * kLines);
    std::set<std::string> ids;
    for (const auto& [worker, id] : idOf) {
        ids.insert(id);
    }
    EXPECT_EQ(ids.size(), static_cast<std::size_t>(kThreads));
}

TEST(CommonLogger, FullHistoryKeepsItsFirstLines) {
    TempWorkDir dir;
    StderrCapture quiet;
    pyx::core::WeakSingleton<pyx::cmn::LoggerSettings> settings;
    settings->setHistorySize(3);
    LoggerHandle logger;
    for (const wchar_t* text : {L"a", L"b", L"c", L"d"}) {
        logger->write(text);
    }
    ASSERT_TRUE(eventually([&] {
        const auto files = dir.logFiles();
        return !files.empty() &&
               readFile(dir.path() / "logs" / files[0]).find(": d\n") != std::string::npos;
    }));
    const std::wstring prefix = L"THR " + std::to_wstring(osThreadId()) + L": ";
    const std::vector<std::wstring> expected = {L"Logging started.", prefix + L"a", prefix + L"b"};
    EXPECT_EQ(logger->history(), expected);
}

TEST(CommonLogger, StartedAndStoppedFromSeveralThreadsLosesNoLine) {
    // Each thread takes and drops its own handles, so loggers are created
    // and destroyed from whichever thread happens to be first or last, while
    // the others write. Every line must land in exactly one log file, and
    // every file must be complete.
    TempWorkDir dir;
    constexpr int kThreads = 4;
    constexpr int kCycles = 15;
    constexpr int kLines = 5;
    {
        StderrCapture quiet;
        pyx::core::WeakSingleton<pyx::cmn::LoggerSettings> settings;
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([t] {
                for (int c = 0; c < kCycles; ++c) {
                    LoggerHandle logger;
                    for (int i = 0; i < kLines; ++i) {
                        logger->write(L"w" + std::to_wstring(t) + L" c" + std::to_wstring(c) +
                                      L" l" + std::to_wstring(i));
                    }
                }
            });
        }
        for (auto& th : threads) {
            th.join();
        }
    }
    const std::regex pattern(R"(THR \d+: w(\d) c(\d+) l(\d+))");
    std::map<std::string, int> seen;
    const auto files = dir.logFiles();
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        const auto lines = splitLines(readFile(dir.path() / "logs" / file));
        ASSERT_GE(lines.size(), 2u) << file;
        EXPECT_EQ(lines.front(), "Logging started.") << file;
        EXPECT_EQ(lines.back(), "Logging thread finished.") << file;
        for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
            std::smatch m;
            EXPECT_TRUE(std::regex_match(lines[i], m, pattern)) << file << ": " << lines[i];
            ++seen[m.size() > 3 ? m[1].str() + "/" + m[2].str() + "/" + m[3].str() : lines[i]];
        }
    }
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(kThreads * kCycles * kLines));
    for (const auto& [line, count] : seen) {
        EXPECT_EQ(count, 1) << line;
    }
}

TEST(CommonLogger, HistoryAndSettingsReadWhileThreadsWrite) {
    TempWorkDir dir;
    constexpr int kWriters = 3;
    constexpr int kLines = 300;
    StderrCapture quiet;
    pyx::core::WeakSingleton<pyx::cmn::LoggerSettings> settings;
    settings->setHistorySize(kWriters * kLines + 10);
    LoggerHandle logger;
    std::atomic<bool> writing{true};
    std::atomic<int> shrank{0};
    std::thread reader([&] {
        pyx::core::WeakSingleton<pyx::cmn::LoggerSettings> mine;
        std::size_t last = 0;
        while (writing.load()) {
            const auto lines = logger->history();
            // A kept line never goes away, and the first is always the start.
            if (lines.size() < last || (!lines.empty() && lines.front() != L"Logging started.")) {
                shrank.fetch_add(1);
            }
            last = lines.size();
            if (mine->logDirectory() != "logs" || !mine->fileOutput()) {
                shrank.fetch_add(1);
            }
        }
    });
    std::vector<std::thread> writers;
    for (int t = 0; t < kWriters; ++t) {
        writers.emplace_back([&, t] {
            pyx::cmn::LogClient client(L"Writer" + std::to_wstring(t));
            for (int i = 0; i < kLines; ++i) {
                client.info(std::to_wstring(i));
            }
        });
    }
    for (auto& th : writers) {
        th.join();
    }
    ASSERT_TRUE(eventually([&] {
        return logger->history().size() == static_cast<std::size_t>(kWriters * kLines + 1);
    }));
    writing.store(false);
    reader.join();
    EXPECT_EQ(shrank.load(), 0);
    std::map<std::wstring, int> next;
    for (const auto& line : logger->history()) {
        const auto channel = line.find(L"[INFO, Writer");
        if (channel == std::wstring::npos) {
            continue;
        }
        const std::wstring writer = line.substr(channel + 13, 1);
        EXPECT_EQ(std::stoi(line.substr(line.rfind(L' ') + 1)), next[writer]);
        ++next[writer];
    }
    for (int t = 0; t < kWriters; ++t) {
        EXPECT_EQ(next[std::to_wstring(t)], kLines);
    }
}
