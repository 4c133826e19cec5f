#include "engine/gui/ButtonSkin.hpp"

namespace pyx::gui {

ButtonSkin::~ButtonSkin() = default;

void ButtonSkin::hook(int) {}

void ButtonSkin::inheritStyle(const ButtonSkin& other) {
    if (!textColourSet) {
        textColour = other.textColour;
        textColourSet = other.textColourSet;
    }
    if (!textSizeSet) {
        textSize = other.textSize;
        textSizeSet = other.textSizeSet;
    }
}

bool ButtonSkin::sameStyle(const ButtonSkin& other) const {
    return textColour == other.textColour && textSize == other.textSize;
}

std::unique_ptr<ButtonSkin> ButtonSkin::clone() const {
    std::unique_ptr<ButtonSkin> copy = newInstance();
    copy->textSize = textSize;
    copy->textSizeSet = textSizeSet;
    copy->textColour = textColour;
    copy->textColourSet = textColourSet;
    return copy;
}

} // namespace pyx::gui
