#pragma once

#include "engine/common/LoggerSettings.hpp"
#include "engine/common/ResourceManager.hpp"
#include "engine/core/WeakSingleton.hpp"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ironmoat::tools {

// How one simulated match on a level ended.
enum class RunEnd {
    Cleared,   // all 20 enemy tanks destroyed while the base stood
    BaseFell,  // the base was destroyed
    HumansOut, // both human players lost all their lives, the base standing
    Capped,    // none of these within the time cap
};

struct RunResult {
    RunEnd end = RunEnd::Capped;
    // Game seconds from the level start to the end of the run; for a base
    // that fell, the time it stood.
    float seconds = 0.0f;
    int enemiesDestroyed = 0;
};

// Plays levels headless with the game's own world, objects and rules at the
// fixed tick of 1/60 s: the enemy's five bots as in a match, and both human
// players of a two-player match driven by the same bot, kept from shooting
// its own base (HumanBot).
class Simulator {
public:
    // Game time after which a run that neither cleared nor lost is stopped.
    static constexpr float CapSeconds = 300.0f;

    // Quiets the game's logger and its trace lines on standard output for the
    // simulator's lifetime, and makes a scratch folder the level list reads
    // from (nothing is mounted, so only that folder's level is played).
    Simulator();
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // One match on the level `bytes` (the content of a level file), with every
    // random draw of the game following from `seed`.
    RunResult run(const std::string& bytes, std::uint32_t seed);

private:
    // Held for the simulator's life: the settings so the quiet logger stays
    // quiet, the resource manager so its threads start once, not per run.
    pyx::core::WeakSingleton<pyx::cmn::LoggerSettings> m_logSettings;
    std::optional<pyx::core::WeakSingleton<pyx::cmn::ResourceManager>> m_resources;
    std::filesystem::path m_folder;
    std::filesystem::path m_previousDir;
    int m_levelsWritten = 0;
    int m_savedStdout = -1;
};

} // namespace ironmoat::tools
