#include "game/objects/TargetObject.hpp"

#include "engine/graphics/Camera.hpp"
#include "game/objects/World.hpp"

namespace ironmoat::cmn {

TargetObject::TargetObject(World* owner) : GameObject(owner) {
    width = 2;
    height = 2;
    hitPoints = 1;
    solid = true;
    baseTiles.load(L"ironmoat/bunker_thing.png", 80);
}

TargetObject::~TargetObject() = default;

void TargetObject::onDamaged(const std::shared_ptr<Player>&) {}

const std::array<std::pair<int, int>, 12>& TargetObject::ringOffsets() {
    static const std::array<std::pair<int, int>, 12> offsets = {{{-1, -1},
                                                                 {0, -1},
                                                                 {1, -1},
                                                                 {2, -1},
                                                                 {-1, 0},
                                                                 {2, 0},
                                                                 {-1, 1},
                                                                 {2, 1},
                                                                 {-1, 2},
                                                                 {0, 2},
                                                                 {1, 2},
                                                                 {2, 2}}};
    return offsets;
}

void TargetObject::draw(pyx::gfx::Camera& camera) {
    const int cw = world ? world->cellWidth() : 0;
    const int ch = world ? world->cellHeight() : 0;
    baseTiles.drawFrame(0.0f, camera, sf::Vector2f(0.0f, 0.0f), static_cast<float>(x * cw),
                        static_cast<float>(y * ch), 0, 0, static_cast<unsigned>(2 * cw),
                        static_cast<unsigned>(2 * ch));
}

} // namespace ironmoat::cmn
