#pragma once

#include "engine/core/IUniqueObject.hpp"
#include "engine/gui/BasicWindowSkin.hpp"

#include <SFML/Graphics/Rect.hpp>

#include <memory>

namespace pyx::gfx {
class Camera;
}

namespace pyx::gui {

// The look of a scroll bar. The theme holds one so that it is complete; no
// control of this program draws it.
class ScrollSkin : public BasicWindowSkin, public core::IUniqueObject {
public:
    enum PartKind { LeftArrow = 0, RightArrow, UpArrow, DownArrow, VerticalThumb, HorizontalThumb };
    enum PartState { Normal = 0, Hover, Pressed };

    struct Part {
        sf::FloatRect rect{0.f, 0.f, 0.f, 0.f};
        int partKind = LeftArrow;
        int partState = Normal;
    };

    Part firstArrow;
    Part secondArrow;
    Part thumb;
    // The track on both sides of the thumb; the flat look leaves it bare.
    sf::FloatRect trackBefore{0.f, 0.f, 0.f, 0.f};
    sf::FloatRect trackAfter{0.f, 0.f, 0.f, 0.f};
    bool showParts = true;

    ~ScrollSkin() override;
    // Reserved hook; the base does nothing.
    virtual void hook(int argument);
    virtual void draw(gfx::Camera& camera) = 0;
    virtual void drawOverlay(gfx::Camera& camera) = 0;
    virtual float borderWidth() const = 0;
    virtual void inheritStyle(const ScrollSkin& other);
    virtual bool sameStyle(const ScrollSkin& other) const;
    virtual std::unique_ptr<ScrollSkin> clone() const;
    virtual std::unique_ptr<ScrollSkin> newInstance() const = 0;
};

} // namespace pyx::gui
