#pragma once

#include "engine/graphics/Tileset.hpp"
#include "engine/gui/Window.hpp"
#include "game/world/Terrain.hpp"
#include "tools/editor/MapDocument.hpp"
#include "tools/editor/Tool.hpp"

#include <SFML/System/Vector2.hpp>

#include <functional>
#include <memory>
#include <vector>

namespace ironmoat::editor {

// The 26 x 26 field drawn as the game draws it (the terrain's own drawing,
// the base and spawn pictures over their footprints), with a grid, the
// highlighted cells of a chosen problem and the cell under the pointer.
// The left button paints the current tool (a drag paints a stroke, a
// marker is placed once per press, its footprint centred on the pointer
// and snapped to whole cells), the right button erases; a stroke is one
// undo step.
class FieldView : public pyx::gui::Window {
public:
    FieldView(pyx::gui::Application* application, const std::shared_ptr<pyx::gui::Window>& parent,
              std::shared_ptr<MapDocument> document);

    // Animates the water.
    void update(float dt) override;
    void processMouse(pyx::gfx::Mouse& mouse) override;
    void drawSelf(pyx::gfx::Camera& camera) override;

    // Pixel size of a cell for the current window size.
    int cellSize() const;
    // The cell under a point in local coordinates; false outside the field.
    bool cellAt(sf::Vector2f local, sf::Vector2i& cell) const;
    // The top-left cell of the 2 x 2 footprint centred nearest to a point in
    // local coordinates, inside the field.
    sf::Vector2i footprintAt(sf::Vector2f local) const;
    // Ends a stroke in progress (the window lost the mouse, a key undid).
    void finishStroke();

    Tool tool = Tool::Brick;
    bool showGrid = true;
    // Cells drawn with a marked frame (the chosen problem's cells).
    std::vector<sf::Vector2i> highlighted;
    // Called after every painted cell and at the end of a stroke.
    std::function<void()> onEdit;

private:
    void syncTerrain();
    void paintLine(sf::Vector2i from, sf::Vector2i to);
    void drawMarkers(pyx::gfx::Camera& camera, int cell);
    void drawOverlays(pyx::gfx::Camera& camera, int cell);

    std::shared_ptr<MapDocument> m_document;
    std::unique_ptr<cmn::Terrain> m_terrain;
    EditorMap m_drawn; // the map the terrain was last filled from
    bool m_terrainFilled = false;
    pyx::gfx::Tileset m_baseTiles;
    pyx::gfx::Tileset m_spawnTiles;
    int m_strokeButton = -1; // the button painting a stroke, -1 for none
    sf::Vector2i m_lastCell{-1, -1};
    bool m_hover = false;
    sf::Vector2i m_hoverCell{-1, -1};
    sf::Vector2i m_hoverFootprint{-1, -1};
};

} // namespace ironmoat::editor
