#include "game/world/Terrain.hpp"
#include "tests/world/TempWorkingFolder.hpp"

#include "engine/common/ResourceManager.hpp"
#include "engine/core/WeakSingleton.hpp"
#include "engine/graphics/Camera.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <vector>

using ironmoat::cmn::CellState;
using ironmoat::cmn::Terrain;
using ironmoat::cmn::TileKind;

namespace {

constexpr int Cell = 27; // the cell size of a 702-pixel field
const sf::Color Clear(255, 0, 255);

// One solid colour per frame of each picture, so a pixel tells which frame
// of which tileset was drawn there.
sf::Color frameColour(int picture, int column, int row) {
    return sf::Color(static_cast<sf::Uint8>(40 * picture + 10),
                     static_cast<sf::Uint8>(20 * column + 5), static_cast<sf::Uint8>(30 * row + 7));
}

enum Picture { Background = 0, Brick = 1, Tree = 2, Water = 3, Wood = 4 };

void writeTileset(const char* path, int picture, unsigned frame, int columns, int rows) {
    sf::Image image;
    image.create(frame * columns, frame * rows);
    for (int c = 0; c < columns; ++c) {
        for (int r = 0; r < rows; ++r) {
            for (unsigned px = 0; px < frame; ++px) {
                for (unsigned py = 0; py < frame; ++py) {
                    image.setPixel(c * frame + px, r * frame + py, frameColour(picture, c, r));
                }
            }
        }
    }
    std::filesystem::create_directories("ironmoat");
    ASSERT_TRUE(image.saveToFile(path));
}

// Real pictures in a temporary working folder (the metal picture is left
// out on purpose), a real window and the camera every frame is drawn through.
class WorldTerrainDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        writeTileset("ironmoat/background_tileset.png", Background, 80, 4, 1);
        writeTileset("ironmoat/brick_tileset.png", Brick, 40, 2, 5);
        writeTileset("ironmoat/tree_tileset.png", Tree, 40, 3, 1);
        writeTileset("ironmoat/water_tileset.png", Water, 40, 8, 1);
        writeTileset("ironmoat/wood_tileset.png", Wood, 40, 1, 1);
        window = std::make_shared<sf::RenderWindow>(sf::VideoMode(26 * Cell, 26 * Cell),
                                                    "terrain drawing");
        camera = std::make_unique<pyx::gfx::Camera>(window, true);
        terrain = std::make_unique<Terrain>(40);
    }

    sf::Image render(bool ground, bool cover, int cw = Cell, int ch = Cell) {
        window->clear(Clear);
        if (ground) {
            terrain->drawGround(*camera, cw, ch);
        }
        if (cover) {
            terrain->drawCover(*camera, cw, ch);
        }
        sf::Texture shot;
        shot.create(window->getSize().x, window->getSize().y);
        shot.update(*window);
        return shot.copyToImage();
    }

    static sf::Color centreOf(const sf::Image& image, int x, int y) {
        return image.getPixel(x * Cell + Cell / 2, y * Cell + Cell / 2);
    }

    ironmoat::test::TempWorkingFolder folder;
    pyx::core::WeakSingleton<pyx::cmn::ResourceManager> resources;
    std::shared_ptr<sf::RenderWindow> window;
    std::unique_ptr<pyx::gfx::Camera> camera;
    std::unique_ptr<Terrain> terrain;
};

TEST_F(WorldTerrainDrawing, BackgroundMosaicIsTheSameInEveryFrameAndRun) {
    const sf::Image first = render(true, false);
    // The mosaic is 13 x 13 tiles of 2 x 2 cells, one frame each, drawn from
    // a fixed seed in column-major order.
    std::uint32_t seed = 213482u;
    std::set<int> used;
    for (int bx = 0; bx < 13; ++bx) {
        for (int by = 0; by < 13; ++by) {
            seed = seed * 1103515245u + 12345u;
            const int variant = static_cast<int>((seed >> 16) % 4);
            used.insert(variant);
            for (auto [dx, dy] : {std::pair{0, 0}, std::pair{1, 1}}) {
                EXPECT_EQ(centreOf(first, 2 * bx + dx, 2 * by + dy).toInteger(),
                          frameColour(Background, variant, 0).toInteger())
                    << bx << "," << by;
            }
        }
    }
    EXPECT_EQ(used.size(), 4u);

    // Another frame, and another terrain with other cell variants.
    terrain->updateTimers(1.f);
    const sf::Image second = render(true, false);
    terrain = std::make_unique<Terrain>(40);
    const sf::Image third = render(true, false);
    const std::size_t bytes = 4u * first.getSize().x * first.getSize().y;
    EXPECT_EQ(std::memcmp(first.getPixelsPtr(), second.getPixelsPtr(), bytes), 0);
    EXPECT_EQ(std::memcmp(first.getPixelsPtr(), third.getPixelsPtr(), bytes), 0);
}

TEST_F(WorldTerrainDrawing, TreesAreDrawnInTheCoverLayerAndEverythingElseBelow) {
    const sf::Image reference = render(true, false);
    terrain->initCell(3, 3, TileKind::Tree);
    terrain->initCell(5, 5, TileKind::Brick);
    terrain->initCell(7, 7, TileKind::Wood);
    terrain->initCell(9, 9, TileKind::Water);
    const int treeColumn = terrain->cellAt(3, 3).variant % 3;
    const int brickColumn = terrain->cellAt(5, 5).variant % 2;

    const sf::Image ground = render(true, false);
    EXPECT_EQ(centreOf(ground, 3, 3), centreOf(reference, 3, 3));
    EXPECT_EQ(centreOf(ground, 5, 5), frameColour(Brick, brickColumn, 0));
    EXPECT_EQ(centreOf(ground, 7, 7), frameColour(Wood, 0, 0));
    EXPECT_EQ(centreOf(ground, 9, 9), frameColour(Water, terrain->waterFrame(), 0));

    const sf::Image cover = render(false, true);
    EXPECT_EQ(centreOf(cover, 3, 3), frameColour(Tree, treeColumn, 0));
    EXPECT_EQ(centreOf(cover, 5, 5), Clear);
    EXPECT_EQ(centreOf(cover, 9, 9), Clear);

    // Cells fill exactly their square: the neighbour of the brick is ground.
    EXPECT_EQ(ground.getPixel(6 * Cell, 5 * Cell + 5), centreOf(ground, 6, 5));
    EXPECT_EQ(ground.getPixel(6 * Cell - 1, 5 * Cell + 5), frameColour(Brick, brickColumn, 0));

    // A destroyed tree no longer hides anything; a destroyed brick shows the
    // background.
    terrain->cutTree(3, 3);
    terrain->destroyCell(5, 5);
    EXPECT_EQ(centreOf(render(false, true), 3, 3), Clear);
    EXPECT_EQ(centreOf(render(true, false), 5, 5), centreOf(reference, 5, 5));
}

TEST_F(WorldTerrainDrawing, HalfBrokenBricksShowTheirRowAtTheSameVariantColumn) {
    // Four bricks in a row of their own, each hit once from another side.
    struct Case {
        int x, dx, dy, row;
    };
    const Case cases[] = {{2, 0, -1, 1}, {6, 0, 1, 2}, {10, -1, 0, 3}, {14, 1, 0, 4}};
    for (const Case& c : cases) {
        terrain->initCell(c.x, 12, TileKind::Brick);
    }
    const sf::Image whole = render(true, false);
    for (const Case& c : cases) {
        const int column = terrain->cellAt(c.x, 12).variant % 2;
        EXPECT_EQ(centreOf(whole, c.x, 12), frameColour(Brick, column, 0));
        // The lead point puts the brick in cell B (right of or below the line).
        ASSERT_TRUE(terrain->shellHitTerrain(false, false, c.x, 12, c.dx, c.dy));
    }
    const sf::Image broken = render(true, false);
    for (const Case& c : cases) {
        const int column = terrain->cellAt(c.x, 12).variant % 2;
        EXPECT_EQ(centreOf(broken, c.x, 12), frameColour(Brick, column, c.row)) << c.x;
    }
}

TEST_F(WorldTerrainDrawing, WaterCyclesThroughItsFramesAtTenPerSecond) {
    terrain->initCell(0, 0, TileKind::Water);
    terrain->initCell(25, 25, TileKind::Water);
    auto shownFrame = [&](const sf::Image& image) {
        for (int f = 0; f < 8; ++f) {
            if (centreOf(image, 0, 0) == frameColour(Water, f, 0)) {
                return f;
            }
        }
        return -1;
    };
    std::vector<int> shown{shownFrame(render(true, false))};
    ASSERT_EQ(shown.front(), 0);
    for (int tick = 0; tick < 60; ++tick) {
        terrain->updateTimers(1.f / 60.f);
        const sf::Image image = render(true, false);
        EXPECT_EQ(centreOf(image, 0, 0), centreOf(image, 25, 25)); // one frame for all
        const int frame = shownFrame(image);
        ASSERT_NE(frame, -1) << tick;
        if (frame != shown.back()) {
            shown.push_back(frame);
        }
    }
    // A second of ticks shows ten new frames, each the next one, wrapping
    // after the 8th.
    EXPECT_GE(shown.size(), 10u);
    EXPECT_LE(shown.size(), 12u);
    for (std::size_t i = 1; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i], (shown[i - 1] + 1) % 8) << i;
    }
    EXPECT_LT(terrain->waterFrame(), 8);
}

TEST_F(WorldTerrainDrawing, MissingPictureAndEmptyCellSizeDrawNothing) {
    // There is no metal picture: its cells show the background instead of
    // failing on a column count of 0.
    const sf::Image reference = render(true, false);
    terrain->initCell(4, 4, TileKind::Metal);
    terrain->initCell(5, 4, TileKind::Wood);
    const sf::Image image = render(true, true);
    EXPECT_EQ(centreOf(image, 4, 4), centreOf(reference, 4, 4));
    EXPECT_EQ(centreOf(image, 5, 4), frameColour(Wood, 0, 0)); // later cells still drawn

    // A window too small for the field gives cells of 0 pixels.
    terrain->initCell(0, 0, TileKind::Brick);
    terrain->initCell(1, 0, TileKind::Tree);
    const sf::Image empty = render(true, true, 0, 0);
    for (unsigned x = 0; x < 60; ++x) {
        for (unsigned y = 0; y < 60; ++y) {
            ASSERT_EQ(empty.getPixel(x, y), Clear) << x << "," << y;
        }
    }
}

} // namespace
