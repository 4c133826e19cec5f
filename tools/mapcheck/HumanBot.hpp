#pragma once

#include "game/controllers/BotController.hpp"

namespace ironmoat::tools {

// Stands in for a human player in simulated matches: the game's own bot
// (the enemy's random walk and fire decisions, the same random draws), which
// holds its fire whenever the shell would strike its own base or that base's
// ring first. The game's bot knows nothing of the base; a person defending it
// does not shoot it down, and without this the simulated figures would
// measure friendly fire from the spawns beside the base, not the level.
class HumanBot : public cmn::BotController {
public:
    // The bot's decision, then the fire flag cleared if the shot would hit
    // the base's ring or the base, in the direction the tank faces now or in
    // the one it is about to turn to.
    void update(bool hasFocus) override;
};

} // namespace ironmoat::tools
