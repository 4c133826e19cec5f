#include "game/world/LevelReader.hpp"

namespace ironmoat::cmn {

TileKind tileKindOfByte(unsigned char byte) noexcept {
    switch (byte) {
    case '-':
        return TileKind::Water;
    case 'b':
        return TileKind::Brick;
    case 'f':
        return TileKind::Tree;
    case 's':
        return TileKind::Wood;
    case 'x':
        return TileKind::Metal;
    default:
        return TileKind::Empty;
    }
}

bool isMarkerByte(unsigned char byte) noexcept {
    return byte >= '0' && byte <= '9';
}

LevelLayout readLevel(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    LevelLayout layout;
    std::size_t pos = 0;
    for (int row = 0; row < LevelLayout::size; ++row) {
        // The line runs up to the next line feed or the end of the data; an
        // exhausted file leaves pos == size and so yields empty lines.
        std::size_t end = pos;
        while (end < size && bytes[end] != 0x0A) {
            ++end;
        }
        for (int column = 0; column < LevelLayout::size; ++column) {
            const std::size_t at = pos + static_cast<std::size_t>(column);
            const unsigned char byte = at < end ? bytes[at] : static_cast<unsigned char>(' ');
            if (isMarkerByte(byte)) {
                layout.markers.push_back(MapMarker{column, row, byte - '0'});
            }
            layout.kinds[column][row] = tileKindOfByte(byte);
            layout.bytes[column][row] = byte;
        }
        pos = end < size ? end + 1 : size;
    }
    return layout;
}

LevelLayout readLevel(std::string_view bytes) {
    return readLevel(bytes.data(), bytes.size());
}

} // namespace ironmoat::cmn
