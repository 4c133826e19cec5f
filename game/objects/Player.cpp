#include "game/objects/Player.hpp"

#include "game/controllers/PlayerController.hpp"

namespace ironmoat::cmn {

Player::Player() {
    controllers.reserve(10);
    spawnPositions.reserve(10);
}

Player::~Player() = default;

bool Player::hasLiveTank() const {
    for (const auto& controller : controllers)
        if (controller && controller->hasObject())
            return true;
    return false;
}

} // namespace ironmoat::cmn
