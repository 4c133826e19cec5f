#include "tools/editor/MapChecks.hpp"

#include "engine/core/Utf8.hpp"
#include "tools/maprules/MapRules.hpp"

namespace ironmoat::editor {

std::vector<EditorForm::Problem> MapChecks::run(const EditorMap& map) {
    std::vector<EditorForm::Problem> problems;
    for (const maprules::Finding& finding : maprules::checkLevel(map.layout())) {
        EditorForm::Problem problem;
        problem.error = finding.severity == maprules::Severity::Error;
        problem.text = pyx::core::utf8ToWide(finding.text);
        for (const maprules::Cell& cell : finding.cells) {
            problem.cells.push_back({cell.x, cell.y});
        }
        problems.push_back(std::move(problem));
    }
    return problems;
}

} // namespace ironmoat::editor
