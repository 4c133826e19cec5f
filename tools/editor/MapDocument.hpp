#pragma once

#include "tools/editor/EditorMap.hpp"
#include "tools/editor/History.hpp"

#include <filesystem>
#include <string>

namespace ironmoat::editor {

// The open map with its undo history, its file and whether it has changes
// not yet saved. Painting happens in strokes: every cell painted between
// beginStroke and endStroke is one undo step.
class MapDocument {
public:
    // An empty, unnamed map without changes.
    MapDocument();

    // Replaces the map (a file was opened or a new map begun); forgets the
    // history. `file` is empty for a new map; a read-only map (a campaign
    // level) is never written back to its file.
    void reset(const EditorMap& map, std::filesystem::path file, bool readOnly);

    // Starts a stroke; a stroke still open is ended first.
    void beginStroke();
    // Paints within the open stroke (one is opened when none is); true
    // when a cell changed.
    bool paint(Tool tool, int x, int y);
    // Erases within the open stroke; true when a cell changed.
    bool erase(int x, int y);
    // Ends the stroke and records it as one undo step when it changed the map.
    void endStroke();
    bool inStroke() const { return m_inStroke; }

    // Undo and redo of whole steps (an open stroke is ended first); true
    // when the map changed.
    bool undo();
    bool redo();
    // A step (or an open stroke) can be undone; an undone step redone.
    bool canUndo() const { return m_inStroke || m_history.canUndo(); }
    bool canRedo() const { return !m_inStroke && m_history.canRedo(); }

    // The file has been written with the current map (now its file).
    void markSaved(std::filesystem::path file);

    const EditorMap& map() const { return m_map; }
    const std::filesystem::path& file() const { return m_file; }
    bool readOnly() const { return m_readOnly; }
    // The map differs from what was last opened or saved.
    bool modified() const { return !(m_map == m_saved); }

private:
    EditorMap m_map;
    EditorMap m_saved;
    EditorMap m_strokeStart;
    History m_history;
    std::filesystem::path m_file;
    bool m_readOnly = false;
    bool m_inStroke = false;
};

} // namespace ironmoat::editor
