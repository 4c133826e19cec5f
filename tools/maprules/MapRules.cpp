#include "tools/maprules/MapRules.hpp"

#include "tools/maprules/Routes.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <utility>

namespace ironmoat::maprules {

namespace {

using cmn::LevelLayout;
using cmn::MapMarker;
using cmn::TileKind;

// A cell list in messages is cut here, with the rest counted.
constexpr std::size_t ListedCells = 6;

std::string at(Cell c) {
    return "(" + std::to_string(c.x) + ", " + std::to_string(c.y) + ")";
}

Cell cellOf(const MapMarker& m) {
    return Cell{m.column, m.row};
}

// "(1, 2), (3, 4) and (5, 6)", or "... and 12 more" past the first few.
std::string listCells(const std::vector<Cell>& cells) {
    std::string text;
    const std::size_t shown = std::min(cells.size(), ListedCells);
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0) {
            text += (i + 1 == shown && shown == cells.size()) ? " and " : ", ";
        }
        text += at(cells[i]);
    }
    if (shown < cells.size()) {
        text += " and " + std::to_string(cells.size() - shown) + " more";
    }
    return text;
}

const char* kindName(TileKind kind) {
    switch (kind) {
    case TileKind::Tree:
        return "trees";
    case TileKind::Metal:
        return "metal";
    case TileKind::Brick:
        return "brick";
    case TileKind::Water:
        return "water";
    case TileKind::Wood:
        return "wood";
    default:
        return "open ground";
    }
}

bool strayByte(unsigned char byte) {
    return cmn::tileKindOfByte(byte) == TileKind::Empty && byte != ' ' && !cmn::isMarkerByte(byte);
}

std::string byteName(unsigned char byte) {
    char text[24];
    if (byte >= 0x21 && byte < 0x7F) {
        std::snprintf(text, sizeof text, "0x%02X (\"%c\")", static_cast<unsigned>(byte), byte);
    } else {
        std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(byte));
    }
    return text;
}

bool inGrid(Cell c) {
    return c.x >= 0 && c.y >= 0 && c.x < GridSize && c.y < GridSize;
}

std::vector<Cell> footprint(Cell c) {
    return {c, Cell{c.x + 1, c.y}, Cell{c.x, c.y + 1}, Cell{c.x + 1, c.y + 1}};
}

bool overlaps(Cell a, Cell b) {
    return std::abs(a.x - b.x) < 2 && std::abs(a.y - b.y) < 2;
}

// What the checker learns about a level before judging it.
struct Layout {
    std::vector<Cell> bases;
    std::vector<Cell> humans;
    std::vector<Cell> enemies;
    std::vector<Cell> baseCells; // every cell a base covers
    std::vector<Cell> ringCells; // every ring cell in the grid
};

class Checker {
public:
    explicit Checker(const LevelLayout& level) : m_level(level) {
        for (const MapMarker& m : level.markers) {
            if (m.digit == 0) {
                m_layout.enemies.push_back(cellOf(m));
            } else if (m.digit == 1) {
                m_layout.bases.push_back(cellOf(m));
            } else if (m.digit == 2) {
                m_layout.humans.push_back(cellOf(m));
            }
        }
        for (const Cell& base : m_layout.bases) {
            for (const Cell& c : footprint(base)) {
                m_layout.baseCells.push_back(c);
            }
            for (const Cell& c : ringOf(base)) {
                if (inGrid(c)) {
                    m_layout.ringCells.push_back(c);
                }
            }
        }
    }

    std::vector<Finding> run() {
        strayBytes();
        bases();
        spawnCounts();
        footprints();
        routes();
        linesOfFire();
        unusedDigits();
        std::stable_sort(m_findings.begin(), m_findings.end(), [](const auto& a, const auto& b) {
            return a.severity == Severity::Error && b.severity == Severity::Warning;
        });
        return std::move(m_findings);
    }

private:
    void error(std::string text, std::vector<Cell> cells) {
        m_findings.push_back(Finding{Severity::Error, std::move(text), std::move(cells)});
    }
    void warning(std::string text, std::vector<Cell> cells) {
        m_findings.push_back(Finding{Severity::Warning, std::move(text), std::move(cells)});
    }

    void bases() {
        const auto& bases = m_layout.bases;
        if (bases.empty()) {
            error("no base \"1\": the match ends at once", {});
            return;
        }
        if (bases.size() > 1) {
            error(std::to_string(bases.size()) + " bases \"1\" at " + listCells(bases) +
                      ": a level has exactly one",
                  bases);
        }
        for (const Cell& base : bases) {
            std::vector<Cell> blocked;
            for (const Cell& c : footprint(base)) {
                if (!inGrid(c)) {
                    error("base at " + at(base) + " reaches past the edge of the field", {base});
                    blocked.clear();
                    break;
                }
                if (m_level.kinds[c.x][c.y] != TileKind::Empty) {
                    blocked.push_back(c);
                }
            }
            if (!blocked.empty()) {
                error("base at " + at(base) + " stands on " +
                          kindName(m_level.kinds[blocked[0].x][blocked[0].y]) + " at " +
                          listCells(blocked) + ": its 2x2 cells must be open ground",
                      blocked);
            }
            std::vector<Cell> outside;
            std::map<TileKind, std::vector<Cell>> notBrick;
            for (const Cell& c : ringOf(base)) {
                if (!inGrid(c)) {
                    outside.push_back(c);
                } else if (m_level.kinds[c.x][c.y] != TileKind::Brick) {
                    notBrick[m_level.kinds[c.x][c.y]].push_back(c);
                }
            }
            if (!outside.empty()) {
                error("base at " + at(base) +
                          " is too close to the edge: " + std::to_string(outside.size()) +
                          " cells of its 12-cell brick ring lie outside the field",
                      {base});
            }
            for (const auto& [kind, cells] : notBrick) {
                error("base at " + at(base) + ": its ring has " + kindName(kind) + " at " +
                          listCells(cells) + " where brick belongs",
                      cells);
            }
        }
    }

    void spawnCounts() {
        const auto& humans = m_layout.humans;
        if (humans.empty()) {
            error("no human spawn \"2\": the players have nowhere to start", {});
        } else if (humans.size() == 1) {
            error("only one human spawn \"2\", at " + at(humans[0]) +
                      ": in a two-player match both tanks appear on it",
                  humans);
        }
        for (std::size_t i = 0; i < humans.size(); ++i) {
            for (std::size_t j = i + 1; j < humans.size(); ++j) {
                if (overlaps(humans[i], humans[j])) {
                    error("human spawns at " + at(humans[i]) + " and " + at(humans[j]) +
                              " overlap: the two players' tanks would stand on each other",
                          {humans[i], humans[j]});
                }
            }
        }
        const auto& enemies = m_layout.enemies;
        if (enemies.empty()) {
            error("no enemy spawn \"0\": the level never ends", {});
        } else if (enemies.size() == 1) {
            error("only one enemy spawn \"0\", at " + at(enemies[0]) +
                      ": a level needs two or more",
                  enemies);
        }
        for (std::size_t i = 0; i < enemies.size(); ++i) {
            for (std::size_t j = i + 1; j < enemies.size(); ++j) {
                if (overlaps(enemies[i], enemies[j])) {
                    warning("enemy spawns at " + at(enemies[i]) + " and " + at(enemies[j]) +
                                " overlap: enemy tanks may appear on top of each other",
                            {enemies[i], enemies[j]});
                }
            }
            for (const Cell& human : humans) {
                if (overlaps(enemies[i], human)) {
                    warning("enemy spawn at " + at(enemies[i]) + " overlaps human spawn at " +
                                at(human) + ": tanks may appear on top of each other",
                            {enemies[i], human});
                }
            }
        }
    }

    // Whether a tank can appear on the spawn at all; a spawn that fails is
    // left out of the route checks (its fault is already told).
    bool spawnFits(Cell spawn) const {
        for (const Cell& c : footprint(spawn)) {
            if (!inGrid(c) || !enterable(c) || isBaseCell(c)) {
                return false;
            }
        }
        return true;
    }

    bool enterable(Cell c) const {
        const TileKind kind = m_level.kinds[c.x][c.y];
        return kind == TileKind::Empty || kind == TileKind::Tree;
    }

    bool isBaseCell(Cell c) const {
        return std::find(m_layout.baseCells.begin(), m_layout.baseCells.end(), c) !=
               m_layout.baseCells.end();
    }

    void footprints() {
        auto judge = [&](const char* who, Cell spawn) {
            std::vector<Cell> outside;
            std::vector<Cell> blocked;
            std::vector<Cell> onBase;
            for (const Cell& c : footprint(spawn)) {
                if (!inGrid(c)) {
                    outside.push_back(c);
                } else if (isBaseCell(c)) {
                    onBase.push_back(c);
                } else if (!enterable(c)) {
                    blocked.push_back(c);
                }
            }
            const std::string name = std::string(who) + " spawn at " + at(spawn);
            if (!outside.empty()) {
                error(name + ": its 2x2 cells reach past the edge of the field", {spawn});
            }
            if (!onBase.empty()) {
                error(name + ": its 2x2 cells overlap the base at " + listCells(onBase), onBase);
            }
            if (!blocked.empty()) {
                error(name + ": a tank cannot stand there, " +
                          kindName(m_level.kinds[blocked[0].x][blocked[0].y]) + " at " +
                          listCells(blocked),
                      blocked);
            }
        };
        for (const Cell& c : m_layout.humans) {
            judge("human", c);
        }
        for (const Cell& c : m_layout.enemies) {
            judge("enemy", c);
        }
    }

    void routes() {
        std::vector<Cell> ringAndBase = m_layout.baseCells;
        ringAndBase.insert(ringAndBase.end(), m_layout.ringCells.begin(), m_layout.ringCells.end());
        const RouteMap keepRing(m_level, ringAndBase);
        const RouteMap anyWay(m_level, m_layout.baseCells);
        for (const Cell& human : m_layout.humans) {
            if (!spawnFits(human)) {
                continue;
            }
            const bool canStart = keepRing.fitsAsIs(human.x - 1, human.y) ||
                                  keepRing.fitsAsIs(human.x + 1, human.y) ||
                                  keepRing.fitsAsIs(human.x, human.y - 1) ||
                                  keepRing.fitsAsIs(human.x, human.y + 1);
            if (!canStart) {
                error("human spawn at " + at(human) +
                          " is boxed in: a tank there cannot move a single cell without "
                          "shooting its way out",
                      {human});
            }
            const auto kept = keepRing.reachableFrom(human);
            const auto broken = anyWay.reachableFrom(human);
            for (const Cell& enemy : m_layout.enemies) {
                if (!spawnFits(enemy) || kept[enemy.x][enemy.y]) {
                    continue;
                }
                if (broken[enemy.x][enemy.y]) {
                    error("human spawn at " + at(human) + " cannot reach enemy spawn at " +
                              at(enemy) + " without breaking the base's ring",
                          {human, enemy});
                } else {
                    error("human spawn at " + at(human) + " cannot reach enemy spawn at " +
                              at(enemy) +
                              " at all: metal, water or the field's edge close "
                              "every way",
                          {human, enemy});
                }
            }
        }
    }

    void linesOfFire() {
        if (m_layout.ringCells.empty()) {
            return;
        }
        constexpr struct {
            int dx;
            int dy;
            const char* name;
        } directions[] = {{-1, 0, "left"}, {1, 0, "right"}, {0, -1, "up"}, {0, 1, "down"}};
        for (const Cell& enemy : m_layout.enemies) {
            if (!spawnFits(enemy)) {
                continue;
            }
            for (const auto& d : directions) {
                const auto stop = firstShellStop(m_level, enemy, d.dx, d.dy, m_layout.baseCells);
                std::vector<Cell> hit;
                for (const Cell& c : stop) {
                    const bool ring =
                        std::find(m_layout.ringCells.begin(), m_layout.ringCells.end(), c) !=
                        m_layout.ringCells.end();
                    if (ring || isBaseCell(c)) {
                        hit.push_back(c);
                    }
                }
                if (!hit.empty()) {
                    std::vector<Cell> cells{enemy};
                    cells.insert(cells.end(), hit.begin(), hit.end());
                    error("enemy spawn at " + at(enemy) +
                              " has an open line of fire onto the base's ring: a shell fired " +
                              d.name + " from it first hits " + listCells(hit),
                          cells);
                }
            }
        }
    }

    void unusedDigits() {
        std::map<int, std::vector<Cell>> byDigit;
        std::vector<Cell> all;
        for (const MapMarker& m : m_level.markers) {
            if (m.digit > 2) {
                byDigit[m.digit].push_back(cellOf(m));
                all.push_back(cellOf(m));
            }
        }
        if (byDigit.size() == 1) {
            const auto& [digit, cells] = *byDigit.begin();
            warning("digit \"" + std::to_string(digit) + "\" at " + listCells(cells) +
                        " marks nothing in the game: it reads as open ground",
                    cells);
        } else if (!byDigit.empty()) {
            // Several digits in one line: a file full of them stays readable.
            std::string text = "digits that mark nothing in the game read as open ground: ";
            bool first = true;
            for (const auto& [digit, cells] : byDigit) {
                text +=
                    (first ? "\"" : "; \"") + std::to_string(digit) + "\" at " + listCells(cells);
                first = false;
            }
            warning(text, all);
        }
    }

    void strayBytes() {
        std::map<unsigned char, std::vector<Cell>> byByte;
        std::size_t total = 0;
        std::size_t written = 0; // cells the file filled with something but a blank
        for (int y = 0; y < GridSize; ++y) {
            for (int x = 0; x < GridSize; ++x) {
                const unsigned char byte = m_level.bytes[x][y];
                written += byte != ' ' ? 1 : 0;
                if (strayByte(byte)) {
                    byByte[byte].push_back(Cell{x, y});
                    ++total;
                }
            }
        }
        // Most of what the file wrote means nothing: a level of a few
        // stray bytes is a level; a picture or a binary file is not.
        if (total >= static_cast<std::size_t>(GridSize) && total * 2 > written) {
            error(std::to_string(total) + " of the " + std::to_string(written) +
                      " cells the file fills hold bytes that mean nothing in a level: this does "
                      "not look like a level file",
                  {});
        }
        // Most frequent first; a file of many different bytes is summed up
        // in a few lines.
        std::vector<std::pair<unsigned char, std::vector<Cell>>> sorted(byByte.begin(),
                                                                        byByte.end());
        std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
            return a.second.size() > b.second.size();
        });
        constexpr std::size_t ListedBytes = 4;
        std::vector<Cell> rest;
        std::size_t restKinds = 0;
        for (std::size_t i = 0; i < sorted.size(); ++i) {
            const auto& [byte, cells] = sorted[i];
            if (i < ListedBytes || sorted.size() == ListedBytes + 1) {
                warning("byte " + byteName(byte) + " at " + listCells(cells) +
                            " reads as open ground but is not a blank",
                        cells);
            } else {
                rest.insert(rest.end(), cells.begin(), cells.end());
                ++restKinds;
            }
        }
        if (restKinds > 0) {
            std::sort(rest.begin(), rest.end(),
                      [](Cell a, Cell b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
            warning(std::to_string(restKinds) + " other unknown bytes at " +
                        std::to_string(rest.size()) + " cells read as open ground, the first at " +
                        at(rest.front()),
                    rest);
        }
    }

    const LevelLayout& m_level;
    Layout m_layout;
    std::vector<Finding> m_findings;
};

} // namespace

std::vector<Finding> checkLevel(const LevelLayout& level) {
    return Checker(level).run();
}

} // namespace ironmoat::maprules
