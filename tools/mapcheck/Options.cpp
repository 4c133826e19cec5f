#include "tools/mapcheck/Options.hpp"

#include <charconv>
#include <string_view>

namespace ironmoat::tools {

namespace {

template <class T> bool parseNumber(std::string_view text, T& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

} // namespace

std::optional<Options> parseOptions(int argc, char** argv, std::string& error) {
    Options options;
    bool modeSet = false;
    auto setMode = [&](Options::Mode mode) {
        if (modeSet && options.mode != mode) {
            error = "--simulate, --png and --sheet cannot be combined";
            return false;
        }
        modeSet = true;
        options.mode = mode;
        return true;
    };
    auto value = [&](int& i, const char* name) -> const char* {
        if (i + 1 >= argc) {
            error = std::string(name) + " needs a value";
            return nullptr;
        }
        return argv[++i];
    };
    bool endOfOptions = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (endOfOptions || arg.empty() || arg[0] != '-' || arg == "-") {
            options.files.emplace_back(arg);
        } else if (arg == "--") {
            endOfOptions = true;
        } else if (arg == "--help" || arg == "-h") {
            options.mode = Options::Mode::Help;
            return options;
        } else if (arg == "-q" || arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "--strict") {
            options.strict = true;
        } else if (arg == "--simulate") {
            const char* n = value(i, "--simulate");
            if (n == nullptr || !setMode(Options::Mode::Simulate)) {
                return std::nullopt;
            }
            if (!parseNumber(n, options.runs) || options.runs < 1 || options.runs > 100000) {
                error = "--simulate takes a number of runs from 1 to 100000, not \"" +
                        std::string(n) + "\"";
                return std::nullopt;
            }
        } else if (arg == "--seed") {
            const char* n = value(i, "--seed");
            if (n == nullptr) {
                return std::nullopt;
            }
            if (!parseNumber(n, options.seed)) {
                error = "--seed takes a whole number from 0 to 4294967295, not \"" +
                        std::string(n) + "\"";
                return std::nullopt;
            }
        } else if (arg == "--tsv") {
            options.format = Options::Format::Tsv;
        } else if (arg == "--markdown") {
            options.format = Options::Format::Markdown;
        } else if (arg == "--png" || arg == "--sheet") {
            const char* out = value(i, arg == "--png" ? "--png" : "--sheet");
            if (out == nullptr ||
                !setMode(arg == "--png" ? Options::Mode::Picture : Options::Mode::Sheet)) {
                return std::nullopt;
            }
            options.output = out;
        } else if (arg == "--names") {
            const char* from = value(i, "--names");
            if (from == nullptr) {
                return std::nullopt;
            }
            options.namesFrom = from;
        } else {
            error = "unknown option \"" + std::string(arg) + "\"";
            return std::nullopt;
        }
    }
    if (options.files.empty()) {
        error = "no level file given";
        return std::nullopt;
    }
    if (options.mode == Options::Mode::Picture && options.files.size() != 1) {
        error = "--png draws exactly one level file";
        return std::nullopt;
    }
    return options;
}

const char* usageText() {
    return R"(usage: ironmoat-mapcheck [-q] [--strict] FILE...
       ironmoat-mapcheck --simulate N [--seed S] [--tsv | --markdown] FILE...
       ironmoat-mapcheck --png OUT.png FILE
       ironmoat-mapcheck --sheet OUT.png [--names LEVELS.md] FILE...
       ironmoat-mapcheck --help

Reads each level file exactly as the game does, prints its grid (unless -q)
and one line per broken rule, "FILE: error: ..." or "FILE: warning: ...".

Errors (the level is unplayable or unfair):
  - not exactly one base "1"; a base whose 2x2 cells are not open ground;
    a base whose 12-cell ring is not all brick or leaves the field
  - fewer than two human spawns "2"; two human spawns whose 2x2 cells overlap
  - fewer than two enemy spawns "0"
  - a spawn whose 2x2 cells leave the field, overlap the base or are not
    ground a tank can enter (open ground or trees)
  - a human spawn from which a tank cannot reach every enemy spawn without
    breaking the base's ring; routes may cross brick, wood and trees (they
    can be shot away), never metal, water or the base
  - a human spawn boxed in: no single cell to drive to without shooting
  - an enemy spawn with an open line of fire onto the base's ring: a shell
    fired from a tank standing on it, in any of the four directions, meets
    the ring (or the base) before any brick, wood or metal
  - a file most of whose written cells are bytes that mean nothing in a
    level (a picture or a binary file, not a level)
Warnings (most likely not meant):
  - digits "3" to "9": they mark nothing and read as open ground (all of
    them in one line)
  - other bytes that read as open ground without being a blank (summed up
    per byte value, the rarest ones in one line)
  - enemy spawns whose 2x2 cells overlap another spawn's

Options:
  -q, --quiet   no grid preview, only the findings
  --strict      warnings fail too
  --simulate N  play each level N times headless with the game's own world,
                rules and bots, at the fixed 1/60 s tick, as fast as the CPU
                allows: five enemy bots as in a match and both human players
                of a two-player match driven by the same bot, which also
                turns to an enemy tank in a clear line of fire and never
                shoots its own base or its ring. Run i
                uses seed S+i (--seed S, default 1), so figures repeat
                exactly. A run ends when all 20 enemy tanks are destroyed
                ("cleared"), the base falls ("fell"), both humans have lost
                all lives ("out"), or after 300 s of game time ("capped").
                Per level: the median and range of the seconds the base
                stood (a run whose base did not fall counts with the time
                it ended, so it is a lower bound) and of the enemy tanks
                destroyed, and how many runs ended each way.
  --seed S      first seed of --simulate (default 1)
  --tsv         --simulate figures as tab-separated values with a header
  --markdown    --simulate figures as the rows of a Markdown table
  --png OUT     draw the level with the game's own pictures into OUT
  --sheet OUT   draw every level given into one picture, each with its number
                and name; --names takes the names from the "| # | Name |"
                table of a Markdown file (else the file name is shown)
  --help        this text

Exit status: 0 clean (warnings allowed unless --strict), 1 problems found,
2 bad usage or a file that cannot be read.
The pictures are read from data/core.dat and data/ironmoat.dat beside the
program's working folder, or from build/game/data, as the game reads them.
)";
}

} // namespace ironmoat::tools
