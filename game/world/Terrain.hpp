#pragma once

#include "engine/graphics/Tileset.hpp"
#include "game/world/MapMarker.hpp"
#include "game/world/ProtectionEntry.hpp"
#include "game/world/TerrainCell.hpp"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pyx::gfx {
class Camera;
}

namespace ironmoat::cmn {

class GameObject;

// The 26 x 26 grid a level stands on, with its tile rules, the per-cell
// protection timers and occupants, the level list with the level number, and
// the tilesets that draw it. It has no lock of its own: the world's lock
// guards it.
class Terrain {
public:
    static constexpr int Size = 26;

    // Makes an all-empty grid (each cell with its own random drawing variant)
    // and loads the terrain tilesets; `cellSize` is the frame size of a cell
    // picture in the tileset files.
    explicit Terrain(unsigned cellSize = 40);

    // --- Level list -------------------------------------------------------

    // Every level path in campaign order: the 35 archive levels, then every
    // "maps/*.mtc" file found beside the program, in the finder's order.
    static std::vector<std::wstring> buildLevelList();

    // Replaces the grid and the markers with the next level of the shuffled
    // list, skipping paths that cannot be read; keeps the old grid when no
    // path of a freshly built list reads. Always raises the level number by 1.
    void loadNextLevel();

    // Reads one level file into the grid and the markers. False, with nothing
    // changed, when the file cannot be had or holds no bytes.
    bool readLevelFile(const std::wstring& path);

    // The markers of the level read last, in reading order.
    const std::vector<MapMarker>& markers() const { return m_markers; }

    // Number of `loadNextLevel` calls so far: the level shown to the player.
    std::int32_t levelNumber() const { return m_levelNumber; }

    // Paths not yet played in the current cycle; the next is taken from the back.
    const std::vector<std::wstring>& levelStack() const { return m_levelStack; }

    // --- Queries (grid coordinates) ---------------------------------------

    // True when 0 <= x <= 25 and 0 <= y <= 25.
    static bool inRange(int x, int y);

    // Whether a tank may stand on the cell as far as terrain goes.
    bool isTankPassable(int x, int y, bool boat) const;

    // Whether a shell travelling horizontally (or vertically), on the given
    // side of its grid line, flies through the cell. Out of range is open.
    bool isShellPassable(bool horizontal, std::uint8_t side, int x, int y) const;

    // The object standing on the cell this tick, or null (also out of range).
    GameObject* occupantAt(int x, int y) const;

    // The cell at (x, y); the coordinates must be in range.
    const TerrainCell& cellAt(int x, int y) const;

    // The protection timer of (x, y); the coordinates must be in range.
    const ProtectionEntry& protectionAt(int x, int y) const;

    // The water animation frame counter (wrapped by the drawing).
    std::int32_t waterFrame() const { return m_waterFrame; }

    // --- Changes ----------------------------------------------------------

    // Re-initialises the cell at (x, y) with a kind, as a level read does.
    // Out of range does nothing.
    void initCell(int x, int y, TileKind kind);

    // What a shell moving (dx, dy) does to one cell that stops it.
    static void hitCell(TerrainCell& cell, int dx, int dy, bool strong);

    // The terrain part of a shell's hit test at its lead point (x, y); breaks
    // what the shell hits and returns true when the shell is stopped.
    bool shellHitTerrain(bool strong, bool pierce, int x, int y, int dx, int dy);

    // In range: the cell becomes destroyed.
    void destroyCell(int x, int y);

    // In range: a tree becomes destroyed; other kinds are left alone.
    void cutTree(int x, int y);

    // In range: starts a protection timer for team 1's base; with seconds > 0
    // the cell becomes metal until it runs out.
    void protectCell(int x, int y, float seconds);

    // Ends every running protection of another key than `key`; its cells are
    // destroyed.
    void cancelProtection(int key);

    // Advances the water animation and expires protection timers.
    void updateTimers(float dt);

    // Records the object standing on (x, y) this tick; out of range is ignored.
    void setOccupant(int x, int y, GameObject* object);

    // Forgets every occupant (done at the start of each tick).
    void clearOccupants();

    // --- Drawing ----------------------------------------------------------

    // The background mosaic, then every cell that is not drawn over tanks.
    // (cw, ch) is the pixel size of a cell.
    void drawGround(pyx::gfx::Camera& camera, int cw, int ch);

    // The cells drawn over the tanks (trees).
    void drawCover(pyx::gfx::Camera& camera, int cw, int ch);

private:
    TerrainCell& cellRef(int x, int y) { return m_cells[x][y]; }
    void drawCells(pyx::gfx::Camera& camera, int cw, int ch, bool coverLayer);
    void drawCellsOfKind(pyx::gfx::Camera& camera, int cw, int ch, bool coverLayer, TileKind pass,
                         std::int32_t waterFrames);
    void shuffleLevelStack();

    std::array<std::array<TerrainCell, Size>, Size> m_cells{};
    std::array<std::array<GameObject*, Size>, Size> m_occupants{};
    std::array<std::array<ProtectionEntry, Size>, Size> m_protection{};
    std::int32_t m_waterFrame = 0;
    float m_waterFps = 10.f;
    float m_waterTimer = 0.f;

    std::vector<std::wstring> m_levelStack;
    std::vector<MapMarker> m_markers;
    std::int32_t m_levelNumber = 0;

    unsigned m_cellSize;
    pyx::gfx::Tileset m_backgroundTiles;
    pyx::gfx::Tileset m_brickTiles;
    pyx::gfx::Tileset m_metalTiles;
    pyx::gfx::Tileset m_treeTiles;
    pyx::gfx::Tileset m_waterTiles;
    pyx::gfx::Tileset m_woodTiles;
};

} // namespace ironmoat::cmn
