#pragma once

#include "engine/gui/Button.hpp"
#include "engine/gui/Window.hpp"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ironmoat::editor {

class Label;

// A question over the whole editor: a shaded cover that takes every click,
// a box with the message and one button per answer. Enter picks the first
// answer, Escape the last (the one that changes nothing); other keys stop
// here. It hides itself before running the chosen answer.
class ConfirmDialog : public pyx::gui::Window {
public:
    struct Answer {
        std::wstring caption;
        std::function<void()> action;
    };

    ConfirmDialog(pyx::gui::Application* application,
                  const std::shared_ptr<pyx::gui::Window>& parent);

    void onAttached() override;
    void update(float dt) override;
    void drawSelf(pyx::gfx::Camera& camera) override;
    bool onKeyPressed(const sf::Event::KeyEvent& key) override;
    bool onTextEntered(std::uint32_t codePoint) override;

    // Shows the question and takes the keyboard focus.
    void ask(const std::wstring& message, std::vector<Answer> answers);
    bool isShown() const { return isActive(); }
    const std::wstring& message() const;
    // Runs the answer with this index (as its button would).
    void choose(std::size_t index);

private:
    sf::FloatRect boxRect() const;

    std::shared_ptr<Label> m_message;
    std::vector<std::shared_ptr<pyx::gui::Button>> m_buttons;
    std::vector<Answer> m_answers;
};

} // namespace ironmoat::editor
