#pragma once

#include "game/controllers/PlayerController.hpp"

#include <cstdint>
#include <memory>
#include <string>

namespace ironmoat::cmn {

class Tank;

// Drives one enemy tank by a small random walk over the grid: a random
// number of cells in a random direction, a turn when that stretch is done or
// the way is blocked, and a shot now and then, almost always when blocked.
// It sees the world only through its own tank. Every change of direction is
// traced on standard output as "[Randomize position] <reason>".
class BotController : public PlayerController {
public:
    struct Cell {
        std::int32_t column = 0;
        std::int32_t row = 0;
        friend bool operator==(const Cell&, const Cell&) = default;
    };

    BotController() = default;

    // The decision step; `hasFocus` is ignored (bots act regardless).
    void update(bool hasFocus) override;

    // The tank's can-move query for the current direction; false with no
    // direction or no live tank.
    bool canMove() const;
    // True when the tank has left the cells of the planned stretch (or the
    // stretch is empty); false without a live tank.
    bool plannedDistanceReached() const;
    // Shells the tank fired since it entered its current cell.
    std::uint32_t shotsFromCurrentCell();
    // Adopts a new direction, restarting the stretch and the shot count from
    // the tank's cell; choosing the current direction again changes nothing.
    void setDirection(int dx, int dy);
    // Traces the reason, then draws a direction (leaving out the current one
    // and/or its reverse as asked), a stretch of 1 to 12 cells and whether to
    // keep pushing against an obstacle.
    void randomizeDirection(bool excludeCurrent, bool excludeReverse, const std::wstring& reason);

    // Read access to the walk's state.
    int directionX() const { return m_dx; }
    int directionY() const { return m_dy; }
    Cell lastCell() const { return m_lastCell; }
    Cell startCell() const { return m_startCell; }
    std::uint32_t shotsBaseline() const { return m_shotsBaseline; }
    std::int32_t plannedDistance() const { return m_plannedDistance; }
    bool keepBlock() const { return m_keepBlock; }

private:
    // The driven tank when it is alive and a tank, else null.
    std::shared_ptr<Tank> liveTank() const;

    Cell m_lastCell;
    std::uint32_t m_shotsBaseline = 0;
    std::int32_t m_dx = 0;
    std::int32_t m_dy = 0;
    Cell m_startCell;
    std::int32_t m_plannedDistance = 0;
    bool m_keepBlock = false;
};

} // namespace ironmoat::cmn
