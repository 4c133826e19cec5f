#include "engine/gui/ScrollSkinWin10.hpp"

#include "engine/graphics/Camera.hpp"

#include <SFML/Graphics/ConvexShape.hpp>
#include <SFML/Graphics/RectangleShape.hpp>

#include <algorithm>

namespace pyx::gui {

const sf::Color ScrollSkinWin10::Track(245, 245, 245, 255);

int ScrollSkinWin10::classTypeId() {
    return core::UniqueTypeId<ScrollSkinWin10>::value();
}

int ScrollSkinWin10::typeId() const {
    return core::UniqueTypeId<ScrollSkinWin10>::value();
}

sf::Color ScrollSkinWin10::partColour(int kind, int state) {
    static const sf::Color arrows[3] = {
        {134, 137, 153, 255}, {28, 151, 234, 255}, {0, 122, 204, 255}};
    static const sf::Color thumbs[3] = {
        {194, 195, 201, 255}, {104, 104, 104, 255}, {91, 91, 91, 255}};
    if (state < 0 || state > 2) {
        return sf::Color::Transparent;
    }
    if (kind >= LeftArrow && kind <= DownArrow) {
        return arrows[state];
    }
    if (kind == VerticalThumb || kind == HorizontalThumb) {
        return thumbs[state];
    }
    return sf::Color::Transparent;
}

void ScrollSkinWin10::draw(gfx::Camera& camera) {
    sf::RectangleShape body({rect.width, rect.height});
    body.setPosition(rect.left, rect.top);
    body.setFillColor(Track);
    camera.draw(body);
    if (showParts) {
        drawPart(camera, firstArrow);
        drawPart(camera, secondArrow);
        drawPart(camera, thumb);
    }
}

void ScrollSkinWin10::drawPart(gfx::Camera& camera, const Part& part) {
    const sf::Color colour = partColour(part.partKind, part.partState);
    const sf::FloatRect& r = part.rect;
    const float cx = r.left + r.width / 2.f;
    const float cy = r.top + r.height / 2.f;
    if (part.partKind >= LeftArrow && part.partKind <= DownArrow) {
        const float c = std::min(r.width, r.height) - 10.f;
        if (c <= 1.f) {
            return;
        }
        const bool horizontal = part.partKind == LeftArrow || part.partKind == RightArrow;
        const float w = horizontal ? c / 2.f : c;
        const float h = horizontal ? c : c / 2.f;
        const float l = cx - w / 2.f, t = cy - h / 2.f, rr = cx + w / 2.f, b = cy + h / 2.f;
        sf::ConvexShape arrow(3);
        switch (part.partKind) {
        case LeftArrow:
            arrow.setPoint(0, {l, cy});
            arrow.setPoint(1, {rr, t});
            arrow.setPoint(2, {rr, b});
            break;
        case RightArrow:
            arrow.setPoint(0, {rr, cy});
            arrow.setPoint(1, {l, b});
            arrow.setPoint(2, {l, t});
            break;
        case UpArrow:
            arrow.setPoint(0, {cx, t});
            arrow.setPoint(1, {rr, b});
            arrow.setPoint(2, {l, b});
            break;
        default:
            arrow.setPoint(0, {cx, b});
            arrow.setPoint(1, {l, t});
            arrow.setPoint(2, {rr, t});
            break;
        }
        arrow.setFillColor(colour);
        camera.draw(arrow);
        return;
    }
    if (part.partKind == VerticalThumb || part.partKind == HorizontalThumb) {
        const bool vertical = part.partKind == VerticalThumb;
        const float length = (vertical ? r.height : r.width) - 10.f;
        if (length <= 1.f) {
            return;
        }
        const float across = vertical ? r.width : r.height;
        sf::RectangleShape bar(vertical ? sf::Vector2f(across, length)
                                        : sf::Vector2f(length, across));
        bar.setPosition(vertical ? sf::Vector2f(r.left, cy - length / 2.f)
                                 : sf::Vector2f(cx - length / 2.f, r.top));
        bar.setFillColor(colour);
        camera.draw(bar);
    }
}

void ScrollSkinWin10::drawOverlay(gfx::Camera&) {}

float ScrollSkinWin10::borderWidth() const {
    return (!focused || hover) ? 1.f : 2.f;
}

std::unique_ptr<ScrollSkin> ScrollSkinWin10::newInstance() const {
    return std::make_unique<ScrollSkinWin10>();
}

} // namespace pyx::gui
