#include "tests/objects/WorldHarness.hpp"

#include "engine/graphics/Camera.hpp"
#include "game/objects/BonusObject.hpp"
#include "game/objects/TankShell.hpp"
#include "game/objects/WorldHud.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <gtest/gtest.h>

#include <filesystem>

using namespace ironmoat;
using ironmoat::test::levelText;
using ironmoat::test::WorldHarness;

namespace {

const sf::Color Background(20, 20, 20);
const sf::Color TreeColour(0, 200, 0);
const sf::Color TankColour(200, 0, 0);
const sf::Color WheelColour(90, 0, 0);
const sf::Color BonusColour(0, 0, 200);
const sf::Color ShellColour(250, 250, 0);
const sf::Color PanelColour(120, 120, 120);
constexpr int ExplosionColumns = 3;
constexpr int ExplosionRows = 2;

// Frame f of the explosion picture, counted across its rows.
sf::Color explosionColour(int frame) {
    return sf::Color(255, static_cast<sf::Uint8>(40 * frame + 20), 255);
}

void writePicture(const std::string& name, unsigned frame, int columns, int rows,
                  sf::Color (*colour)(int)) {
    sf::Image image;
    image.create(frame * columns, frame * rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            for (unsigned py = 0; py < frame; ++py)
                for (unsigned px = 0; px < frame; ++px)
                    image.setPixel(c * frame + px, r * frame + py, colour(r * columns + c));
    std::filesystem::create_directories("ironmoat");
    ASSERT_TRUE(image.saveToFile("ironmoat/" + name));
}

// One colour per picture (per frame for the explosion), so a pixel tells
// which layer drew last there.
void writePictures() {
    writePicture("background_tileset.png", 80, 4, 1, [](int) { return Background; });
    writePicture("tree_tileset.png", 40, 3, 1, [](int) { return TreeColour; });
    writePicture("tank_tileset.png", 80, 4, 4, [](int) { return TankColour; });
    writePicture("wheels_tileset.png", 80, 4, 1, [](int) { return WheelColour; });
    writePicture("bonuses_tileset.png", 80, 8, 1, [](int) { return BonusColour; });
    writePicture("bullet_tileset.png", 20, 4, 1, [](int) { return ShellColour; });
    writePicture("explosion_tileset.png", 80, ExplosionColumns, ExplosionRows, explosionColour);
}

// A side panel that paints its whole rectangle.
class SolidPanel : public cmn::WorldHud {
public:
    void addPlayer(std::shared_ptr<cmn::Player>) override {}
    void setLayout(bool, sf::Vector2f pos, sf::Vector2f sz) override {
        rect.setPosition(pos);
        rect.setSize(sz);
        rect.setFillColor(PanelColour);
    }
    void setLevelNumber(std::int32_t) override {}
    void draw(pyx::gfx::Camera& camera) override { camera.drawSnapped(rect); }
    void drawGameOver(pyx::gfx::Camera&, sf::Vector2f, float) override {}
    sf::RectangleShape rect;
};

class ObjectsLayerDraw : public ::testing::Test {
protected:
    // A field with trees over cells (4..9, 4..5) and nothing else.
    // A human player without a spawn point keeps the match (and the level)
    // going without putting a tank anywhere.
    ObjectsLayerDraw() : harness({levelText(treeRows())}, 1, writePictures) { harness.addHuman(); }

    static std::vector<std::string> treeRows() {
        std::vector<std::string> rows(26);
        rows[4] = rows[5] = "    ffffff";
        return rows;
    }

    sf::Image render(unsigned width = 1280, unsigned height = 720) {
        if (!window) {
            window = std::make_shared<sf::RenderWindow>(sf::VideoMode(width, height), "layers",
                                                        sf::Style::Titlebar);
            camera = std::make_unique<pyx::gfx::Camera>(window, true);
        }
        camera->update();
        window->clear(sf::Color::Black);
        harness.world().draw(*camera);
        sf::Texture shot;
        shot.create(window->getSize().x, window->getSize().y);
        shot.update(*window);
        return shot.copyToImage();
    }

    std::shared_ptr<cmn::Tank> placedTank(int x, int y) {
        auto tank = pyx::core::makeShared<cmn::Tank>(&harness.world());
        tank->x = x;
        tank->y = y;
        harness.world().addObject(tank);
        return tank;
    }

    WorldHarness harness;
    std::shared_ptr<sf::RenderWindow> window;
    std::unique_ptr<pyx::gfx::Camera> camera;
};

} // namespace

// Ground, objects, trees, the top layer, the panel, explosions: each drawn
// over the one before (cells of 27 pixels in a 1280 x 720 window).
TEST_F(ObjectsLayerDraw, LayersAreDrawnInTheirOrder) {
    auto panel = std::make_unique<SolidPanel>();
    harness.world().setHud(std::move(panel));
    placedTank(14, 14);
    placedTank(4, 4); // under the trees
    auto bonus = pyx::core::makeShared<cmn::BonusObject>(&harness.world());
    bonus->x = 8; // on the trees
    bonus->y = 4;
    harness.world().setBonus(bonus);
    auto edgeBonus = pyx::core::makeShared<cmn::BonusObject>(&harness.world());
    edgeBonus->x = 25; // its right half under the panel
    edgeBonus->y = 10;
    harness.world().addObject(edgeBonus);
    harness.world().spawnExplosion(26.0f, 20.0f); // half over the panel
    harness.tick();

    const sf::Image image = render();
    ASSERT_EQ(harness.world().cellWidth(), 27);
    auto at = [&](float cx, float cy) {
        return image.getPixel(static_cast<unsigned>(cx * 27), static_cast<unsigned>(cy * 27));
    };
    EXPECT_EQ(at(20.5f, 20.5f), Background);
    EXPECT_EQ(at(15.0f, 15.0f), TankColour) << "objects over the ground";
    EXPECT_EQ(at(5.0f, 5.0f), TreeColour) << "trees over the objects";
    EXPECT_EQ(at(9.0f, 5.0f), BonusColour) << "the top layer over the trees";
    EXPECT_EQ(at(25.5f, 11.0f), BonusColour);
    EXPECT_EQ(at(26.5f, 11.0f), PanelColour) << "the panel over the top layer";
    EXPECT_EQ(at(25.5f, 20.0f), explosionColour(0));
    EXPECT_EQ(at(26.5f, 20.0f), explosionColour(0)) << "explosions over the panel";
    EXPECT_EQ(at(28.0f, 20.0f), PanelColour);
}

// An explosion shows every frame of its picture in order, across the rows,
// at 20 frames per second, and is gone after the last.
TEST_F(ObjectsLayerDraw, ExplosionShowsEveryFrameOnceThenGoes) {
    harness.world().spawnExplosion(13.0f, 13.0f);
    std::vector<sf::Color> shown;
    int ticksShown = 0;
    harness.tick();
    while (!harness.world().effects().active.empty() && ticksShown < 100) {
        const sf::Color colour = render().getPixel(13 * 27, 13 * 27);
        if (shown.empty() || shown.back() != colour)
            shown.push_back(colour);
        ++ticksShown;
        harness.tick();
    }
    const int frames = ExplosionColumns * ExplosionRows;
    ASSERT_EQ(shown.size(), static_cast<std::size_t>(frames));
    for (int f = 0; f < frames; ++f)
        EXPECT_EQ(shown[f], explosionColour(f)) << "frame " << f;
    // Six frames at 20 per second: 0.3 seconds, 18 ticks give or take one.
    EXPECT_GE(ticksShown, 17);
    EXPECT_LE(ticksShown, 19);
    EXPECT_EQ(render().getPixel(13 * 27, 13 * 27), Background);
}

// With cells of 1 pixel a shell is half a cell, that is nothing: it must not
// come out at its picture's own 20 pixels.
TEST_F(ObjectsLayerDraw, ShellIsNotDrawnWhenCellsAreOnePixel) {
    auto owner = placedTank(0, 24);
    cmn::TankShell::fire(&harness.world(), owner, 11, 11, 1, 0, nullptr, false, false);
    harness.tick();
    ASSERT_EQ(harness.liveObjects<cmn::TankShell>().size(), 1u);

    const sf::Image image = render(240, 30);
    ASSERT_EQ(harness.world().cellWidth(), 1);
    int shellPixels = 0;
    for (unsigned y = 0; y < image.getSize().y; ++y)
        for (unsigned x = 0; x < image.getSize().x; ++x)
            shellPixels += image.getPixel(x, y) == ShellColour ? 1 : 0;
    EXPECT_EQ(shellPixels, 0);
}
