#pragma once

#include "engine/core/IUniqueObject.hpp"
#include "engine/gui/BasicWindowSkin.hpp"

#include <SFML/Graphics/Color.hpp>
#include <SFML/System/Vector2.hpp>

#include <memory>
#include <string>

namespace pyx::gfx {
class Camera;
class ResourceSfFont;
} // namespace pyx::gfx

namespace pyx::gui {

// The look of a single-line edit box. The theme holds one so that it is
// complete; no control of this program draws it.
class EditSkin : public BasicWindowSkin, public core::IUniqueObject {
public:
    static const sf::Color MaskSelection, MaskSelectedDot, MaskDot;

    // The text is a password: drawn as dots of 14 units each.
    bool masked = false;
    std::wstring text;
    // Shown instead of an empty text.
    std::wstring placeholder;

    ~EditSkin() override;
    // Draws the text at (x, y) with the selection [start, end) highlighted
    // (the bounds may come in either order).
    virtual void drawText(gfx::Camera& camera, float x, float y, int selectionStart,
                          int selectionEnd);
    virtual void drawCaret(gfx::Camera& camera, sf::Vector2f point) = 0;
    virtual void drawBackground(gfx::Camera& camera) = 0;
    virtual void drawBorder(gfx::Camera& camera) = 0;
    // Width of a string as this skin would draw it.
    virtual float textWidth(gfx::Camera& camera, const std::wstring& string);
    // Height of one line of text.
    virtual float lineHeight();
    virtual void inheritStyle(const EditSkin& other);
    virtual bool sameStyle(const EditSkin& other) const;
    virtual std::unique_ptr<EditSkin> clone() const;
    virtual std::unique_ptr<EditSkin> newInstance() const = 0;
    virtual std::shared_ptr<gfx::ResourceSfFont> getFontHandle() const = 0;
    virtual int getCharSize() const = 0;
    virtual void drawPlaceholder(gfx::Camera& camera, float x, float y);
    virtual void drawRun(gfx::Camera& camera, float x, float y, const std::wstring& run,
                         bool selected);
    // count dots of radius 5 starting at point, 14 units apart.
    virtual void drawMaskedRun(gfx::Camera& camera, sf::Vector2f point, int count, bool selected);

protected:
    // Colours of the masked runs; the flat look keeps the base ones.
    virtual sf::Color maskSelectionColour() const { return MaskSelection; }
    virtual sf::Color maskSelectedDotColour() const { return MaskSelectedDot; }
    virtual sf::Color maskDotColour() const { return MaskDot; }
};

} // namespace pyx::gui
