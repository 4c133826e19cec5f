#include "tools/mapcheck/Commands.hpp"

#include <iostream>

namespace ironmoat::tools {

int runPicture(const Options&) {
    std::cerr << "ironmoat-mapcheck: drawing is not built yet\n";
    return 2;
}

} // namespace ironmoat::tools
