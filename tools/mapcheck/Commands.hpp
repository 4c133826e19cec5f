#pragma once

#include "tools/mapcheck/Options.hpp"

// The checker's modes; each returns the process's exit status (0 clean,
// 1 problems found, 2 a file that cannot be read).

namespace ironmoat::tools {

// Checks every file against the map rules and prints the findings.
int runCheck(const Options& options);

// Plays every file `options.runs` times and prints the figures.
int runSimulate(const Options& options);

// Draws one file (--png) or all of them on one sheet (--sheet).
int runPicture(const Options& options);

} // namespace ironmoat::tools
