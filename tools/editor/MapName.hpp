#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace ironmoat::editor {

// The name a player gives a map, which becomes the file "maps/NAME.mtc".
// Names must make a file name on every system the game runs on, so the
// characters Windows rejects are refused here as well.
class MapName {
public:
    // Longest accepted name, in characters.
    static constexpr std::size_t MaxLength = 64;

    // The typed name without surrounding blanks and without a typed ".mtc".
    static std::wstring normalise(const std::wstring& typed);

    // Why the (normalised) name cannot be used, in words for the player;
    // nothing when it can.
    static std::optional<std::wstring> problem(const std::wstring& name);

    // "maps/NAME.mtc" under the folder (the working directory by default).
    static std::filesystem::path fileFor(const std::wstring& name,
                                         const std::filesystem::path& folder = "maps");

    // The name a map file stands for ("mine" for "maps/mine.mtc").
    static std::wstring nameOf(const std::filesystem::path& file);
};

} // namespace ironmoat::editor
