#include "tests/e2e/E2eSupport.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <thread>
#include <vector>

// Damaged or missing data must never stop the game: every case below breaks
// the runtime folder in one way, then starts a match from the menu, lets it
// run and closes the window as a user would. Where the damage takes the
// pictures or the GUI font away, the screen must show exactly that: nothing
// drawn in their place.

namespace ironmoat::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const char* const DefaultFontEntry = "Fonts\\Charis-SIL\\Font-Face-R.ttf";

fs::path builtData() {
    return fs::path(IRONMOAT_BINARY_DIR) / "game" / "data";
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Replaces the linked data folder by a real one holding copies of the
// archives, so that a case may damage them without touching the build.
fs::path ownData(const RuntimeFolder& folder, bool core, bool game) {
    const fs::path data = folder.path() / "data";
    fs::remove(data);
    fs::create_directory(data);
    if (core)
        fs::copy_file(builtData() / "core.dat", data / "core.dat");
    if (game)
        fs::copy_file(builtData() / "ironmoat.dat", data / "ironmoat.dat");
    return data;
}

std::uint32_t getU32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

void putU32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Where an entry's record and its data lie in an intact archive.
struct EntrySpot {
    std::size_t sizeField = 0;
    std::size_t dataStart = 0;
    std::uint32_t size = 0;
};

// Reads the index of an intact archive: 16-byte header, then records of
// name length (2), name, offset (4), size (4), CRC (4); the data follows.
std::map<std::string, EntrySpot> indexOf(const std::string& bytes) {
    std::map<std::string, EntrySpot> spots;
    std::map<std::string, std::uint32_t> offsets;
    const std::uint32_t count = getU32(bytes, 10);
    std::size_t at = 16;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t length =
            static_cast<unsigned char>(bytes[at]) |
            (static_cast<std::size_t>(static_cast<unsigned char>(bytes[at + 1])) << 8);
        const std::string name = bytes.substr(at + 2, length);
        at += 2 + length;
        offsets[name] = getU32(bytes, at);
        spots[name] = EntrySpot{at + 4, 0, getU32(bytes, at + 4)};
        at += 12;
    }
    for (auto& [name, spot] : spots)
        spot.dataStart = at + offsets[name];
    return spots;
}

// The archive damages, each applied to a copy of one archive.
void truncateToHalf(const fs::path& dat) {
    fs::resize_file(dat, fs::file_size(dat) / 2);
}

void flipByteIn(const fs::path& dat, const std::string& entry) {
    std::string bytes = readFile(dat);
    const std::map<std::string, EntrySpot> index = indexOf(bytes);
    ASSERT_EQ(index.count(entry), 1u) << entry << " is not in " << dat;
    const EntrySpot spot = index.at(entry);
    const std::size_t at = spot.dataStart + spot.size / 2;
    bytes[at] = static_cast<char>(bytes[at] ^ 0x5A);
    writeFile(dat, bytes);
}

void claimFourBillionEntries(const fs::path& dat) {
    std::string bytes = readFile(dat);
    putU32(bytes, 10, 0xFFFFFFF0u);
    writeFile(dat, bytes);
}

void claimFourGiBEntry(const fs::path& dat, const std::string& entry) {
    std::string bytes = readFile(dat);
    const std::map<std::string, EntrySpot> index = indexOf(bytes);
    ASSERT_EQ(index.count(entry), 1u) << entry << " is not in " << dat;
    putU32(bytes, index.at(entry).sizeField, 0xFFFFFFFFu);
    writeFile(dat, bytes);
}

struct BrokenCase {
    const char* name;
    std::function<void(RuntimeFolder&)> prepare;
    // The GUI's default font cannot load: no text may appear.
    bool fontFails = false;
    // No picture can load: the field must be one plain colour.
    bool picturesMissing = false;
    bool logsMissing = false;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const BrokenCase& broken, std::ostream* out) {
    *out << broken.name;
}

fs::path gameDat(RuntimeFolder& f) {
    return ownData(f, true, true) / "ironmoat.dat";
}
fs::path coreDat(RuntimeFolder& f) {
    return ownData(f, true, true) / "core.dat";
}

std::vector<BrokenCase> brokenCases() {
    return {
        {"BothArchivesMissing", [](RuntimeFolder& f) { ownData(f, false, false); }, true, true},
        {"GameArchiveTruncatedToHalf", [](RuntimeFolder& f) { truncateToHalf(gameDat(f)); }, false,
         true},
        {"GameArchiveFlippedByteInAnEntry",
         [](RuntimeFolder& f) { flipByteIn(gameDat(f), "tank_tileset.png"); }},
        {"GameArchiveHeaderClaimsFourBillionEntries",
         [](RuntimeFolder& f) { claimFourBillionEntries(gameDat(f)); }, false, true},
        {"GameArchiveEntryClaimsFourGiB",
         [](RuntimeFolder& f) { claimFourGiBEntry(gameDat(f), "tank_tileset.png"); }, false, true},
        {"CoreArchiveTruncatedToHalf", [](RuntimeFolder& f) { truncateToHalf(coreDat(f)); }, true},
        {"CoreArchiveFlippedByteInAnEntry",
         [](RuntimeFolder& f) { flipByteIn(coreDat(f), DefaultFontEntry); }, true},
        {"CoreArchiveHeaderClaimsFourBillionEntries",
         [](RuntimeFolder& f) { claimFourBillionEntries(coreDat(f)); }, true},
        {"CoreArchiveEntryClaimsFourGiB",
         [](RuntimeFolder& f) { claimFourGiBEntry(coreDat(f), DefaultFontEntry); }, true},
        {"FontsArchiveMissing", [](RuntimeFolder& f) { ownData(f, false, true); }, true},
        {"PictureThatIsNotAPng",
         [](RuntimeFolder& f) {
             const fs::path dat = gameDat(f);
             const fs::path text = f.path() / "not-a-picture.txt";
             writeFile(text, "this is plain text, not a picture\n");
             const std::string command = fs::path(IRONMOAT_BINARY_DIR).string() +
                                         "/tools/pyxarc/pyxarc add '" + dat.string() +
                                         "' 'tank_tileset.png=" + text.string() + "' >/dev/null";
             ASSERT_EQ(std::system(command.c_str()), 0) << command;
         }},
        {"OddFilesInTheMapsFolder",
         [](RuntimeFolder& f) {
             // The tests run as root, for whom mode 000 does not stop reading;
             // the file is kept so that an ordinary user's run covers it too.
             const fs::path maps = f.path() / "maps";
             writeFile(maps / "empty.mtc", "");
             std::string binary(4096, '\0');
             for (std::size_t i = 0; i < binary.size(); ++i)
                 binary[i] = static_cast<char>((i * 131 + 7) & 0xFF);
             writeFile(maps / "binary.mtc", binary);
             fs::create_directory(maps / "x.mtc");
             writeFile(maps / "locked.mtc", "bbbb\n");
             fs::permissions(maps / "locked.mtc", fs::perms::none);
         }},
        {"NoLogsFolder", [](RuntimeFolder& f) { fs::remove_all(f.path() / "logs"); }, false, false,
         true},
    };
}

// Pixels inside a button that differ from its face's most common colour:
// the caption's, when a font draws it.
int captionPixels(const sf::Image& image, int left, int top, int width, int height) {
    std::map<std::uint32_t, int> colours;
    for (int y = top + 3; y < top + height - 3; ++y)
        for (int x = left + 3; x < left + width - 3; ++x)
            ++colours[image.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y))
                          .toInteger()];
    int total = 0, most = 0;
    for (const auto& [colour, count] : colours) {
        total += count;
        most = std::max(most, count);
    }
    return total - most;
}

// Pixels other than the desktop's grey above the menu's pictures, where the
// title is written (the tank pictures reach up to 60 pixels above the
// first button's top).
int titlePixels(const sf::Image& image, const MenuButtons& buttons) {
    int count = 0;
    for (int y = 0; y < buttons.singlePlayerTop - 65; ++y)
        for (unsigned x = 0; x < image.getSize().x; ++x)
            if (image.getPixel(x, static_cast<unsigned>(y)) != DesktopGrey)
                ++count;
    return count;
}

class E2eBrokenData : public ::testing::TestWithParam<BrokenCase> {
protected:
    void TearDown() override {
        if (game && window != 0 && !game->waitForExit(0ms)) {
            x.sendDeleteWindow(window);
            game->waitForExit(20s);
        }
        std::error_code ignored;
        fs::permissions(folder.path() / "maps" / "locked.mtc", fs::perms::owner_all, ignored);
    }

    XSession x;
    RuntimeFolder folder;
    std::unique_ptr<GameProcess> game;
    WindowId window = 0;
};

TEST_P(E2eBrokenData, MatchStartsRunsAndClosesCleanly) {
    const BrokenCase& broken = GetParam();
    ASSERT_TRUE(x.connected()) << "no X server on DISPLAY";
    broken.prepare(folder);
    ASSERT_FALSE(HasFatalFailure());

    game = std::make_unique<GameProcess>(folder);
    window = x.findWindow(GameTitle, 30s);
    ASSERT_NE(window, 0u) << "no window titled " << GameTitle
                          << "; stderr: " << readFile(folder.path() / "stderr.txt");
    ASSERT_TRUE(x.place(window, 0, 0));
    x.focus(window);

    // The menu as the player sees it before choosing.
    std::optional<MenuButtons> buttons;
    const std::optional<sf::Image> menu = x.waitForShot(
        window,
        [&](const sf::Image& image) { return (buttons = findMenuButtons(image)).has_value(); },
        30s);
    ASSERT_TRUE(menu.has_value()) << "the menu's buttons never appeared";
    const int single = captionPixels(*menu, buttons->left, buttons->singlePlayerTop, buttons->width,
                                     buttons->height);
    const int two = captionPixels(*menu, buttons->left, buttons->twoPlayersTop, buttons->width,
                                  buttons->height);
    const int title = titlePixels(*menu, *buttons);
    if (broken.fontFails) {
        // A font that failed to load draws nothing, not even a dot.
        EXPECT_EQ(single, 0) << "text on the Single player button without a font";
        EXPECT_EQ(two, 0) << "text on the Two players button without a font";
        EXPECT_EQ(title, 0) << "title drawn without a font";
    } else {
        // The same measures see the text when the font is there.
        EXPECT_GT(single, 50) << "no caption on the Single player button";
        EXPECT_GT(two, 50) << "no caption on the Two players button";
        EXPECT_GT(title, 1000) << "no title";
    }

    ASSERT_TRUE(clickMatchStart(x, window, false, 5s).has_value());
    const std::optional<sf::Image> match = x.waitForShot(window, matchPanelShown, 30s);
    ASSERT_TRUE(match.has_value()) << "no match panel after clicking Single player";
    std::this_thread::sleep_for(3s);
    ASSERT_FALSE(game->waitForExit(0ms).has_value()) << "the game ended during the match";

    if (broken.picturesMissing) {
        // No picture can be drawn, the ground's neither: the field shows one
        // plain colour. Without the campaign there is no base, so the result
        // overlay's GAME OVER crosses it in one band of text; every other
        // row must be plain.
        const std::optional<sf::Image> now = x.shot(window);
        ASSERT_TRUE(now.has_value());
        const sf::Color ground = now->getPixel(350, 10);
        int rows = 0, plainRows = 0;
        for (unsigned y = 2; y < 700; y += 4) {
            bool plain = true;
            for (unsigned x2 = 2; x2 < 700 && plain; x2 += 2)
                plain = now->getPixel(x2, y) == ground;
            ++rows;
            plainRows += plain ? 1 : 0;
        }
        EXPECT_GE(plainRows, rows * 4 / 5)
            << "pictures drawn on the field: only " << plainRows << " of " << rows << " rows plain";
        EXPECT_TRUE(ground == sf::Color::Black || ground == DesktopGrey)
            << "field colour " << int(ground.r) << "," << int(ground.g) << "," << int(ground.b);
    }

    ASSERT_TRUE(x.sendDeleteWindow(window));
    const std::optional<int> status = game->waitForExit(30s);
    ASSERT_TRUE(status.has_value()) << "the game did not exit after WM_DELETE_WINDOW";
    EXPECT_EQ(*status, 0) << "stderr: " << readFile(folder.path() / "stderr.txt");
    if (broken.logsMissing) {
        const std::string err = readFile(folder.path() / "stderr.txt");
        EXPECT_NE(err.find("Failed to open file logs/pyx_"), std::string::npos) << err;
        EXPECT_NE(err.find("! Disabling file logging.."), std::string::npos) << err;
    } else {
        EXPECT_NE(folder.lastLogLine().find("Logging thread finished."), std::string::npos)
            << "last log line: " << folder.lastLogLine();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, E2eBrokenData, ::testing::ValuesIn(brokenCases()),
                         [](const ::testing::TestParamInfo<BrokenCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace ironmoat::e2e
