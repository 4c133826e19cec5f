#pragma once

#include "engine/graphics/Tileset.hpp"
#include "engine/gui/Window.hpp"

#include <cstdint>
#include <memory>

namespace pyx::gui {
class Button;
}

class GameForm;

// The first screen: the title, the two buttons that start a match, each
// player's tank with its turning tracks and the keys that drive it, and the
// authors line. Everything is laid out afresh every frame from the window
// width; the form has no keyboard handling of its own.
class MainMenuForm : public pyx::gui::Window {
public:
    static constexpr float ButtonWidth = 150.0f;
    static constexpr float ButtonHeight = 50.0f;
    static constexpr float TankPictureSize = 275.0f;
    static constexpr float KeySize = 55.0f;

    // Where the last frame put things, in window pixels.
    struct Layout {
        float legendLeft = 0.0f;  // L: the left (Player 2) legend's "S" key
        float legendRight = 0.0f; // R: the right (Player 1) legend's "DOWN" key
        float legendTop = 0.0f;   // y1: top of the lower row of keys
        float buttonTop = 0.0f;   // y0: top of "Single player"
        float secondButtonTop = 0.0f;
        float authorsTop = 0.0f;
    };

    // The window part with no buttons yet; loads the tank and wheel pictures.
    MainMenuForm(pyx::gui::Application* application,
                 const std::shared_ptr<pyx::gui::Window>& parent);
    ~MainMenuForm() override;

    // Fills the parent (a resize reaches the menu in the frame's update,
    // shown or hidden), then updates the children.
    void update(float dt) override;
    // Creates the two buttons, once.
    void onAttached() override;
    // Turns the wheels, lays out and draws the title, the legends and the
    // authors line, and places the buttons for this frame.
    void drawSelf(pyx::gfx::Camera& camera) override;

    // Starts a match on the game form and shows it; nothing when the parent
    // is not a switching window or no game form was given.
    void startGame(bool twoPlayers);

    void setGameForm(std::shared_ptr<GameForm> gameForm) { m_gameForm = std::move(gameForm); }
    const std::shared_ptr<GameForm>& getGameForm() const { return m_gameForm; }
    const std::shared_ptr<pyx::gui::Button>& getSinglePlayerButton() const {
        return m_singlePlayerButton;
    }
    const std::shared_ptr<pyx::gui::Button>& getTwoPlayersButton() const {
        return m_twoPlayersButton;
    }
    std::int16_t getWheelFrame() const { return m_wheelFrame; }
    const Layout& getLayout() const { return m_layout; }

    // The authors line shown under the buttons.
    static const wchar_t* const AuthorsLine;

private:
    void fitToParent();
    void drawLegends(pyx::gfx::Camera& camera, float width, float y1);
    void drawLegend(pyx::gfx::Camera& camera, float x, float y1, int tankKind, bool left);

    std::shared_ptr<GameForm> m_gameForm;
    std::shared_ptr<pyx::gui::Button> m_singlePlayerButton;
    std::shared_ptr<pyx::gui::Button> m_twoPlayersButton;
    pyx::gfx::Tileset m_tankTiles;
    pyx::gfx::Tileset m_wheelTiles;
    std::int16_t m_wheelFrame = 0;
    Layout m_layout;
};
