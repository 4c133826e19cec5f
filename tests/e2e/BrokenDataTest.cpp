#include "tests/e2e/E2eSupport.hpp"

#include <SFML/Graphics/Image.hpp>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>
#include <vector>

// Damaged or missing data must never stop the game: every case below breaks
// the runtime folder in one way, then starts a match from the menu, lets it
// run and closes the window as a user would.

namespace ironmoat::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const char* const Title = "IronMoat v1.0 (Dunmark PYX Remake)";
const sf::Color Desktop(55, 55, 55);

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

void putU32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

struct BrokenCase {
    const char* name;
    std::function<void(RuntimeFolder&)> prepare;
    bool picturesMissing = false;
    bool logsMissing = false;
};

std::vector<BrokenCase> brokenCases() {
    return {
        {"BothArchivesMissing", [](RuntimeFolder& f) { ownData(f, false, false); }, true},
        {"GameArchiveTruncatedToHalf",
         [](RuntimeFolder& f) {
             const fs::path dat = ownData(f, true, true) / "ironmoat.dat";
             fs::resize_file(dat, fs::file_size(dat) / 2);
         }},
        {"FlippedByteInsideAnEntry",
         [](RuntimeFolder& f) {
             // The data region ends the file: a byte near the end lies in the
             // last entry, whose checksum then no longer matches.
             const fs::path dat = ownData(f, true, true) / "ironmoat.dat";
             std::string bytes = readFile(dat);
             bytes[bytes.size() - 10] = static_cast<char>(bytes[bytes.size() - 10] ^ 0x5A);
             writeFile(dat, bytes);
         }},
        {"HeaderClaimsFourBillionEntries",
         [](RuntimeFolder& f) {
             const fs::path dat = ownData(f, true, true) / "ironmoat.dat";
             std::string bytes = readFile(dat);
             putU32(bytes, 10, 0xFFFFFFF0u);
             writeFile(dat, bytes);
         }},
        {"EntryClaimsFourGiB",
         [](RuntimeFolder& f) {
             // The first record follows the 16-byte header: name length,
             // name, offset, then the size that is made huge.
             const fs::path dat = ownData(f, true, true) / "ironmoat.dat";
             std::string bytes = readFile(dat);
             const std::size_t nameLength = static_cast<unsigned char>(bytes[16]) |
                                            (static_cast<unsigned char>(bytes[17]) << 8);
             putU32(bytes, 18 + nameLength + 4, 0xFFFFFFFFu);
             writeFile(dat, bytes);
         }},
        {"FontsArchiveMissing", [](RuntimeFolder& f) { ownData(f, false, true); }},
        {"PictureThatIsNotAPng",
         [](RuntimeFolder& f) {
             const fs::path dat = ownData(f, true, true) / "ironmoat.dat";
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
        {"NoLogsFolder", [](RuntimeFolder& f) { fs::remove_all(f.path() / "logs"); }, false, true},
    };
}

// The menu's "Single player" button top, found in the column x = 600 under
// the title; nothing before the first frame or without buttons.
std::optional<int> singlePlayerTop(const sf::Image& image) {
    if (image.getPixel(2, 717) != Desktop)
        return std::nullopt;
    for (unsigned y = 140; y + 60 < image.getSize().y; ++y) {
        if (image.getPixel(600, y) == Desktop)
            continue;
        unsigned run = 0;
        while (run < 50 && image.getPixel(600, y + run) != Desktop)
            ++run;
        if (run < 45 || image.getPixel(560, y + 25) != Desktop)
            return std::nullopt;
        return static_cast<int>(y);
    }
    return std::nullopt;
}

bool panelShown(const sf::Image& image) {
    const sf::Color white(255, 255, 255);
    return image.getPixel(911, 100) == white && image.getPixel(1070, 100) == white &&
           image.getPixel(911, 290) == white;
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

    std::optional<sf::Image> shot() {
        const fs::path file = folder.path() / "shot.png";
        sf::Image image;
        if (!x.savePng(window, file) || !image.loadFromFile(file.string()))
            return std::nullopt;
        return image;
    }

    template <class Pred>
    std::optional<sf::Image> waitForShot(Pred pred, std::chrono::milliseconds timeout) {
        const auto end = Clock::now() + timeout;
        do {
            if (std::optional<sf::Image> image = shot(); image && pred(*image))
                return image;
            std::this_thread::sleep_for(100ms);
        } while (Clock::now() < end);
        return std::nullopt;
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
    window = x.findWindow(Title, 30s);
    ASSERT_NE(window, 0u) << "no window titled " << Title
                          << "; stderr: " << readFile(folder.path() / "stderr.txt");
    ASSERT_TRUE(x.place(window, 0, 0));
    x.focus(window);

    std::optional<int> top;
    const std::optional<sf::Image> menu = waitForShot(
        [&](const sf::Image& image) { return (top = singlePlayerTop(image)).has_value(); }, 30s);
    ASSERT_TRUE(menu.has_value()) << "the menu's buttons never appeared";
    const int width = x.size(window).first;
    x.click(window, (width - 150) / 2 + 75, *top + 25);

    const std::optional<sf::Image> match = waitForShot(panelShown, 30s);
    ASSERT_TRUE(match.has_value()) << "no match panel after clicking Single player";
    std::this_thread::sleep_for(3s);
    ASSERT_FALSE(game->waitForExit(0ms).has_value()) << "the game ended during the match";

    if (broken.picturesMissing) {
        // No picture can be drawn: the whole field is one plain colour.
        const std::optional<sf::Image> now = shot();
        ASSERT_TRUE(now.has_value());
        const sf::Color ground = now->getPixel(350, 350);
        int other = 0;
        for (unsigned y = 2; y < 700; y += 4)
            for (unsigned x2 = 2; x2 < 700; x2 += 4)
                if (now->getPixel(x2, y) != ground)
                    ++other;
        EXPECT_EQ(other, 0) << "pictures drawn on the field";
        EXPECT_TRUE(ground == sf::Color::Black || ground == Desktop)
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
