#include "game/forms/SwitchingWindow.hpp"

namespace ironmoat::cmn {

SwitchingWindow::SwitchingWindow(pyx::gui::Application* application,
                                 const std::shared_ptr<pyx::gui::Window>& parent)
    : pyx::gui::Window(application, parent) {
    if (parent) {
        setPoint(0.f, 0.f);
        setSize(parent->getWidth(), parent->getHeight());
    }
}

void SwitchingWindow::fitToParent() {
    if (std::shared_ptr<pyx::gui::Window> parent = getParent()) {
        setPoint(0.f, 0.f);
        setSize(parent->getWidth(), parent->getHeight());
    }
}

void SwitchingWindow::update(float dt) {
    fitToParent();
    if (!isActive()) {
        return;
    }
    // A form's update may switch forms; a copy keeps the walk stable.
    const std::vector<std::shared_ptr<pyx::gui::Window>> children = getChildren();
    for (const std::shared_ptr<pyx::gui::Window>& child : children) {
        child->update(dt);
    }
}

void SwitchingWindow::switchTo(const std::string& name) {
    auto it = m_forms.find(name);
    if (it != m_forms.end()) {
        switchTo(it->second);
    }
}

void SwitchingWindow::switchTo(const std::shared_ptr<pyx::gui::Window>& form) {
    const std::vector<std::shared_ptr<pyx::gui::Window>> children = getChildren();
    for (const std::shared_ptr<pyx::gui::Window>& child : children) {
        const bool shown = child == form;
        child->setActive(shown);
        child->setEnabled(shown);
        if (shown && !child->isFocused() && getApplication() != nullptr) {
            getApplication()->setFocus(child);
        }
    }
}

std::shared_ptr<pyx::gui::Window> SwitchingWindow::getForm(const std::string& name) const {
    auto it = m_forms.find(name);
    return it != m_forms.end() ? it->second : nullptr;
}

} // namespace ironmoat::cmn
