#include "game/controllers/BotController.hpp"

#include "engine/core/Utf8.hpp"
#include "game/objects/Tank.hpp"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace ironmoat::cmn {

namespace {

constexpr float BotReloadTime = 0.6f;

BotController::Cell cellOf(const Tank& tank) {
    return {tank.x, tank.y};
}

std::uint32_t shotsOf(const Tank& tank) {
    return static_cast<std::uint32_t>(tank.getShotsFired());
}

void traceLine(const std::wstring& reason) {
    // Written as narrow UTF-8: a wide write would fix the stream's
    // orientation, after which every narrow line on standard output (the
    // bonus messages among them) would be silently dropped, or the other way
    // round.
    const std::string line = "[Randomize position] " + pyx::core::wideToUtf8(reason) + "\n";
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
}

} // namespace

std::shared_ptr<Tank> BotController::liveTank() const {
    if (!hasObject()) {
        return nullptr;
    }
    return std::dynamic_pointer_cast<Tank>(getObject());
}

bool BotController::canMove() const {
    const std::shared_ptr<Tank> tank = liveTank();
    if (!tank) {
        return false;
    }
    if (m_dx == -1 && m_dy == 0) {
        return tank->canMoveLeft();
    }
    if (m_dx == 1 && m_dy == 0) {
        return tank->canMoveRight();
    }
    if (m_dx == 0 && m_dy == -1) {
        return tank->canMoveUp();
    }
    if (m_dx == 0 && m_dy == 1) {
        return tank->canMoveDown();
    }
    return false;
}

bool BotController::plannedDistanceReached() const {
    if (m_plannedDistance == 0) {
        return true;
    }
    const std::shared_ptr<Tank> tank = liveTank();
    if (!tank) {
        return false;
    }
    const Cell cell = cellOf(*tank);
    for (std::int32_t i = 0; i < m_plannedDistance; ++i) {
        const Cell onStretch{m_startCell.column + i * m_dx, m_startCell.row + i * m_dy};
        if (cell == onStretch) {
            return false;
        }
    }
    return true;
}

std::uint32_t BotController::shotsFromCurrentCell() {
    const std::shared_ptr<Tank> tank = liveTank();
    if (!tank) {
        return 0;
    }
    // A new tank's counter starts again at 0; lowering the baseline keeps the
    // difference from wrapping round to a huge count.
    const std::uint32_t shots = shotsOf(*tank);
    if (shots < m_shotsBaseline) {
        m_shotsBaseline = shots;
    }
    return shots - m_shotsBaseline;
}

void BotController::setDirection(int dx, int dy) {
    if (dx == m_dx && dy == m_dy) {
        return;
    }
    const std::shared_ptr<Tank> tank = liveTank();
    if (!tank) {
        m_dx = 0;
        m_dy = 0;
        return;
    }
    m_dx = dx;
    m_dy = dy;
    m_startCell = cellOf(*tank);
    m_lastCell = m_startCell;
    m_shotsBaseline = shotsOf(*tank);
}

void BotController::randomizeDirection(bool excludeCurrent, bool excludeReverse,
                                       const std::wstring& reason) {
    traceLine(reason);

    struct Direction {
        int dx;
        int dy;
    };
    static constexpr Direction all[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    const bool haveCurrent = m_dx != 0 || m_dy != 0;
    std::vector<Direction> candidates;
    for (const Direction& d : all) {
        if (haveCurrent) {
            if (excludeCurrent && d.dx == m_dx && d.dy == m_dy) {
                continue;
            }
            if (excludeReverse && d.dx == -m_dx && d.dy == -m_dy) {
                continue;
            }
        }
        candidates.push_back(d);
    }

    const Direction chosen = candidates[static_cast<std::size_t>(std::rand()) % candidates.size()];
    setDirection(chosen.dx, chosen.dy);
    m_plannedDistance = std::rand() % 12 + 1;
    m_keepBlock = std::rand() % 4 == 0;
}

void BotController::update(bool /*hasFocus*/) {
    const std::shared_ptr<Tank> tank = liveTank();
    if (!tank) {
        return;
    }
    tank->setReloadTime(BotReloadTime);

    const Cell cell = cellOf(*tank);
    if (!(cell == m_lastCell)) {
        m_shotsBaseline = shotsOf(*tank);
        m_lastCell = cell;
    }

    if (m_dx == 0 && m_dy == 0) {
        randomizeDirection(false, false, L"Initialize bot controller");
    }
    if (!canMove()) {
        if (!m_keepBlock) {
            randomizeDirection(true, true, L"Can't move - keep block and change direction");
        } else if (shotsFromCurrentCell() >= 3) {
            randomizeDirection(true, true, L"Can't move - 3 shoots done from current position");
        }
        // Otherwise stay pressed against the obstacle and keep shooting at it.
    }
    if (plannedDistanceReached()) {
        randomizeDirection(false, true, L"Planned distance was reached");
    }

    setLeft(m_dx == -1 && m_dy == 0);
    setRight(m_dx == 1 && m_dy == 0);
    setUp(m_dx == 0 && m_dy == -1);
    setDown(m_dx == 0 && m_dy == 1);

    const int r1 = std::rand() % 80;
    if (r1 == 0) {
        setFire(true);
    } else if (!canMove()) {
        const int r2 = std::rand() % 40;
        setFire(r2 != 0);
    } else {
        setFire(false);
    }
}

} // namespace ironmoat::cmn
