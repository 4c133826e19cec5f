#include "engine/graphics/Camera.hpp"

#include "engine/core/Assert.hpp"
#include "engine/graphics/Drawable3.hpp"

#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/Transform.hpp>
#include <SFML/OpenGL.hpp>

#include <algorithm>
#include <cmath>

namespace pyx::gfx {

namespace {

// Deeper than the game's window tree gets, so the stack never grows at all.
constexpr std::size_t InitialStackDepth = 16;

// The 2-D part SFML draws with: elements (0, 1, 3), (4, 5, 7), (12, 13, 15).
sf::Transform twoD(const core::Matrix4& m) {
    return sf::Transform(m[0], m[1], m[3], m[4], m[5], m[7], m[12], m[13], m[15]);
}

float roundHalfAway(float v) {
    return std::round(v);
}

float columnLength(const core::Matrix4& m, int column) {
    const float a = m[column], b = m[4 + column], c = m[8 + column];
    return std::sqrt(a * a + b * b + c * c);
}

// A minimised window has a 0-pixel viewport; one pixel keeps the mapping
// finite instead of filling every coordinate with infinities.
sf::IntRect viewportOf(const sf::RenderWindow& window, const sf::View& view) {
    sf::IntRect r = window.getViewport(view);
    r.width = std::max(r.width, 1);
    r.height = std::max(r.height, 1);
    return r;
}

} // namespace

Camera::Camera(std::shared_ptr<sf::RenderWindow> window, bool fitViewToWindow)
    : m_refWindow(std::move(window)), m_fitViewToWindow(fitViewToWindow) {
    const auto& _refWindow = m_refWindow;
    PYX_ASSERT(_refWindow.get());
    m_transformStack.reserve(InitialStackDepth);
    updateView();
    applyScale();
    sf::View view = m_refWindow->getDefaultView();
    view.setCenter(view.getCenter() - sf::Vector2f(0.375f, 0.375f));
    m_refWindow->setView(view);
    m_viewRectDirty = true;
}

void Camera::update() {
    updateView();
    applyScale();
}

void Camera::updateView() {
    if (!m_fitViewToWindow)
        return;
    const sf::Vector2u size = m_refWindow->getSize();
    const float w = static_cast<float>(size.x), h = static_cast<float>(size.y);
    if (size.x == 0 || size.y == 0)
        return;
    const sf::Vector2f viewSize = m_refWindow->getView().getSize();
    const sf::FloatRect rect = getViewRect();
    const auto same = [](float a, float b) { return static_cast<int>(a - b) == 0; };
    if (same(w, viewSize.x) && same(h, viewSize.y) && same(w, rect.width) && same(h, rect.height))
        return;
    sf::View view;
    view.setCenter(w / 2.f - 0.375f, h / 2.f - 0.375f);
    view.setSize(w, h);
    view.setRotation(0.f);
    view.setViewport(sf::FloatRect(0.f, 0.f, 1.f, 1.f));
    m_refWindow->setView(view);
    m_viewRectDirty = true;
    applyScale();
}

void Camera::applyScale() {
    if (m_transformable.getScale() != m_scale) {
        m_transformable.setScale(m_scale.x, m_scale.y, m_scale.z);
        m_viewRectDirty = true;
    }
}

void Camera::invalidate() {
    m_viewRectDirty = true;
    applyScale();
}

sf::FloatRect Camera::getViewRect() {
    if (!m_viewRectDirty)
        return m_viewRect;
    const sf::Vector2u size = m_refWindow->getSize();
    const sf::Vector2f tl = mapPixelToWorld({0, 0});
    const sf::Vector2f br = mapPixelToWorld({static_cast<int>(size.x), static_cast<int>(size.y)});
    m_viewRect = sf::FloatRect(tl.x, tl.y, br.x - tl.x, br.y - tl.y);
    m_viewRectDirty = false;
    return m_viewRect;
}

float Camera::getViewWidth() {
    return getViewRect().width;
}

float Camera::getViewHeight() {
    return getViewRect().height;
}

sf::Vector2f Camera::getViewSize() {
    const sf::FloatRect r = getViewRect();
    return {r.width, r.height};
}

void Camera::pushTransform(const core::Transformable3& transform) {
    m_transformStack.push_back(m_current);
    m_current.multiply(transform.getTransform());
}

void Camera::popTransform() {
    if (m_transformStack.empty())
        return;
    m_current = m_transformStack.back();
    m_transformStack.pop_back();
}

core::Matrix4 Camera::getCombinedTransform() const {
    return m_transformable.getTransform() * m_current;
}

void Camera::drawWith(const sf::Drawable& drawable, const core::Matrix4& m,
                      const sf::Texture* texture) {
    // A picture that failed to load is a 0 x 0 texture; SFML would bind no
    // texture at all and fill the quads white, so such arrays draw nothing.
    if (texture && (texture->getSize().x == 0 || texture->getSize().y == 0))
        return;
    sf::RenderStates states(sf::BlendAlpha, twoD(m), texture, nullptr);
    m_refWindow->draw(drawable, states);
}

void Camera::draw(const sf::Drawable& drawable, const sf::Texture* texture) {
    drawWith(drawable, getCombinedTransform(), texture);
}

void Camera::drawSnapped(const sf::Drawable& drawable, const sf::Texture* texture) {
    core::Matrix4 m = getCombinedTransform();
    m.set(3, roundHalfAway(m[3]) - 0.375f);
    m.set(7, roundHalfAway(m[7]) - 0.375f);
    drawWith(drawable, m, texture);
}

void Camera::draw(Drawable3& drawable) {
    // SFML caches what it believes the model-view matrix holds and skips
    // reloading it for small vertex arrays; resetting its states first makes
    // its next draw load its own matrix again, so the matrix loaded here
    // serves raw OpenGL drawing without leaking into SFML's draws.
    m_refWindow->resetGLStates();
    const core::Matrix4 m = getCombinedTransform();
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(m.getTransposed());
    drawable.draw(*this);
}

unsigned Camera::scaledCharacterSize(unsigned characterSize) const {
    const float s = columnLength(getCombinedTransform(), 1);
    const float scaled = std::round(static_cast<float>(characterSize) * s);
    return scaled > 0.f ? static_cast<unsigned>(scaled) : 0u;
}

void Camera::prepareText(sf::Text& text) const {
    text.setCharacterSize(scaledCharacterSize(text.getCharacterSize()));
    const sf::Vector2f p = text.getPosition();
    const auto q = getCombinedTransform().transformPoint(p.x, p.y, 0.f);
    text.setPosition(roundHalfAway(q[0]) - 0.375f, roundHalfAway(q[1]) - 0.375f);
}

void Camera::drawText(const sf::Text& text) {
    // A font whose face failed to load must draw nothing, but SFML still
    // draws the one-pixel padding of every glyph quad, which samples the
    // font texture's white square and leaves a dot on screen. A loaded face
    // always has a family name.
    if (text.getFont() == nullptr || text.getFont()->getInfo().family.empty())
        return;
    sf::Text copy(text);
    prepareText(copy);
    m_refWindow->draw(copy);
}

sf::FloatRect Camera::mapBoundsBack(sf::FloatRect bounds, sf::Vector2f offset) const {
    core::Matrix4 linear = getCombinedTransform();
    linear.set(3, 0.f);
    linear.set(7, 0.f);
    sf::FloatRect r = twoD(linear).getInverse().transformRect(bounds);
    r.left += offset.x;
    r.top += offset.y;
    return r;
}

sf::FloatRect Camera::measureText(const sf::Text& text, sf::Vector2f offset) const {
    sf::Text copy(text);
    prepareText(copy);
    return mapBoundsBack(copy.getLocalBounds(), offset);
}

sf::FloatRect Camera::measureTextLine(const sf::Text& text, sf::Vector2f offset) const {
    sf::Text copy(text);
    prepareText(copy);
    sf::FloatRect bounds = copy.getLocalBounds();
    bounds.top = 0.f;
    bounds.height = copy.getFont() ? copy.getFont()->getLineSpacing(copy.getCharacterSize()) : 0.f;
    return mapBoundsBack(bounds, offset);
}

float Camera::textWidth(const sf::Font& font, unsigned characterSize,
                        const std::wstring& text) const {
    const unsigned size = scaledCharacterSize(characterSize);
    float sum = 0.f;
    std::uint32_t previous = 0;
    bool first = true;
    for (wchar_t ch : text) {
        const auto c = static_cast<std::uint32_t>(ch);
        if (!first)
            sum += font.getKerning(previous, c, size);
        sum += font.getGlyph(c, size, false).advance;
        previous = c;
        first = false;
    }
    const float sx = columnLength(getCombinedTransform(), 0);
    return sx != 0.f ? sum / sx : 0.f;
}

sf::Vector2f Camera::mapPixelToWorld(sf::Vector2i pixel) const {
    const sf::View& view = m_refWindow->getView();
    const sf::IntRect viewport = viewportOf(*m_refWindow, view);
    const float nx =
        (static_cast<float>(pixel.x - viewport.left)) * 2.f / static_cast<float>(viewport.width) -
        1.f;
    const float ny = 1.f - (static_cast<float>(pixel.y - viewport.top)) * 2.f /
                               static_cast<float>(viewport.height);
    const sf::Vector2f world = view.getInverseTransform().transformPoint(nx, ny);
    const auto q = getCombinedTransform().inverse().transformPoint(world.x, world.y, 0.f);
    return {q[0], q[1]};
}

sf::Vector2i Camera::mapWorldToPixel(sf::Vector2f point) const {
    const auto q = getCombinedTransform().transformPoint(point.x, point.y, 0.f);
    const sf::View& view = m_refWindow->getView();
    const sf::IntRect viewport = viewportOf(*m_refWindow, view);
    const sf::Vector2f n = view.getTransform().transformPoint(q[0] + 0.5f, q[1] + 0.5f);
    const float px =
        (n.x + 1.f) / 2.f * static_cast<float>(viewport.width) + static_cast<float>(viewport.left);
    const float py =
        (1.f - n.y) / 2.f * static_cast<float>(viewport.height) + static_cast<float>(viewport.top);
    return {static_cast<int>(px), static_cast<int>(py)};
}

} // namespace pyx::gfx
