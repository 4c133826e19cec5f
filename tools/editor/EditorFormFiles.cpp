// The file side of the editor's form: opening, saving, starting anew and
// quitting, each asking first where unsaved work would be lost.
#include "tools/editor/EditorForm.hpp"

#include "engine/core/Utf8.hpp"
#include "engine/gui/Application.hpp"
#include "engine/gui/EditBox.hpp"
#include "game/world/LevelReader.hpp"
#include "tools/editor/AtomicFile.hpp"
#include "tools/editor/ConfirmDialog.hpp"
#include "tools/editor/FieldView.hpp"
#include "tools/editor/ListView.hpp"
#include "tools/editor/MapName.hpp"

namespace ironmoat::editor {

namespace fs = std::filesystem;

namespace {

std::wstring shown(const fs::path& file) {
    return pyx::core::utf8ToWide(file.generic_string());
}

bool sameFile(const fs::path& a, const fs::path& b) {
    if (a.empty() || b.empty()) {
        return false;
    }
    std::error_code error;
    if (fs::exists(a, error) && fs::exists(b, error)) {
        return fs::equivalent(a, b, error);
    }
    return a.lexically_normal() == b.lexically_normal();
}

std::wstring unknownNotice(int unknown) {
    if (unknown == 0) {
        return {};
    }
    return L" " + std::to_wstring(unknown) +
           L" cells held bytes the game reads as empty ground; they are empty now.";
}

} // namespace

void EditorForm::refreshList() {
    m_catalog.refresh();
    std::vector<ListView::Row> rows;
    for (const MapCatalog::Entry& entry : m_catalog.entries()) {
        rows.push_back({entry.label, entry.campaign ? sf::Color(90, 90, 90) : sf::Color::Black});
    }
    m_maps->setRows(std::move(rows));
    if (!m_document->readOnly()) {
        m_maps->select(m_catalog.indexOf(m_document->file()));
    }
}

void EditorForm::guardUnsaved(const std::wstring& question, std::function<void()> action) {
    m_field->finishStroke();
    if (!m_document->modified()) {
        action();
        return;
    }
    m_dialog->ask(L"The map has unsaved changes. " + question, {{L"Save",
                                                                 [this, action] {
                                                                     if (saveNow(false)) {
                                                                         action();
                                                                     }
                                                                 }},
                                                                {L"Discard", action},
                                                                {L"Cancel", nullptr}});
}

void EditorForm::openPath(const fs::path& file) {
    std::error_code error;
    const std::wstring name = MapName::normalise(MapName::nameOf(file));
    if (!fs::exists(file, error)) {
        m_document->reset(EditorMap(), {}, false);
        m_name->setText(MapName::problem(name) ? L"" : name);
        setStatus(shown(file) + L" does not exist yet: a new map. Ctrl+S saves it as maps/" + name +
                      L".mtc.",
                  false);
        return;
    }
    const std::optional<std::string> bytes = AtomicFile::read(file);
    if (!bytes) {
        setStatus(L"Cannot read " + shown(file) + L".", true);
        return;
    }
    int unknown = 0;
    const EditorMap map = EditorMap::fromLayout(cmn::readLevel(*bytes), &unknown);
    m_document->reset(map, file, false);
    m_name->setText(name);
    m_maps->select(m_catalog.indexOf(file));
    setStatus(L"Opened " + shown(file) + L"." + unknownNotice(unknown), unknown > 0);
}

void EditorForm::openEntry(int index) {
    if (index < 0 || index >= static_cast<int>(m_catalog.entries().size())) {
        setStatus(L"Choose a map in the list first, then open it.", true);
        return;
    }
    const MapCatalog::Entry entry = m_catalog.entries()[static_cast<std::size_t>(index)];
    guardUnsaved(L"Open another map anyway?", [this, entry] { load(entry); });
}

void EditorForm::load(const MapCatalog::Entry& entry) {
    const std::optional<std::string> bytes = MapCatalog::read(entry);
    if (!bytes) {
        setStatus(L"Cannot read " + (entry.campaign ? entry.label : shown(entry.file)) + L".",
                  true);
        return;
    }
    int unknown = 0;
    const EditorMap map = EditorMap::fromLayout(cmn::readLevel(*bytes), &unknown);
    m_field->highlighted.clear();
    if (entry.campaign) {
        m_campaignLabel = entry.label.substr(0, entry.label.find(L" ("));
        m_document->reset(map, fs::path(pyx::core::wideToUtf8(entry.resourcePath)), true);
        m_name->setText(L"");
        m_name->setPlaceholder(L"Name for your copy of " + m_campaignLabel);
        setStatus(L"Opened " + m_campaignLabel +
                      L" read-only: type a name for your copy and save." + unknownNotice(unknown),
                  unknown > 0);
    } else {
        m_document->reset(map, entry.file, false);
        m_name->setText(entry.label);
        setStatus(L"Opened " + shown(entry.file) + L"." + unknownNotice(unknown), unknown > 0);
    }
}

void EditorForm::newMap() {
    guardUnsaved(L"Start a new map anyway?", [this] {
        m_document->reset(EditorMap(), {}, false);
        m_field->highlighted.clear();
        m_name->setText(L"");
        m_name->setPlaceholder(L"Type a name, e.g. river-crossing");
        m_maps->select(-1);
        setStatus(L"A new, empty map.", false);
    });
}

void EditorForm::save() {
    saveNow(true);
}

bool EditorForm::saveNow(bool mayAsk) {
    m_field->finishStroke();
    const std::wstring name = MapName::normalise(m_name->getText());
    if (name.empty() && m_document->readOnly()) {
        setStatus(L"Campaign levels are read-only: type a name for your copy, then save.", true);
        return false;
    }
    if (const std::optional<std::wstring> problem = MapName::problem(name)) {
        setStatus(L"Not saved: " + *problem, true);
        return false;
    }
    const fs::path target = MapName::fileFor(name);
    std::error_code error;
    if (fs::exists(target, error) && !sameFile(target, m_document->file())) {
        if (!mayAsk) {
            setStatus(L"Not saved: " + shown(target) +
                          L" is another map. Save again to choose whether to replace it.",
                      true);
            return false;
        }
        m_dialog->ask(
            shown(target) + L" is another map. Replace it?",
            {{L"Replace", [this, target, name] { writeTo(target, name); }}, {L"Cancel", nullptr}});
        return false;
    }
    return writeTo(target, name);
}

bool EditorForm::writeTo(const fs::path& target, const std::wstring& name) {
    std::error_code error;
    fs::create_directories(target.parent_path(), error);
    if (const std::optional<std::string> failure =
            AtomicFile::write(target, m_document->map().serialize())) {
        setStatus(L"Not saved: " + pyx::core::utf8ToWide(*failure) +
                      L". The file on disk is unchanged.",
                  true);
        return false;
    }
    m_document->markSaved(target);
    m_name->setText(name);
    refreshList();
    setStatus(L"Saved " + shown(target) + L".", false);
    return true;
}

bool EditorForm::requestQuit() {
    if (m_dialog->isShown()) {
        return false;
    }
    m_field->finishStroke();
    pyx::gui::Application* application = getApplication();
    if (!m_document->modified()) {
        application->quit();
        return true;
    }
    guardUnsaved(L"Quit anyway?", [application] { application->quit(); });
    return false;
}

} // namespace ironmoat::editor
