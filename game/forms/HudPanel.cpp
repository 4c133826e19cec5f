#include "game/forms/HudPanel.hpp"

#include "engine/common/ResourceManager.hpp"
#include "engine/common/ResourceSfFont.hpp"
#include "engine/core/WeakSingleton.hpp"
#include "engine/graphics/Camera.hpp"
#include "game/objects/Player.hpp"

#include <SFML/Graphics/RectangleShape.hpp>

#include <algorithm>
#include <cmath>
#include <string>

namespace ironmoat::cmn {

namespace {

constexpr float TextWidthLimit = 140.0f;

// The integer part of endTime x 100, capped; computed in float so that an
// end time that kept growing behind the menu cannot overflow an int.
std::uint8_t fadeValue(float endTime, float cap) {
    const float value = std::floor(endTime * 100.0f);
    if (!(value > 0.0f))
        return 0;
    return static_cast<std::uint8_t>(std::min(value, cap));
}

// A block's frame: the outline's outer edge is exactly the block.
void drawFrame(pyx::gfx::Camera& camera, sf::Vector2f origin, sf::Vector2f blockSize) {
    sf::RectangleShape frame(blockSize - sf::Vector2f(4.0f, 4.0f));
    frame.setPosition(origin + sf::Vector2f(2.0f, 2.0f));
    frame.setFillColor(sf::Color::Black);
    frame.setOutlineColor(sf::Color::White);
    frame.setOutlineThickness(2.0f);
    camera.draw(frame);
}

} // namespace

HudPanel::HudPanel(std::uint32_t halfTileSize)
    : m_tileWidth(halfTileSize * 2), m_tileHeight(halfTileSize * 2) {
    pyx::core::WeakSingleton<pyx::cmn::ResourceManager> manager;
    m_font = manager->getFont(L"@release/Core/Fonts/Charis-SIL/Font-Face-B.ttf");
    m_tankTiles.load(L"ironmoat/tank_tileset.png", m_tileWidth, m_tileHeight);
    m_wheelTiles.load(L"ironmoat/wheels_tileset.png", m_tileWidth, m_tileHeight);
}

HudPanel::~HudPanel() = default;

void HudPanel::addPlayer(std::shared_ptr<Player> player) {
    if (player)
        m_players.push_back(std::move(player));
}

void HudPanel::setLayout(bool vertical, sf::Vector2f position, sf::Vector2f size) {
    m_vertical = vertical;
    m_position = position;
    m_size = size;
}

void HudPanel::setLevelNumber(std::int32_t levelNumber) {
    m_levelNumber = levelNumber;
}

std::vector<sf::FloatRect> HudPanel::blockRects() const {
    std::vector<sf::FloatRect> rects;
    rects.reserve(m_players.size() + 1);
    sf::Vector2f start =
        m_position + (m_vertical ? sf::Vector2f(0.0f, EdgeOffset) : sf::Vector2f(EdgeOffset, 0.0f));
    // Blocks are centred across the panel and follow each other along it.
    auto across = [this](float blockAcross) {
        return m_vertical ? sf::Vector2f((m_size.x - PlayerBlockSize) / 2.0f, 0.0f)
                          : sf::Vector2f(0.0f, (m_size.y - blockAcross) / 2.0f);
    };
    for (std::size_t i = 0; i < m_players.size(); ++i) {
        const sf::Vector2f origin = start + across(PlayerBlockSize);
        rects.emplace_back(origin, sf::Vector2f(PlayerBlockSize, PlayerBlockSize));
        if (m_vertical)
            start.y += PlayerBlockSize + BlockGap;
        else
            start.x += PlayerBlockSize + BlockGap;
    }
    const sf::Vector2f origin = start + across(LevelBlockHeight);
    rects.emplace_back(origin, sf::Vector2f(PlayerBlockSize, LevelBlockHeight));
    return rects;
}

void HudPanel::draw(pyx::gfx::Camera& camera) {
    const unsigned columns = m_wheelTiles.gridSize().x;
    if (columns == 0) {
        // A wheel picture that failed to load has no frames to cycle.
        m_wheelFrame = 0;
    } else {
        ++m_wheelFrame;
        if (m_wheelFrame >= static_cast<int>(columns))
            m_wheelFrame = static_cast<std::int16_t>(m_wheelFrame - static_cast<int>(columns));
    }

    const std::vector<sf::FloatRect> rects = blockRects();
    for (std::size_t i = 0; i < m_players.size(); ++i)
        drawPlayerBlock(camera, *m_players[i], {rects[i].left, rects[i].top});
    drawLevelBlock(camera, {rects.back().left, rects.back().top});
}

sf::Text HudPanel::makeText(const std::wstring& string, unsigned size, sf::Color fill) const {
    sf::Text text(string, pyx::cmn::resourceValue(m_font), size);
    text.setFillColor(fill);
    text.setOutlineColor(sf::Color::Black);
    text.setOutlineThickness(1.0f);
    return text;
}

void HudPanel::drawTankPicture(pyx::gfx::Camera& camera, int tankKind, sf::Vector2f centre) {
    if (m_wheelTiles.gridSize().x > 0) {
        const sf::Vector2u frame = m_wheelTiles.frameSize();
        m_wheelTiles.drawFrame(0.0f, camera, sf::Vector2f(frame) / 2.0f, centre.x, centre.y,
                               m_wheelFrame, 0, m_tileWidth, m_tileHeight);
    }
    const sf::Vector2u frame = m_tankTiles.frameSize();
    m_tankTiles.drawFrame(0.0f, camera, sf::Vector2f(frame) / 2.0f, centre.x, centre.y, tankKind, 0,
                          m_tileWidth, m_tileHeight);
}

void HudPanel::drawPlayerBlock(pyx::gfx::Camera& camera, const Player& player,
                               sf::Vector2f origin) {
    const float bx = origin.x;
    const float by = origin.y;
    drawFrame(camera, origin, {PlayerBlockSize, PlayerBlockSize});

    sf::Text name = makeText(player.name, 28, sf::Color::White);
    const sf::FloatRect nameBounds = camera.measureText(name);
    name.setPosition(bx + (PlayerBlockSize - nameBounds.width) / 2.0f, by);
    camera.drawText(name);

    drawTankPicture(camera, player.tankKind, {bx + 80.0f, by + 80.0f});

    if (player.reserve > 0 || player.hasLiveTank()) {
        sf::Text count = makeText(std::to_wstring(player.spawnsLeft) + L"x", 40, sf::Color::White);
        const sf::FloatRect line = camera.measureTextLine(count);
        count.setPosition(bx + 80.0f - line.width / 2.0f, by + 80.0f - line.height / 2.0f);
        camera.drawText(count);
    } else {
        sf::Text status = makeText(player.statusText, 40, player.colour);
        const sf::FloatRect bounds =
            fitText(camera, status, TextWidthLimit, static_cast<float>(m_tileHeight));
        status.setPosition(bx + 80.0f - bounds.width / 2.0f,
                           by + 80.0f - bounds.height / 2.0f - bounds.top);
        camera.drawText(status);
    }

    sf::Text score = makeText(std::to_wstring(player.score) + L" pts", 30, sf::Color::White);
    const sf::FloatRect scoreBounds = fitText(camera, score, TextWidthLimit, 0.0f);
    score.setPosition(bx + (PlayerBlockSize - scoreBounds.width) / 2.0f, by + 120.0f);
    camera.drawText(score);
}

void HudPanel::drawLevelBlock(pyx::gfx::Camera& camera, sf::Vector2f origin) {
    drawFrame(camera, origin, {PlayerBlockSize, LevelBlockHeight});
    sf::Text level = makeText(L"Level " + std::to_wstring(m_levelNumber), 36, sf::Color::White);
    const sf::FloatRect bounds =
        fitText(camera, level, TextWidthLimit, static_cast<float>(m_tileHeight));
    level.setPosition(origin.x + (PlayerBlockSize - bounds.width) / 2.0f, origin.y);
    camera.drawText(level);
}

sf::Color HudPanel::gameOverFill(float endTime) {
    return sf::Color(255, 0, 0, fadeValue(endTime, 140.0f));
}

sf::Color HudPanel::gameOverOutline(float endTime) {
    return sf::Color(0, 0, 0, fadeValue(endTime, 255.0f));
}

sf::FloatRect HudPanel::fitText(pyx::gfx::Camera& camera, sf::Text& text, float maxWidth,
                                float maxHeight) {
    sf::FloatRect bounds = camera.measureText(text);
    auto tooBig = [&] {
        return (maxWidth > 0.0f && bounds.width >= maxWidth) ||
               (maxHeight > 0.0f && bounds.height >= maxHeight);
    };
    while (tooBig() && text.getCharacterSize() > 1) {
        text.setCharacterSize(text.getCharacterSize() - 1);
        bounds = camera.measureText(text);
    }
    return bounds;
}

void HudPanel::drawGameOver(pyx::gfx::Camera& camera, sf::Vector2f area, float endTime) {
    const float widthLimit = std::floor(area.x - 40.0f);
    const float heightLimit = std::floor(area.y - 40.0f);
    // A playfield too small for any margin (a tiny window) has no room for
    // the text; a limit of 0 or less would mean no limit at all.
    if (widthLimit < 1.0f || heightLimit < 1.0f)
        return;
    const unsigned size = std::max(1u, static_cast<unsigned>((area.x - 40.0f) / 7.0f));
    sf::Text text = makeText(L"GAME OVER", size, gameOverFill(endTime));
    text.setOutlineColor(gameOverOutline(endTime));
    text.setOutlineThickness(4.0f);
    const sf::FloatRect bounds = fitText(camera, text, widthLimit, heightLimit);
    text.setPosition(area.x / 2.0f - bounds.width / 2.0f,
                     area.y / 2.0f - bounds.height / 2.0f - bounds.top);
    camera.drawText(text);
}

} // namespace ironmoat::cmn
