#include "game/world/Terrain.hpp"

#include "engine/graphics/Camera.hpp"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/VertexArray.hpp>

namespace ironmoat::cmn {

namespace {

// The background mosaic's vertices with the texture they sample: the camera
// supplies the transform, this supplies the texture.
class TexturedVertices : public sf::Drawable {
public:
    TexturedVertices(const sf::VertexArray& vertices, const sf::Texture& texture)
        : m_vertices(vertices), m_texture(texture) {}

private:
    void draw(sf::RenderTarget& target, sf::RenderStates states) const override {
        states.texture = &m_texture;
        target.draw(m_vertices, states);
    }

    const sf::VertexArray& m_vertices;
    const sf::Texture& m_texture;
};

// Frame row of a brick: which half, if any, is gone.
int brickRow(const TerrainCell& cell) {
    if (cell.state == CellState::HitVertically) {
        return cell.side == 0 ? 1 : 2;
    }
    if (cell.state == CellState::HitHorizontally) {
        return cell.side == 0 ? 3 : 4;
    }
    return 0;
}

// The kinds that have pictures, in the order their passes are drawn.
constexpr TileKind DrawPasses[] = {TileKind::Brick, TileKind::Metal, TileKind::Water,
                                   TileKind::Wood, TileKind::Tree};

} // namespace

void Terrain::drawGround(pyx::gfx::Camera& camera, int cw, int ch) {
    // Rebuilt from the same seed on every call, so the mosaic never changes.
    sf::VertexArray vertices(sf::Quads);
    std::uint32_t seed = 213482u;
    const int columns = static_cast<int>(m_backgroundTiles.gridSize().x);
    if (columns > 0 && cw > 0 && ch > 0) {
        for (int px = 0; px < Size * cw; px += 2 * cw) {
            for (int py = 0; py < Size * ch; py += 2 * ch) {
                seed = seed * 1103515245u + 12345u;
                const int variant =
                    static_cast<int>((seed >> 16) % static_cast<std::uint32_t>(columns));
                m_backgroundTiles.appendQuad(
                    vertices, static_cast<float>(px), static_cast<float>(py), variant, 0,
                    static_cast<unsigned>(2 * cw), static_cast<unsigned>(2 * ch));
            }
        }
        camera.drawSnapped(TexturedVertices(vertices, m_backgroundTiles.getTexture()));
    }
    drawCells(camera, cw, ch, false);
}

void Terrain::drawCover(pyx::gfx::Camera& camera, int cw, int ch) {
    drawCells(camera, cw, ch, true);
}

void Terrain::drawCells(pyx::gfx::Camera& camera, int cw, int ch, bool coverLayer) {
    const sf::Vector2u waterGrid = m_waterTiles.gridSize();
    const std::int32_t waterFrames = static_cast<std::int32_t>(waterGrid.x * waterGrid.y);
    if (m_waterFrame >= waterFrames) {
        m_waterFrame -= waterFrames;
    }
    // A zero-sized cell shows nothing; width 0 would mean "frame size" to the
    // tileset and draw the field at full picture size instead.
    if (cw <= 0 || ch <= 0) {
        return;
    }

    // One pass per kind: cells never overlap, so the picture is the same as
    // in plain grid order, but each tileset's texture is bound once per pass
    // instead of at every change of kind along the grid, and every change
    // of texture is a change of renderer state.
    for (const TileKind pass : DrawPasses) {
        drawCellsOfKind(camera, cw, ch, coverLayer, pass, waterFrames);
    }
}

void Terrain::drawCellsOfKind(pyx::gfx::Camera& camera, int cw, int ch, bool coverLayer,
                              TileKind pass, std::int32_t waterFrames) {
    for (int x = 0; x < Size; ++x) {
        for (int y = 0; y < Size; ++y) {
            const TerrainCell& cell = m_cells[x][y];
            if (cell.kind != pass || cell.state == CellState::Destroyed ||
                cell.cover != coverLayer) {
                continue;
            }
            pyx::gfx::Tileset* tiles = nullptr;
            int row = 0;
            bool animated = false;
            switch (cell.kind) {
            case TileKind::Tree:
                tiles = &m_treeTiles;
                break;
            case TileKind::Metal:
                tiles = &m_metalTiles;
                break;
            case TileKind::Brick:
                tiles = &m_brickTiles;
                row = brickRow(cell);
                break;
            case TileKind::Water:
                tiles = &m_waterTiles;
                animated = true;
                break;
            case TileKind::Wood:
                tiles = &m_woodTiles;
                break;
            default:
                break; // open ground: the background shows through
            }
            if (tiles == nullptr) {
                continue;
            }
            int column = 0;
            if (animated) {
                if (waterFrames <= 0) {
                    continue;
                }
                column = m_waterFrame;
            } else {
                // A missing picture has no columns: draw nothing rather than
                // take a variant modulo 0.
                const int columns = static_cast<int>(tiles->gridSize().x);
                if (columns <= 0) {
                    continue;
                }
                column = cell.variant % columns;
            }
            tiles->drawFrame(0.f, camera, {0.f, 0.f}, static_cast<float>(x * cw),
                             static_cast<float>(y * ch), column, row, static_cast<unsigned>(cw),
                             static_cast<unsigned>(ch));
        }
    }
}

} // namespace ironmoat::cmn
