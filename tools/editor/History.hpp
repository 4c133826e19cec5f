#pragma once

#include "tools/editor/EditorMap.hpp"

#include <cstddef>
#include <optional>
#include <vector>

namespace ironmoat::editor {

// Undo and redo over whole map states: each step is the map before and
// after one change (a whole stroke, an erase, a clear), so undoing a stroke
// restores every cell it touched at once.
class History {
public:
    // Oldest steps are dropped beyond this many.
    static constexpr std::size_t Limit = 1000;

    // Records a change; an unchanged map records nothing. Forgets the steps
    // that were undone.
    void record(const EditorMap& before, const EditorMap& after);
    // The map to restore for an undo, nothing when there is no step left.
    std::optional<EditorMap> undo();
    // The map to restore for a redo, nothing when nothing was undone.
    std::optional<EditorMap> redo();
    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < m_steps.size(); }
    // Forgets every step (a map was opened).
    void clear();

private:
    struct Step {
        EditorMap before;
        EditorMap after;
    };
    std::vector<Step> m_steps;
    std::size_t m_done = 0; // steps applied; the rest can be redone
};

} // namespace ironmoat::editor
