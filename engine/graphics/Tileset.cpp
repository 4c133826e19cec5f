#include "engine/graphics/Tileset.hpp"

#include "engine/common/ResourceManager.hpp"
#include "engine/common/ResourceSfTexture.hpp"
#include "engine/core/WeakSingleton.hpp"
#include "engine/graphics/Camera.hpp"

#include <SFML/Graphics/Sprite.hpp>

#include <cmath>

namespace pyx::gfx {

bool Tileset::load(const std::wstring& path, std::uint32_t size) {
    return load(path, size, size);
}

bool Tileset::load(const std::wstring& path, std::uint32_t width, std::uint32_t height) {
    m_frameWidth = width;
    m_frameHeight = height;
    core::WeakSingleton<cmn::ResourceManager> manager;
    m_texture = manager->getTexture(path);
    if (!m_texture)
        return false;
    // Frames are scaled by whole factors as often as not; nearest-pixel
    // sampling keeps their edges hard and stops neighbours bleeding in.
    cmn::resourceValue(m_texture).setSmooth(false);
    return true;
}

sf::Vector2u Tileset::gridSize() const {
    const sf::Vector2u size = getTexture().getSize();
    // A frame size of 0 has no whole frames; never divide by it.
    return {m_frameWidth ? size.x / m_frameWidth : 0u, m_frameHeight ? size.y / m_frameHeight : 0u};
}

const sf::Texture& Tileset::getTexture() const {
    return cmn::resourceValue(m_texture);
}

void Tileset::drawFrame(float rotation, Camera& camera, sf::Vector2f origin, float x, float y,
                        int column, int row, std::uint32_t width, std::uint32_t height) const {
    const std::uint32_t w = width ? width : m_frameWidth;
    const std::uint32_t h = height ? height : m_frameHeight;
    const sf::Texture& texture = getTexture();
    // A failed picture (0 x 0) would be drawn by SFML as a white box, and a
    // zero frame size has no scale: both draw nothing.
    if (texture.getSize().x == 0 || texture.getSize().y == 0 || m_frameWidth == 0 ||
        m_frameHeight == 0)
        return;

    const int fw = static_cast<int>(m_frameWidth), fh = static_cast<int>(m_frameHeight);
    sf::Sprite sprite(texture, sf::IntRect(column * fw, row * fh, fw, fh));
    sprite.setPosition(x, y);
    sprite.setOrigin(origin);
    float degrees = std::fmod(rotation, 360.f);
    if (degrees < 0.f)
        degrees += 360.f;
    sprite.setRotation(degrees);
    sprite.setScale(static_cast<float>(w) / static_cast<float>(m_frameWidth),
                    static_cast<float>(h) / static_cast<float>(m_frameHeight));
    camera.drawSnapped(sprite);
}

void Tileset::appendQuad(sf::VertexArray& vertices, float x, float y, int column, int row,
                         std::uint32_t width, std::uint32_t height) const {
    const float w = static_cast<float>(width ? width : m_frameWidth);
    const float h = static_cast<float>(height ? height : m_frameHeight);
    const float fw = static_cast<float>(m_frameWidth), fh = static_cast<float>(m_frameHeight);
    const float u = static_cast<float>(column) * fw, v = static_cast<float>(row) * fh;
    const sf::Color white(255, 255, 255, 255);
    vertices.append(sf::Vertex({x, y}, white, {u, v}));
    vertices.append(sf::Vertex({x + w, y}, white, {u + fw, v}));
    vertices.append(sf::Vertex({x + w, y + h}, white, {u + fw, v + fh}));
    vertices.append(sf::Vertex({x, y + h}, white, {u, v + fh}));
}

} // namespace pyx::gfx
