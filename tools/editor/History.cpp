#include "tools/editor/History.hpp"

namespace ironmoat::editor {

void History::record(const EditorMap& before, const EditorMap& after) {
    if (before == after) {
        return;
    }
    m_steps.resize(m_done);
    m_steps.push_back(Step{before, after});
    if (m_steps.size() > Limit) {
        m_steps.erase(m_steps.begin());
    }
    m_done = m_steps.size();
}

std::optional<EditorMap> History::undo() {
    if (!canUndo()) {
        return std::nullopt;
    }
    --m_done;
    return m_steps[m_done].before;
}

std::optional<EditorMap> History::redo() {
    if (!canRedo()) {
        return std::nullopt;
    }
    ++m_done;
    return m_steps[m_done - 1].after;
}

void History::clear() {
    m_steps.clear();
    m_done = 0;
}

} // namespace ironmoat::editor
