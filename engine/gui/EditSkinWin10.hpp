#pragma once

#include "engine/gui/EditSkin.hpp"

namespace pyx::gui {

// The flat light edit box: white body, thin grey frame that turns blue with
// focus.
class EditSkinWin10 : public EditSkin {
public:
    static const sf::Color Text, TextDisabled, TextSelected, SelectionBackground, Placeholder,
        Background, Caret, BorderFocused, BorderHover, BorderNormal, BorderDisabled;

    // Copies the GUI's default font handle.
    EditSkinWin10();
    ~EditSkinWin10() override;

    static int classTypeId();
    int typeId() const override;
    void drawCaret(gfx::Camera& camera, sf::Vector2f point) override;
    void drawBackground(gfx::Camera& camera) override;
    void drawBorder(gfx::Camera& camera) override;
    std::unique_ptr<EditSkin> newInstance() const override;
    std::shared_ptr<gfx::ResourceSfFont> getFontHandle() const override { return font; }
    int getCharSize() const override { return charSize; }
    void drawPlaceholder(gfx::Camera& camera, float x, float y) override;
    void drawRun(gfx::Camera& camera, float x, float y, const std::wstring& run,
                 bool selected) override;

    std::shared_ptr<gfx::ResourceSfFont> font;
    int charSize = 14;

protected:
    sf::Color maskSelectionColour() const override { return SelectionBackground; }
    sf::Color maskSelectedDotColour() const override { return TextSelected; }
    sf::Color maskDotColour() const override { return enabled ? Text : TextDisabled; }
};

} // namespace pyx::gui
