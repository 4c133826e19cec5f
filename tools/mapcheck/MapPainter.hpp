#pragma once

#include "engine/common/LoggerSettings.hpp"
#include "engine/common/ResourceManager.hpp"
#include "engine/core/WeakSingleton.hpp"
#include "game/world/LevelReader.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderWindow.hpp>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace pyx::gfx {
class Camera;
}

namespace ironmoat::tools {

// Draws levels the way the game does: the game's own world, terrain drawing,
// base and spawn-point objects and the pictures of its data archives, into
// images. Needs an X display (SFML draws through OpenGL).
class MapPainter {
public:
    // Mounts the archives of `dataFolder` as the game does and opens a
    // drawing window for fields of `cellSize` pixels a cell.
    MapPainter(const std::filesystem::path& dataFolder, int cellSize);
    ~MapPainter();
    MapPainter(const MapPainter&) = delete;
    MapPainter& operator=(const MapPainter&) = delete;

    // False when an archive could not be mounted.
    bool ready() const { return m_ready; }

    // The level's field, 26 cells a side: terrain, spawn points and base
    // under the trees, as the game shows it before the first tank appears.
    sf::Image paint(const cmn::LevelLayout& level);

    // One line of text in the game's font, white on `background`, at most
    // `width` pixels wide (the size shrinks to fit), `height` pixels high.
    sf::Image label(const std::wstring& text, unsigned width, unsigned height,
                    sf::Color background);

    // Where the game's archives are: "data" in the working folder, else the
    // build tree's game/data beside the program's own folder.
    static std::optional<std::filesystem::path> findDataFolder();

private:
    sf::Image capture(unsigned width, unsigned height);

    pyx::core::WeakSingleton<pyx::cmn::LoggerSettings> m_logSettings;
    std::optional<pyx::core::WeakSingleton<pyx::cmn::ResourceManager>> m_resources;
    std::shared_ptr<sf::RenderWindow> m_window;
    std::unique_ptr<pyx::gfx::Camera> m_camera;
    int m_cellSize;
    bool m_ready = false;
};

} // namespace ironmoat::tools
