#pragma once

#include "engine/gui/Application.hpp"
#include "engine/gui/Window.hpp"

#include <map>
#include <memory>
#include <string>

namespace ironmoat::cmn {

// Fills the desktop and shows exactly one of its forms, chosen by name. The
// hidden forms stay children and keep receiving update, so a hidden form
// keeps its state (and the game form its running timer).
class SwitchingWindow : public pyx::gui::Window {
public:
    // The window part with no forms, fitted to the parent.
    SwitchingWindow(pyx::gui::Application* application,
                    const std::shared_ptr<pyx::gui::Window>& parent);

    // Fits to the parent, then updates every child, shown or hidden, while
    // the switching window itself is active.
    void update(float dt) override;

    // Creates a form of class T as a child registered under the name and
    // switches to it.
    template <class T> std::shared_ptr<T> addShown(const std::string& name) {
        std::shared_ptr<T> form = addForm<T>(name);
        switchTo(form);
        return form;
    }
    // Creates a form of class T as a child registered under the name, hidden
    // (neither active nor enabled).
    template <class T> std::shared_ptr<T> addHidden(const std::string& name) {
        std::shared_ptr<T> form = addForm<T>(name);
        form->setActive(false);
        form->setEnabled(false);
        return form;
    }

    // Shows the form registered under the name; an unknown name is ignored.
    void switchTo(const std::string& name);
    // Shows the given child and hides every other one; the shown form gets
    // the keyboard focus unless it already is on the focus path.
    void switchTo(const std::shared_ptr<pyx::gui::Window>& form);

    // The form registered under the name, empty when there is none.
    std::shared_ptr<pyx::gui::Window> getForm(const std::string& name) const;
    const std::map<std::string, std::shared_ptr<pyx::gui::Window>>& getForms() const {
        return m_forms;
    }

private:
    template <class T> std::shared_ptr<T> addForm(const std::string& name) {
        std::shared_ptr<pyx::gui::Window> self = getSelf();
        auto form = std::make_shared<T>(getApplication(), self);
        form->setParent(form, self);
        m_forms[name] = form;
        return form;
    }
    void fitToParent();

    std::map<std::string, std::shared_ptr<pyx::gui::Window>> m_forms;
};

} // namespace ironmoat::cmn
