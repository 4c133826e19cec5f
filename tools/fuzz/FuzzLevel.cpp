// Feeds arbitrary bytes to the level reader and the map checker: every file
// must read (the reader never fails) and check without a crash.

#include "game/world/LevelReader.hpp"
#include "tools/mapcheck/MapCheck.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using ironmoat::cmn::LevelLayout;
    const LevelLayout level = ironmoat::cmn::readLevel(data, size);
    const LevelLayout again =
        ironmoat::cmn::readLevel(std::string_view(reinterpret_cast<const char*>(data), size));
    // Both entry points must read a file the same way.
    if (level.bytes != again.bytes || level.kinds != again.kinds ||
        level.markers.size() != again.markers.size())
        std::abort();

    const auto problems = ironmoat::tools::checkLevel("FUZZ", level);
    for (const auto& line : problems)
        if (line.rfind("FUZZ: ", 0) != 0)
            std::abort(); // every problem line names its level
    const std::string preview = ironmoat::tools::previewLevel(level);
    if (preview.empty())
        std::abort();
    return 0;
}
