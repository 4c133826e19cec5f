#include "tools/editor/MapDocument.hpp"

#include <utility>

namespace ironmoat::editor {

MapDocument::MapDocument() = default;

void MapDocument::reset(const EditorMap& map, std::filesystem::path file, bool readOnly) {
    m_map = map;
    m_saved = map;
    m_history.clear();
    m_file = std::move(file);
    m_readOnly = readOnly;
    m_inStroke = false;
}

void MapDocument::beginStroke() {
    endStroke();
    m_strokeStart = m_map;
    m_inStroke = true;
}

bool MapDocument::paint(Tool tool, int x, int y) {
    if (!m_inStroke) {
        beginStroke();
    }
    return m_map.paint(tool, x, y);
}

bool MapDocument::erase(int x, int y) {
    return paint(Tool::Empty, x, y);
}

void MapDocument::endStroke() {
    if (!m_inStroke) {
        return;
    }
    m_inStroke = false;
    m_history.record(m_strokeStart, m_map);
}

bool MapDocument::undo() {
    endStroke();
    if (std::optional<EditorMap> map = m_history.undo()) {
        m_map = *map;
        return true;
    }
    return false;
}

bool MapDocument::redo() {
    endStroke();
    if (std::optional<EditorMap> map = m_history.redo()) {
        m_map = *map;
        return true;
    }
    return false;
}

void MapDocument::markSaved(std::filesystem::path file) {
    m_saved = m_map;
    m_file = std::move(file);
    m_readOnly = false;
}

} // namespace ironmoat::editor
