#include "engine/gui/EditSkin.hpp"

#include "engine/common/ResourceSfFont.hpp"
#include "engine/graphics/Camera.hpp"

#include <SFML/Graphics/CircleShape.hpp>
#include <SFML/Graphics/RectangleShape.hpp>

#include <algorithm>
#include <utility>

namespace pyx::gui {

const sf::Color EditSkin::MaskSelection(0, 0, 255, 255);
const sf::Color EditSkin::MaskSelectedDot(255, 255, 255, 255);
const sf::Color EditSkin::MaskDot(0, 0, 0, 255);

EditSkin::~EditSkin() = default;

void EditSkin::drawText(gfx::Camera& camera, float x, float y, int selectionStart,
                        int selectionEnd) {
    if (text.empty()) {
        drawPlaceholder(camera, x, y);
        return;
    }
    if (selectionStart > selectionEnd) {
        std::swap(selectionStart, selectionEnd);
    }
    // Out-of-range selections are clamped so that a stale caret position
    // can never index past the text.
    const int length = static_cast<int>(text.size());
    const int start = std::clamp(selectionStart, 0, length);
    const int end = std::clamp(selectionEnd, 0, length);

    if (masked) {
        sf::Vector2f point(x, y);
        drawMaskedRun(camera, point, start, false);
        point.x += 14.f * static_cast<float>(start);
        drawMaskedRun(camera, point, end - start, true);
        point.x += 14.f * static_cast<float>(end - start);
        drawMaskedRun(camera, point, length - end, false);
        return;
    }
    if (!focused || start == end) {
        drawRun(camera, x, y, text, false);
        return;
    }
    const sf::Font& font = cmn::resourceValue(getFontHandle());
    const unsigned size = static_cast<unsigned>(getCharSize());
    const std::wstring runs[3] = {
        text.substr(0, static_cast<std::size_t>(start)),
        text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)),
        text.substr(static_cast<std::size_t>(end))};
    float cx = x;
    for (int i = 0; i < 3; ++i) {
        const std::wstring& run = runs[i];
        if (run.empty()) {
            continue;
        }
        drawRun(camera, cx, y, run, i == 1);
        cx += camera.textWidth(font, size, run);
        // Kerning joins the last character of this run to the next one.
        for (int j = i + 1; j < 3; ++j) {
            if (!runs[j].empty()) {
                cx += font.getKerning(run.back(), runs[j].front(), size);
                break;
            }
        }
    }
}

float EditSkin::textWidth(gfx::Camera& camera, const std::wstring& string) {
    if (masked) {
        return 14.f * static_cast<float>(string.size());
    }
    return camera.textWidth(cmn::resourceValue(getFontHandle()),
                            static_cast<unsigned>(getCharSize()), string);
}

float EditSkin::lineHeight() {
    if (masked) {
        return 14.f;
    }
    return cmn::resourceValue(getFontHandle()).getLineSpacing(static_cast<unsigned>(getCharSize()));
}

void EditSkin::inheritStyle(const EditSkin&) {}

bool EditSkin::sameStyle(const EditSkin&) const {
    return true;
}

std::unique_ptr<EditSkin> EditSkin::clone() const {
    return newInstance();
}

void EditSkin::drawPlaceholder(gfx::Camera&, float, float) {}

void EditSkin::drawRun(gfx::Camera&, float, float, const std::wstring&, bool) {}

void EditSkin::drawMaskedRun(gfx::Camera& camera, sf::Vector2f point, int count, bool selected) {
    if (count <= 0) {
        return;
    }
    if (selected) {
        sf::RectangleShape back({14.f * static_cast<float>(count), 14.f});
        back.setPosition(point.x - 1.f, point.y - 1.f);
        back.setFillColor(maskSelectionColour());
        camera.draw(back);
    }
    sf::CircleShape dot(5.f, 10);
    dot.setFillColor(selected ? maskSelectedDotColour() : maskDotColour());
    for (int i = 0; i < count; ++i) {
        dot.setPosition(point.x + 14.f * static_cast<float>(i), point.y);
        camera.draw(dot);
    }
}

} // namespace pyx::gui
