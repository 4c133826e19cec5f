#pragma once

#include "engine/gui/ScrollSkin.hpp"
#include "engine/gui/Window.hpp"

#include <functional>
#include <memory>

namespace pyx::gui {

// A vertical scroll bar drawn by the theme's scroll skin: an up arrow at the
// top, a down arrow at the bottom and a thumb between them whose length is
// the visible share of the content. The value is the offset of the visible
// part, from 0 to content - view. Arrows move by one step, a press on the
// track beside the thumb by one view, and the thumb follows a drag.
class ScrollBar : public Window {
public:
    // The thumb never gets shorter than this, so it stays easy to grab.
    static constexpr float MinThumb = 16.f;

    // The window part, then a clone of the theme's scroll skin.
    ScrollBar(Application* application, const std::shared_ptr<Window>& parent);
    ~ScrollBar() override;

    void processMouse(gfx::Mouse& mouse) override;
    void applyTheme(Theme& theme) override;
    float borderWidth() const override;
    void drawSelf(gfx::Camera& camera) override;
    void drawOverlay(gfx::Camera& camera) override;

    // Sizes of the whole content and of its visible part, in any unit (rows,
    // pixels); the value is clamped to the new range.
    void setRange(float content, float view);
    // Moves to the value, clamped to 0 .. content - view; onScroll is called
    // when it changed.
    void setValue(float value);
    // setValue(getValue() + delta).
    void scrollBy(float delta);
    void setStep(float step) { m_step = step; }
    float getValue() const { return m_value; }
    float getMaxValue() const;
    float getContent() const { return m_content; }
    float getView() const { return m_view; }

    // The parts in local coordinates, as last laid out.
    sf::FloatRect upArrowRect() const;
    sf::FloatRect downArrowRect() const;
    sf::FloatRect thumbRect() const;

    ScrollSkin* getSkin() const { return m_skin.get(); }

    // Called with the new value after every change.
    std::function<void(float)> onScroll;

private:
    enum class Grab { None, Up, Down, Thumb, Track };
    float trackTop() const;
    float trackLength() const;

    float m_content = 0.f;
    float m_view = 0.f;
    float m_value = 0.f;
    float m_step = 1.f;
    Grab m_grab = Grab::None;
    float m_grabOffset = 0.f; // where the thumb was taken, from its top
    int m_hoverPart = -1;     // 0 up, 1 down, 2 thumb
    std::unique_ptr<ScrollSkin> m_skin;
};

} // namespace pyx::gui
