// Feeds arbitrary bytes to the level reader and the map checker: every file
// must read (the reader never fails) and check without a crash.

#include "game/world/LevelReader.hpp"
#include "tools/mapcheck/Preview.hpp"
#include "tools/maprules/MapRules.hpp"

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

    // Every finding says something, and the cells it names are on the grid
    // or beside it (a ring or footprint cell past the edge).
    for (const auto& finding : ironmoat::maprules::checkLevel(level)) {
        if (finding.text.empty())
            std::abort();
        for (const auto& cell : finding.cells)
            if (cell.x < -1 || cell.y < -1 || cell.x > 26 || cell.y > 26)
                std::abort();
    }
    const std::string preview = ironmoat::tools::previewLevel(level);
    if (preview.empty())
        std::abort();
    return 0;
}
