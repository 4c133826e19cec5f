#pragma once

#include "game/controllers/BotController.hpp"

namespace ironmoat::tools {

// Stands in for a human player in simulated matches: the game's own bot
// (the enemy's random walk and fire decisions, the same random draws) with
// two things a person does: it turns to an enemy tank in a clear line of fire
// and shoots, and it holds its fire whenever the shell would strike its own
// base or that base's ring first. The game's bot sees neither enemies nor the
// base; without these the figures would measure friendly fire from the
// spawns beside the base and a defence that never aims, not the level.
class HumanBot : public cmn::BotController {
public:
    // The bot's decision; then, with an enemy in a clear line, a turn to it
    // and a shot; otherwise the fire flag cleared if the shot would hit the
    // base's ring or the base, in the direction the tank faces now or in the
    // one it is about to turn to.
    void update(bool hasFocus) override;
};

} // namespace ironmoat::tools
