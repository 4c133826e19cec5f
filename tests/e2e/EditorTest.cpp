#include "tests/e2e/E2eSupport.hpp"

#include <SFML/Graphics/Image.hpp>
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

// The map editor as a player uses it: real X pointer and keys on the real
// executable, started in a runtime folder with the game's archives.

namespace ironmoat::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* EditorTitle = "IronMoat map editor";

// The editor's layout in its 1280 x 720 window: the field starts at
// (194, 10) with 25-pixel cells; the name field lies at the right, the
// status line along the bottom.
constexpr int FieldLeft = 194;
constexpr int FieldTop = 10;
constexpr int Cell = 25;
constexpr int NameX = 950;
constexpr int NameY = 47;

int cellX(int x) {
    return FieldLeft + Cell * x + Cell / 2;
}
int cellY(int y) {
    return FieldTop + Cell * y + Cell / 2;
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The level text with the given rows changed; the rest blank.
std::string levelWith(const std::vector<std::pair<int, std::string>>& rows) {
    std::vector<std::string> lines(26, std::string(26, ' '));
    for (const auto& [y, text] : rows) {
        lines[static_cast<std::size_t>(y)] = text;
    }
    std::string out;
    for (const std::string& line : lines) {
        out += line + "\n";
    }
    return out;
}

// The status line shows an error in its salmon colour.
bool statusShowsError(const sf::Image& image) {
    for (unsigned y = 690; y < 716; ++y) {
        for (unsigned x = 10; x < 400; ++x) {
            const sf::Color c = image.getPixel(x, y);
            if (c.r > 230 && c.g > 110 && c.g < 170 && c.b > 90 && c.b < 150) {
                return true;
            }
        }
    }
    return false;
}

// Brick pictures are mostly red-brown; the ground is dark and grey-green.
bool cellLooksBrick(const sf::Image& image, int x, int y) {
    int red = 0;
    for (int dy = -8; dy <= 8; dy += 4) {
        for (int dx = -8; dx <= 8; dx += 4) {
            const sf::Color c = image.getPixel(static_cast<unsigned>(cellX(x) + dx),
                                               static_cast<unsigned>(cellY(y) + dy));
            red += c.r > c.g + 40 && c.r > c.b + 40 ? 1 : 0;
        }
    }
    return red >= 10;
}

class E2eEditor : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(x.connected());
        fs::create_symlink(fs::path(IRONMOAT_BINARY_DIR) / "game" / "ironmoat-editor",
                           folder.path() / "ironmoat-editor");
    }

    // Starts the editor and waits for its first frame.
    WindowId start(std::unique_ptr<GameProcess>& process, const std::vector<std::string>& args) {
        process = std::make_unique<GameProcess>(folder, "ironmoat-editor", args);
        const WindowId window = x.findWindow(EditorTitle, 20s);
        if (window == 0) {
            return 0;
        }
        x.place(window, 0, 0);
        x.focus(window);
        const auto drawn = x.waitForShot(
            window, [](const sf::Image& i) { return i.getPixel(5, 715) == DesktopGrey; }, 20s);
        return drawn ? window : 0;
    }

    // Every step waits for a few frames afterwards: the machine may be
    // busy, and a step whose events land in the same frame as the next one
    // would be judged together with it (a click that moves the keyboard
    // focus, then the keys meant for the newly focused field).
    void ctrl(unsigned long keysym) {
        x.setKey(XK_Control_L, true);
        x.tapKey(keysym);
        x.setKey(XK_Control_L, false);
        std::this_thread::sleep_for(300ms);
    }
    void key(unsigned long keysym) {
        x.tapKey(keysym);
        std::this_thread::sleep_for(150ms);
    }

    void dragCells(WindowId window, unsigned button, int x0, int y0, int x1, int y1) {
        x.moveTo(window, cellX(x0), cellY(y0));
        x.setButton(button, true);
        std::this_thread::sleep_for(100ms);
        // Large jumps on purpose: the stroke must fill the cells in between.
        x.moveTo(window, (cellX(x0) + cellX(x1)) / 2, (cellY(y0) + cellY(y1)) / 2);
        std::this_thread::sleep_for(100ms);
        x.moveTo(window, cellX(x1), cellY(y1));
        std::this_thread::sleep_for(100ms);
        x.setButton(button, false);
        std::this_thread::sleep_for(200ms);
    }

    // The editor reads the pointer once a frame: two clicks within one
    // frame would merge into one at the second place.
    // The pointer arrives first, as a hand's does.
    void clickAt(WindowId window, int px, int py) {
        x.moveTo(window, px, py);
        std::this_thread::sleep_for(150ms);
        x.click(window, px, py);
        std::this_thread::sleep_for(400ms);
    }
    void clickCell(WindowId window, int cx, int cy) { clickAt(window, cellX(cx), cellY(cy)); }
    // A marker's footprint is centred on the pointer: a click on the corner
    // its four cells share puts its top-left cell at (cx, cy).
    void clickFootprint(WindowId window, int cx, int cy) {
        clickAt(window, FieldLeft + Cell * (cx + 1), FieldTop + Cell * (cy + 1));
    }

    bool waitForFile(const fs::path& file, const std::string& bytes) {
        for (int i = 0; i < 100; ++i) {
            if (fs::exists(file) && readFile(file) == bytes) {
                return true;
            }
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }

    XSession x;
    RuntimeFolder folder;
};

TEST_F(E2eEditor, PaintsSavesUndoesRefusesABadNameAndReopens) {
    std::unique_ptr<GameProcess> editor;
    WindowId window = start(editor, {});
    ASSERT_NE(window, 0u);

    // A brick wall by one drag across row 5, then the markers.
    key(XK_2);
    dragCells(window, 1, 3, 5, 12, 5);
    key(XK_7);
    clickFootprint(window, 12, 24);
    key(XK_8);
    clickCell(window, 8, 24);      // the nearest footprint: (7, 23)
    clickFootprint(window, 8, 24); // overlaps it, so replaces it
    key(XK_9);
    clickFootprint(window, 0, 0);
    clickCell(window, 25, 0); // moved in: (24, 0)

    clickAt(window, NameX, NameY);
    x.typeText("wall-1");
    ctrl(XK_s);
    const fs::path saved = folder.path() / "maps" / "wall-1.mtc";
    const std::string expected = levelWith({{0, "0                       0 "},
                                            {5, "   bbbbbbbbbb             "},
                                            {24, "        2   1             "}});
    ASSERT_TRUE(waitForFile(saved, expected)) << readFile(saved);

    // A second stroke, undone: saving again writes the map without it.
    key(XK_Escape); // out of the name field: digits pick the palette again
    key(XK_5);
    dragCells(window, 1, 2, 10, 20, 10);
    ctrl(XK_z);
    ctrl(XK_s);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(readFile(saved), expected);
    // Erasing with the right button, then undo: the cells come back.
    dragCells(window, 3, 3, 5, 6, 5);
    ctrl(XK_z);
    ctrl(XK_s);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(readFile(saved), expected);

    // A name with a path separator: a message, and nothing written.
    clickAt(window, NameX, NameY);
    ctrl(XK_a);
    x.typeText("bad/name");
    ctrl(XK_s);
    EXPECT_TRUE(x.waitForShot(window, statusShowsError, 5s).has_value());
    std::this_thread::sleep_for(300ms);
    std::vector<std::string> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder.path() / "maps")) {
        files.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(files, std::vector<std::string>{"wall-1.mtc"});
    EXPECT_EQ(readFile(saved), expected);

    // Nothing unsaved: the close box ends the editor at once.
    x.sendDeleteWindow(window);
    const std::optional<int> closed = editor->waitForExit(10s);
    if (!closed) {
        x.savePng(window, "/tmp/ironmoat-editor-e2e-not-closed.png");
    }
    ASSERT_EQ(closed, std::optional<int>(0));

    // Reopened from the command line, the field shows the wall where it was.
    window = start(editor, {"maps/wall-1.mtc"});
    ASSERT_NE(window, 0u);
    const std::optional<sf::Image> shot = x.waitForShot(
        window, [](const sf::Image& i) { return cellLooksBrick(i, 3, 5); }, 10s);
    ASSERT_TRUE(shot.has_value());
    if (const char* keep = std::getenv("IRONMOAT_EDITOR_SHOT")) {
        shot->saveToFile(keep);
    }
    for (int cx = 3; cx <= 12; ++cx) {
        EXPECT_TRUE(cellLooksBrick(*shot, cx, 5)) << "cell " << cx;
    }
    EXPECT_FALSE(cellLooksBrick(*shot, 2, 5));
    EXPECT_FALSE(cellLooksBrick(*shot, 13, 5));
    EXPECT_FALSE(cellLooksBrick(*shot, 3, 6));

    // An unsaved change: the close box asks instead of closing; Escape
    // keeps editing, and Discard in the question ends the editor without
    // writing.
    key(XK_3);
    clickCell(window, 20, 20);
    x.sendDeleteWindow(window);
    EXPECT_FALSE(editor->waitForExit(1500ms).has_value());
    key(XK_Escape);
    EXPECT_FALSE(editor->waitForExit(500ms).has_value());
    x.sendDeleteWindow(window);
    std::this_thread::sleep_for(300ms);
    clickAt(window, 660, 397); // "Discard", the middle answer of the question
    EXPECT_EQ(editor->waitForExit(10s), std::optional<int>(0));
    EXPECT_EQ(readFile(saved), expected);
}

TEST_F(E2eEditor, RewritesATypedMapCopiesACampaignLevelAndAsksBeforeReplacingAMap) {
    // Typed elsewhere: CR LF ends, short lines, an upper-case letter the
    // game reads as empty ground, only three lines.
    const fs::path typed = folder.path() / "maps" / "typed.mtc";
    {
        std::ofstream out(typed, std::ios::binary);
        out << "bbB\r\n 1\r\nxx";
    }
    std::unique_ptr<GameProcess> editor;
    const WindowId window = start(editor, {"maps/typed.mtc"});
    ASSERT_NE(window, 0u);
    ctrl(XK_s);
    ASSERT_TRUE(waitForFile(typed, levelWith({{0, "bb                        "},
                                              {1, " 1                        "},
                                              {2, "xx                        "}})))
        << readFile(typed);

    // The list: "typed" first, then the campaign; a double click on level 01
    // opens it read-only (its bricks at (8, 2) appear), and saving without a
    // name writes nothing. On a busy machine both clicks can land in one
    // frame of the editor, or in frames further apart than the double-click
    // time, as a hand's would on a stalled program: the pair is given again.
    const int row1 = 156 + 1 + 22 + 11;
    bool opened = false;
    for (int attempt = 0; attempt < 3 && !opened; ++attempt) {
        x.click(window, 950, row1);
        std::this_thread::sleep_for(100ms);
        x.click(window, 950, row1);
        opened = x.waitForShot(
                      window, [](const sf::Image& i) { return cellLooksBrick(i, 8, 2); }, 3s)
                     .has_value();
    }
    ASSERT_TRUE(opened) << "a double click on level 01 did not open it";
    ctrl(XK_s);
    EXPECT_TRUE(x.waitForShot(window, statusShowsError, 5s).has_value());
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(
        std::distance(fs::directory_iterator(folder.path() / "maps"), fs::directory_iterator()), 1);

    // Under a new name it is saved as the player's own map, byte for byte
    // the level in the archive.
    clickAt(window, NameX, NameY);
    x.typeText("copy-01");
    ctrl(XK_s);
    const std::string campaign =
        readFile(fs::path(IRONMOAT_SOURCE_DIR) / "data/levels/Dunmark-level-01.mtc");
    ASSERT_EQ(campaign.size(), 702u);
    EXPECT_TRUE(waitForFile(folder.path() / "maps" / "copy-01.mtc", campaign));

    // Saving under the name of another existing map asks first: Escape
    // keeps that map, Enter (the first answer, Replace) writes over it.
    const std::string typedBytes = readFile(typed);
    clickAt(window, NameX, NameY);
    ctrl(XK_a);
    x.typeText("typed");
    ctrl(XK_s);
    const auto questionShown = [](const sf::Image& i) {
        return i.getPixel(640, 300) == sf::Color(240, 240, 240);
    };
    EXPECT_TRUE(x.waitForShot(window, questionShown, 5s).has_value());
    key(XK_Escape);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(readFile(typed), typedBytes);
    ctrl(XK_s);
    EXPECT_TRUE(x.waitForShot(window, questionShown, 5s).has_value());
    key(XK_Return);
    EXPECT_TRUE(waitForFile(typed, campaign));

    x.sendDeleteWindow(window);
    EXPECT_EQ(editor->waitForExit(10s), std::optional<int>(0));
}

} // namespace
} // namespace ironmoat::e2e
