#include "game/world/Terrain.hpp"

#include "game/world/LevelReader.hpp"

#include "engine/common/ResourceManager.hpp"
#include "engine/common/ResourceRaw.hpp"
#include "engine/core/Utf8.hpp"
#include "engine/core/WeakSingleton.hpp"
#include "engine/platform/FileFinder.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

namespace ironmoat::cmn {

namespace {

constexpr int CampaignLevels = 35;

// The low 32 bits of a millisecond tick count, so that every cycle (and every
// run) gets its own order.
std::uint32_t tickCountSeed() {
    const auto ticks = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<std::uint32_t>(ticks.count());
}

} // namespace

std::vector<std::wstring> Terrain::buildLevelList() {
    std::vector<std::wstring> list;
    for (int n = 1; n <= CampaignLevels; ++n) {
        char name[64];
        std::snprintf(name, sizeof name, "ironmoat/maps/Dunmark-level-%02d.mtc", n);
        list.push_back(pyx::core::utf8ToWide(name));
    }

    // User maps are joined to the pattern's own directory with "/", which
    // every platform's file layer accepts, so the list spells all paths alike.
    pyx::wrp::FileFinder finder;
    for (bool found = finder.find(L"maps/*.mtc"); found; found = finder.next()) {
        if (!finder.isDirectory()) {
            list.push_back(L"maps/" + finder.name());
        }
    }
    return list;
}

void Terrain::shuffleLevelStack() {
    std::mt19937 generator(tickCountSeed());
    std::shuffle(m_levelStack.begin(), m_levelStack.end(), generator);
}

void Terrain::loadNextLevel() {
    bool rebuilt = false;
    for (;;) {
        if (m_levelStack.empty()) {
            // A freshly built list that reads nowhere gives up for this call,
            // so the previous level's grid stays in play.
            if (rebuilt) {
                break;
            }
            rebuilt = true;
            m_levelStack = buildLevelList();
            if (m_levelStack.size() >= 2) {
                shuffleLevelStack();
            }
            if (m_levelStack.empty()) {
                break;
            }
        }
        const std::wstring path = m_levelStack.back();
        m_levelStack.pop_back();
        if (readLevelFile(path)) {
            break;
        }
    }
    ++m_levelNumber;
}

bool Terrain::readLevelFile(const std::wstring& path) {
    pyx::core::WeakSingleton<pyx::cmn::ResourceManager> resources;
    const std::shared_ptr<pyx::cmn::ResourceRaw> raw = resources->getRaw(path);
    if (!raw) {
        return false;
    }
    // Blocks until the loader thread (or this thread) has read the file.
    const std::vector<std::uint8_t>& bytes = pyx::cmn::resourceValue(raw);
    if (bytes.empty()) {
        return false;
    }

    for (auto& column : m_protection) {
        for (ProtectionEntry& entry : column) {
            entry.remaining = 0.f;
        }
    }

    const LevelLayout layout = readLevel(bytes.data(), bytes.size());
    m_markers = layout.markers;
    for (int x = 0; x < Size; ++x) {
        for (int y = 0; y < Size; ++y) {
            m_cells[x][y].reinitialise(layout.kinds[x][y]);
        }
    }
    return true;
}

} // namespace ironmoat::cmn
