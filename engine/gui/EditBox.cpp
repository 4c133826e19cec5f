#include "engine/gui/EditBox.hpp"

#include "engine/graphics/Camera.hpp"
#include "engine/graphics/Mouse.hpp"
#include "engine/gui/Application.hpp"
#include "engine/gui/Theme.hpp"

#include <SFML/Window/Keyboard.hpp>

#include <algorithm>
#include <cmath>

namespace pyx::gui {

namespace {

// Keys that produce a character: the edit box takes them even though the
// character itself comes as a separate text event, so that a window further
// up never reads them as shortcuts while the user types.
bool isTypingKey(int code) {
    return (code >= sf::Keyboard::A && code <= sf::Keyboard::Num9) ||
           (code >= sf::Keyboard::LBracket && code <= sf::Keyboard::Space) ||
           (code >= sf::Keyboard::Add && code <= sf::Keyboard::Divide) ||
           (code >= sf::Keyboard::Numpad0 && code <= sf::Keyboard::Numpad9);
}

} // namespace

EditBox::EditBox(Application* application, const std::shared_ptr<Window>& parent)
    : Window(application, parent) {
    if (application != nullptr && application->getTheme()) {
        if (const EditSkin* prototype = application->getTheme()->getEditSkin()) {
            m_skin = prototype->clone();
        }
    }
}

EditBox::~EditBox() = default;

void EditBox::setText(const std::wstring& text) {
    m_text = text;
    m_caret = m_anchor = m_text.size();
    m_scroll = 0.f;
}

void EditBox::select(std::size_t anchor, std::size_t caret) {
    m_anchor = std::min(anchor, m_text.size());
    m_caret = std::min(caret, m_text.size());
}

std::wstring EditBox::selectedText() const {
    const std::size_t from = std::min(m_anchor, m_caret);
    return m_text.substr(from, std::max(m_anchor, m_caret) - from);
}

void EditBox::eraseSelection() {
    const std::size_t from = std::min(m_anchor, m_caret);
    m_text.erase(from, std::max(m_anchor, m_caret) - from);
    m_caret = m_anchor = from;
}

void EditBox::insert(const std::wstring& text) {
    const std::size_t kept =
        m_text.size() - (std::max(m_anchor, m_caret) - std::min(m_anchor, m_caret));
    if (m_maxLength != 0 && kept + text.size() > m_maxLength) {
        return;
    }
    eraseSelection();
    m_text.insert(m_caret, text);
    m_caret += text.size();
    m_anchor = m_caret;
    changed();
}

void EditBox::changed() {
    if (onChange) {
        std::function<void()> handler = onChange;
        handler();
    }
}

bool EditBox::onTextEntered(std::uint32_t codePoint) {
    if (codePoint < 0x20 || codePoint == 0x7F || codePoint > 0x10FFFF) {
        return false;
    }
    insert(std::wstring(1, static_cast<wchar_t>(codePoint)));
    return true;
}

bool EditBox::onKeyPressed(const sf::Event::KeyEvent& key) {
    if (key.alt || key.system) {
        return false;
    }
    const int code = static_cast<int>(key.code);
    if (key.control) {
        if (code == sf::Keyboard::A) {
            selectAll();
            return true;
        }
        return false;
    }
    switch (code) {
    case sf::Keyboard::Left:
        if (hasSelection() && !key.shift) {
            m_caret = m_anchor = std::min(m_anchor, m_caret);
        } else {
            m_caret = m_caret > 0 ? m_caret - 1 : 0;
        }
        break;
    case sf::Keyboard::Right:
        if (hasSelection() && !key.shift) {
            m_caret = m_anchor = std::max(m_anchor, m_caret);
        } else {
            m_caret = std::min(m_caret + 1, m_text.size());
        }
        break;
    case sf::Keyboard::Home:
        m_caret = 0;
        break;
    case sf::Keyboard::End:
        m_caret = m_text.size();
        break;
    case sf::Keyboard::Backspace:
        if (!hasSelection() && m_caret > 0) {
            m_anchor = m_caret - 1;
        }
        if (hasSelection()) {
            eraseSelection();
            changed();
        }
        return true;
    case sf::Keyboard::Delete:
        if (!hasSelection() && m_caret < m_text.size()) {
            m_anchor = m_caret + 1;
        }
        if (hasSelection()) {
            eraseSelection();
            changed();
        }
        return true;
    case sf::Keyboard::Enter:
        if (onEnter) {
            std::function<void()> handler = onEnter;
            handler();
        }
        return true;
    default:
        return isTypingKey(code);
    }
    // The moves: without Shift the selection collapses onto the caret.
    if (!key.shift) {
        m_anchor = m_caret;
    }
    return true;
}

float EditBox::textX(std::size_t index) {
    if (!m_skin || index == 0) {
        return 0.f;
    }
    return m_skin->textWidth(*getApplication()->getCamera(), m_text.substr(0, index));
}

std::size_t EditBox::indexAt(float x) {
    const float target = x - Padding + m_scroll;
    std::size_t best = 0;
    float bestDistance = std::abs(target);
    for (std::size_t i = 1; i <= m_text.size(); ++i) {
        const float distance = std::abs(textX(i) - target);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

void EditBox::processMouse(gfx::Mouse& mouse) {
    Window::processMouse(mouse);
    const sf::Vector2f local = getPosition()->getMousePosition();
    const bool inside =
        local.x >= 0.f && local.y >= 0.f && local.x < getWidth() && local.y < getHeight();
    if (m_skin) {
        m_skin->hover = inside;
    }
    if (!isFocused() || getApplication() == nullptr) {
        m_dragging = false;
        return;
    }
    if (mouse.wentDown(gfx::Mouse::Left) && inside) {
        m_caret = indexAt(local.x);
        m_anchor = m_caret;
        m_dragging = true;
    } else if (m_dragging && mouse.buttonDown(gfx::Mouse::Left)) {
        m_caret = indexAt(local.x);
    }
    if (!mouse.buttonDown(gfx::Mouse::Left)) {
        m_dragging = false;
    }
}

void EditBox::applyTheme(Theme& theme) {
    Theme::updateSkin(theme.getEditSkin(), m_skin);
}

void EditBox::drawSelf(gfx::Camera& camera) {
    if (!m_skin) {
        return;
    }
    m_skin->rect = {0.f, 0.f, getWidth(), getHeight()};
    m_skin->focused = isFocused();
    m_skin->enabled = isEnabled();
    m_skin->text = m_text;
    m_skin->placeholder = m_placeholder;
    m_skin->drawBackground(camera);

    // Keep the caret inside the field, scrolling the text when it is longer.
    const float visible = getWidth() - 2.f * Padding;
    const float caretX = textX(m_caret);
    if (caretX - m_scroll > visible) {
        m_scroll = caretX - visible;
    } else if (caretX < m_scroll) {
        m_scroll = caretX;
    }
    const float full = textX(m_text.size());
    m_scroll = std::max(0.f, std::min(m_scroll, std::max(0.f, full - visible)));

    const float lineHeight = m_skin->lineHeight();
    const float x = Padding - m_scroll;
    const float y = std::round((getHeight() - lineHeight) / 2.f);
    m_skin->drawText(camera, x, y, static_cast<int>(m_anchor), static_cast<int>(m_caret));
    if (isFocused()) {
        m_skin->drawCaret(camera, {std::round(x + caretX), y});
    }
}

void EditBox::drawOverlay(gfx::Camera& camera) {
    if (m_skin) {
        m_skin->drawBorder(camera);
    }
}

} // namespace pyx::gui
