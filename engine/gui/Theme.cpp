#include "engine/gui/Theme.hpp"

#include "engine/gui/ButtonSkinWin10.hpp"
#include "engine/gui/EditSkinWin10.hpp"
#include "engine/gui/ScrollSkinWin10.hpp"

namespace pyx::gui {

namespace {

// The update of one kind of skin. A target of the source's class only
// follows the source's style (`changed` then tells whether it had to); any
// other target is replaced by a clone of the source, after `carry` has moved
// over what the old skin must keep.
template <class Skin, class Carry>
bool updateSkinOf(const Skin* source, std::unique_ptr<Skin>& target, Carry carry) {
    if (source == nullptr) {
        return false;
    }
    if (target != nullptr && target->typeId() == source->typeId()) {
        if (target->sameStyle(*source)) {
            return false;
        }
        target->inheritStyle(*source);
        return true;
    }
    std::unique_ptr<Skin> fresh = source->clone();
    if (target) {
        carry(*target, *fresh);
    }
    target = std::move(fresh);
    return true;
}

template <class Skin> void carryNothing(const Skin&, Skin&) {}

} // namespace

Theme::Theme() {
    updateSkin(std::make_unique<ButtonSkinWin10>().get(), m_buttonSkin);
    updateSkin(std::make_unique<EditSkinWin10>().get(), m_editSkin);
    updateSkin(std::make_unique<ScrollSkinWin10>().get(), m_scrollSkin);
}

Theme::~Theme() = default;

bool Theme::updateSkin(const ButtonSkin* source, std::unique_ptr<ButtonSkin>& target) {
    // Text colour and size set by the program outlive a change of look.
    return updateSkinOf(source, target, [](const ButtonSkin& old, ButtonSkin& fresh) {
        if (old.textColourSet) {
            fresh.textColour = old.textColour;
            fresh.textColourSet = true;
        }
        if (old.textSizeSet) {
            fresh.textSize = old.textSize;
            fresh.textSizeSet = true;
        }
    });
}

bool Theme::updateSkin(const EditSkin* source, std::unique_ptr<EditSkin>& target) {
    return updateSkinOf(source, target, carryNothing<EditSkin>);
}

bool Theme::updateSkin(const ScrollSkin* source, std::unique_ptr<ScrollSkin>& target) {
    return updateSkinOf(source, target, carryNothing<ScrollSkin>);
}

bool Theme::applyPending() {
    bool changed = false;
    if (m_pendingButtonSkin) {
        changed = updateSkin(m_pendingButtonSkin.get(), m_buttonSkin) || changed;
    }
    if (m_pendingEditSkin) {
        changed = updateSkin(m_pendingEditSkin.get(), m_editSkin) || changed;
    }
    if (m_pendingScrollSkin) {
        changed = updateSkin(m_pendingScrollSkin.get(), m_scrollSkin) || changed;
    }
    m_pendingButtonSkin.reset();
    m_pendingEditSkin.reset();
    m_pendingScrollSkin.reset();
    return changed;
}

} // namespace pyx::gui
