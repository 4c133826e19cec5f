#include "tools/mapcheck/Display.hpp"

#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <vector>

namespace ironmoat::tools {

namespace {

// Set for the re-run, so that an X server that fails to come up ends the
// program instead of starting another.
constexpr const char* ReRunMark = "IRONMOAT_MAPCHECK_XVFB";

} // namespace

bool ensureDisplay(int argc, char** argv) {
    const char* display = std::getenv("DISPLAY");
    if (display != nullptr && *display != '\0') {
        return true;
    }
    if (std::getenv(ReRunMark) != nullptr) {
        std::cerr << "ironmoat-mapcheck: the private X server did not start\n";
        return false;
    }
    ::setenv(ReRunMark, "1", 1);
    std::vector<char*> args;
    static char xvfbRun[] = "xvfb-run";
    static char autoNumber[] = "-a";
    static char serverFlag[] = "-s";
    static char serverArgs[] = "-screen 0 1280x1024x24 +extension GLX +render -noreset";
    // The program's own path: xvfb-run is a script, so "/proc/self/exe"
    // would name the shell by the time it is used.
    std::vector<char> self(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", self.data(), self.size() - 1);
    if (length <= 0) {
        std::cerr << "ironmoat-mapcheck: cannot find the program's own path\n";
        return false;
    }
    args = {xvfbRun, autoNumber, serverFlag, serverArgs, self.data()};
    for (int i = 1; i < argc; ++i) {
        args.push_back(argv[i]);
    }
    args.push_back(nullptr);
    std::cout.flush();
    ::execvp(args[0], args.data());
    std::cerr << "ironmoat-mapcheck: no X display is set and xvfb-run cannot be started "
                 "(install the xvfb package, or set DISPLAY)\n";
    return false;
}

} // namespace ironmoat::tools
