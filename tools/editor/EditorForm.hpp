#pragma once

#include "engine/gui/Window.hpp"
#include "tools/editor/MapCatalog.hpp"
#include "tools/editor/MapDocument.hpp"
#include "tools/editor/Tool.hpp"

#include <SFML/System/Vector2.hpp>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pyx::gui {
class Button;
class EditBox;
} // namespace pyx::gui

namespace ironmoat::editor {

class ConfirmDialog;
class FieldView;
class Label;
class ListView;
class PaletteButton;

// The editor's one form: the palette at the left, the field in the middle,
// the map's name, the file buttons, the map list and the problem list at
// the right, a status line below. It owns the open map and carries out
// opening, saving, undo and quitting, asking first where work could be lost.
class EditorForm : public pyx::gui::Window {
public:
    // A problem found by the map checks, with the cells it concerns.
    struct Problem {
        bool error = false;
        std::wstring text;
        std::vector<sf::Vector2i> cells;
    };
    using Checker = std::function<std::vector<Problem>(const EditorMap&)>;

    EditorForm(pyx::gui::Application* application, const std::shared_ptr<pyx::gui::Window>& parent);
    ~EditorForm() override;

    // Builds the children; called by setParent.
    void onAttached() override;
    // Lays the children out for the current size and refreshes the texts.
    void update(float dt) override;
    // While a question is open only the question sees the mouse.
    void processMouse(pyx::gfx::Mouse& mouse) override;
    // The shortcuts: digits pick the palette, G the grid, Escape leaves the
    // name field, Ctrl+Z/Y undo and
    // redo, Ctrl+S saves, Ctrl+O opens, Ctrl+N starts a new map, Ctrl+Q quits.
    bool onKeyPressed(const sf::Event::KeyEvent& key) override;

    // Opens the map a command line named: a file that does not exist yet
    // starts a new map under its name.
    void openPath(const std::filesystem::path& file);
    // Opens an entry of the map list, asking first when changes would be lost.
    void openEntry(int index);
    // Saves under the name in the file field (see the file rules).
    void save();
    // Starts an empty map, asking first when changes would be lost.
    void newMap();
    // Quits, asking first when changes would be lost; the window's close
    // box comes here too. True when the program may end at once.
    bool requestQuit();

    // Runs the map checks with this function after every change.
    void setChecker(Checker checker) { m_checker = std::move(checker); }

    void selectTool(Tool tool);
    Tool tool() const { return m_tool; }
    const MapDocument& document() const { return *m_document; }
    const std::wstring& statusText() const;
    bool statusIsError() const { return m_statusError; }
    const std::shared_ptr<ConfirmDialog>& dialog() const { return m_dialog; }

private:
    void layout();
    void setStatus(const std::wstring& text, bool error);
    void guardUnsaved(const std::wstring& question, std::function<void()> action);
    void load(const MapCatalog::Entry& entry);
    bool writeTo(const std::filesystem::path& target, const std::wstring& name);
    bool saveNow(bool mayAsk);
    void refreshList();
    void runChecks();
    void undo();
    void redo();

    std::shared_ptr<MapDocument> m_document;
    MapCatalog m_catalog;
    Tool m_tool = Tool::Brick;
    Checker m_checker;
    EditorMap m_checked;
    bool m_checkedOnce = false;
    std::vector<Problem> m_problems;
    bool m_statusError = false;
    std::wstring m_campaignLabel; // the level open read-only, for the texts

    std::array<std::shared_ptr<PaletteButton>, ToolCount> m_palette;
    std::shared_ptr<FieldView> m_field;
    std::shared_ptr<pyx::gui::Button> m_gridButton, m_undoButton, m_redoButton;
    std::shared_ptr<Label> m_nameLabel, m_documentLabel, m_mapsLabel, m_problemsLabel, m_status;
    std::shared_ptr<pyx::gui::EditBox> m_name;
    std::shared_ptr<pyx::gui::Button> m_newButton, m_openButton, m_saveButton, m_quitButton;
    std::shared_ptr<ListView> m_maps;
    std::shared_ptr<ListView> m_problemList;
    std::shared_ptr<ConfirmDialog> m_dialog;
};

} // namespace ironmoat::editor
