#include "tools/editor/EditorForm.hpp"

#include "engine/core/Utf8.hpp"
#include "engine/graphics/Mouse.hpp"
#include "engine/gui/Application.hpp"
#include "engine/gui/Button.hpp"
#include "engine/gui/EditBox.hpp"
#include "tools/editor/ConfirmDialog.hpp"
#include "tools/editor/FieldView.hpp"
#include "tools/editor/Label.hpp"
#include "tools/editor/ListView.hpp"
#include "tools/editor/MapName.hpp"
#include "tools/editor/PaletteButton.hpp"

#include <SFML/Window/Keyboard.hpp>

#include <algorithm>
#include <cmath>

namespace ironmoat::editor {

namespace {

struct PaletteEntry {
    Tool tool;
    const wchar_t* caption;
    const wchar_t* picture;
    sf::Color tag;
};

// The palette in the order of the digit keys 1 to 9.
const std::array<PaletteEntry, ToolCount> Palette = {{
    {Tool::Empty, L"1  Empty", L"ironmoat/background_tileset.png", sf::Color::Transparent},
    {Tool::Brick, L"2  Brick", L"ironmoat/brick_tileset.png", sf::Color::Transparent},
    {Tool::Metal, L"3  Metal", L"ironmoat/metal_tileset.png", sf::Color::Transparent},
    {Tool::Tree, L"4  Tree", L"ironmoat/tree_tileset.png", sf::Color::Transparent},
    {Tool::Water, L"5  Water", L"ironmoat/water_tileset.png", sf::Color::Transparent},
    {Tool::Wood, L"6  Wood", L"ironmoat/wood_tileset.png", sf::Color::Transparent},
    {Tool::Base, L"7  Base", L"ironmoat/bunker_thing.png", sf::Color::Transparent},
    {Tool::HumanSpawn, L"8  Human spawn", L"ironmoat/spawn_tileset.png", sf::Color(60, 200, 90)},
    {Tool::EnemySpawn, L"9  Enemy spawn", L"ironmoat/spawn_tileset.png", sf::Color(230, 60, 50)},
}};

// "1 error", "2 errors".
std::wstring counted(int count, const std::wstring& noun) {
    return std::to_wstring(count) + L" " + noun + (count == 1 ? L"" : L"s");
}

constexpr float Margin = 10.f;
constexpr float PaletteWidth = 170.f;
constexpr float PaletteHeight = 40.f;
constexpr float Gap = 6.f;
constexpr float StatusHeight = 26.f;

} // namespace

EditorForm::EditorForm(pyx::gui::Application* application,
                       const std::shared_ptr<pyx::gui::Window>& parent)
    : Window(application, parent), m_document(std::make_shared<MapDocument>()) {}

EditorForm::~EditorForm() = default;

void EditorForm::onAttached() {
    if (m_field) {
        return;
    }
    for (std::size_t i = 0; i < Palette.size(); ++i) {
        auto button = createChild<PaletteButton>();
        button->caption = Palette[i].caption;
        const bool background = Palette[i].tool == Tool::Empty;
        button->icon.load(Palette[i].picture, background ? 80 : (i >= 6 ? 80 : 40));
        button->tag = Palette[i].tag;
        const Tool tool = Palette[i].tool;
        button->onClick = [this, tool] { selectTool(tool); };
        m_palette[i] = button;
    }
    m_gridButton = createChild<pyx::gui::Button>();
    m_gridButton->onClick = [this] { m_field->showGrid = !m_field->showGrid; };
    m_undoButton = createChild<pyx::gui::Button>();
    m_undoButton->text = L"Undo";
    m_undoButton->onClick = [this] { undo(); };
    m_redoButton = createChild<pyx::gui::Button>();
    m_redoButton->text = L"Redo";
    m_redoButton->onClick = [this] { redo(); };

    m_field = createChild<FieldView>(m_document);
    m_field->onEdit = [this] { runChecks(); };

    m_nameLabel = createChild<Label>();
    m_nameLabel->text = L"Map name";
    m_nameLabel->bold = true;
    m_name = createChild<pyx::gui::EditBox>();
    m_name->setPlaceholder(L"Type a name, e.g. river-crossing");
    m_name->setMaxLength(MapName::MaxLength);
    m_name->onEnter = [this] { save(); };
    m_documentLabel = createChild<Label>();
    m_documentLabel->size = 14;

    m_newButton = createChild<pyx::gui::Button>();
    m_newButton->text = L"New";
    m_newButton->onClick = [this] { newMap(); };
    m_openButton = createChild<pyx::gui::Button>();
    m_openButton->text = L"Open";
    m_openButton->onClick = [this] { openEntry(m_maps->selected()); };
    m_saveButton = createChild<pyx::gui::Button>();
    m_saveButton->text = L"Save";
    m_saveButton->onClick = [this] { save(); };
    m_quitButton = createChild<pyx::gui::Button>();
    m_quitButton->text = L"Quit";
    m_quitButton->onClick = [this] { requestQuit(); };

    m_mapsLabel = createChild<Label>();
    m_mapsLabel->text = L"Maps (double-click to open)";
    m_mapsLabel->bold = true;
    m_maps = createChild<ListView>();
    m_maps->onActivate = [this](int row) { openEntry(row); };
    m_maps->onSelect = [this](int row) {
        const MapCatalog::Entry& entry = m_catalog.entries()[static_cast<std::size_t>(row)];
        setStatus(entry.campaign
                      ? entry.label + L": double-click or Ctrl+O to open a copy."
                      : L"maps/" + entry.label + L".mtc: double-click or Ctrl+O to open it.",
                  false);
    };

    m_problemsLabel = createChild<Label>();
    m_problemsLabel->bold = true;
    m_problemList = createChild<ListView>();
    m_problemList->onSelect = [this](int row) {
        const Problem& problem = m_problems[static_cast<std::size_t>(row)];
        m_field->highlighted = problem.cells;
        // The list is narrow; the status line has room for the whole text.
        setStatus(problem.text, false);
    };

    m_status = createChild<Label>();
    m_dialog = createChild<ConfirmDialog>();

    refreshList();
    selectTool(Tool::Brick);
    setStatus(L"Left button paints, right button erases. Keys 1-9 pick the palette, G the grid.",
              false);
}

void EditorForm::selectTool(Tool tool) {
    m_tool = tool;
    m_field->tool = tool;
    for (std::size_t i = 0; i < Palette.size(); ++i) {
        m_palette[i]->selected = Palette[i].tool == tool;
    }
}

const std::wstring& EditorForm::statusText() const {
    return m_status->text;
}

void EditorForm::setStatus(const std::wstring& text, bool error) {
    m_status->text = text;
    m_statusError = error;
    m_status->colour = error ? sf::Color(255, 140, 120) : sf::Color(200, 235, 200);
}

void EditorForm::layout() {
    const float w = getWidth();
    const float h = getHeight();
    float y = Margin;
    for (const auto& button : m_palette) {
        button->setRect({Margin, y, PaletteWidth, PaletteHeight});
        y += PaletteHeight + Gap;
    }
    y += Gap;
    m_gridButton->setRect({Margin, y, PaletteWidth, 34.f});
    y += 34.f + Gap;
    const float half = (PaletteWidth - Gap) / 2.f;
    m_undoButton->setRect({Margin, y, half, 34.f});
    m_redoButton->setRect({Margin + half + Gap, y, half, 34.f});

    // The field takes what the side columns leave, in whole cells.
    const float fieldLeft = Margin + PaletteWidth + 14.f;
    const float sidePanel = std::clamp(w * 0.3f, 300.f, 420.f);
    const float room = std::min(h - StatusHeight - 2.f * Margin, w - fieldLeft - sidePanel);
    const float cell = std::max(4.f, std::floor(room / EditorMap::Size));
    const float side = cell * EditorMap::Size;
    m_field->setRect({fieldLeft, Margin, side, side});

    const float left = fieldLeft + side + 14.f;
    const float width = std::max(120.f, w - left - Margin);
    m_nameLabel->setRect({left, Margin, width, 20.f});
    m_name->setRect({left, Margin + 22.f, width, 30.f});
    m_documentLabel->setRect({left, Margin + 56.f, width, 20.f});
    const float buttonWidth = (width - 3.f * Gap) / 4.f;
    float x = left;
    for (const auto& button : {m_newButton, m_openButton, m_saveButton, m_quitButton}) {
        button->setRect({x, Margin + 82.f, buttonWidth, 34.f});
        x += buttonWidth + Gap;
    }
    const float listsTop = Margin + 124.f;
    const float listsBottom = h - StatusHeight - Margin;
    const float listHeight = std::max(60.f, (listsBottom - listsTop - 2.f * 22.f - Gap) / 2.f);
    m_mapsLabel->setRect({left, listsTop, width, 20.f});
    m_maps->setRect({left, listsTop + 22.f, width, listHeight});
    const float problemsTop = listsTop + 22.f + listHeight + Gap;
    m_problemsLabel->setRect({left, problemsTop, width, 20.f});
    m_problemList->setRect({left, problemsTop + 22.f, width, listHeight});

    m_status->setRect({Margin, h - StatusHeight - 4.f, w - 2.f * Margin, StatusHeight});
    m_dialog->setRect({0.f, 0.f, w, h});
}

void EditorForm::update(float dt) {
    if (const std::shared_ptr<pyx::gui::Window> parent = getParent()) {
        setSize(parent->getWidth(), parent->getHeight());
    }
    layout();
    if (m_checker && (!m_checkedOnce || !(m_checked == m_document->map()))) {
        runChecks();
    }
    m_gridButton->text = m_field->showGrid ? L"Grid: on (G)" : L"Grid: off (G)";
    m_undoButton->setEnabled(m_document->canUndo());
    m_redoButton->setEnabled(m_document->canRedo());

    std::wstring where;
    if (m_document->readOnly()) {
        where = m_campaignLabel + L" (read-only: save a copy)";
    } else if (m_document->file().empty()) {
        where = L"New map, not saved yet";
    } else {
        where = pyx::core::utf8ToWide(m_document->file().generic_string());
    }
    if (m_document->modified()) {
        where += L", not saved";
    }
    m_documentLabel->text = where;
    Window::update(dt);
}

void EditorForm::processMouse(pyx::gfx::Mouse& mouse) {
    if (m_dialog->isShown()) {
        m_field->finishStroke();
        m_dialog->processMouse(mouse);
        return;
    }
    Window::processMouse(mouse);
}

void EditorForm::runChecks() {
    m_checked = m_document->map();
    m_checkedOnce = true;
    if (!m_checker) {
        m_problemsLabel->text = L"Problems";
        return;
    }
    m_problems = m_checker(m_checked);
    std::vector<ListView::Row> rows;
    int errors = 0;
    for (const Problem& problem : m_problems) {
        errors += problem.error ? 1 : 0;
        rows.push_back({(problem.error ? L"Error: " : L"Warning: ") + problem.text,
                        problem.error ? sf::Color(190, 0, 0) : sf::Color(150, 90, 0)});
    }
    const int previous = m_problemList->selected();
    m_problemList->setRows(std::move(rows));
    if (previous >= 0 && previous < static_cast<int>(m_problems.size())) {
        m_problemList->select(previous);
        m_field->highlighted = m_problems[static_cast<std::size_t>(previous)].cells;
    } else {
        m_field->highlighted.clear();
    }
    m_problemsLabel->text =
        m_problems.empty() ? std::wstring(L"Problems: none, the map is playable")
                           : L"Problems: " + counted(errors, L"error") + L", " +
                                 counted(static_cast<int>(m_problems.size()) - errors, L"warning") +
                                 L" (click one)";
}

void EditorForm::undo() {
    m_field->finishStroke();
    if (!m_document->undo()) {
        setStatus(L"Nothing to undo.", false);
    }
}

void EditorForm::redo() {
    m_field->finishStroke();
    if (!m_document->redo()) {
        setStatus(L"Nothing to redo.", false);
    }
}

bool EditorForm::onKeyPressed(const sf::Event::KeyEvent& key) {
    if (m_dialog->isShown() || key.alt || key.system) {
        return m_dialog->isShown();
    }
    const int code = static_cast<int>(key.code);
    if (key.control) {
        switch (code) {
        case sf::Keyboard::Z:
            key.shift ? redo() : undo();
            return true;
        case sf::Keyboard::Y:
            redo();
            return true;
        case sf::Keyboard::S:
            save();
            return true;
        case sf::Keyboard::O:
            openEntry(m_maps->selected());
            return true;
        case sf::Keyboard::N:
            newMap();
            return true;
        case sf::Keyboard::Q:
            requestQuit();
            return true;
        default:
            return false;
        }
    }
    int digit = -1;
    if (code >= sf::Keyboard::Num1 && code <= sf::Keyboard::Num9) {
        digit = code - sf::Keyboard::Num1;
    } else if (code >= sf::Keyboard::Numpad1 && code <= sf::Keyboard::Numpad9) {
        digit = code - sf::Keyboard::Numpad1;
    }
    if (digit >= 0) {
        selectTool(Palette[static_cast<std::size_t>(digit)].tool);
        return true;
    }
    if (code == sf::Keyboard::G) {
        m_field->showGrid = !m_field->showGrid;
        return true;
    }
    if (code == sf::Keyboard::Escape) {
        // Leaves the name field (or the lists), so that digits and G are
        // shortcuts again.
        getApplication()->setFocus(getSelf());
        return true;
    }
    return false;
}

} // namespace ironmoat::editor
