#include "tools/editor/AtomicFile.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace ironmoat::editor {

namespace fs = std::filesystem;

namespace {

std::string describe(int error) {
    return std::generic_category().message(error);
}

// A name that no other writer of the same folder uses at the same time.
fs::path temporaryFor(const fs::path& target) {
#if defined(_WIN32)
    const long id = 0;
#else
    const long id = static_cast<long>(::getpid());
#endif
    fs::path name = target.filename();
    name += ".saving-" + std::to_string(id);
    return target.parent_path() / ("." + name.string());
}

} // namespace

std::optional<std::string> AtomicFile::write(const fs::path& target, const std::string& bytes) {
    const fs::path temporary = temporaryFor(target);
    std::FILE* file = std::fopen(temporary.string().c_str(), "wb");
    if (file == nullptr) {
        return "cannot create " + temporary.string() + ": " + describe(errno);
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int error = ok ? 0 : errno;
    if (ok && std::fflush(file) != 0) {
        ok = false;
        error = errno;
    }
#if !defined(_WIN32)
    // The content must be on the disk before the rename makes it the map;
    // otherwise a crash could leave an empty file under the map's name.
    if (ok && ::fsync(::fileno(file)) != 0) {
        ok = false;
        error = errno;
    }
#endif
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return "cannot write " + temporary.string() + ": " + describe(error);
    }
    std::error_code renameError;
    fs::rename(temporary, target, renameError);
    if (renameError) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return "cannot replace " + target.string() + ": " + renameError.message();
    }
    return std::nullopt;
}

std::optional<std::string> AtomicFile::read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace ironmoat::editor
