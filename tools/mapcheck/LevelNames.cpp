#include "tools/mapcheck/LevelNames.hpp"

#include <cctype>
#include <sstream>
#include <vector>

namespace ironmoat::tools {

namespace {

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The cells of a table row "| a | b |"; empty for a line that is no row.
std::vector<std::string> cellsOf(const std::string& line) {
    const std::string row = trim(line);
    std::vector<std::string> cells;
    if (row.size() < 2 || row.front() != '|') {
        return cells;
    }
    std::string cell;
    for (std::size_t i = 1; i < row.size(); ++i) {
        if (row[i] == '|') {
            cells.push_back(trim(cell));
            cell.clear();
        } else {
            cell += row[i];
        }
    }
    return cells;
}

bool wholeNumber(const std::string& text, int& value) {
    if (text.empty() || text.size() > 6) {
        return false;
    }
    value = 0;
    for (const char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    return true;
}

} // namespace

std::map<int, std::string> readLevelNames(const std::string& markdown) {
    std::map<int, std::string> names;
    std::istringstream in(markdown);
    std::string line;
    bool inTable = false;
    while (std::getline(in, line)) {
        const auto cells = cellsOf(line);
        if (cells.empty()) {
            inTable = false;
            continue;
        }
        if (cells.size() >= 2 && cells[0] == "#" && cells[1] == "Name") {
            inTable = true;
            continue;
        }
        int number = 0;
        if (inTable && cells.size() >= 2 && wholeNumber(cells[0], number) && !cells[1].empty()) {
            names.emplace(number, cells[1]);
        }
    }
    return names;
}

int levelNumberOf(const std::string& fileName) {
    const auto dot = fileName.rfind('.');
    const std::string stem = fileName.substr(0, dot);
    auto end = stem.size();
    while (end > 0 && !std::isdigit(static_cast<unsigned char>(stem[end - 1]))) {
        --end;
    }
    auto begin = end;
    while (begin > 0 && std::isdigit(static_cast<unsigned char>(stem[begin - 1]))) {
        --begin;
    }
    int number = -1;
    if (begin < end && !wholeNumber(stem.substr(begin, end - begin), number)) {
        return -1;
    }
    return begin < end ? number : -1;
}

} // namespace ironmoat::tools
