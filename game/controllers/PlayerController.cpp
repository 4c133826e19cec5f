#include "game/controllers/PlayerController.hpp"

#include "game/objects/GameObject.hpp"

#include <utility>

namespace ironmoat::cmn {

PlayerController::~PlayerController() = default;

void PlayerController::onAttach() {}

void PlayerController::update(bool /*hasFocus*/) {}

void PlayerController::setObject(std::shared_ptr<GameObject> object) {
    m_object = std::move(object);
    onAttach();
}

std::shared_ptr<GameObject> PlayerController::getObject() const {
    return m_object;
}

bool PlayerController::hasObject() const {
    // The dead flag, not the release of the pointer, ends the interest in a
    // tank: the pointer is kept until the next tank replaces it.
    return m_object && !m_object->isDead();
}

} // namespace ironmoat::cmn
