#pragma once

#include "engine/core/IUniqueObject.hpp"
#include "engine/gui/BasicWindowSkin.hpp"

#include <SFML/Graphics/Color.hpp>

#include <memory>
#include <string>

namespace pyx::gfx {
class Camera;
}

namespace pyx::gui {

// The look of a push button. A control owns its own clone of the theme's
// prototype; caption size and colour chosen explicitly by the control are
// flagged so that a theme change keeps them.
class ButtonSkin : public BasicWindowSkin, public core::IUniqueObject {
public:
    int textSize = 14;
    bool textSizeSet = false;
    sf::Color textColour{0, 0, 0, 255};
    bool textColourSet = false;
    std::wstring text;
    bool pressed = false;

    ~ButtonSkin() override;
    // Reserved hook; the base does nothing.
    virtual void hook(int argument);
    // Draws the body and the caption in rect.
    virtual void draw(gfx::Camera& camera) = 0;
    // Draws the outline over the control's children.
    virtual void drawOverlay(gfx::Camera& camera) = 0;
    // Width of the outline the control's clip leaves free.
    virtual float borderWidth() const = 0;
    // Takes the other skin's caption colour and size where this skin has not
    // chosen its own.
    virtual void inheritStyle(const ButtonSkin& other);
    // Same caption colour and size.
    virtual bool sameStyle(const ButtonSkin& other) const;
    // A fresh skin of the same class with this skin's caption style.
    virtual std::unique_ptr<ButtonSkin> clone() const;
    // A default-constructed skin of the same class.
    virtual std::unique_ptr<ButtonSkin> newInstance() const = 0;
};

} // namespace pyx::gui
