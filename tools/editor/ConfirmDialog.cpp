#include "tools/editor/ConfirmDialog.hpp"

#include "engine/graphics/Camera.hpp"
#include "engine/gui/Application.hpp"
#include "tools/editor/Label.hpp"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Window/Keyboard.hpp>

#include <cmath>

namespace ironmoat::editor {

namespace {
constexpr float BoxWidth = 520.f;
constexpr float BoxHeight = 150.f;
constexpr float ButtonWidth = 140.f;
constexpr float ButtonHeight = 36.f;
} // namespace

ConfirmDialog::ConfirmDialog(pyx::gui::Application* application,
                             const std::shared_ptr<pyx::gui::Window>& parent)
    : Window(application, parent) {}

void ConfirmDialog::onAttached() {
    if (m_message) {
        return;
    }
    m_message = createChild<Label>();
    m_message->colour = sf::Color(20, 20, 20);
    m_message->size = 16;
    for (int i = 0; i < 3; ++i) {
        auto button = createChild<pyx::gui::Button>();
        button->onClick = [this, i] { choose(static_cast<std::size_t>(i)); };
        m_buttons.push_back(button);
    }
    setActive(false);
}

sf::FloatRect ConfirmDialog::boxRect() const {
    return {std::round((getWidth() - BoxWidth) / 2.f), std::round((getHeight() - BoxHeight) / 2.f),
            BoxWidth, BoxHeight};
}

void ConfirmDialog::update(float dt) {
    const sf::FloatRect box = boxRect();
    m_message->setRect({box.left + 20.f, box.top + 20.f, box.width - 40.f, 50.f});
    const float count = static_cast<float>(m_answers.size());
    float x = box.left + box.width - 20.f - count * ButtonWidth - (count - 1.f) * 10.f;
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        m_buttons[i]->setActive(i < m_answers.size());
        m_buttons[i]->setRect(
            {x, box.top + box.height - 20.f - ButtonHeight, ButtonWidth, ButtonHeight});
        x += ButtonWidth + 10.f;
    }
    Window::update(dt);
}

void ConfirmDialog::ask(const std::wstring& message, std::vector<Answer> answers) {
    m_answers = std::move(answers);
    m_message->text = message;
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        m_buttons[i]->text = i < m_answers.size() ? m_answers[i].caption : L"";
    }
    setActive(true);
    update(0.f);
    if (getApplication() != nullptr) {
        getApplication()->setFocus(getSelf());
    }
}

const std::wstring& ConfirmDialog::message() const {
    return m_message->text;
}

void ConfirmDialog::choose(std::size_t index) {
    if (!isActive() || index >= m_answers.size()) {
        return;
    }
    const std::function<void()> action = m_answers[index].action;
    setActive(false);
    if (getApplication() != nullptr && getParent()) {
        getApplication()->setFocus(getParent());
    }
    if (action) {
        action();
    }
}

bool ConfirmDialog::onKeyPressed(const sf::Event::KeyEvent& key) {
    if (key.code == sf::Keyboard::Enter) {
        choose(0);
    } else if (key.code == sf::Keyboard::Escape && !m_answers.empty()) {
        choose(m_answers.size() - 1);
    }
    return true;
}

bool ConfirmDialog::onTextEntered(std::uint32_t) {
    return true;
}

void ConfirmDialog::drawSelf(pyx::gfx::Camera& camera) {
    sf::RectangleShape shade({getWidth(), getHeight()});
    shade.setFillColor(sf::Color(0, 0, 0, 140));
    camera.draw(shade);
    const sf::FloatRect box = boxRect();
    sf::RectangleShape body({box.width, box.height});
    body.setPosition(box.left, box.top);
    body.setFillColor(sf::Color(240, 240, 240));
    body.setOutlineThickness(1.f);
    body.setOutlineColor(sf::Color(0, 120, 215));
    camera.draw(body);
}

} // namespace ironmoat::editor
