#include "game/objects/Effect.hpp"

#include "engine/graphics/Camera.hpp"
#include "engine/graphics/Tileset.hpp"
#include "game/objects/World.hpp"

namespace ironmoat::cmn {

Effect::Effect(World* owner, std::shared_ptr<pyx::gfx::Tileset> frames, float centreX,
               float centreY)
    : GameObject(owner), tiles(std::move(frames)), posX(centreX), posY(centreY) {}

Effect::~Effect() = default;

void Effect::update(float seconds) {
    GameObject::update(seconds);
    animTimer += seconds * 20.0f;
    if (animTimer > 1.0f) {
        frame += 1;
        animTimer -= 1.0f;
    }
    if (!tiles) {
        kill();
        return;
    }
    const sf::Vector2u grid = tiles->gridSize();
    if (frame >= static_cast<std::int32_t>(grid.x * grid.y))
        kill();
}

void Effect::draw(pyx::gfx::Camera& camera) {
    if (!tiles)
        return;
    const sf::Vector2u grid = tiles->gridSize();
    // No columns means no picture; nothing to draw and nothing to divide by.
    if (grid.x == 0)
        return;
    const int cw = world ? world->cellWidth() : 0;
    const int ch = world ? world->cellHeight() : 0;
    const int columns = static_cast<int>(grid.x);
    tiles->drawFrame(0.0f, camera, sf::Vector2f(0.0f, 0.0f), (posX - 1.0f) * static_cast<float>(cw),
                     (posY - 1.0f) * static_cast<float>(ch), frame % columns, frame / columns,
                     static_cast<unsigned>(2 * cw), static_cast<unsigned>(2 * ch));
}

} // namespace ironmoat::cmn
