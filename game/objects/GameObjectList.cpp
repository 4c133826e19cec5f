#include "game/objects/GameObjectList.hpp"

#include "game/objects/GameObject.hpp"

#include <algorithm>

namespace ironmoat::cmn {

void GameObjectList::add(std::shared_ptr<GameObject> object) {
    if (object)
        pending.push_back(std::move(object));
}

void GameObjectList::update(float seconds) {
    for (auto& object : pending)
        active.push_back(std::move(object));
    pending.clear();

    // Indexing, not iterators: objects only ever append to `pending` while
    // they update, but an index stays valid whatever happens. An object
    // killed earlier in this update is skipped: a destroyed tank must not
    // fire once more, nor a shell that was shot down fly on and hit again.
    for (std::size_t i = 0; i < active.size(); ++i) {
        std::shared_ptr<GameObject> object = active[i];
        if (!object->isDead())
            object->update(seconds);
    }

    active.erase(std::remove_if(active.begin(), active.end(),
                                [](const std::shared_ptr<GameObject>& o) { return o->isDead(); }),
                 active.end());
}

void GameObjectList::draw(pyx::gfx::Camera& camera) {
    for (std::size_t i = 0; i < active.size(); ++i)
        active[i]->draw(camera);
}

void GameObjectList::clear() {
    pending.clear();
    active.clear();
}

} // namespace ironmoat::cmn
