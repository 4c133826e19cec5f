#pragma once

#include "engine/gui/ButtonSkin.hpp"
#include "engine/gui/EditSkin.hpp"
#include "engine/gui/ScrollSkin.hpp"

#include <memory>

namespace pyx::gui {

// The current skins of the GUI: one prototype per kind of control, plus
// skins waiting to be installed at the next frame. Controls hold clones of
// the prototypes and bring them up to date through updateSkin.
class Theme {
public:
    // Installs fresh flat-look prototypes of all three kinds.
    Theme();
    ~Theme();
    Theme(const Theme&) = delete;
    Theme& operator=(const Theme&) = delete;

    // Brings target up to date with source: keeps a skin of the same class
    // (inheriting the style where it differs), else replaces it by a clone
    // of source that keeps the explicitly chosen caption colour and size.
    // True when the target changed; an empty source changes nothing.
    static bool updateSkin(const ButtonSkin* source, std::unique_ptr<ButtonSkin>& target);
    static bool updateSkin(const EditSkin* source, std::unique_ptr<EditSkin>& target);
    static bool updateSkin(const ScrollSkin* source, std::unique_ptr<ScrollSkin>& target);

    // Installs the pending skins into the prototypes and drops them; true
    // when any prototype changed.
    bool applyPending();

    const ButtonSkin* getButtonSkin() const { return m_buttonSkin.get(); }
    const EditSkin* getEditSkin() const { return m_editSkin.get(); }
    const ScrollSkin* getScrollSkin() const { return m_scrollSkin.get(); }

    // Skins to install at the next applyPending.
    void setPendingButtonSkin(std::unique_ptr<ButtonSkin> skin) {
        m_pendingButtonSkin = std::move(skin);
    }
    void setPendingEditSkin(std::unique_ptr<EditSkin> skin) { m_pendingEditSkin = std::move(skin); }
    void setPendingScrollSkin(std::unique_ptr<ScrollSkin> skin) {
        m_pendingScrollSkin = std::move(skin);
    }

private:
    std::unique_ptr<ButtonSkin> m_buttonSkin;
    std::unique_ptr<EditSkin> m_editSkin;
    std::unique_ptr<ScrollSkin> m_scrollSkin;
    std::unique_ptr<ButtonSkin> m_pendingButtonSkin;
    std::unique_ptr<EditSkin> m_pendingEditSkin;
    std::unique_ptr<ScrollSkin> m_pendingScrollSkin;
};

} // namespace pyx::gui
