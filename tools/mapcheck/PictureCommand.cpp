#include "tools/mapcheck/Commands.hpp"
#include "tools/mapcheck/LevelFile.hpp"
#include "tools/mapcheck/LevelNames.hpp"
#include "tools/mapcheck/MapPainter.hpp"

#include "engine/core/Utf8.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>

namespace ironmoat::tools {

namespace {

constexpr int PictureCell = 32; // --png: 832 pixels a side
constexpr int SheetCell = 16;   // --sheet: 416 pixels a map
constexpr unsigned SheetColumns = 7;
constexpr unsigned LabelHeight = 28;
constexpr unsigned Gap = 12;
const sf::Color SheetBackground(32, 34, 38);

bool save(const sf::Image& image, const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    std::error_code ec;
    if (!parent.empty()) {
        std::filesystem::create_directories(parent, ec);
    }
    if (!image.saveToFile(path)) {
        std::cerr << path << ": error: cannot be written\n";
        return false;
    }
    return true;
}

std::string sheetTitle(const std::string& path, const std::map<int, std::string>& names) {
    const std::string file = std::filesystem::path(path).filename().string();
    const int number = levelNumberOf(file);
    const auto found = names.find(number);
    if (found == names.end()) {
        return file;
    }
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%02d  ", number);
    return prefix + found->second;
}

} // namespace

int runPicture(const Options& options) {
    const auto data = MapPainter::findDataFolder();
    if (!data) {
        std::cerr << "ironmoat-mapcheck: the game's archives (data/core.dat and "
                     "data/ironmoat.dat) are neither in the working folder nor in the build "
                     "tree; build the game first\n";
        return 2;
    }
    const bool sheet = options.mode == Options::Mode::Sheet;
    std::map<int, std::string> names;
    if (sheet && !options.namesFrom.empty()) {
        // A missing table is no fault: the file names stand in.
        if (const auto table = readWholeFile(options.namesFrom)) {
            names = readLevelNames(*table);
        }
    }

    std::vector<std::pair<std::string, cmn::LevelLayout>> levels;
    bool unreadable = false;
    for (const std::string& path : options.files) {
        const auto bytes = readWholeFile(path);
        if (!bytes) {
            std::cerr << path << ": error: cannot be read\n";
            unreadable = true;
            continue;
        }
        levels.emplace_back(path, cmn::readLevel(*bytes));
    }
    if (levels.empty()) {
        return 2;
    }

    MapPainter painter(*data, sheet ? SheetCell : PictureCell);
    if (!painter.ready()) {
        std::cerr << "ironmoat-mapcheck: cannot open the archives in " << data->string() << "\n";
        return 2;
    }
    if (!sheet) {
        return save(painter.paint(levels.front().second), options.output) && !unreadable ? 0 : 2;
    }

    const unsigned map = 26 * SheetCell;
    const unsigned tileW = map + Gap;
    const unsigned tileH = LabelHeight + map + Gap;
    const unsigned count = static_cast<unsigned>(levels.size());
    const unsigned columns = std::min(SheetColumns, count);
    const unsigned rows = (count + columns - 1) / columns;
    sf::Image sheetImage;
    sheetImage.create(columns * tileW + Gap, rows * tileH + Gap, SheetBackground);
    for (unsigned i = 0; i < count; ++i) {
        const unsigned left = Gap + (i % columns) * tileW;
        const unsigned top = Gap + (i / columns) * tileH;
        const std::wstring title = pyx::core::utf8ToWide(sheetTitle(levels[i].first, names));
        sheetImage.copy(painter.label(title, map, LabelHeight, SheetBackground), left, top);
        sheetImage.copy(painter.paint(levels[i].second), left, top + LabelHeight);
    }
    return save(sheetImage, options.output) && !unreadable ? 0 : 2;
}

} // namespace ironmoat::tools
