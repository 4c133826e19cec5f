#pragma once

#include "engine/graphics/Tileset.hpp"
#include "game/objects/GameObject.hpp"

#include <cstdint>

namespace ironmoat::cmn {

class Tank;

// A bonus lying on the field until a tank drives onto it. Its kind (0 to 7)
// is drawn at random; what it does depends on the kind and on whether a
// human or an enemy tank picks it up. It blocks nothing.
class BonusObject : public GameObject {
public:
    // Draws the kind with `rand`.
    explicit BonusObject(World* owner);
    ~BonusObject() override;

    // Nothing in the ground layer: bonuses are drawn above trees and tanks.
    void draw(pyx::gfx::Camera& camera) override;
    void drawTop(pyx::gfx::Camera& camera) override;
    // A tank with a player picks the bonus up: its effect, its message on the
    // standard output, and the bonus is gone.
    bool onTouch(GameObject& other) override;

    pyx::gfx::Tileset bonusTiles;
    std::int32_t bonusKind = 0;
    std::int32_t bonusRow = 0;

private:
    bool applyForEitherSide(Tank& tank);
    void applyForHuman(Tank& tank);
    void applyForEnemy(Tank& tank);
};

} // namespace ironmoat::cmn
