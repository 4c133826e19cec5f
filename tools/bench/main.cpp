// ironmoat-bench: run from the game's runtime folder (where ironmoat and
// data/*.dat lie), under an X server. Prints a table and writes the same
// figures as JSON.
//
//   ironmoat-bench [--json PATH] [--ticks N] [--frames N] [--launches N]
//                  [--idle SECONDS] [--match SECONDS] [--only
//                  tick|data|frame|process]

#include "engine/common/Logger.hpp"
#include "engine/common/ResourceManager.hpp"
#include "engine/core/WeakSingleton.hpp"
#include "engine/gui/GuiResources.hpp"
#include "tools/bench/Bench.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

using ironmoat::bench::Figure;

namespace {

const char* const Usage = "usage: ironmoat-bench [--json PATH] [--ticks N] [--frames N] "
                          "[--launches N] [--idle S] [--match S] [--only PART]\n";

const char* const Help = "\n"
                         "Run from the game's runtime folder (where ironmoat and data/*.dat lie), "
                         "under\n"
                         "an X server. Prints a table of figures beside their floors and targets "
                         "and\n"
                         "writes the same figures as JSON.\n"
                         "\n"
                         "  --json PATH     where the JSON goes (default bench.json)\n"
                         "  --ticks N       match ticks to time (default 12000)\n"
                         "  --frames N      menu and game frames to time (default 600)\n"
                         "  --launches N    game start-ups to time (default 5)\n"
                         "  --idle S        seconds of idle CPU to measure at the menu (default "
                         "10)\n"
                         "  --match S       seconds of a running match to measure (default 15)\n"
                         "  --only PART     one part only: tick, data, frame or process\n";

std::string jsonText(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out;
}

bool writeJson(const std::string& path, const std::vector<Figure>& figures) {
    std::ofstream out(path, std::ios::trunc);
    if (!out)
        return false;
    out << "{\n  \"figures\": [\n";
    for (std::size_t i = 0; i < figures.size(); ++i) {
        const Figure& f = figures[i];
        out << "    {\"name\": \"" << jsonText(f.name) << "\", \"unit\": \"" << jsonText(f.unit)
            << "\", \"value\": " << f.value;
        if (f.hasFloor)
            out << ", \"floor\": " << f.floor;
        if (f.hasTarget())
            out << ", \"target\": \"" << f.targetOp << ' ' << f.target
                << "\", \"met\": " << (f.met() ? "true" : "false");
        out << ", \"note\": \"" << jsonText(f.note) << "\"}" << (i + 1 < figures.size() ? "," : "")
            << "\n";
    }
    out << "  ]\n}\n";
    return static_cast<bool>(out);
}

void printTable(const std::vector<Figure>& figures) {
    std::printf("%-16s %12s %12s %10s  %-6s %s\n", "figure", "value", "floor", "target", "result",
                "unit / note");
    for (const Figure& f : figures) {
        char floor[32] = "-";
        if (f.hasFloor)
            std::snprintf(floor, sizeof floor, "%.3f", f.floor);
        char target[32] = "-";
        if (f.hasTarget())
            std::snprintf(target, sizeof target, "%s%.1f", f.targetOp.c_str(), f.target);
        const char* result = f.hasTarget() ? (f.met() ? "met" : "MISSED") : "";
        std::printf("%-16s %12.3f %12s %10s  %-6s %s%s%s\n", f.name.c_str(), f.value, floor, target,
                    result, f.unit.c_str(), f.note.empty() ? "" : "  ", f.note.c_str());
    }
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
        std::printf("%s%s", Usage, Help);
        return 0;
    }
    if (argc == 2 && !std::strcmp(argv[1], "--floor-window"))
        return ironmoat::bench::floorWindowMain();
    if (argc == 2 && !std::strcmp(argv[1], "--startup-replica"))
        return ironmoat::bench::startupReplicaMain();

    std::string jsonPath = "bench.json";
    std::string only;
    int ticks = 12000;
    int frames = 600;
    int launches = 5;
    double idleSeconds = 10.0;
    double matchSeconds = 15.0;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--json") && hasValue)
            jsonPath = argv[++i];
        else if (!std::strcmp(argv[i], "--only") && hasValue)
            only = argv[++i];
        else if (!std::strcmp(argv[i], "--launches") && hasValue)
            launches = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--idle") && hasValue)
            idleSeconds = std::max(1.0, std::atof(argv[++i]));
        else if (!std::strcmp(argv[i], "--match") && hasValue)
            matchSeconds = std::max(1.0, std::atof(argv[++i]));
        else if (!std::strcmp(argv[i], "--ticks") && hasValue)
            ticks = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--frames") && hasValue)
            frames = std::max(1, std::atoi(argv[++i]));
        else {
            std::fputs(Usage, stderr);
            return 2;
        }
    }

    const std::vector<std::string> archives = {"data/core.dat", "data/ironmoat.dat"};
    const std::string game = std::filesystem::absolute("ironmoat").string();
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    for (const std::string& path : {archives[0], archives[1], std::string("ironmoat")}) {
        if (!std::filesystem::exists(path)) {
            std::fprintf(stderr, "ironmoat-bench: %s is missing; run from the runtime folder\n",
                         path.c_str());
            return 1;
        }
    }

    std::vector<Figure> figures;
    {
        std::optional<pyx::core::WeakSingleton<pyx::cmn::Logger>> logger(std::in_place);
        std::optional<pyx::core::WeakSingleton<pyx::cmn::ResourceManager>> resources(std::in_place);
        (*resources)->mount(L"data/core.dat", L"@release/Core");
        (*resources)->mount(L"data/ironmoat.dat", L"ironmoat");
        std::optional<pyx::core::WeakSingleton<pyx::gui::GuiResources>> gui(std::in_place);
        (*gui)->setDefaultFont(
            (*resources)->getFont(L"@release/Core/Fonts/Charis-SIL/Font-Face-R.ttf"));

        auto wanted = [&only](const char* part) { return only.empty() || only == part; };
        auto add = [&figures](std::vector<Figure> more) {
            for (auto&& f : more)
                figures.push_back(std::move(f));
        };
        if (wanted("data"))
            add(ironmoat::bench::runDataBench(archives));
        if (wanted("tick"))
            add(ironmoat::bench::runTickBench(ticks));
        if (wanted("frame"))
            add(ironmoat::bench::runFrameBench(frames));
        gui.reset();
        resources.reset();
        logger.reset();
    }

    // The game processes come last, with this process's own window closed.
    if (only.empty() || only == "process") {
        for (auto&& f :
             ironmoat::bench::runProcessBench(game, self, launches, idleSeconds, matchSeconds))
            figures.push_back(std::move(f));
    }

    printTable(figures);
    if (!writeJson(jsonPath, figures)) {
        std::fprintf(stderr, "ironmoat-bench: cannot write %s\n", jsonPath.c_str());
        return 1;
    }
    std::printf("figures written to %s\n", jsonPath.c_str());
    return 0;
}
