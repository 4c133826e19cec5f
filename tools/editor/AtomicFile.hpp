#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace ironmoat::editor {

// Writes a whole file so that a reader (or a crash) sees either the old
// content or the new one, never a mixture: the bytes go to a temporary file
// beside the target, are flushed to the disk, and the temporary file is then
// renamed over the target.
class AtomicFile {
public:
    // Writes the bytes to the target; the reason, in words, when it failed.
    // On failure the target is untouched and the temporary file removed.
    static std::optional<std::string> write(const std::filesystem::path& target,
                                            const std::string& bytes);

    // The whole content of a file; nothing when it cannot be read.
    static std::optional<std::string> read(const std::filesystem::path& file);
};

} // namespace ironmoat::editor
