#include "game/world/Terrain.hpp"

#include "engine/core/Assert.hpp"

#include <cstdlib>

namespace ironmoat::cmn {

Terrain::Terrain(unsigned cellSize) : m_cellSize(cellSize) {
    for (auto& column : m_cells) {
        for (TerrainCell& cell : column) {
            cell.reinitialise(TileKind::Empty);
            cell.variant = std::rand();
        }
    }
    for (auto& column : m_occupants) {
        column.fill(nullptr);
    }

    // A picture that cannot be had still loads (as an empty texture) and then
    // draws nothing; the results are not needed here.
    m_backgroundTiles.load(L"ironmoat/background_tileset.png", 2 * m_cellSize);
    m_brickTiles.load(L"ironmoat/brick_tileset.png", m_cellSize);
    m_metalTiles.load(L"ironmoat/metal_tileset.png", m_cellSize);
    m_treeTiles.load(L"ironmoat/tree_tileset.png", m_cellSize);
    m_waterTiles.load(L"ironmoat/water_tileset.png", m_cellSize);
    m_woodTiles.load(L"ironmoat/wood_tileset.png", m_cellSize);
}

bool Terrain::inRange(int x, int y) {
    return x >= 0 && x < Size && y >= 0 && y < Size;
}

bool Terrain::isTankPassable(int x, int y, bool boat) const {
    if (!inRange(x, y)) {
        return false;
    }
    const TerrainCell& cell = m_cells[x][y];
    return cell.tankPassable || cell.state == CellState::Destroyed ||
           (boat && cell.kind == TileKind::Water);
}

bool Terrain::isShellPassable(bool horizontal, std::uint8_t side, int x, int y) const {
    if (!inRange(x, y)) {
        return true;
    }
    const TerrainCell& cell = m_cells[x][y];
    if (cell.shellPassable || cell.state == CellState::Destroyed) {
        return true;
    }
    // A half-broken cell lets the shell through when its path runs through
    // the missing half.
    if (horizontal) {
        return cell.state == CellState::HitVertically && cell.side == side;
    }
    return cell.state == CellState::HitHorizontally && cell.side == side;
}

GameObject* Terrain::occupantAt(int x, int y) const {
    return inRange(x, y) ? m_occupants[x][y] : nullptr;
}

const TerrainCell& Terrain::cellAt(int x, int y) const {
    PYX_ASSERT(inRange(x, y));
    return m_cells[x][y];
}

const ProtectionEntry& Terrain::protectionAt(int x, int y) const {
    PYX_ASSERT(inRange(x, y));
    return m_protection[x][y];
}

void Terrain::initCell(int x, int y, TileKind kind) {
    if (inRange(x, y)) {
        m_cells[x][y].reinitialise(kind);
    }
}

void Terrain::hitCell(TerrainCell& cell, int dx, int dy, bool strong) {
    if (!cell.destructible && !(strong && cell.kind == TileKind::Metal)) {
        return;
    }
    if (cell.halfDestructible && cell.state == CellState::Intact) {
        cell.state = dx != 0 ? CellState::HitHorizontally : CellState::HitVertically;
        cell.side = ((dx != 0 && dx > 0) || (dx == 0 && dy > 0)) ? 1 : 0;
        return;
    }
    cell.state = CellState::Destroyed;
}

bool Terrain::shellHitTerrain(bool strong, bool pierce, int x, int y, int dx, int dy) {
    if (!inRange(x, y)) {
        return true; // the edge of the field
    }
    const bool horizontal = dx != 0;
    // The two cells on either side of the grid line the shell travels.
    const int ax = horizontal ? x : x - 1;
    const int ay = horizontal ? y - 1 : y;
    const int bx = x;
    const int by = y;

    bool blockA = !isShellPassable(horizontal, 0, ax, ay);
    bool blockB = !isShellPassable(horizontal, 1, bx, by);

    if (pierce) {
        cutTree(ax, ay);
        cutTree(bx, by);
    }

    if (blockA && blockB) {
        // When only one of the two has already lost the half this shell's
        // direction breaks, the shell spends itself on the whole one.
        const CellState s = horizontal ? CellState::HitHorizontally : CellState::HitVertically;
        const bool aHalf = inRange(ax, ay) && m_cells[ax][ay].state == s;
        const bool bHalf = inRange(bx, by) && m_cells[bx][by].state == s;
        if (aHalf != bHalf) {
            blockA = !aHalf;
            blockB = !bHalf;
        }
    }

    // A blocking cell is always in range: out of range counts as open.
    if (blockA) {
        hitCell(m_cells[ax][ay], dx, dy, strong);
    }
    if (blockB) {
        hitCell(m_cells[bx][by], dx, dy, strong);
    }
    return blockA || blockB;
}

void Terrain::destroyCell(int x, int y) {
    if (inRange(x, y)) {
        m_cells[x][y].state = CellState::Destroyed;
    }
}

void Terrain::cutTree(int x, int y) {
    if (inRange(x, y) && m_cells[x][y].kind == TileKind::Tree) {
        m_cells[x][y].state = CellState::Destroyed;
    }
}

void Terrain::protectCell(int x, int y, float seconds) {
    if (!inRange(x, y)) {
        return;
    }
    m_protection[x][y].key = 1;
    m_protection[x][y].remaining = seconds;
    if (seconds > 0.f) {
        m_cells[x][y].reinitialise(TileKind::Metal);
    }
}

void Terrain::cancelProtection(int key) {
    for (int x = 0; x < Size; ++x) {
        for (int y = 0; y < Size; ++y) {
            ProtectionEntry& entry = m_protection[x][y];
            if (entry.key != key && entry.remaining > 0.f) {
                entry.remaining = 0.f;
                m_cells[x][y].state = CellState::Destroyed;
            }
        }
    }
}

void Terrain::updateTimers(float dt) {
    m_waterTimer -= dt;
    if (m_waterTimer <= 0.f) {
        m_waterFrame += 1;
        m_waterTimer += 1.f / m_waterFps;
    }

    for (int x = 0; x < Size; ++x) {
        for (int y = 0; y < Size; ++y) {
            ProtectionEntry& entry = m_protection[x][y];
            if (entry.remaining <= 0.f) {
                continue;
            }
            entry.remaining -= dt;
            // A ring shot to pieces meanwhile stays open; the rest becomes
            // fresh brick, even where there was no wall before.
            if (entry.remaining <= 0.f && m_cells[x][y].state != CellState::Destroyed) {
                m_cells[x][y].reinitialise(TileKind::Brick);
            }
        }
    }
}

void Terrain::setOccupant(int x, int y, GameObject* object) {
    if (inRange(x, y)) {
        m_occupants[x][y] = object;
    }
}

void Terrain::clearOccupants() {
    for (auto& column : m_occupants) {
        column.fill(nullptr);
    }
}

} // namespace ironmoat::cmn
