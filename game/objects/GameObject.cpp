#include "game/objects/GameObject.hpp"

#include "game/objects/World.hpp"
#include "game/world/Terrain.hpp"

namespace ironmoat::cmn {

GameObject::GameObject(World* owner) : world(owner) {}

GameObject::~GameObject() = default;

void GameObject::draw(pyx::gfx::Camera&) {}

void GameObject::update(float seconds) {
    if (shieldTime > 0.0f)
        shieldTime -= seconds;
}

void GameObject::drawTop(pyx::gfx::Camera&) {}

void GameObject::onDamaged(const std::shared_ptr<Player>&) {}

bool GameObject::absorbHit(const std::shared_ptr<Player>&) {
    return false;
}

void GameObject::onDestroyed(const std::shared_ptr<Player>&) {}

bool GameObject::onTouch(GameObject&) {
    return false;
}

void GameObject::hit(const std::shared_ptr<Player>& attacker) {
    // A shield swallows the hit before anything else sees it, so not even a
    // boat or an upgrade level is spent.
    if (shieldTime > 0.0f)
        return;
    if (absorbHit(attacker))
        return;
    hitPoints -= 1;
    if (hitPoints > 0)
        onDamaged(attacker);
    else
        destroy(attacker);
}

void GameObject::destroy(const std::shared_ptr<Player>& attacker) {
    if (world)
        world->spawnExplosion(static_cast<float>(x) + static_cast<float>(width) / 2.0f,
                              static_cast<float>(y) + static_cast<float>(height) / 2.0f);
    // The last hit counts as damage too: a carrier drops its bonus even when
    // the hit destroys it.
    onDamaged(attacker);
    onDestroyed(attacker);
    kill();
}

void GameObject::occupyCells(Terrain& terrain) {
    for (int i = 0; i < width; ++i) {
        for (int j = 0; j < height; ++j) {
            const int cx = x + i;
            const int cy = y + j;
            GameObject* previous = terrain.occupantAt(cx, cy);
            terrain.setOccupant(cx, cy, this);
            if (previous && previous != this) {
                if (!onTouch(*previous))
                    previous->onTouch(*this);
            }
        }
    }
}

} // namespace ironmoat::cmn
