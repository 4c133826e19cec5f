#pragma once

#include "engine/core/Matrix4.hpp"
#include "engine/core/Transformable3.hpp"

#include <SFML/Graphics/Drawable.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/Vector2.hpp>
#include <SFML/System/Vector3.hpp>

#include <memory>
#include <string>
#include <vector>

namespace pyx::gfx {

class Drawable3;

// The one path of all drawing into the render window. It keeps the window's
// view fitted so that one world unit is one pixel, with the view centre
// moved by -0.375 so that a coordinate n - 0.375 falls exactly on pixel n;
// it holds the transform stack the window tree pushes while it draws, and it
// draws texts at their final pixel size so they stay crisp at any scale.
//
// The combined transform M of every drawing operation is the camera's own
// placement (`getTransformable`) times the current stacked transform.
class Camera {
public:
    // Binds to the window (must not be empty) and fits its view.
    Camera(std::shared_ptr<sf::RenderWindow> window, bool fitViewToWindow);

    // Once per frame: `updateView`, then `applyScale`.
    void update();
    // Re-fits the window's view when the window's size changed by a pixel or
    // more; leaves it alone for a zero-sized window or when fitting is off.
    void updateView();
    // Copies the requested scale into the camera's placement when it differs.
    void applyScale();
    // Forgets the cached view rectangle and re-applies the scale.
    void invalidate();

    // Requested scale of the camera, applied by `applyScale`.
    void setScale(const sf::Vector3f& scale) { m_scale = scale; }
    const sf::Vector3f& getScale() const { return m_scale; }

    // The world rectangle the window shows: (-0.375, -0.375, w, h) for a
    // fitted view under the identity transforms. Cached until invalidated.
    sf::FloatRect getViewRect();
    float getViewWidth();
    float getViewHeight();
    sf::Vector2f getViewSize();

    // Saves the current transform and multiplies it by the given one.
    void pushTransform(const core::Transformable3& transform);
    // Restores the transform saved by the matching push; no-op when empty.
    void popTransform();
    // The transform built by the pushes so far (identity when none).
    const core::Matrix4& getCurrentTransform() const { return m_current; }
    // The combined transform M = placement x current.
    core::Matrix4 getCombinedTransform() const;
    // Number of saved transforms (pushes not yet popped).
    std::size_t transformDepth() const { return m_transformStack.size(); }

    // The camera's own placement; identity in this game.
    core::Transformable3& getTransformable() { return m_transformable; }

    // Draws with the 2-D part of M and alpha blending. A texture is given
    // for bare vertex arrays (tileset quads); sprites bring their own. With
    // a 0 x 0 texture (a picture that failed to load) nothing is drawn.
    void draw(const sf::Drawable& drawable, const sf::Texture* texture = nullptr);
    // As `draw`, but the translation is snapped to whole pixels (round half
    // away from zero, minus 0.375), so sprites and frames land on pixels.
    void drawSnapped(const sf::Drawable& drawable, const sf::Texture* texture = nullptr);
    // Loads M into OpenGL's model-view matrix, then lets the drawable draw
    // itself through this camera.
    void draw(Drawable3& drawable);

    // Draws a prepared copy of the text; the caller's text is unchanged. A
    // text whose font has no face (it failed to load) draws nothing at all.
    void drawText(const sf::Text& text);
    // Sets the text's character size to the scaled size and its position to
    // its pixel-snapped place under M, so it can be drawn without transform.
    void prepareText(sf::Text& text) const;
    // Bounds of the prepared text mapped back into world units, plus offset.
    // Only the linear part of M is undone: the bounds are local to the text,
    // so the current translation must not shift them.
    sf::FloatRect measureText(const sf::Text& text, sf::Vector2f offset = {}) const;
    // As `measureText`, but top 0 and height the font's line spacing.
    sf::FloatRect measureTextLine(const sf::Text& text, sf::Vector2f offset = {}) const;
    // Width of the string in world units at the given character size.
    float textWidth(const sf::Font& font, unsigned characterSize, const std::wstring& text) const;
    // The character size in pixels at the camera's current vertical scale.
    unsigned scaledCharacterSize(unsigned characterSize) const;

    // Window pixel -> world point under the view and M.
    sf::Vector2f mapPixelToWorld(sf::Vector2i pixel) const;
    // World point -> window pixel (integer part after the view mapping).
    sf::Vector2i mapWorldToPixel(sf::Vector2f point) const;

    const std::shared_ptr<sf::RenderWindow>& getWindow() const { return m_refWindow; }

private:
    void drawWith(const sf::Drawable& drawable, const core::Matrix4& m, const sf::Texture* texture);
    sf::FloatRect mapBoundsBack(sf::FloatRect bounds, sf::Vector2f offset) const;

    // A vector, not a deque: popping keeps its storage, so once it has grown
    // to the depth of the window tree no frame allocates here (a deque frees
    // and re-allocates a block whenever the depth crosses a block's edge).
    std::vector<core::Matrix4> m_transformStack;
    core::Matrix4 m_current;
    std::shared_ptr<sf::RenderWindow> m_refWindow;
    core::Transformable3 m_transformable;
    sf::Vector3f m_scale{1.f, 1.f, 1.f};
    sf::FloatRect m_viewRect;
    bool m_viewRectDirty = true;
    bool m_fitViewToWindow;
};

} // namespace pyx::gfx
