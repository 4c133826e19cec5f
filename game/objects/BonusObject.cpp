#include "game/objects/BonusObject.hpp"

#include "engine/graphics/Camera.hpp"
#include "game/controllers/PlayerController.hpp"
#include "game/objects/Player.hpp"
#include "game/objects/Tank.hpp"
#include "game/objects/World.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace ironmoat::cmn {

namespace {

// Bonus messages share the standard output with the bots' trace lines. A C
// stream has one orientation for its life, so write in whichever the stream
// already has; a wide-oriented stream would silently drop narrow output.
void announce(const char* message) {
    if (std::fwide(stdout, 0) > 0) {
        const std::string text(message);
        const std::wstring wide(text.begin(), text.end());
        std::fputws(wide.c_str(), stdout);
    } else {
        std::fputs(message, stdout);
    }
    std::fflush(stdout);
}

} // namespace

BonusObject::BonusObject(World* owner) : GameObject(owner) {
    width = 2;
    height = 2;
    solid = false;
    bonusTiles.load(L"ironmoat/bonuses_tileset.png", 80);
    bonusKind = std::rand() % 8;
}

BonusObject::~BonusObject() = default;

void BonusObject::draw(pyx::gfx::Camera&) {}

void BonusObject::drawTop(pyx::gfx::Camera& camera) {
    const int cw = world ? world->cellWidth() : 0;
    const int ch = world ? world->cellHeight() : 0;
    bonusTiles.drawFrame(0.0f, camera, sf::Vector2f(0.0f, 0.0f), static_cast<float>(x * cw),
                         static_cast<float>(y * ch), bonusKind, bonusRow,
                         static_cast<unsigned>(2 * cw), static_cast<unsigned>(2 * ch));
}

bool BonusObject::onTouch(GameObject& other) {
    // Touched once per shared cell: after the first pick-up the later calls
    // of the same pass find the bonus dead.
    if (isDead())
        return true;
    auto* tank = dynamic_cast<Tank*>(&other);
    if (!tank)
        return true;
    if (!tank->player)
        return false;
    if (!applyForEitherSide(*tank)) {
        if (tank->team != 0)
            applyForHuman(*tank);
        else
            applyForEnemy(*tank);
    }
    kill();
    return true;
}

namespace {

void immobilizeOthers(World* world, const Tank& picker) {
    if (!world)
        return;
    for (const auto& object : world->objects().active) {
        auto* tank = dynamic_cast<Tank*>(object.get());
        if (tank && tank->team != picker.team)
            tank->addImmobileTime(5.0f);
    }
}

void raiseLevelByTwo(Tank& tank) {
    tank.level = std::min(tank.level + 2, 3);
}

} // namespace

// Kinds 1, 3, 4, 6 and 7 act alike whichever side picks them up; true when
// the kind was one of them.
bool BonusObject::applyForEitherSide(Tank& tank) {
    switch (bonusKind) {
    case 1:
        immobilizeOthers(world, tank);
        announce("Bonus! Immobilize enemies 5 seconds\n");
        return true;
    case 3:
        tank.upgrade();
        return true;
    case 4:
        if (world)
            world->destroyEnemies(tank.player, tank.team);
        announce("Bonus! Destroy all enemy tanks\n");
        return true;
    case 6:
        raiseLevelByTwo(tank);
        announce("Bonus! Tank upgrade\n");
        return true;
    case 7:
        tank.giveBoat();
        announce("Bonus! Boat\n");
        return true;
    default:
        return false;
    }
}

void BonusObject::applyForHuman(Tank& tank) {
    switch (bonusKind) {
    case 0:
        tank.shieldTime += 10.0f;
        announce("Bonus! Invulnerable tank 10 seconds\n");
        break;
    case 2:
        if (world)
            world->protectTargets(10.0f);
        announce("Bonus! Invulnerable buildings 10 seconds\n");
        break;
    case 5:
        tank.player->reserve += 1;
        tank.player->spawnsLeft += 1;
        announce("Bonus! 1 up\n");
        break;
    default:
        break;
    }
}

void BonusObject::applyForEnemy(Tank& tank) {
    switch (bonusKind) {
    case 0:
        for (const auto& controller : tank.player->controllers) {
            if (!controller || !controller->hasObject())
                continue;
            if (auto* ally = dynamic_cast<Tank*>(controller->getObject().get()))
                ally->upgrade();
        }
        announce("Upgrading all ally tanks!\n");
        break;
    case 2:
        if (world)
            world->removeProtection(0);
        announce("Bonus! Protection from targets removed for 10 seconds\n");
        break;
    case 5:
        if (world) {
            for (const auto& object : world->objects().active) {
                auto* enemy = dynamic_cast<Tank*>(object.get());
                if (enemy && enemy->team == 0)
                    enemy->addBonusDrop();
            }
        }
        announce("Bonus! All enemies drop stuff\n");
        break;
    default:
        break;
    }
}

} // namespace ironmoat::cmn
