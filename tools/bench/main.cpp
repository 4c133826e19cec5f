// ironmoat-bench: run from the game's runtime folder (where data/*.dat lie),
// under an X server. Prints a table and writes the same figures as JSON.
//
//   ironmoat-bench [--json PATH] [--ticks N] [--frames N]

#include "engine/common/Logger.hpp"
#include "engine/common/ResourceManager.hpp"
#include "engine/core/WeakSingleton.hpp"
#include "engine/gui/GuiResources.hpp"
#include "tools/bench/Bench.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

using ironmoat::bench::Figure;

namespace {

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
    out << "  ],\n  \"missing\": [\"startup time\", \"idle CPU\"]\n}\n";
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
    std::string jsonPath = "bench.json";
    int ticks = 12000;
    int frames = 600;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--json") && hasValue)
            jsonPath = argv[++i];
        else if (!std::strcmp(argv[i], "--ticks") && hasValue)
            ticks = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--frames") && hasValue)
            frames = std::max(1, std::atoi(argv[++i]));
        else {
            std::fprintf(stderr, "usage: ironmoat-bench [--json PATH] [--ticks N] [--frames N]\n");
            return 2;
        }
    }

    const std::vector<std::string> archives = {"data/core.dat", "data/ironmoat.dat"};
    for (const std::string& path : archives) {
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

        for (auto&& f : ironmoat::bench::runDataBench(archives))
            figures.push_back(std::move(f));
        for (auto&& f : ironmoat::bench::runTickBench(ticks))
            figures.push_back(std::move(f));
        for (auto&& f : ironmoat::bench::runFrameBench(frames))
            figures.push_back(std::move(f));
        figures.push_back({"memory.peak", "MiB", ironmoat::bench::peakResidentMiB(), false, 0.0,
                           "<", 150.0, "VmHWM after the match"});
        gui.reset();
        resources.reset();
        logger.reset();
    }

    printTable(figures);
    std::printf("missing: startup time, idle CPU\n");
    if (!writeJson(jsonPath, figures)) {
        std::fprintf(stderr, "ironmoat-bench: cannot write %s\n", jsonPath.c_str());
        return 1;
    }
    std::printf("figures written to %s\n", jsonPath.c_str());
    return 0;
}
