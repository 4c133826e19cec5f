#pragma once

#include "game/world/LevelReader.hpp"
#include "tools/editor/Tool.hpp"

#include <array>
#include <string>
#include <vector>

namespace ironmoat::editor {

// The map being edited, held as the level bytes the editor writes: a blank,
// one of the five terrain letters, or a marker digit ("1" base, "2" human
// spawn, "0" enemy spawn) in the top-left cell of its 2 x 2 footprint.
class EditorMap {
public:
    static constexpr int Size = cmn::LevelLayout::size;

    struct Marker {
        int x = 0;
        int y = 0;
        unsigned char digit = '0';
    };

    // An all-empty map.
    EditorMap();

    // The map a level reads as in the game. Bytes the game reads as empty
    // ground without being a blank (unknown letters, CR, digits no team
    // uses) become blanks; their number goes to `unknownCells` when given.
    static EditorMap fromLayout(const cmn::LevelLayout& layout, int* unknownCells = nullptr);

    // The byte of cell (x, y); a blank out of range.
    unsigned char at(int x, int y) const;

    // Paints the tool at (x, y); true when a cell changed. Terrain replaces
    // the cell and removes a marker whose footprint covers it. A marker's
    // 2 x 2 footprint gets its top-left cell at (x, y), moved in to column
    // and row 24 at most so that it lies inside the field; the marker
    // removes every marker whose footprint overlaps it and clears its four
    // cells. Out of range changes nothing.
    bool paint(Tool tool, int x, int y);

    // Paints empty ground at (x, y) (removing a marker there); true on a change.
    bool erase(int x, int y);

    // The markers, in the order the game reads them (rows from the top).
    std::vector<Marker> markers() const;

    // The marker whose footprint covers (x, y); false when none does.
    bool markerCovering(int x, int y, Marker& found) const;

    // The level file as the game reads it: 26 lines of 26 bytes, each
    // ended by a line feed (702 bytes).
    std::string serialize() const;

    // The map as the game reads it.
    cmn::LevelLayout layout() const;

    friend bool operator==(const EditorMap&, const EditorMap&) = default;

private:
    void removeMarkersOverlapping(int x, int y);

    std::array<std::array<unsigned char, Size>, Size> m_bytes{}; // [x][y]
};

} // namespace ironmoat::editor
