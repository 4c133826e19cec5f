#include "engine/common/ResourceManager.hpp"
#include "engine/core/WeakSingleton.hpp"
#include "engine/graphics/Camera.hpp"
#include "engine/graphics/Tileset.hpp"
#include "tests/graphics/RenderTestSupport.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <stdexcept>

using pyx::gfx::Camera;
using pyx::gfx::Tileset;
using namespace pyx::gfx::test;

namespace {

// Pictures are written as real PNG files and served from disk through the
// resource manager, as the game's loose files are.
class GraphicsTileset : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("ironmoat-tileset-" +
               std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
        window = makeWindow(640, 480);
        camera = std::make_unique<Camera>(window, true);
        camera->update();
        window->clear(sf::Color::Black);
    }

    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }

    // A picture whose left half is red and right half green.
    std::wstring halves(const std::string& name, unsigned width, unsigned height) {
        sf::Image image;
        image.create(width, height, sf::Color::Red);
        for (unsigned y = 0; y < height; ++y)
            for (unsigned x = width / 2; x < width; ++x)
                image.setPixel(x, y, sf::Color::Green);
        const std::filesystem::path file = dir / name;
        EXPECT_TRUE(image.saveToFile(file.string()));
        return file.wstring();
    }

    static bool green(const sf::Image& image, unsigned x, unsigned y) {
        return image.getPixel(x, y) == sf::Color::Green;
    }
    static bool red(const sf::Image& image, unsigned x, unsigned y) {
        return image.getPixel(x, y) == sf::Color::Red;
    }

    pyx::core::WeakSingleton<pyx::cmn::ResourceManager> resources;
    std::filesystem::path dir;
    std::shared_ptr<sf::RenderWindow> window;
    std::unique_ptr<Camera> camera;
};

} // namespace

TEST_F(GraphicsTileset, SquareFramesCutTheGridAndTheRightFrameIsTheRightHalf) {
    Tileset tiles;
    ASSERT_TRUE(tiles.load(halves("a.png", 160, 80), 80));
    EXPECT_EQ(tiles.gridSize(), sf::Vector2u(2, 1));
    EXPECT_EQ(tiles.frameSize(), sf::Vector2u(80, 80));
    EXPECT_FALSE(tiles.getTexture().isSmooth());

    tiles.drawFrame(0.f, *camera, {0.f, 0.f}, 10.f, 20.f, 1, 0);
    const sf::Image image = grab(*window);
    EXPECT_TRUE(green(image, 10, 20));
    EXPECT_TRUE(green(image, 89, 99));
    EXPECT_FALSE(lit(image, 90, 20));
    EXPECT_FALSE(lit(image, 10, 100));
    EXPECT_FALSE(lit(image, 9, 20));
}

TEST_F(GraphicsTileset, FramesDrawAtTheirOwnSizeOrScaled) {
    Tileset tiles;
    ASSERT_TRUE(tiles.load(halves("b.png", 160, 80), 80));
    tiles.drawFrame(0.f, *camera, {0.f, 0.f}, 0.f, 0.f, 0, 0, 160, 160);
    sf::Image image = grab(*window);
    EXPECT_TRUE(red(image, 0, 0));
    EXPECT_TRUE(red(image, 159, 159));
    EXPECT_FALSE(lit(image, 160, 100));
    EXPECT_FALSE(lit(image, 100, 160));

    // Turned a quarter clockwise about its centre, a frame whose left half
    // is red shows red at the top; -270 degrees is the same turn.
    Tileset wide;
    ASSERT_TRUE(wide.load(halves("c.png", 80, 80), 80));
    window->clear(sf::Color::Black);
    wide.drawFrame(90.f, *camera, {40.f, 40.f}, 100.f, 100.f, 0, 0);
    image = grab(*window);
    EXPECT_TRUE(red(image, 100, 70));    // above the centre
    EXPECT_TRUE(green(image, 100, 130)); // below it
    wide.drawFrame(-270.f, *camera, {40.f, 40.f}, 300.f, 100.f, 0, 0);
    image = grab(*window);
    EXPECT_TRUE(red(image, 300, 70));
}

TEST_F(GraphicsTileset, LeftoverStripIsNeverAColumn) {
    Tileset tiles;
    ASSERT_TRUE(tiles.load(halves("d.png", 250, 100), 100, 100));
    EXPECT_EQ(tiles.gridSize(), sf::Vector2u(2, 1));
}

TEST_F(GraphicsTileset, QuadsUseTheFrameSizeWhenGivenZero) {
    Tileset tiles;
    ASSERT_TRUE(tiles.load(halves("e.png", 160, 80), 80, 40));
    sf::VertexArray quads(sf::Quads);
    tiles.appendQuad(quads, 5.f, 6.f, 1, 1, 0, 30);
    ASSERT_EQ(quads.getVertexCount(), 4u);
    EXPECT_EQ(quads[0].position, sf::Vector2f(5.f, 6.f));
    EXPECT_EQ(quads[1].position, sf::Vector2f(85.f, 6.f));
    EXPECT_EQ(quads[2].position, sf::Vector2f(85.f, 36.f));
    EXPECT_EQ(quads[3].position, sf::Vector2f(5.f, 36.f));
    EXPECT_EQ(quads[0].texCoords, sf::Vector2f(80.f, 40.f));
    EXPECT_EQ(quads[2].texCoords, sf::Vector2f(160.f, 80.f));
    EXPECT_EQ(quads[3].color, sf::Color::White);

    camera->drawSnapped(quads, &tiles.getTexture());
    EXPECT_TRUE(green(grab(*window), 40, 20));
}

TEST_F(GraphicsTileset, MissingPictureLoadsAsEmptyGridAndDrawsNothing) {
    Tileset tiles;
    EXPECT_TRUE(tiles.load((dir / "missing.png").wstring(), 40));
    EXPECT_EQ(tiles.gridSize(), sf::Vector2u(0, 0));
    tiles.drawFrame(0.f, *camera, {0.f, 0.f}, 0.f, 0.f, 0, 0, 200, 200);
    sf::VertexArray quads(sf::Quads);
    tiles.appendQuad(quads, 0.f, 0.f, 0, 0, 200, 200);
    camera->draw(quads, &tiles.getTexture());
    const sf::Image image = grab(*window);
    EXPECT_FALSE(lit(image, 0, 0));
    EXPECT_FALSE(lit(image, 100, 100));

    // A frame size of 0 must not divide by zero either.
    Tileset zero;
    ASSERT_TRUE(zero.load(halves("f.png", 80, 80), 0));
    EXPECT_EQ(zero.gridSize(), sf::Vector2u(0, 0));
    zero.drawFrame(0.f, *camera, {0.f, 0.f}, 0.f, 0.f, 0, 0, 50, 50);
    EXPECT_FALSE(lit(grab(*window), 10, 10));
}

TEST_F(GraphicsTileset, NeverLoadedTilesetThrowsNullResource) {
    const Tileset tiles;
    const auto expectNull = [](const std::function<void()>& f) {
        try {
            f();
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "Null resource exception");
        }
    };
    expectNull([&] { (void)tiles.gridSize(); });
    expectNull([&] { (void)tiles.getTexture(); });
    expectNull([&] { tiles.drawFrame(0.f, *camera, {0.f, 0.f}, 0.f, 0.f, 0, 0); });
}
