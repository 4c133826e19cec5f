#include "tests/objects/WorldHarness.hpp"

#include "engine/graphics/Camera.hpp"
#include "game/objects/BonusObject.hpp"
#include "game/objects/TankShell.hpp"
#include "game/objects/WorldHud.hpp"

#include <SFML/Graphics/RenderWindow.hpp>
#include <gtest/gtest.h>

using namespace ironmoat;
using ironmoat::test::levelText;
using ironmoat::test::WorldHarness;

namespace {

// Stands in for the side panel, which the game's forms build on top of the
// objects; it records what the world asks of it.
class RecordingHud : public cmn::WorldHud {
public:
    void addPlayer(std::shared_ptr<cmn::Player> player) override { players.push_back(player); }
    void setLayout(bool isVertical, sf::Vector2f pos, sf::Vector2f sz) override {
        vertical = isVertical;
        position = pos;
        size = sz;
    }
    void setLevelNumber(std::int32_t number) override { levelNumber = number; }
    void draw(pyx::gfx::Camera&) override { ++draws; }
    void drawGameOver(pyx::gfx::Camera&, sf::Vector2f area, float endTime) override {
        gameOverArea = area;
        lastEndTime = endTime;
        ++gameOvers;
    }

    std::vector<std::shared_ptr<cmn::Player>> players;
    bool vertical = false;
    sf::Vector2f position;
    sf::Vector2f size;
    std::int32_t levelNumber = -1;
    int draws = 0;
    int gameOvers = 0;
    sf::Vector2f gameOverArea;
    float lastEndTime = 0.0f;
};

} // namespace

TEST(ObjectsWorldDraw, CellSizeFollowsTheView) {
    EXPECT_EQ(cmn::World::cellSizeForView(1280, 720), 27);
    EXPECT_EQ(cmn::World::cellSizeForView(600, 900), 23);
    EXPECT_EQ(cmn::World::cellSizeForView(200, 150), 0);
    EXPECT_EQ(cmn::World::cellSizeForView(150, 200), 0);
    EXPECT_EQ(cmn::World::cellSizeForView(205, 210), 0) << "a 10-pixel field has 0-pixel cells";
}

TEST(ObjectsWorldDraw, DrawsEveryLayerWithMissingPicturesAndPlacesThePanel) {
    std::vector<std::string> rows(26);
    rows[0] = "0";
    rows[10] = std::string(10, ' ') + "2";
    rows[24] = "1";
    WorldHarness harness({levelText(rows)});
    auto hud = std::make_unique<RecordingHud>();
    RecordingHud* panel = hud.get();
    auto enemy = harness.addEnemy(1);
    harness.world().setHud(std::move(hud));
    auto human = harness.addHuman();
    ASSERT_EQ(panel->players.size(), 2u) << "players added before and after the panel";
    EXPECT_EQ(panel->players[0], enemy);

    harness.tick();
    auto tank = WorldHarness::tankOf(*human->controllers[0]);
    ASSERT_TRUE(tank);
    // Everything that has a picture of its own: tracks, shield, boat, gauge.
    tank->shieldTime = 3.0f;
    tank->giveBoat();
    tank->heat = 0.6f;
    tank->moveProgress = 0.5f;
    cmn::TankShell::fire(&harness.world(), tank, 11, 11, 0, -1, human, false, false);
    auto bonus = pyx::core::makeShared<cmn::BonusObject>(&harness.world());
    harness.world().setBonus(bonus);
    harness.world().spawnExplosion(5.0f, 5.0f);
    harness.tick();

    auto window = std::make_shared<sf::RenderWindow>(sf::VideoMode(1280, 720), "objects");
    pyx::gfx::Camera camera(window, true);
    camera.update();
    window->clear();
    harness.world().draw(camera);
    EXPECT_EQ(harness.world().cellWidth(), 27);
    EXPECT_TRUE(panel->vertical);
    EXPECT_FLOAT_EQ(panel->position.x, 702.0f);
    EXPECT_FLOAT_EQ(panel->position.y, 0.0f);
    EXPECT_FLOAT_EQ(panel->size.x, 578.0f);
    EXPECT_FLOAT_EQ(panel->size.y, 720.0f);
    EXPECT_EQ(panel->levelNumber, 1);
    EXPECT_EQ(panel->draws, 1);
    EXPECT_EQ(panel->gameOvers, 0) << "nothing is over yet";

    // The humans out of lives: the overlay shows their wiped-out time.
    human->reserve = 0;
    tank->kill();
    harness.ticks(30);
    harness.world().draw(camera);
    EXPECT_EQ(panel->gameOvers, 1);
    EXPECT_FLOAT_EQ(panel->gameOverArea.x, 702.0f);
    EXPECT_NEAR(panel->lastEndTime, 30.0f / 60.0f, 1e-3) << "counted from the tick the tank died";

    // A window too narrow for the field: cells of 0 pixels, the panel takes
    // the whole view below the (empty) field.
    window->setSize(sf::Vector2u(180, 400));
    camera.update();
    harness.world().draw(camera);
    EXPECT_EQ(harness.world().cellWidth(), 6);
    EXPECT_FALSE(panel->vertical);
    EXPECT_FLOAT_EQ(panel->position.y, 156.0f);
}
