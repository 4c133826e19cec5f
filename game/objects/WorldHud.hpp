#pragma once

#include <SFML/System/Vector2.hpp>

#include <cstdint>
#include <memory>

namespace pyx::gfx {
class Camera;
}

namespace ironmoat::cmn {

class Player;

// What the world needs from the side panel and the result overlay. The panel
// is drawn by the world in its own layer order but built by the game's forms,
// which sit above the objects; the forms implement this and hand it to the
// world.
class WorldHud {
public:
    virtual ~WorldHud();

    // A player added to the world, in the order added.
    virtual void addPlayer(std::shared_ptr<Player> player) = 0;
    // The panel's place beside the playfield and its layout, set every frame
    // before `draw`.
    virtual void setLayout(bool vertical, sf::Vector2f position, sf::Vector2f size) = 0;
    // The level number to show.
    virtual void setLevelNumber(std::int32_t levelNumber) = 0;
    // Draws the panel.
    virtual void draw(pyx::gfx::Camera& camera) = 0;
    // Draws the result overlay over the playfield (`area` pixels square at
    // the top-left corner) for the end time `endTime` > 0.
    virtual void drawGameOver(pyx::gfx::Camera& camera, sf::Vector2f area, float endTime) = 0;
};

} // namespace ironmoat::cmn
