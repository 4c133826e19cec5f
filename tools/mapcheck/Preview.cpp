#include "tools/mapcheck/Preview.hpp"

namespace ironmoat::tools {

namespace {

using cmn::LevelLayout;
using cmn::TileKind;

bool strayByte(unsigned char byte) {
    return cmn::tileKindOfByte(byte) == TileKind::Empty && byte != ' ' && !cmn::isMarkerByte(byte);
}

} // namespace

std::string previewLevel(const LevelLayout& level) {
    std::string text;
    for (int y = 0; y < LevelLayout::size; ++y) {
        for (int x = 0; x < LevelLayout::size; ++x) {
            const unsigned char byte = level.bytes[x][y];
            char shown = '.';
            switch (level.kinds[x][y]) {
            case TileKind::Water:
                shown = '-';
                break;
            case TileKind::Brick:
                shown = 'b';
                break;
            case TileKind::Tree:
                shown = 'f';
                break;
            case TileKind::Wood:
                shown = 's';
                break;
            case TileKind::Metal:
                shown = 'x';
                break;
            default:
                shown = cmn::isMarkerByte(byte) ? static_cast<char>(byte)
                        : strayByte(byte)       ? '?'
                                                : '.';
            }
            text += shown;
        }
        text += '\n';
    }
    return text;
}

} // namespace ironmoat::tools
