#pragma once

#include "engine/gui/ButtonSkin.hpp"
#include "engine/gui/Window.hpp"

#include <functional>
#include <memory>
#include <string>

namespace pyx::gui {

// The toolkit's push button. A click is the left mouse button going down
// inside the focused button and coming up inside it again (both may happen
// within one frame); Space while focused clicks too. Drawing is left to the
// skin, filled with the button's state before each draw.
class Button : public Window {
public:
    // Key code of Space, the key that clicks a focused button.
    static constexpr int SpaceKey = 57;

    // The window part, then a clone of the theme's button skin.
    Button(Application* application, const std::shared_ptr<Window>& parent);
    ~Button() override;

    // The children first, then the click logic.
    void processMouse(gfx::Mouse& mouse) override;
    // Brings the skin up to date with the theme's prototype.
    void applyTheme(Theme& theme) override;
    // The skin's border width (0 without a skin).
    float borderWidth() const override;
    // Fills the skin's state and lets it draw the body and caption.
    void drawSelf(gfx::Camera& camera) override;
    // The skin's outline, drawn over the children.
    void drawOverlay(gfx::Camera& camera) override;
    // Space calls onClick and is consumed; other keys are not.
    bool onKeyPressed(const sf::Event::KeyEvent& key) override;
    // The point (in the parent's coordinates) lies in the half-open box of
    // the button's point and size.
    virtual bool contains(sf::Vector2f point) const;

    // The latched press is shown while the pointer is inside.
    bool isPressedLook() const { return pressedLook; }
    bool isPressLatched() const { return pressLatch; }
    ButtonSkin* getSkin() const { return skin.get(); }

    std::wstring text;
    bool pressedLook = false;
    bool pressLatch = false;
    std::function<void()> onClick;
    std::unique_ptr<ButtonSkin> skin;
};

} // namespace pyx::gui
