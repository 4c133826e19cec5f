#include "tools/editor/Tool.hpp"

namespace ironmoat::editor {

unsigned char toolByte(Tool tool) noexcept {
    switch (tool) {
    case Tool::Brick:
        return 'b';
    case Tool::Metal:
        return 'x';
    case Tool::Tree:
        return 'f';
    case Tool::Water:
        return '-';
    case Tool::Wood:
        return 's';
    case Tool::Base:
        return '1';
    case Tool::HumanSpawn:
        return '2';
    case Tool::EnemySpawn:
        return '0';
    case Tool::Empty:
        break;
    }
    return ' ';
}

bool isMarkerTool(Tool tool) noexcept {
    return tool == Tool::Base || tool == Tool::HumanSpawn || tool == Tool::EnemySpawn;
}

} // namespace ironmoat::editor
