#include "game/objects/Spawn.hpp"

#include "engine/graphics/Camera.hpp"
#include "game/objects/World.hpp"

namespace ironmoat::cmn {

Spawn::Spawn(World* owner) : GameObject(owner) {
    width = 0;
    height = 0;
    solid = false;
    spawnTiles.load(L"ironmoat/spawn_tileset.png", 80);
}

Spawn::~Spawn() = default;

void Spawn::update(float seconds) {
    GameObject::update(seconds);
    if (busyTime > 0.0f)
        busyTime -= seconds;
}

void Spawn::draw(pyx::gfx::Camera& camera) {
    const int cw = world ? world->cellWidth() : 0;
    const int ch = world ? world->cellHeight() : 0;
    spawnTiles.drawFrame(0.0f, camera, sf::Vector2f(0.0f, 0.0f), static_cast<float>(x * cw),
                         static_cast<float>(y * ch), 0, 0, static_cast<unsigned>(2 * cw),
                         static_cast<unsigned>(2 * ch));
}

} // namespace ironmoat::cmn
