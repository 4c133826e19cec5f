#pragma once

#include "tools/editor/EditorForm.hpp"

#include <vector>

namespace ironmoat::editor {

// The map checker's rules (the code ironmoat-mapcheck runs) applied to the
// map being edited, read exactly as the game would read the saved file.
class MapChecks {
public:
    static std::vector<EditorForm::Problem> run(const EditorMap& map);
};

} // namespace ironmoat::editor
