#include "engine/gui/ScrollSkin.hpp"

namespace pyx::gui {

ScrollSkin::~ScrollSkin() = default;

void ScrollSkin::hook(int) {}

void ScrollSkin::inheritStyle(const ScrollSkin&) {}

bool ScrollSkin::sameStyle(const ScrollSkin&) const {
    return true;
}

std::unique_ptr<ScrollSkin> ScrollSkin::clone() const {
    return newInstance();
}

} // namespace pyx::gui
