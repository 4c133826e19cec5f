#include "game/forms/MainMenuForm.hpp"

#include "engine/common/ResourceSfFont.hpp"
#include "engine/graphics/Camera.hpp"
#include "engine/gui/Button.hpp"
#include "engine/gui/GuiResources.hpp"
#include "game/forms/GameForm.hpp"
#include "game/forms/SwitchingWindow.hpp"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/Text.hpp>

#include <cmath>

namespace {

const sf::Color TitleOutline(249, 166, 2, 255);
const sf::Color KeyFill(0, 0, 0, 160);
const sf::Color KeyOutline(255, 255, 255, 128);

struct KeyBox {
    const wchar_t* caption;
    float dx, dy, width;
};

// The keys around each legend's tank, relative to (X, y1).
constexpr KeyBox LeftKeys[] = {{L"A", -67.0f, 0.0f, 55.0f},
                               {L"W", 0.0f, -67.0f, 55.0f},
                               {L"S", 0.0f, 0.0f, 55.0f},
                               {L"D", 67.0f, 0.0f, 55.0f},
                               {L"LEFT CTRL", -33.5f, 67.0f, 110.0f}};
constexpr KeyBox RightKeys[] = {{L"LEFT", -67.0f, 0.0f, 55.0f},
                                {L"UP", 0.0f, -67.0f, 55.0f},
                                {L"DOWN", 0.0f, 0.0f, 55.0f},
                                {L"RIGHT", 67.0f, 0.0f, 55.0f},
                                {L"RIGHT CTRL", -33.5f, 67.0f, 110.0f}};

const sf::Font& menuFont() {
    return pyx::cmn::resourceValue(pyx::gui::GuiResources::defaultFontHandle());
}

} // namespace

const wchar_t* const MainMenuForm::AuthorsLine = L"Made by the IronMoat team";

MainMenuForm::MainMenuForm(pyx::gui::Application* application,
                           const std::shared_ptr<pyx::gui::Window>& parent)
    : pyx::gui::Window(application, parent) {
    m_wheelTiles.load(L"ironmoat/wheels_tileset.png", 80, 80);
    m_tankTiles.load(L"ironmoat/tank_tileset.png", 80, 80);
    // Filling the parent from the start lets the very first frame's clip
    // and hit tests see the whole form.
    if (parent)
        setSize(parent->getWidth(), parent->getHeight());
}

MainMenuForm::~MainMenuForm() = default;

void MainMenuForm::update(float dt) {
    fitToParent();
    pyx::gui::Window::update(dt);
}

void MainMenuForm::fitToParent() {
    setPoint(0.0f, 0.0f);
    if (auto parent = getParent())
        setSize(parent->getWidth(), parent->getHeight());
}

void MainMenuForm::onAttached() {
    // Attached once at start-up; a second attachment must not add a second
    // pair of buttons.
    if (m_singlePlayerButton)
        return;
    std::weak_ptr<pyx::gui::Window> self = getSelf();
    auto starter = [self](bool twoPlayers) {
        return [self, twoPlayers] {
            if (auto form = std::dynamic_pointer_cast<MainMenuForm>(self.lock()))
                form->startGame(twoPlayers);
        };
    };

    m_singlePlayerButton = createChild<pyx::gui::Button>();
    m_singlePlayerButton->setPoint(5.0f, 50.0f);
    m_singlePlayerButton->setSize(ButtonWidth, ButtonHeight);
    m_singlePlayerButton->text = L"Single player";
    m_singlePlayerButton->onClick = starter(false);

    m_twoPlayersButton = createChild<pyx::gui::Button>();
    m_twoPlayersButton->setPoint(5.0f, 120.0f);
    m_twoPlayersButton->setSize(ButtonWidth, ButtonHeight);
    m_twoPlayersButton->text = L"Two players";
    m_twoPlayersButton->onClick = starter(true);
}

void MainMenuForm::startGame(bool twoPlayers) {
    auto switching = std::dynamic_pointer_cast<ironmoat::cmn::SwitchingWindow>(getParent());
    if (!switching || !m_gameForm)
        return;
    m_gameForm->startNewGame(twoPlayers);
    switching->switchTo("game");
}

void MainMenuForm::drawSelf(pyx::gfx::Camera& camera) {
    const unsigned columns = m_wheelTiles.gridSize().x;
    if (columns == 0) {
        m_wheelFrame = 0;
    } else {
        ++m_wheelFrame;
        if (m_wheelFrame >= static_cast<int>(columns))
            m_wheelFrame = static_cast<std::int16_t>(m_wheelFrame - static_cast<int>(columns));
    }

    fitToParent();

    const float width = camera.getViewWidth();
    const sf::Font& font = menuFont();

    sf::Text text(L"IronMoat", font, 116);
    text.setFillColor(sf::Color::White);
    text.setOutlineColor(TitleOutline);
    text.setOutlineThickness(6.0f);
    const sf::FloatRect title = camera.measureText(text);
    const float titleX = (width - title.width) / 2.0f;
    text.setPosition(titleX, 0.0f);
    camera.drawText(text);

    text.setString(L"Dunmark PYX Remake v1.0");
    text.setCharacterSize(20);
    text.setOutlineThickness(2.0f);
    text.setPosition(titleX + title.width / 2.0f, title.height + 24.0f);
    camera.drawText(text);

    const float y0 = std::floor(title.top + title.height + 100.0f);
    const float buttonX = (width - ButtonWidth) / 2.0f;
    m_layout.buttonTop = y0;
    if (m_singlePlayerButton) {
        m_singlePlayerButton->setPoint(buttonX, y0);
        m_singlePlayerButton->setSize(ButtonWidth, ButtonHeight);
        drawLegends(camera, width, y0 + 50.0f);
    }
    const float y2 = y0 + 100.0f;
    m_layout.secondButtonTop = y2;
    if (m_twoPlayersButton) {
        m_twoPlayersButton->setPoint(buttonX, y2);
        m_twoPlayersButton->setSize(ButtonWidth, ButtonHeight);
    }

    sf::Text authors(AuthorsLine, font, 30);
    authors.setFillColor(sf::Color::White);
    authors.setOutlineColor(sf::Color::Black);
    authors.setOutlineThickness(4.0f);
    const sf::FloatRect bounds = camera.measureText(authors);
    m_layout.authorsTop = y2 + 140.0f;
    authors.setPosition((width - bounds.width) / 2.0f, m_layout.authorsTop);
    camera.drawText(authors);
}

void MainMenuForm::drawLegends(pyx::gfx::Camera& camera, float width, float y1) {
    m_layout.legendLeft = width / 2.0f - 250.0f - 55.0f;
    m_layout.legendRight = width / 2.0f + 250.0f;
    m_layout.legendTop = y1;
    // Player 2 drives the fourth tank kind, Player 1 the third.
    drawLegend(camera, m_layout.legendLeft, y1, 3, true);
    drawLegend(camera, m_layout.legendRight, y1, 2, false);
}

void MainMenuForm::drawLegend(pyx::gfx::Camera& camera, float x, float y1, int tankKind,
                              bool left) {
    const sf::Vector2f centre(x + KeySize / 2.0f, y1 + KeySize / 2.0f);
    const auto size = static_cast<std::uint32_t>(TankPictureSize);
    const sf::Vector2f origin = sf::Vector2f(m_wheelTiles.frameSize()) / 2.0f;
    if (m_wheelTiles.gridSize().x > 0)
        m_wheelTiles.drawFrame(0.0f, camera, origin, centre.x, centre.y, m_wheelFrame, 0, size,
                               size);
    m_tankTiles.drawFrame(0.0f, camera, origin, centre.x, centre.y, tankKind, 0, size, size);

    const sf::Font& font = menuFont();
    sf::Text label(left ? L"Player 2" : L"Player 1", font, 24);
    label.setFillColor(sf::Color::White);
    label.setOutlineColor(sf::Color::Black);
    label.setOutlineThickness(2.0f);
    label.setPosition(x - 15.0f, y1 - 105.0f);
    camera.drawText(label);

    for (const KeyBox& key : left ? LeftKeys : RightKeys) {
        const sf::Vector2f position(x + key.dx, y1 + key.dy);
        sf::RectangleShape box({key.width, KeySize});
        box.setPosition(position);
        box.setFillColor(KeyFill);
        box.setOutlineColor(KeyOutline);
        box.setOutlineThickness(3.0f);
        camera.draw(box);

        sf::Text caption(key.caption, font, 12);
        caption.setFillColor(sf::Color::White);
        caption.setPosition(position + sf::Vector2f(10.0f, 10.0f));
        camera.drawText(caption);
    }
}
