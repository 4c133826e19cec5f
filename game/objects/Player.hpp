#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/System/Vector2.hpp>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ironmoat::cmn {

class PlayerController;

// One side's record: a human's lives, or the enemy's reserve of hit points
// for the level, its score, the controllers that drive its tanks and where
// they may appear. Always held by shared pointer; the world and the HUD share
// it.
class Player {
public:
    // A new record: no controllers, no lives, team 0, the "GAME\nOVER"
    // status in red.
    Player();
    ~Player();

    // Whether any of the controllers drives a tank that exists and is not
    // dead.
    bool hasLiveTank() const;

    std::wstring name;
    std::vector<std::shared_ptr<PlayerController>> controllers;
    std::vector<sf::Vector2i> spawnPositions;
    std::uint32_t reserve = 0;
    std::uint32_t basePerLevel = 0;
    std::uint32_t spawnsLeft = 0;
    std::int32_t team = 0;
    std::int32_t tankKind = 0;
    std::int32_t score = 0;
    std::uint32_t bonusCarriersLeft = 0;
    float wipedOutTime = 0.0f;
    std::wstring statusText = L"GAME\nOVER";
    sf::Color colour = sf::Color(255, 0, 0, 255);
};

} // namespace ironmoat::cmn
