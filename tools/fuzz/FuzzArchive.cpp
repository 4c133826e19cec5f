// Opens arbitrary bytes as an archive and reads every entry it lists: a
// damaged or hostile file must be refused or read without a crash, an
// out-of-bounds access or a runaway allocation.

#include "engine/common/Archive.hpp"
#include "engine/common/Logger.hpp"
#include "engine/common/LoggerSettings.hpp"
#include "engine/core/WeakSingleton.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// One scratch folder per fuzzing process, removed at exit so a run leaves
// nothing behind.
std::string g_dir;
std::string g_file;

// Held for the whole run: otherwise every archive would start and stop a
// logger thread and a log file of its own. Quiet, so that the rejection
// messages of damaged inputs do not flood the fuzzer's output.
pyx::core::WeakSingleton<pyx::cmn::LoggerSettings>& loggerSettings() {
    static pyx::core::WeakSingleton<pyx::cmn::LoggerSettings> settings;
    return settings;
}
pyx::core::WeakSingleton<pyx::cmn::Logger>& logger() {
    static pyx::core::WeakSingleton<pyx::cmn::Logger> instance;
    return instance;
}

void removeScratch() {
    std::remove(g_file.c_str());
    rmdir(g_dir.c_str());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/pyxfuzz-archive-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    g_dir = buffer.data();
    g_file = g_dir + "/input.dat";
    std::atexit(removeScratch);
    loggerSettings()->clearConsoleOutput();
    loggerSettings()->clearFileOutput();
    logger().get();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* out = std::fopen(g_file.c_str(), "wb");
    if (!out)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, out) != size)
        std::abort();
    std::fclose(out);

    pyx::cmn::Archive archive;
    const std::wstring path(g_file.begin(), g_file.end());
    if (archive.open(path, true)) {
        // Copy the index first: reading must not disturb it.
        const std::vector<pyx::cmn::ArchiveEntry> entries = archive.entries();
        for (std::size_t i = 0; i < entries.size(); ++i) {
            std::vector<std::uint8_t> record;
            const bool good = archive.readRecord(i, record);
            if (good && record.size() != entries[i].size)
                std::abort(); // a good read must deliver exactly the recorded size
            // A lookup by name finds the first record of that name, and
            // only that one: a later duplicate stays hidden behind it.
            std::size_t first = 0;
            while (entries[first].name != entries[i].name)
                ++first;
            if (first != i)
                continue;
            std::vector<std::uint8_t> byName;
            if (archive.readEntry(entries[i].name, byName) != good || byName != record)
                std::abort();
        }
    }
    archive.close();
    return 0;
}
