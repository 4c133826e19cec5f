#include "tools/mapcheck/MapPainter.hpp"

#include "engine/common/ResourceSfFont.hpp"
#include "engine/core/SharedObject.hpp"
#include "engine/graphics/Camera.hpp"
#include "game/objects/Spawn.hpp"
#include "game/objects/TargetObject.hpp"
#include "game/objects/World.hpp"

#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <unistd.h>

#include <cstdlib>

namespace ironmoat::tools {

namespace {

constexpr int Cells = cmn::LevelLayout::size;
// The world lays its field out beside a 200-pixel panel; the window leaves
// that room so the field gets exactly the cell size asked for, and a few
// pixels more: the camera's view measures a hair short of the window.
constexpr int PanelRoom = 200;
constexpr int Slack = 4;
const wchar_t* const FontPath = L"@release/Core/Fonts/Charis-SIL/Font-Face-R.ttf";

} // namespace

MapPainter::MapPainter(const std::filesystem::path& dataFolder, int cellSize)
    : m_cellSize(cellSize) {
    m_logSettings->clearConsoleOutput();
    m_logSettings->clearFileOutput();
    m_resources.emplace();
    const std::filesystem::path core = std::filesystem::absolute(dataFolder / "core.dat");
    const std::filesystem::path game = std::filesystem::absolute(dataFolder / "ironmoat.dat");
    m_ready = (*m_resources)->mount(core.wstring(), L"@release/Core") &&
              (*m_resources)->mount(game.wstring(), L"ironmoat");

    const unsigned field = static_cast<unsigned>(Cells * cellSize);
    m_window =
        std::make_shared<sf::RenderWindow>(sf::VideoMode(field + PanelRoom + Slack, field + Slack),
                                           "ironmoat-mapcheck", sf::Style::None);
    m_camera = std::make_unique<pyx::gfx::Camera>(m_window, true);
}

MapPainter::~MapPainter() {
    m_camera.reset();
    m_window.reset();
}

std::optional<std::filesystem::path> MapPainter::findDataFolder() {
    std::vector<std::filesystem::path> candidates{"data"};
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        // build/tools/mapcheck/ironmoat-mapcheck -> build/game/data
        candidates.push_back(self.parent_path().parent_path().parent_path() / "game/data");
    }
    for (const auto& folder : candidates) {
        if (std::filesystem::is_regular_file(folder / "core.dat", ec) &&
            std::filesystem::is_regular_file(folder / "ironmoat.dat", ec)) {
            return folder;
        }
    }
    return std::nullopt;
}

sf::Image MapPainter::capture(unsigned width, unsigned height) {
    sf::Texture shot;
    shot.create(m_window->getSize().x, m_window->getSize().y);
    shot.update(*m_window);
    const sf::Image whole = shot.copyToImage();
    sf::Image part;
    part.create(width, height);
    part.copy(whole, 0, 0, sf::IntRect(0, 0, static_cast<int>(width), static_cast<int>(height)));
    return part;
}

sf::Image MapPainter::paint(const cmn::LevelLayout& level) {
    // The ground's drawing variants are `rand` draws made with the terrain:
    // the same seed draws the same picture every time.
    std::srand(1);
    cmn::World world;
    {
        auto lock = world.acquireLock();
        for (int x = 0; x < Cells; ++x) {
            for (int y = 0; y < Cells; ++y) {
                world.terrain().initCell(x, y, level.kinds[x][y]);
            }
        }
        // The objects a level start makes from the markers; digits that
        // mark nothing make nothing.
        for (const cmn::MapMarker& marker : level.markers) {
            std::shared_ptr<cmn::GameObject> object;
            if (marker.digit == 1) {
                object = pyx::core::makeShared<cmn::TargetObject>(&world);
                object->team = 1;
            } else if (marker.digit == 0 || marker.digit == 2) {
                object = pyx::core::makeShared<cmn::Spawn>(&world);
            } else {
                continue;
            }
            object->x = marker.column;
            object->y = marker.row;
            world.addObject(object);
        }
        world.objects().update(0.0f);
    }
    m_window->clear(sf::Color::Black);
    m_camera->update();
    world.draw(*m_camera);
    const unsigned field = static_cast<unsigned>(Cells * m_cellSize);
    sf::Image image = capture(field, field);
    m_window->display();
    return image;
}

sf::Image MapPainter::label(const std::wstring& text, unsigned width, unsigned height,
                            sf::Color background) {
    const auto font = (*m_resources)->getFont(FontPath);
    m_window->clear(background);
    if (font) {
        sf::Text line(text, pyx::cmn::resourceValue(font), height * 7 / 10);
        while (line.getCharacterSize() > 8 && line.getLocalBounds().width + 8 > width) {
            line.setCharacterSize(line.getCharacterSize() - 1);
        }
        line.setFillColor(sf::Color::White);
        const sf::FloatRect bounds = line.getLocalBounds();
        line.setPosition(4.0f, static_cast<float>(static_cast<int>(
                                   (static_cast<float>(height) - bounds.height) / 2 - bounds.top)));
        m_window->setView(m_window->getDefaultView());
        m_window->draw(line);
    }
    sf::Image image = capture(width, height);
    m_window->display();
    m_camera->invalidate();
    return image;
}

} // namespace ironmoat::tools
