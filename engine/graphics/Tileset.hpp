#pragma once

#include <SFML/Graphics/Texture.hpp>
#include <SFML/Graphics/VertexArray.hpp>
#include <SFML/System/Vector2.hpp>

#include <cstdint>
#include <memory>
#include <string>

namespace pyx::gfx {

class Camera;
class ResourceSfTexture;

// A texture resource cut into a grid of equal frames, addressed by column
// (left to right) and row (top to bottom), each drawn scaled to whatever
// size the caller asks for. Several tilesets may share one texture. Every
// operation that needs the texture waits until the resource has loaded.
//
// A picture that is missing or cannot be decoded still loads (`load` returns
// true) as a 0 x 0 texture: `gridSize` is then (0, 0) and `drawFrame` draws
// nothing. Callers that take an index modulo the column count must check
// for 0 columns first and skip drawing; nothing here divides by it.
// `gridSize`, `getTexture` and `drawFrame` on a tileset that was never
// loaded throw std::runtime_error("Null resource exception").
class Tileset {
public:
    Tileset() = default;

    // load(path, size, size).
    bool load(const std::wstring& path, std::uint32_t size);
    // Sets the frame size, takes the texture resource of the path from the
    // resource manager, waits for it and turns smoothing off. False only when
    // the manager gave no handle.
    bool load(const std::wstring& path, std::uint32_t width, std::uint32_t height);

    // (columns, rows) of whole frames in the texture; (0, 0) for a picture
    // that failed to load or a frame size of 0.
    sf::Vector2u gridSize() const;
    sf::Vector2u frameSize() const { return {m_frameWidth, m_frameHeight}; }
    const sf::Texture& getTexture() const;
    bool isLoaded() const { return static_cast<bool>(m_texture); }

    // Draws frame (column, row) as a sprite at (x, y) through the camera's
    // `drawSnapped`, turned by rotation degrees (clockwise) about origin (in
    // frame pixels) and scaled to width x height (0 means the frame's own
    // size). Indices are not checked: a frame outside the grid samples
    // outside the texture.
    void drawFrame(float rotation, Camera& camera, sf::Vector2f origin, float x, float y,
                   int column, int row, std::uint32_t width = 0, std::uint32_t height = 0) const;
    // Appends frame (column, row) as four white vertices of a quad at
    // (x, y) of size width x height (0: the frame's size); draw the array as
    // sf::Quads with `getTexture`.
    void appendQuad(sf::VertexArray& vertices, float x, float y, int column, int row,
                    std::uint32_t width = 0, std::uint32_t height = 0) const;

private:
    std::shared_ptr<ResourceSfTexture> m_texture;
    std::uint32_t m_frameWidth = 0;
    std::uint32_t m_frameHeight = 0;
};

} // namespace pyx::gfx
