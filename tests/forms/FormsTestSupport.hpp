#pragma once

// The forms on a real Application in a real window, inside a real switching
// window, run from a temporary working folder: its "maps" folder holds the
// test's own levels, and the two fonts lie at the paths the game asks the
// resource manager for, so they are read from disk. No archive is mounted,
// so the campaign levels are unreadable and only the test's levels play;
// the pictures are missing and draw nothing, except a clear wheel picture.

#include "game/forms/GameForm.hpp"
#include "game/forms/MainMenuForm.hpp"
#include "game/forms/SwitchingWindow.hpp"
#include "game/objects/Player.hpp"
#include "game/objects/World.hpp"
#include "tests/gui/GuiTestSupport.hpp"

#include <SFML/Graphics/Image.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace ironmoat::test {

// A level of 26 rows from the given rows; missing rows and columns are blank.
inline std::string levelText(const std::vector<std::string>& rows) {
    std::string text;
    for (int row = 0; row < 26; ++row) {
        std::string line = row < static_cast<int>(rows.size()) ? rows[row] : std::string();
        line.resize(26, ' ');
        text += line + "\n";
    }
    return text;
}

// A level whose row 24 holds the given markers and nothing else.
inline std::string markerLevel(const std::string& row24) {
    std::vector<std::string> rows(24);
    rows.push_back(row24);
    return levelText(rows);
}

class FormsFixture : public pyx::gui::test::GuiFixture {
protected:
    // Levels to write into "maps" before the fixture starts.
    virtual std::vector<std::string> levels() const {
        // Human spawn at (4, 24), base at (12, 24); no enemy spawn point.
        return {markerLevel("    2       1")};
    }

    void SetUp() override {
        m_previousDir = std::filesystem::current_path();
        char pattern[] = "/tmp/ironmoat-forms-XXXXXX";
        if (!mkdtemp(pattern))
            throw std::runtime_error("cannot make a temporary folder");
        m_folder = pattern;
        const std::filesystem::path fonts = m_folder / "@release" / "Core" / "Fonts" / "Charis-SIL";
        std::filesystem::create_directories(fonts);
        std::filesystem::copy_file("/usr/share/fonts/truetype/charis/CharisSIL-Regular.ttf",
                                   fonts / "Font-Face-R.ttf");
        std::filesystem::copy_file("/usr/share/fonts/truetype/charis/CharisSIL-Bold.ttf",
                                   fonts / "Font-Face-B.ttf");
        // A wheel picture of four clear frames: the tracks can turn, and
        // nothing shows of them.
        std::filesystem::create_directory(m_folder / "ironmoat");
        sf::Image wheels;
        wheels.create(320, 80, sf::Color::Transparent);
        wheels.saveToFile((m_folder / "ironmoat" / "wheels_tileset.png").string());
        std::filesystem::create_directory(m_folder / "maps");
        const std::vector<std::string> texts = levels();
        for (std::size_t i = 0; i < texts.size(); ++i) {
            std::ofstream out(m_folder / "maps" / ("level-" + std::to_string(i) + ".mtc"),
                              std::ios::binary);
            out << texts[i];
        }
        std::filesystem::current_path(m_folder);
        std::srand(7);

        GuiFixture::SetUp();
        pyx::wrp::Keyboard::setPollFunction([this](int key) { return heldKeys.count(key) != 0; });
        switching = app->getDesktop()->createChild<cmn::SwitchingWindow>();
        menu = switching->addShown<MainMenuForm>("menu");
        game = switching->addHidden<GameForm>("game");
        menu->setGameForm(game);
    }

    void TearDown() override {
        menu.reset();
        game.reset();
        switching.reset();
        GuiFixture::TearDown();
        std::error_code ignored;
        std::filesystem::current_path(m_previousDir, ignored);
        std::filesystem::remove_all(m_folder, ignored);
    }

    // One tick of the game form, as its timer would deliver it.
    void tick() { game->onTick(++m_tick); }
    // Ticks until the predicate holds or `limit` ticks have run; the number
    // of ticks run, or -1 when it never held.
    template <class Pred> int ticksUntil(Pred pred, int limit) {
        for (int i = 0; i < limit; ++i) {
            if (pred())
                return i;
            tick();
        }
        return pred() ? limit : -1;
    }
    // The drawn part of a frame without its update (and so without the
    // timer's real-time ticks): keyboard snapshot, then the game form's
    // drawing step.
    void drawGameFrame() {
        pyx::wrp::Keyboard::update();
        game->drawSelf(*app->getCamera());
    }

    cmn::World& world() { return *game->getWorld(); }
    std::shared_ptr<cmn::Player> player(std::size_t index) {
        return game->getWorld()->players().at(index);
    }
    bool menuShown() const { return menu->isActive() && !game->isActive(); }

    std::set<int> heldKeys;
    std::shared_ptr<cmn::SwitchingWindow> switching;
    std::shared_ptr<MainMenuForm> menu;
    std::shared_ptr<GameForm> game;

private:
    std::filesystem::path m_previousDir;
    std::filesystem::path m_folder;
    std::uint64_t m_tick = 0;
};

} // namespace ironmoat::test
