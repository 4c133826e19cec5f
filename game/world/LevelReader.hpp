#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "game/world/MapMarker.hpp"
#include "game/world/TileKind.hpp"

// The byte-level reading of a level (".mtc") file, kept apart from the
// terrain so that the game and the map checker read a file the same way.
// It never fails: every byte maps to a kind, short or missing lines are
// padded with blanks, extra bytes and lines are ignored.

namespace ironmoat::cmn {

// The content of one level file.
struct LevelLayout {
    static constexpr int size = 26;

    // kinds[x][y]: column x, row y.
    std::array<std::array<TileKind, size>, size> kinds{};
    // Every digit, in reading order (rows from the top, left to right).
    std::vector<MapMarker> markers;
    // The byte each cell was read from, [x][y]; a padded cell holds a blank
    // (0x20). Lets tools tell a stray byte from an intended blank.
    std::array<std::array<unsigned char, size>, size> bytes{};
};

// The kind a level byte stands for; case-sensitive ("b" is brick, "B" empty).
TileKind tileKindOfByte(unsigned char byte) noexcept;

// True for the bytes "0" to "9" only (never for bytes 0x80 and above).
bool isMarkerByte(unsigned char byte) noexcept;

// Reads a level from its raw bytes. Lines end at 0x0A alone; a 0x0D is an
// ordinary byte (in a CR LF file of 26-byte lines it falls in the ignored
// 27th column).
LevelLayout readLevel(const void* data, std::size_t size);
LevelLayout readLevel(std::string_view bytes);

} // namespace ironmoat::cmn
