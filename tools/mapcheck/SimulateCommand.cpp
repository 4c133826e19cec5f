#include "tools/mapcheck/Commands.hpp"
#include "tools/mapcheck/LevelFile.hpp"
#include "tools/mapcheck/Simulator.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace ironmoat::tools {

namespace {

// The figures of one level over all its runs.
struct Figures {
    std::string name;
    int runs = 0;
    float baseMedian = 0, baseMin = 0, baseMax = 0;
    float killsMedian = 0, killsMin = 0, killsMax = 0;
    int ends[4] = {0, 0, 0, 0}; // by RunEnd
};

float median(std::vector<float> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0f;
}

Figures summarise(const std::string& name, const std::vector<RunResult>& results) {
    Figures f;
    f.name = name;
    f.runs = static_cast<int>(results.size());
    std::vector<float> base;
    std::vector<float> kills;
    for (const RunResult& r : results) {
        base.push_back(r.seconds);
        kills.push_back(static_cast<float>(r.enemiesDestroyed));
        ++f.ends[static_cast<int>(r.end)];
    }
    f.baseMedian = median(base);
    f.baseMin = *std::min_element(base.begin(), base.end());
    f.baseMax = *std::max_element(base.begin(), base.end());
    f.killsMedian = median(kills);
    f.killsMin = *std::min_element(kills.begin(), kills.end());
    f.killsMax = *std::max_element(kills.begin(), kills.end());
    return f;
}

std::string fixed(float value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, static_cast<double>(value));
    return text;
}

std::string number(float value) {
    // Medians of an even count may end in .5; whole numbers print bare.
    return value == static_cast<float>(static_cast<int>(value)) ? std::to_string(int(value))
                                                                : fixed(value, 1);
}

std::string pad(std::string text, std::size_t width, bool right = false) {
    if (text.size() < width) {
        text.insert(right ? 0 : text.size(), width - text.size(), ' ');
    }
    return text;
}

void printTable(const std::vector<Figures>& all, int runs, std::uint32_t seed) {
    std::size_t nameWidth = 5;
    for (const Figures& f : all) {
        nameWidth = std::max(nameWidth, f.name.size());
    }
    std::cout << runs << " runs per level, seeds " << seed << " to "
              << seed + static_cast<std::uint32_t>(runs) - 1 << ", cap "
              << int(Simulator::CapSeconds) << " s of game time\n";
    std::cout << pad("level", nameWidth) << "  base stood (s)      enemies destroyed  cleared  "
              << "fell  out  capped\n";
    std::cout << pad("", nameWidth) << "  median  min-max    median  min-max\n";
    for (const Figures& f : all) {
        std::cout << pad(f.name, nameWidth) << "  " << pad(fixed(f.baseMedian, 1), 6, true) << "  "
                  << pad(fixed(f.baseMin, 0) + "-" + fixed(f.baseMax, 0), 9) << "  "
                  << pad(number(f.killsMedian), 6, true) << "  "
                  << pad(number(f.killsMin) + "-" + number(f.killsMax), 9) << "  "
                  << pad(std::to_string(f.ends[0]) + "/" + std::to_string(f.runs), 7, true) << "  "
                  << pad(std::to_string(f.ends[1]), 4, true) << "  "
                  << pad(std::to_string(f.ends[2]), 3, true) << "  "
                  << pad(std::to_string(f.ends[3]), 6, true) << '\n';
    }
}

void printTsv(const std::vector<Figures>& all) {
    std::cout << "level\truns\tbase_median_s\tbase_min_s\tbase_max_s\tkills_median\tkills_min\t"
                 "kills_max\tcleared\tbase_fell\thumans_out\tcapped\n";
    for (const Figures& f : all) {
        std::cout << f.name << '\t' << f.runs << '\t' << fixed(f.baseMedian, 1) << '\t'
                  << fixed(f.baseMin, 1) << '\t' << fixed(f.baseMax, 1) << '\t'
                  << number(f.killsMedian) << '\t' << number(f.killsMin) << '\t'
                  << number(f.killsMax) << '\t' << f.ends[0] << '\t' << f.ends[1] << '\t'
                  << f.ends[2] << '\t' << f.ends[3] << '\n';
    }
}

void printMarkdown(const std::vector<Figures>& all) {
    std::cout << "| Level | Base stood, median (range) s | Enemies destroyed, median (range) | "
                 "Cleared | Base fell | Humans out | Capped |\n"
              << "|---|---|---|---|---|---|---|\n";
    for (const Figures& f : all) {
        std::cout << "| " << f.name << " | " << fixed(f.baseMedian, 1) << " ("
                  << fixed(f.baseMin, 0) << "-" << fixed(f.baseMax, 0) << ") | "
                  << number(f.killsMedian) << " (" << number(f.killsMin) << "-"
                  << number(f.killsMax) << ") | " << f.ends[0] << "/" << f.runs << " | "
                  << f.ends[1] << " | " << f.ends[2] << " | " << f.ends[3] << " |\n";
    }
}

} // namespace

int runSimulate(const Options& options) {
    std::vector<Figures> all;
    std::vector<float> everyBase;
    int cleared = 0;
    int total = 0;
    bool unreadable = false;
    {
        std::vector<std::pair<std::string, std::string>> levels;
        for (const std::string& path : options.files) {
            auto bytes = readWholeFile(path);
            if (!bytes || bytes->empty()) {
                std::cerr << path << ": error: cannot be read or is empty\n";
                unreadable = true;
                continue;
            }
            levels.emplace_back(std::filesystem::path(path).filename().string(), std::move(*bytes));
        }
        // Made after the files are read: it moves into a scratch folder.
        Simulator simulator;
        for (const auto& [name, bytes] : levels) {
            std::vector<RunResult> results;
            for (int i = 0; i < options.runs; ++i) {
                results.push_back(
                    simulator.run(bytes, options.seed + static_cast<std::uint32_t>(i)));
                everyBase.push_back(results.back().seconds);
                cleared += results.back().end == RunEnd::Cleared ? 1 : 0;
                ++total;
            }
            all.push_back(summarise(name, results));
        }
    }
    if (all.empty()) {
        return 2;
    }
    switch (options.format) {
    case Options::Format::Tsv:
        printTsv(all);
        break;
    case Options::Format::Markdown:
        printMarkdown(all);
        break;
    case Options::Format::Table:
        printTable(all, options.runs, options.seed);
        std::cout << "all " << all.size() << " levels: base stood " << fixed(median(everyBase), 1)
                  << " s (median), cleared " << cleared << " of " << total << " runs ("
                  << fixed(100.0f * static_cast<float>(cleared) / static_cast<float>(total), 0)
                  << " %)\n";
        break;
    }
    return unreadable ? 2 : 0;
}

} // namespace ironmoat::tools
