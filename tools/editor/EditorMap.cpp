#include "tools/editor/EditorMap.hpp"

#include <algorithm>
#include <cstdlib>

namespace ironmoat::editor {

namespace {

bool inRange(int x, int y) {
    return x >= 0 && y >= 0 && x < EditorMap::Size && y < EditorMap::Size;
}

// The bytes the editor keeps as they are; every other byte reads as empty
// ground in the game, so a blank stands for it without changing play.
bool isEditorByte(unsigned char byte) {
    switch (byte) {
    case ' ':
    case 'b':
    case 'x':
    case 'f':
    case '-':
    case 's':
    case '0':
    case '1':
    case '2':
        return true;
    default:
        return false;
    }
}

bool isMarkerByte(unsigned char byte) {
    return byte == '0' || byte == '1' || byte == '2';
}

} // namespace

EditorMap::EditorMap() {
    for (auto& column : m_bytes) {
        column.fill(' ');
    }
}

EditorMap EditorMap::fromLayout(const cmn::LevelLayout& layout, int* unknownCells) {
    EditorMap map;
    int unknown = 0;
    for (int x = 0; x < Size; ++x) {
        for (int y = 0; y < Size; ++y) {
            const unsigned char byte = layout.bytes[x][y];
            if (isEditorByte(byte)) {
                map.m_bytes[x][y] = byte;
            } else {
                ++unknown;
            }
        }
    }
    if (unknownCells != nullptr) {
        *unknownCells = unknown;
    }
    return map;
}

unsigned char EditorMap::at(int x, int y) const {
    return inRange(x, y) ? m_bytes[x][y] : static_cast<unsigned char>(' ');
}

bool EditorMap::markerCovering(int x, int y, Marker& found) const {
    // A footprint reaches one cell right and down from its marker, so only
    // the marker cells up and left of (x, y) can cover it.
    for (int mx = x - 1; mx <= x; ++mx) {
        for (int my = y - 1; my <= y; ++my) {
            if (inRange(mx, my) && isMarkerByte(m_bytes[mx][my])) {
                found = Marker{mx, my, m_bytes[mx][my]};
                return true;
            }
        }
    }
    return false;
}

void EditorMap::removeMarkersOverlapping(int x, int y) {
    // Footprints at (x, y) and (mx, my) overlap when both offsets are below 2.
    for (int mx = x - 1; mx <= x + 1; ++mx) {
        for (int my = y - 1; my <= y + 1; ++my) {
            if (inRange(mx, my) && isMarkerByte(m_bytes[mx][my])) {
                m_bytes[mx][my] = ' ';
            }
        }
    }
}

bool EditorMap::paint(Tool tool, int x, int y) {
    if (!inRange(x, y)) {
        return false;
    }
    const EditorMap before = *this;
    if (isMarkerTool(tool)) {
        const int sx = std::min(x, Size - 2);
        const int sy = std::min(y, Size - 2);
        removeMarkersOverlapping(sx, sy);
        for (int dx = 0; dx < 2; ++dx) {
            for (int dy = 0; dy < 2; ++dy) {
                m_bytes[sx + dx][sy + dy] = ' ';
            }
        }
        m_bytes[sx][sy] = toolByte(tool);
    } else {
        Marker marker;
        while (markerCovering(x, y, marker)) {
            m_bytes[marker.x][marker.y] = ' ';
        }
        m_bytes[x][y] = toolByte(tool);
    }
    return !(before == *this);
}

bool EditorMap::erase(int x, int y) {
    return paint(Tool::Empty, x, y);
}

std::vector<EditorMap::Marker> EditorMap::markers() const {
    std::vector<Marker> found;
    for (int y = 0; y < Size; ++y) {
        for (int x = 0; x < Size; ++x) {
            if (isMarkerByte(m_bytes[x][y])) {
                found.push_back(Marker{x, y, m_bytes[x][y]});
            }
        }
    }
    return found;
}

std::string EditorMap::serialize() const {
    std::string text;
    text.reserve(static_cast<std::size_t>(Size * (Size + 1)));
    for (int y = 0; y < Size; ++y) {
        for (int x = 0; x < Size; ++x) {
            text.push_back(static_cast<char>(m_bytes[x][y]));
        }
        text.push_back('\n');
    }
    return text;
}

cmn::LevelLayout EditorMap::layout() const {
    return cmn::readLevel(serialize());
}

} // namespace ironmoat::editor
