#pragma once

#include "engine/app/GameObject.hpp"
#include "engine/core/SharedObject.hpp"

#include <cstdint>
#include <memory>

namespace pyx::gfx {
class Camera;
}

namespace ironmoat::cmn {

class World;
class Player;
class Terrain;

// A thing on the playfield: tank, shell, base, bonus, spawn point or
// explosion. Positions are grid cells (shells: grid points); an object covers
// width x height cells from its top-left cell, none when either is 0.
class GameObject : public pyx::au::GameObject, public pyx::core::SharedObject<GameObject> {
public:
    // `owner` is the world the object lives in; it is not owned.
    explicit GameObject(World* owner);
    ~GameObject() override;

    // Draws the ground layer of the object; the base draws nothing.
    void draw(pyx::gfx::Camera& camera) override;
    // Counts the shield down; subclasses call it first.
    void update(float seconds) override;
    // Draws the layer above trees; the base draws nothing.
    virtual void drawTop(pyx::gfx::Camera& camera);
    // A hit cost a hit point (also the last one); the base does nothing.
    virtual void onDamaged(const std::shared_ptr<Player>& attacker);
    // True swallows the hit before it costs a hit point; the base: false.
    virtual bool absorbHit(const std::shared_ptr<Player>& attacker);
    // The object was destroyed; the base does nothing.
    virtual void onDestroyed(const std::shared_ptr<Player>& attacker);
    // Another object shares a cell with this one; true means handled (the
    // other one is then not asked). The base: false.
    virtual bool onTouch(GameObject& other);

    // One hit: ignored while shielded or absorbed; otherwise costs a hit
    // point and either damages or destroys the object.
    void hit(const std::shared_ptr<Player>& attacker);
    // Explosion at the centre, `onDamaged`, `onDestroyed`, then `kill`.
    void destroy(const std::shared_ptr<Player>& attacker);
    // Becomes the occupant of every covered cell, touching whoever was
    // recorded there before in this tick.
    void occupyCells(Terrain& terrain);

    World* world;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::int32_t hitPoints = 1;
    float speed = 1.0f;
    std::int32_t team = 0;
    std::int32_t kind = 0;
    bool solid = true;
    float shieldTime = 0.0f;
    std::shared_ptr<Player> player;
};

} // namespace ironmoat::cmn
