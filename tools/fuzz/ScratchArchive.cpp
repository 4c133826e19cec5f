#include "tools/fuzz/ScratchArchive.hpp"

#include "engine/common/Logger.hpp"
#include "engine/common/LoggerSettings.hpp"
#include "engine/core/WeakSingleton.hpp"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <unistd.h>

namespace ironmoat::fuzz {

namespace {

std::string g_dir;
std::string g_file;

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

void openScratch(const char* tag, const char* fileName) {
    const char* tmp = std::getenv("TMPDIR");
    const std::string pattern =
        std::string(tmp && *tmp ? tmp : "/tmp") + "/pyxfuzz-" + tag + "-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    g_dir = buffer.data();
    g_file = g_dir + "/" + fileName;
    std::atexit(removeScratch);
    loggerSettings()->clearConsoleOutput();
    loggerSettings()->clearFileOutput();
    logger().get();
}

const std::string& writeScratch(const std::uint8_t* data, std::size_t size) {
    std::FILE* out = std::fopen(g_file.c_str(), "wb");
    if (!out)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, out) != size)
        std::abort();
    std::fclose(out);
    return g_file;
}

} // namespace ironmoat::fuzz
