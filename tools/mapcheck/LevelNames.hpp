#pragma once

#include <map>
#include <string>

namespace ironmoat::tools {

// The level names of a Markdown level table: the rows under a header whose
// first two cells are "#" and "Name", keyed by the number in the first cell.
// Rows without a number or a name are skipped; so is everything else.
std::map<int, std::string> readLevelNames(const std::string& markdown);

// The number in a level file name such as "Dunmark-level-07.mtc" (the last
// run of digits), or -1.
int levelNumberOf(const std::string& fileName);

} // namespace ironmoat::tools
