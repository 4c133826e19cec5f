#pragma once

#include "engine/gui/ScrollBar.hpp"
#include "engine/gui/Window.hpp"

#include <SFML/Graphics/Color.hpp>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ironmoat::editor {

// A scrolling list of one-line rows on a white body: the mouse wheel and
// the scroll bar at its right move it, a click selects a row, a double
// click (or Enter while it has focus) activates it.
class ListView : public pyx::gui::Window {
public:
    static constexpr float RowHeight = 22.f;
    static constexpr float BarWidth = 16.f;

    struct Row {
        std::wstring text;
        sf::Color colour{0, 0, 0};
    };

    ListView(pyx::gui::Application* application, const std::shared_ptr<pyx::gui::Window>& parent);

    // Creates the scroll bar; called by setParent.
    void onAttached() override;
    void update(float dt) override;
    void processMouse(pyx::gfx::Mouse& mouse) override;
    void drawSelf(pyx::gfx::Camera& camera) override;
    void drawOverlay(pyx::gfx::Camera& camera) override;
    bool onKeyPressed(const sf::Event::KeyEvent& key) override;

    // Replaces the rows; the selection is dropped.
    void setRows(std::vector<Row> rows);
    const std::vector<Row>& rows() const { return m_rows; }
    // The selected row, -1 for none.
    int selected() const { return m_selected; }
    // Selects a row (-1 for none) and scrolls it into view; onSelect is
    // not called.
    void select(int row);
    // The row under a point in local coordinates, -1 for none.
    int rowAt(sf::Vector2f local) const;
    const std::shared_ptr<pyx::gui::ScrollBar>& scrollBar() const { return m_bar; }

    // A row was selected by the user.
    std::function<void(int)> onSelect;
    // A row was double-clicked or Enter pressed on it.
    std::function<void(int)> onActivate;

private:
    float visibleRows() const;

    std::vector<Row> m_rows;
    int m_selected = -1;
    std::shared_ptr<pyx::gui::ScrollBar> m_bar;
};

} // namespace ironmoat::editor
