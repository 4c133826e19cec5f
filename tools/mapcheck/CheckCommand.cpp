#include "tools/mapcheck/Commands.hpp"
#include "tools/mapcheck/LevelFile.hpp"
#include "tools/mapcheck/Preview.hpp"
#include "tools/maprules/MapRules.hpp"

#include <iostream>

namespace ironmoat::tools {

int runCheck(const Options& options) {
    bool unreadable = false;
    bool problems = false;
    for (const std::string& name : options.files) {
        const auto bytes = readWholeFile(name);
        if (!bytes) {
            std::cout << name << ": error: cannot be read\n";
            unreadable = true;
            continue;
        }
        if (bytes->empty()) {
            std::cout << name << ": error: the file is empty: the game skips it\n";
            problems = true;
            continue;
        }
        const auto level = cmn::readLevel(*bytes);
        if (!options.quiet) {
            std::cout << name << ":\n" << previewLevel(level);
        }
        for (const auto& finding : maprules::checkLevel(level)) {
            const bool error = finding.severity == maprules::Severity::Error;
            std::cout << name << (error ? ": error: " : ": warning: ") << finding.text << '\n';
            problems = problems || error || options.strict;
        }
    }
    return unreadable ? 2 : problems ? 1 : 0;
}

} // namespace ironmoat::tools
