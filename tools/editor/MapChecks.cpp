#include "tools/editor/MapChecks.hpp"

#include "engine/core/Utf8.hpp"

#if __has_include("tools/maprules/MapRules.hpp")
#include "tools/maprules/MapRules.hpp"
#define IRONMOAT_EDITOR_HAS_MAPRULES 1
#endif

namespace ironmoat::editor {

std::vector<EditorForm::Problem> MapChecks::run(const EditorMap& map) {
    std::vector<EditorForm::Problem> problems;
#if defined(IRONMOAT_EDITOR_HAS_MAPRULES)
    for (const maprules::Finding& finding : maprules::checkLevel(map.layout())) {
        EditorForm::Problem problem;
        problem.error = finding.severity == maprules::Severity::Error;
        problem.text = pyx::core::utf8ToWide(finding.text);
        for (const maprules::Cell& cell : finding.cells) {
            problem.cells.push_back({cell.x, cell.y});
        }
        problems.push_back(std::move(problem));
    }
#else
    (void)map;
#endif
    return problems;
}

} // namespace ironmoat::editor
