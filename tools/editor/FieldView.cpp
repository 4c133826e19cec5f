#include "tools/editor/FieldView.hpp"

#include "engine/graphics/Camera.hpp"
#include "engine/graphics/Mouse.hpp"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/VertexArray.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace ironmoat::editor {

namespace {

const sf::Color HumanTag(60, 200, 90);
const sf::Color EnemyTag(230, 60, 50);

cmn::TileKind kindOf(unsigned char byte) {
    return cmn::tileKindOfByte(byte);
}

void outline(pyx::gfx::Camera& camera, float x, float y, float w, float h, float thickness,
             sf::Color colour) {
    sf::RectangleShape frame({w - 2.f * thickness, h - 2.f * thickness});
    frame.setPosition(x + thickness, y + thickness);
    frame.setFillColor(sf::Color::Transparent);
    frame.setOutlineThickness(thickness);
    frame.setOutlineColor(colour);
    camera.drawSnapped(frame);
}

} // namespace

FieldView::FieldView(pyx::gui::Application* application,
                     const std::shared_ptr<pyx::gui::Window>& parent,
                     std::shared_ptr<MapDocument> document)
    : Window(application, parent), m_document(std::move(document)),
      m_terrain(std::make_unique<cmn::Terrain>()) {
    // The game's own base and spawn pictures, as the base and the spawn
    // points draw them.
    m_baseTiles.load(L"ironmoat/bunker_thing.png", 80);
    m_spawnTiles.load(L"ironmoat/spawn_tileset.png", 80);
}

int FieldView::cellSize() const {
    return std::max(1, static_cast<int>(std::min(getWidth(), getHeight())) / EditorMap::Size);
}

bool FieldView::cellAt(sf::Vector2f local, sf::Vector2i& cell) const {
    const int size = cellSize();
    if (local.x < 0.f || local.y < 0.f) {
        return false;
    }
    const int x = static_cast<int>(local.x) / size;
    const int y = static_cast<int>(local.y) / size;
    if (x >= EditorMap::Size || y >= EditorMap::Size) {
        return false;
    }
    cell = {x, y};
    return true;
}

sf::Vector2i FieldView::footprintAt(sf::Vector2f local) const {
    const float c = static_cast<float>(cellSize());
    const auto corner = [c](float v) {
        return std::clamp(static_cast<int>(std::lround(v / c - 1.f)), 0, EditorMap::Size - 2);
    };
    return {corner(local.x), corner(local.y)};
}

void FieldView::update(float dt) {
    m_terrain->updateTimers(dt);
    Window::update(dt);
}

void FieldView::paintLine(sf::Vector2i from, sf::Vector2i to) {
    // Every cell on the way, so that a fast drag leaves no gaps.
    const int steps = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y));
    for (int i = 1; i <= steps; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(steps);
        const int x = static_cast<int>(std::lround(from.x + (to.x - from.x) * t));
        const int y = static_cast<int>(std::lround(from.y + (to.y - from.y) * t));
        if (m_strokeButton == pyx::gfx::Mouse::Right) {
            m_document->erase(x, y);
        } else {
            m_document->paint(tool, x, y);
        }
    }
}

void FieldView::finishStroke() {
    if (m_strokeButton < 0) {
        return;
    }
    m_strokeButton = -1;
    m_document->endStroke();
    if (onEdit) {
        onEdit();
    }
}

void FieldView::processMouse(pyx::gfx::Mouse& mouse) {
    Window::processMouse(mouse);
    sf::Vector2i cell;
    const sf::Vector2f local = getPosition()->getMousePosition();
    m_hover = local.x < getWidth() && local.y < getHeight() && cellAt(local, cell);
    if (m_hover) {
        m_hoverCell = cell;
        m_hoverFootprint = footprintAt(local);
    }

    if (m_strokeButton < 0 && isFocused() && m_hover) {
        for (const int button : {pyx::gfx::Mouse::Left, pyx::gfx::Mouse::Right}) {
            if (!mouse.wentDown(button)) {
                continue;
            }
            m_strokeButton = button;
            m_lastCell = cell;
            m_document->beginStroke();
            if (button == pyx::gfx::Mouse::Right) {
                m_document->erase(cell.x, cell.y);
            } else if (isMarkerTool(tool)) {
                m_document->paint(tool, m_hoverFootprint.x, m_hoverFootprint.y);
            } else {
                m_document->paint(tool, cell.x, cell.y);
            }
            if (onEdit) {
                onEdit();
            }
            break;
        }
    } else if (m_strokeButton >= 0 && m_hover && cell != m_lastCell) {
        // Markers are placed once per press; terrain follows the drag.
        if (m_strokeButton == pyx::gfx::Mouse::Right || !isMarkerTool(tool)) {
            paintLine(m_lastCell, cell);
            if (onEdit) {
                onEdit();
            }
        }
        m_lastCell = cell;
    }
    if (m_strokeButton >= 0 && !mouse.buttonDown(m_strokeButton)) {
        finishStroke();
    }
}

void FieldView::syncTerrain() {
    const EditorMap& map = m_document->map();
    if (m_terrainFilled && map == m_drawn) {
        return;
    }
    for (int x = 0; x < EditorMap::Size; ++x) {
        for (int y = 0; y < EditorMap::Size; ++y) {
            if (!m_terrainFilled || map.at(x, y) != m_drawn.at(x, y)) {
                m_terrain->initCell(x, y, kindOf(map.at(x, y)));
            }
        }
    }
    m_drawn = map;
    m_terrainFilled = true;
}

void FieldView::drawSelf(pyx::gfx::Camera& camera) {
    syncTerrain();
    const int cell = cellSize();
    // The field as a level shows it: ground, the markers' pictures (spawn
    // points and bases stand below the trees), then the trees.
    m_terrain->drawGround(camera, cell, cell);
    drawMarkers(camera, cell);
    m_terrain->drawCover(camera, cell, cell);
    drawOverlays(camera, cell);
}

void FieldView::drawMarkers(pyx::gfx::Camera& camera, int cell) {
    const float c = static_cast<float>(cell);
    for (const EditorMap::Marker& marker : m_document->map().markers()) {
        const float x = c * static_cast<float>(marker.x);
        const float y = c * static_cast<float>(marker.y);
        pyx::gfx::Tileset& tiles = marker.digit == '1' ? m_baseTiles : m_spawnTiles;
        if (tiles.gridSize().x > 0) {
            tiles.drawFrame(0.f, camera, {0.f, 0.f}, x, y, 0, 0, static_cast<unsigned>(2 * cell),
                            static_cast<unsigned>(2 * cell));
        }
        if (marker.digit != '1') {
            // The game draws both teams' spawn points alike; the editor
            // frames them in the team's colour so they can be told apart.
            outline(camera, x, y, 2.f * c, 2.f * c, 2.f, marker.digit == '2' ? HumanTag : EnemyTag);
        }
    }
}

void FieldView::drawOverlays(pyx::gfx::Camera& camera, int cell) {
    const float c = static_cast<float>(cell);
    const float side = c * EditorMap::Size;
    if (showGrid) {
        sf::VertexArray lines(sf::Lines);
        const sf::Color colour(255, 255, 255, 60);
        for (int i = 0; i <= EditorMap::Size; ++i) {
            const float at = c * static_cast<float>(i);
            lines.append({{at, 0.f}, colour});
            lines.append({{at, side}, colour});
            lines.append({{0.f, at}, colour});
            lines.append({{side, at}, colour});
        }
        camera.drawSnapped(lines);
    }
    for (const sf::Vector2i& h : highlighted) {
        if (h.x >= 0 && h.y >= 0 && h.x < EditorMap::Size && h.y < EditorMap::Size) {
            sf::RectangleShape fill({c, c});
            fill.setPosition(c * static_cast<float>(h.x), c * static_cast<float>(h.y));
            fill.setFillColor(sf::Color(255, 40, 200, 90));
            camera.drawSnapped(fill);
            outline(camera, c * static_cast<float>(h.x), c * static_cast<float>(h.y), c, c, 2.f,
                    sf::Color(255, 40, 200));
        }
    }
    if (m_hover) {
        // Where the next click lands: a marker's whole footprint, else the cell.
        const bool marker = isMarkerTool(tool);
        const int x = marker ? m_hoverFootprint.x : m_hoverCell.x;
        const int y = marker ? m_hoverFootprint.y : m_hoverCell.y;
        const float span = marker ? 2.f * c : c;
        outline(camera, c * static_cast<float>(x), c * static_cast<float>(y), span, span, 1.f,
                sf::Color(255, 255, 255, 200));
    }
}

} // namespace ironmoat::editor
