#include "engine/gui/Theme.hpp"

#include "engine/gui/ButtonSkinWin10.hpp"
#include "engine/gui/EditSkinWin10.hpp"
#include "engine/gui/ScrollSkinWin10.hpp"

namespace pyx::gui {

namespace {

// Steps 1 and 2 of the update, common to every kind: true when the target
// already holds a skin of the source's class (then `changed` tells whether
// its style had to follow).
template <class Skin> bool updateSameClass(const Skin& source, Skin* target, bool& changed) {
    if (target == nullptr || target->typeId() != source.typeId()) {
        return false;
    }
    if (target->sameStyle(source)) {
        changed = false;
    } else {
        target->inheritStyle(source);
        changed = true;
    }
    return true;
}

} // namespace

Theme::Theme() {
    updateSkin(std::make_unique<ButtonSkinWin10>().get(), m_buttonSkin);
    updateSkin(std::make_unique<EditSkinWin10>().get(), m_editSkin);
    updateSkin(std::make_unique<ScrollSkinWin10>().get(), m_scrollSkin);
}

Theme::~Theme() = default;

bool Theme::updateSkin(const ButtonSkin* source, std::unique_ptr<ButtonSkin>& target) {
    if (source == nullptr) {
        return false;
    }
    bool changed = false;
    if (updateSameClass(*source, target.get(), changed)) {
        return changed;
    }
    std::unique_ptr<ButtonSkin> fresh = source->clone();
    if (target) {
        if (target->textColourSet) {
            fresh->textColour = target->textColour;
            fresh->textColourSet = true;
        }
        if (target->textSizeSet) {
            fresh->textSize = target->textSize;
            fresh->textSizeSet = true;
        }
    }
    target = std::move(fresh);
    return true;
}

bool Theme::updateSkin(const EditSkin* source, std::unique_ptr<EditSkin>& target) {
    if (source == nullptr) {
        return false;
    }
    bool changed = false;
    if (updateSameClass(*source, target.get(), changed)) {
        return changed;
    }
    target = source->clone();
    return true;
}

bool Theme::updateSkin(const ScrollSkin* source, std::unique_ptr<ScrollSkin>& target) {
    if (source == nullptr) {
        return false;
    }
    bool changed = false;
    if (updateSameClass(*source, target.get(), changed)) {
        return changed;
    }
    target = source->clone();
    return true;
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
