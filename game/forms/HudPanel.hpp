#pragma once

#include "engine/graphics/Tileset.hpp"
#include "game/objects/WorldHud.hpp"

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/System/Vector2.hpp>

#include <cstdint>
#include <memory>
#include <vector>

namespace pyx::gfx {
class Camera;
class ResourceSfFont;
} // namespace pyx::gfx

namespace ironmoat::cmn {

class Player;

// The side panel of a match: one block per player (name, tank picture with
// the count of tanks or lives to come or the player's status, score) and a
// block with the level number, stacked beside the playfield, or side by side
// under it when the window is taller than wide; and the fading "GAME OVER"
// over the playfield once the match is over. The world places it and calls
// it every frame; everything is rebuilt per frame from the player records.
class HudPanel : public WorldHud {
public:
    static constexpr float PlayerBlockSize = 160.0f;
    static constexpr float LevelBlockHeight = 50.0f;
    static constexpr float BlockGap = 30.0f;
    static constexpr float EdgeOffset = 10.0f;

    // Tiles of twice `halfTileSize` pixels (the world gives 40); takes the
    // bold font and the tank and wheel pictures from the resource manager.
    explicit HudPanel(std::uint32_t halfTileSize = 40);
    ~HudPanel() override;

    void addPlayer(std::shared_ptr<Player> player) override;
    void setLayout(bool vertical, sf::Vector2f position, sf::Vector2f size) override;
    void setLevelNumber(std::int32_t levelNumber) override;
    // Turns the wheels one frame, then draws every player block and the
    // level block.
    void draw(pyx::gfx::Camera& camera) override;
    // "GAME OVER" centred in `area`, fading in with the end time.
    void drawGameOver(pyx::gfx::Camera& camera, sf::Vector2f area, float endTime) override;

    // Where the blocks go with the current layout: one rectangle per player
    // in order, then the level block.
    std::vector<sf::FloatRect> blockRects() const;

    // The overlay's fill and outline colours for the end time `endTime`.
    static sf::Color gameOverFill(float endTime);
    static sf::Color gameOverOutline(float endTime);

    // Shrinks the text's character size until its bounds are narrower than
    // `maxWidth` and lower than `maxHeight` (0: no limit) and returns the
    // final bounds. Stops at size 1, so a text that can never fit (or a
    // zero-sized limit) cannot loop for ever.
    static sf::FloatRect fitText(pyx::gfx::Camera& camera, sf::Text& text, float maxWidth,
                                 float maxHeight);

    bool isVertical() const { return m_vertical; }
    sf::Vector2f getPosition() const { return m_position; }
    sf::Vector2f getSize() const { return m_size; }
    std::int32_t getLevelNumber() const { return m_levelNumber; }
    std::int16_t getWheelFrame() const { return m_wheelFrame; }
    const std::vector<std::shared_ptr<Player>>& getPlayers() const { return m_players; }

private:
    void drawPlayerBlock(pyx::gfx::Camera& camera, const Player& player, sf::Vector2f origin);
    void drawLevelBlock(pyx::gfx::Camera& camera, sf::Vector2f origin);
    void drawTankPicture(pyx::gfx::Camera& camera, int tankKind, sf::Vector2f centre);
    sf::Text makeText(const std::wstring& string, unsigned size, sf::Color fill) const;

    bool m_vertical = true;
    sf::Vector2f m_position;
    sf::Vector2f m_size;
    std::uint32_t m_tileWidth;
    std::uint32_t m_tileHeight;
    std::vector<std::shared_ptr<Player>> m_players;
    std::shared_ptr<pyx::gfx::ResourceSfFont> m_font;
    pyx::gfx::Tileset m_tankTiles;
    pyx::gfx::Tileset m_wheelTiles;
    std::int16_t m_wheelFrame = 0;
    std::int32_t m_levelNumber = 0;
};

} // namespace ironmoat::cmn
