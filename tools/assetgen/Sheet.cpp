#include "tools/assetgen/Pictures.hpp"

#include <algorithm>
#include <map>
#include <string>

namespace ironmoat::assetgen {

const std::vector<Picture>& allPictures() {
    static const std::vector<Picture> pictures = {
        {"background_tileset.png", 80, 80, 4, 1, drawBackground},
        {"brick_tileset.png", 40, 40, 4, 5, drawBrick},
        {"metal_tileset.png", 40, 40, 2, 1, drawMetal},
        {"tree_tileset.png", 40, 40, 2, 1, drawTree},
        {"water_tileset.png", 40, 40, 8, 1, drawWater},
        {"wood_tileset.png", 40, 40, 2, 1, drawWood},
        {"tank_tileset.png", 80, 80, 4, 4, drawTank},
        {"wheels_tileset.png", 80, 80, 4, 1, drawWheels},
        {"shield_tileset.png", 100, 100, 4, 1, drawShield},
        {"bullet_tileset.png", 20, 20, 2, 1, drawBullet},
        {"explosion_tileset.png", 80, 80, 5, 2, drawExplosion},
        {"bonuses_tileset.png", 80, 80, 8, 1, drawBonus},
        {"spawn_tileset.png", 80, 80, 1, 1, drawSpawn},
        {"bunker_thing.png", 80, 80, 1, 1, drawBase},
    };
    return pictures;
}

sf::Image renderPicture(const Picture& p) {
    sf::Image image;
    image.create(static_cast<unsigned>(p.frameWidth * p.columns),
                 static_cast<unsigned>(p.frameHeight * p.rows), sf::Color::Transparent);
    for (int row = 0; row < p.rows; ++row) {
        for (int column = 0; column < p.columns; ++column) {
            Canvas canvas(image, column * p.frameWidth, row * p.frameHeight, p.frameWidth,
                          p.frameHeight);
            p.draw(canvas, column, row);
        }
    }
    return image;
}

namespace {

// A 3 x 5 pixel font for the sheet's labels: rows top to bottom, '#' lit.
const std::map<char, const char*>& glyphs() {
    static const std::map<char, const char*> table = {
        {'a', ".#.#.#####.##.#"}, {'b', "##.#.###.#.###."}, {'c', ".###..#..#...##"},
        {'d', "##.#.##.##.###."}, {'e', "####..##.#..###"}, {'f', "####..##.#..#.."},
        {'g', ".###..#.##.#.##"}, {'h', "#.##.#####.##.#"}, {'i', "###.#..#..#.###"},
        {'j', "..#..#..##.#.#."}, {'k', "#.##.###.#.##.#"}, {'l', "#..#..#..#..###"},
        {'m', "#.########.##.#"}, {'n', "##.#.##.##.##.#"}, {'o', ".#.#.##.##.#.#."},
        {'p', "##.#.###.#..#.."}, {'q', ".#.#.##.###..##"}, {'r', "##.#.###.#.##.#"},
        {'s', ".###...#...###."}, {'t', "###.#..#..#..#."}, {'u', "#.##.##.##.####"},
        {'v', "#.##.##.##.#.#."}, {'w', "#.##.########.#"}, {'x', "#.##.#.#.#.##.#"},
        {'y', "#.##.#.#..#..#."}, {'z', "###..#.#.#..###"}, {'0', "####.##.##.####"},
        {'1', ".#.##..#..#.###"}, {'2', "###..#####..###"}, {'3', "###..#.##..####"},
        {'4', "#.##.####..#..#"}, {'5', "####..###..####"}, {'6', "####..####.####"},
        {'7', "###..#.#..#..#."}, {'8', "####.#####.####"}, {'9', "####.####..####"},
        {'_', "............###"}, {'.', ".............#."}, {' ', "..............."},
    };
    return table;
}

void drawText(Canvas& c, int x, int y, const std::string& text, int scale, sf::Color colour) {
    for (char ch : text) {
        const auto it = glyphs().find(ch);
        if (it != glyphs().end()) {
            const std::string bits = it->second;
            for (int i = 0; i < static_cast<int>(bits.size()) && i < 15; ++i) {
                if (bits[static_cast<std::size_t>(i)] == '#') {
                    c.rect(x + (i % 3) * scale, y + (i / 3) * scale, scale, scale, colour);
                }
            }
        }
        x += 4 * scale;
    }
}

} // namespace

sf::Image renderSheet() {
    // Frames are laid out with a gap, on a checkerboard that shows which
    // pixels are transparent; each frame is shown at its own size and again
    // at the size the default window draws it (27-pixel cells), scaled with
    // nearest-pixel sampling as the game does.
    constexpr int margin = 12;
    constexpr int gap = 8;
    constexpr int scale = 2;
    constexpr int labelH = 5 * scale + 4;
    constexpr float gameScale = 27.f / 40.f;
    int width = 0;
    int height = margin;
    for (const Picture& p : allPictures()) {
        const int small = static_cast<int>(p.frameWidth * gameScale);
        width = std::max(width, margin * 2 + 16 + p.columns * (p.frameWidth + small + 2 * gap));
        height += labelH * 2 + p.rows * (p.frameHeight + gap) + margin;
    }
    sf::Image sheet;
    sheet.create(static_cast<unsigned>(width), static_cast<unsigned>(height),
                 sf::Color(24, 24, 28));
    Canvas all(sheet, 0, 0, width, height);
    int y = margin;
    for (const Picture& p : allPictures()) {
        const sf::Image image = renderPicture(p);
        const int small = static_cast<int>(p.frameWidth * gameScale);
        drawText(all, margin, y, p.file, scale, sf::Color(240, 240, 240));
        y += labelH;
        for (int col = 0; col < p.columns; ++col) {
            const int x = margin + 16 + col * (p.frameWidth + small + 2 * gap);
            drawText(all, x, y, "c" + std::to_string(col), scale, sf::Color(250, 210, 90));
        }
        y += labelH;
        for (int row = 0; row < p.rows; ++row) {
            drawText(all, margin, y + 2, "r" + std::to_string(row), scale, sf::Color(250, 210, 90));
            for (int col = 0; col < p.columns; ++col) {
                const int x0 = margin + 16 + col * (p.frameWidth + small + 2 * gap);
                Canvas cell(sheet, x0, y, p.frameWidth + gap + small, p.frameHeight);
                for (int j = 0; j < p.frameHeight; ++j) {
                    for (int i = 0; i < p.frameWidth + gap + small; ++i) {
                        const bool inBig = i < p.frameWidth;
                        const bool inSmall = i >= p.frameWidth + gap && j < small;
                        if (!inBig && !inSmall) {
                            continue;
                        }
                        const bool check = ((i / 5) + (j / 5)) % 2 == 0;
                        cell.set(i, j, check ? sf::Color(70, 70, 76) : sf::Color(110, 110, 118));
                        int sx = i;
                        int sy = j;
                        if (inSmall) {
                            sx = static_cast<int>((i - p.frameWidth - gap) / gameScale);
                            sy = static_cast<int>(j / gameScale);
                        }
                        cell.blend(i, j,
                                   image.getPixel(static_cast<unsigned>(col * p.frameWidth + sx),
                                                  static_cast<unsigned>(row * p.frameHeight + sy)));
                    }
                }
            }
            y += p.frameHeight + gap;
        }
        y += margin;
    }
    return sheet;
}

} // namespace ironmoat::assetgen
