#pragma once

#include "engine/gui/EditSkin.hpp"
#include "engine/gui/Window.hpp"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace pyx::gui {

// A single-line text field drawn by the theme's edit skin: text or a
// placeholder, a caret and a selection. Typing replaces the selection;
// Backspace, Delete, Left, Right, Home and End edit and move the caret
// (with Shift they extend the selection), Ctrl+A selects everything and
// Enter calls onEnter. A click places the caret, a drag selects. Keys it
// does not use (Escape, Tab, shortcuts with Ctrl or Alt) bubble on.
class EditBox : public Window {
public:
    // Blank space between the frame and the text.
    static constexpr float Padding = 6.f;

    // The window part, then a clone of the theme's edit skin.
    EditBox(Application* application, const std::shared_ptr<Window>& parent);
    ~EditBox() override;

    // Caret placement and drag selection with the left button.
    void processMouse(gfx::Mouse& mouse) override;
    void applyTheme(Theme& theme) override;
    void drawSelf(gfx::Camera& camera) override;
    void drawOverlay(gfx::Camera& camera) override;
    bool onKeyPressed(const sf::Event::KeyEvent& key) override;
    // A printable code point replaces the selection; control codes are left
    // to onKeyPressed.
    bool onTextEntered(std::uint32_t codePoint) override;

    // Replaces the text; the caret goes to its end, the selection is empty.
    // onChange is not called.
    void setText(const std::wstring& text);
    const std::wstring& getText() const { return m_text; }
    void setPlaceholder(const std::wstring& placeholder) { m_placeholder = placeholder; }
    const std::wstring& getPlaceholder() const { return m_placeholder; }
    // Texts longer than this are not typed into (0: no limit).
    void setMaxLength(std::size_t length) { m_maxLength = length; }

    // Caret and selection as character indices; the selection runs between
    // the anchor and the caret.
    std::size_t getCaret() const { return m_caret; }
    std::size_t getAnchor() const { return m_anchor; }
    void select(std::size_t anchor, std::size_t caret);
    void selectAll() { select(0, m_text.size()); }
    std::wstring selectedText() const;

    EditSkin* getSkin() const { return m_skin.get(); }

    // Called after every change of the text by the user.
    std::function<void()> onChange;
    // Called on Enter.
    std::function<void()> onEnter;

private:
    bool hasSelection() const { return m_anchor != m_caret; }
    void eraseSelection();
    void insert(const std::wstring& text);
    void changed();
    // The character boundary nearest to x in local coordinates.
    std::size_t indexAt(float x);
    float textX(std::size_t index);

    std::wstring m_text;
    std::wstring m_placeholder;
    std::size_t m_caret = 0;
    std::size_t m_anchor = 0;
    std::size_t m_maxLength = 0;
    float m_scroll = 0.f; // how far the text is shifted left to keep the caret in view
    bool m_dragging = false;
    std::unique_ptr<EditSkin> m_skin;
};

} // namespace pyx::gui
