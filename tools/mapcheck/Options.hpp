#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ironmoat::tools {

// What the command line asked for.
struct Options {
    enum class Mode { Check, Simulate, Picture, Sheet, Help };
    enum class Format { Table, Tsv, Markdown };

    Mode mode = Mode::Check;
    bool quiet = false;  // check: no preview of the grid
    bool strict = false; // check: warnings fail too
    int runs = 0;        // simulate: matches per level
    std::uint32_t seed = 1;
    Format format = Format::Table;
    std::string output;    // picture / sheet: the PNG to write
    std::string namesFrom; // sheet: the level table to take names from
    std::vector<std::string> files;
};

// Parses the arguments; an empty result means bad usage, with the reason in
// `error`.
std::optional<Options> parseOptions(int argc, char** argv, std::string& error);

// The text `--help` prints: usage, the rules with their severity, the
// simulation's figures.
const char* usageText();

} // namespace ironmoat::tools
