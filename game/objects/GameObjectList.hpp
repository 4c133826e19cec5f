#pragma once

#include <memory>
#include <vector>

namespace pyx::gfx {
class Camera;
}

namespace ironmoat::cmn {

class GameObject;

// Objects of one layer of the world. New objects wait in `pending` until the
// next update so that what is added during a tick is first updated in the
// next one, and the dead are dropped at the end of the update that saw them
// die.
class GameObjectList {
public:
    // Queues the object for the next update; an empty pointer is ignored.
    void add(std::shared_ptr<GameObject> object);
    // Merges pending objects, updates every active one in order, then drops
    // the dead ones keeping the order of the rest.
    void update(float seconds);
    // Draws every active object in order.
    void draw(pyx::gfx::Camera& camera);
    // Drops every object, active and pending.
    void clear();

    std::vector<std::shared_ptr<GameObject>> pending;
    std::vector<std::shared_ptr<GameObject>> active;
};

} // namespace ironmoat::cmn
