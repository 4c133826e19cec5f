// ironmoat-mapcheck: checks level files against the map rules, plays them
// headless, or draws them. `--help` tells how.

#include "tools/mapcheck/Commands.hpp"
#include "tools/mapcheck/Display.hpp"
#include "tools/mapcheck/Options.hpp"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    using namespace ironmoat::tools;
    std::string error;
    const auto options = parseOptions(argc, argv, error);
    if (!options) {
        std::cerr << "ironmoat-mapcheck: " << error << "\n"
                  << "usage: ironmoat-mapcheck [-q] [--strict] FILE... (--help tells more)\n";
        return 2;
    }
    if (options->mode != Options::Mode::Check && options->mode != Options::Mode::Help &&
        !ensureDisplay(argc, argv)) {
        return 2;
    }
    switch (options->mode) {
    case Options::Mode::Help:
        std::cout << usageText();
        return 0;
    case Options::Mode::Simulate:
        return runSimulate(*options);
    case Options::Mode::Picture:
    case Options::Mode::Sheet:
        return runPicture(*options);
    case Options::Mode::Check:
        break;
    }
    return runCheck(*options);
}
