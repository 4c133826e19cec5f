// ironmoat-mapcheck [-q] FILE...
// Reads each level file as the game does, prints its preview (unless -q) and
// one line per problem. Exit status: 0 all clean, 1 problems, 2 bad usage.

#include "tools/mapcheck/Preview.hpp"
#include "tools/maprules/MapRules.hpp"

#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    bool quiet = false;
    int first = 1;
    if (first < argc && std::strcmp(argv[first], "-q") == 0) {
        quiet = true;
        ++first;
    }
    if (first >= argc) {
        std::cerr << "usage: ironmoat-mapcheck [-q] FILE.mtc...\n";
        return 2;
    }
    bool problems = false;
    for (int i = first; i < argc; ++i) {
        const std::string name = argv[i];
        std::ifstream in(name, std::ios::binary);
        if (!in) {
            std::cout << name << ": cannot be read: the game skips it\n";
            problems = true;
            continue;
        }
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        if (bytes.empty()) {
            std::cout << name << ": the file is empty: the game skips it\n";
            problems = true;
            continue;
        }
        const auto level = ironmoat::cmn::readLevel(bytes);
        if (!quiet) {
            std::cout << name << ":\n" << ironmoat::tools::previewLevel(level);
        }
        for (const auto& finding : ironmoat::maprules::checkLevel(level)) {
            std::cout << name << ": " << finding.text << '\n';
            problems = true;
        }
    }
    return problems ? 1 : 0;
}
