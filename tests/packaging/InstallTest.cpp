// The Linux installation as a player gets it: this build installed with
// `cmake --install` into a temporary DESTDIR, the installed launcher started
// as the menu entry starts it, the desktop files checked by the desktop's
// own validators and the Debian package by lintian.

#include "tests/e2e/E2eSupport.hpp"
#include "tests/tools/AssetsToolSupport.hpp"

#include <gtest/gtest.h>

#include <SFML/Graphics/Image.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using ironmoat::e2e::GameProcess;
using ironmoat::testing::CommandResult;
using ironmoat::testing::quoted;
using ironmoat::testing::readFile;
using ironmoat::testing::runCommand;

const char* const AppId = "org.ironmoat.ironmoat";
const char* const EditorTitle = "IronMoat map editor";

class InstallTest : public ::testing::Test {
protected:
    // One installation for the whole suite, as `make install DESTDIR=...`
    // makes it.
    static void SetUpTestSuite() {
        std::random_device seed;
        s_root = fs::temp_directory_path() /
                 ("ironmoat-install-" + std::to_string(::getpid()) + "-" + std::to_string(seed()));
        fs::create_directories(s_root);
        const CommandResult install =
            runCommand("DESTDIR=" + quoted(s_root / "stage") + " cmake --install " +
                       quoted(IRONMOAT_BINARY_DIR) + " --prefix /usr/local");
        s_installed = install.exitCode == 0;
        s_installLog = install.output;
    }

    static void TearDownTestSuite() {
        std::error_code ignored;
        fs::remove_all(s_root, ignored);
    }

    void SetUp() override { ASSERT_TRUE(s_installed) << s_installLog; }

    static fs::path prefix() { return s_root / "stage/usr/local"; }
    static fs::path launcher() { return prefix() / "games/ironmoat"; }
    static fs::path editorLauncher() { return prefix() / "games/ironmoat-editor"; }

    static fs::path s_root;
    static bool s_installed;
    static std::string s_installLog;
};

fs::path InstallTest::s_root;
bool InstallTest::s_installed = false;
std::string InstallTest::s_installLog;

// A relative XDG_DATA_HOME must be ignored, and a data link left by an
// older installation must be pointed at this one; the game then finds its
// archives (the menu is drawn), writes its log into the player's folder and
// exits 0 when its window is closed.
TEST_F(InstallTest, LauncherRunsTheGameInThePlayersOwnFolder) {
    const fs::path home = s_root / "home";
    const fs::path player = home / ".local/share/ironmoat";
    fs::create_directories(player);
    fs::create_directory_symlink(s_root / "old-prefix/share/ironmoat/data", player / "data");

    GameProcess game(s_root, {launcher().string()},
                     {"HOME=" + home.string(), "XDG_DATA_HOME=relative/share"}, s_root);
    ironmoat::e2e::XSession x;
    ASSERT_TRUE(x.connected());
    const ironmoat::e2e::WindowId window = x.findWindow(ironmoat::e2e::GameTitle, 30s);
    ASSERT_NE(window, 0u) << readFile(s_root / "stderr.txt");
    x.place(window, 0, 0);
    const auto menu = x.waitForShot(
        window,
        [](const sf::Image& shot) { return ironmoat::e2e::findMenuButtons(shot).has_value(); },
        30s);
    EXPECT_TRUE(menu.has_value()) << "the installed game never drew its menu";

    EXPECT_TRUE(fs::is_directory(player / "maps"));
    EXPECT_EQ(fs::read_symlink(player / "data"), fs::canonical(prefix() / "share/ironmoat/data"));
    EXPECT_FALSE(fs::exists(s_root / "relative")) << "a relative XDG_DATA_HOME was used";

    ASSERT_TRUE(x.sendDeleteWindow(window));
    const std::optional<int> status = game.waitForExit(20s);
    ASSERT_TRUE(status.has_value()) << "the game did not exit after WM_DELETE_WINDOW";
    EXPECT_EQ(*status, 0);
    int logs = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(player / "logs")) {
        ++logs;
        EXPECT_NE(readFile(entry.path()).find("Logging thread finished."), std::string::npos);
    }
    EXPECT_EQ(logs, 1);
}

// The editor's launcher prepares the same folder and runs the editor there,
// yet a map named relative to the folder it was started from is the one that
// opens: the brick wall of that file is drawn with the installed archives'
// pictures. Closed with nothing changed, it exits 0 and leaves its log.
TEST_F(InstallTest, EditorLauncherRunsTheEditorInThePlayersOwnFolder) {
    const fs::path xdg = s_root / "editor-xdg";
    const fs::path player = xdg / "ironmoat";
    const fs::path caller = s_root / "editor-caller";
    fs::create_directories(caller / "sub");
    // Row 12 all brick, the rest empty ground.
    std::string level;
    for (int y = 0; y < 26; ++y) {
        level += std::string(26, y == 12 ? 'b' : ' ') + "\n";
    }
    std::ofstream(caller / "sub/wall.mtc", std::ios::binary) << level;

    GameProcess editor(caller, {editorLauncher().string(), "sub/wall.mtc"},
                       {"XDG_DATA_HOME=" + xdg.string()}, s_root);
    ironmoat::e2e::XSession x;
    ASSERT_TRUE(x.connected());
    const ironmoat::e2e::WindowId window = x.findWindow(EditorTitle, 30s);
    ASSERT_NE(window, 0u) << readFile(s_root / "stderr.txt");
    x.place(window, 0, 0);
    // The field's cells are 25 pixels from (194, 10): row 12 is red-brown
    // brick (with grey mortar lines), row 5 dark ground.
    const auto reddish = [](const sf::Image& shot, int row) {
        int red = 0;
        for (int x = 194 + 5; x < 194 + 26 * 25; x += 10) {
            for (int dy = 5; dy < 25; dy += 5) {
                const sf::Color c = shot.getPixel(static_cast<unsigned>(x),
                                                  static_cast<unsigned>(10 + 25 * row + dy));
                red += c.r > c.g + 40 && c.r > c.b + 40 ? 1 : 0;
            }
        }
        return red;
    };
    const auto shot = x.waitForShot(
        window,
        [&](const sf::Image& i) {
            return i.getPixel(5, 715) == ironmoat::e2e::DesktopGrey && reddish(i, 12) > 150;
        },
        30s);
    ASSERT_TRUE(shot.has_value()) << "the installed editor never drew sub/wall.mtc\n"
                                  << readFile(s_root / "stderr.txt");
    EXPECT_EQ(reddish(*shot, 5), 0);
    EXPECT_TRUE(fs::is_directory(player / "maps"));
    EXPECT_EQ(fs::read_symlink(player / "data"), fs::canonical(prefix() / "share/ironmoat/data"));

    ASSERT_TRUE(x.sendDeleteWindow(window));
    const std::optional<int> status = editor.waitForExit(20s);
    ASSERT_TRUE(status.has_value()) << "the editor did not exit after WM_DELETE_WINDOW";
    EXPECT_EQ(*status, 0);
    EXPECT_FALSE(fs::is_empty(player / "logs"));
    EXPECT_EQ(readFile(caller / "sub/wall.mtc"), level);
}

// Where the player's folder cannot be made, or its data/ is the player's own
// folder rather than the link, the launcher says so and fails before the
// game starts; the player's folder is left alone.
TEST_F(InstallTest, LauncherStopsWithAClearMessage) {
    const fs::path notAFolder = s_root / "home-is-a-file";
    std::ofstream(notAFolder) << "x";
    {
        GameProcess launch(s_root, {launcher().string()},
                           {"HOME=" + notAFolder.string(), "XDG_DATA_HOME"}, s_root);
        const std::optional<int> status = launch.waitForExit(10s);
        ASSERT_TRUE(status.has_value());
        EXPECT_EQ(*status, 1);
        EXPECT_NE(
            readFile(s_root / "stderr.txt").find("ironmoat: cannot create your IronMoat folder"),
            std::string::npos)
            << readFile(s_root / "stderr.txt");
    }
    const fs::path xdg = s_root / "xdg";
    fs::create_directories(xdg / "ironmoat/data");
    std::ofstream(xdg / "ironmoat/data/mine.txt") << "keep";
    {
        GameProcess launch(s_root, {launcher().string()}, {"XDG_DATA_HOME=" + xdg.string()},
                           s_root);
        const std::optional<int> status = launch.waitForExit(10s);
        ASSERT_TRUE(status.has_value());
        EXPECT_EQ(*status, 1);
        EXPECT_NE(readFile(s_root / "stderr.txt").find("is not a link to the installed archives"),
                  std::string::npos)
            << readFile(s_root / "stderr.txt");
        EXPECT_EQ(readFile(xdg / "ironmoat/data/mine.txt"), "keep");
    }
}

// The menu entry and the AppStream metadata pass the validators the
// desktops use, and the icon the entry names exists in every size of the
// hicolor theme at exactly that size.
TEST_F(InstallTest, DesktopEntryMetainfoAndIconsAreValid) {
    const fs::path share = prefix() / "share";
    const fs::path desktop = share / "applications" / (std::string(AppId) + ".desktop");
    const fs::path editor = share / "applications" / (std::string(AppId) + ".editor.desktop");
    for (const fs::path& file : {desktop, editor}) {
        const CommandResult entry = runCommand("desktop-file-validate " + quoted(file));
        EXPECT_EQ(entry.exitCode, 0) << entry.output;
        EXPECT_EQ(entry.output, "") << file;
        // Each entry names the icon installed below.
        EXPECT_NE(readFile(file).find("\nIcon=" + std::string(AppId) + "\n"), std::string::npos);
    }
    const CommandResult meta =
        runCommand("appstreamcli validate --no-net --pedantic " +
                   quoted(share / "metainfo" / (std::string(AppId) + ".metainfo.xml")));
    EXPECT_EQ(meta.exitCode, 0) << meta.output;

    // The entries start the launchers by their installed paths (DESTDIR is
    // not part of them).
    EXPECT_NE(readFile(desktop).find("\nExec=/usr/local/games/ironmoat\n"), std::string::npos)
        << readFile(desktop);
    EXPECT_NE(readFile(editor).find("\nExec=/usr/local/games/ironmoat-editor %f\n"),
              std::string::npos)
        << readFile(editor);
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const std::string n = std::to_string(size);
        sf::Image icon;
        ASSERT_TRUE(icon.loadFromFile(
            (share / "icons/hicolor" / (n + "x" + n) / "apps" / (std::string(AppId) + ".png"))
                .string()))
            << n;
        EXPECT_EQ(icon.getSize(), sf::Vector2u(size, size));
        // Rounded corners: (almost) transparent at the corner, opaque in the
        // middle.
        EXPECT_LT(icon.getPixel(0, 0).a, 32) << n;
        EXPECT_EQ(icon.getPixel(size / 2, size / 2).a, 255) << n;
    }
}

// The Debian package built by CPack from the same rules: no lintian errors,
// its unpacked tree valid for AppStream, the launcher where Debian keeps
// games, and the libraries it links found by dpkg-shlibdeps.
TEST_F(InstallTest, DebianPackagePassesLintian) {
    const fs::path out = s_root / "deb";
    const CommandResult pack =
        runCommand("cd " + quoted(IRONMOAT_BINARY_DIR) + " && cpack -G DEB -B " + quoted(out));
    ASSERT_EQ(pack.exitCode, 0) << pack.output;
    fs::path deb;
    for (const fs::directory_entry& entry : fs::directory_iterator(out)) {
        if (entry.path().extension() == ".deb") {
            deb = entry.path();
        }
    }
    ASSERT_FALSE(deb.empty()) << pack.output;

    const CommandResult lint = runCommand("lintian --fail-on error " + quoted(deb));
    EXPECT_EQ(lint.exitCode, 0) << lint.output;
    EXPECT_EQ(lint.output.find("\nE: "), std::string::npos) << lint.output;
    EXPECT_NE(lint.output.rfind("E: ", 0), 0u) << lint.output;
    // Every command in the package has its manual page.
    EXPECT_EQ(lint.output.find("binary-without-manpage"), std::string::npos) << lint.output;

    // The tree as dpkg unpacks it: the menu entry and the metadata belong
    // together and the icon is found.
    const CommandResult tree =
        runCommand("dpkg-deb -x " + quoted(deb) + " " + quoted(out / "tree") +
                   " && appstreamcli validate-tree --no-net " + quoted(out / "tree"));
    EXPECT_EQ(tree.exitCode, 0) << tree.output;

    const CommandResult depends = runCommand("dpkg-deb -f " + quoted(deb) + " Depends");
    EXPECT_NE(depends.output.find("libsfml-graphics2.5"), std::string::npos) << depends.output;
    const CommandResult files = runCommand("dpkg-deb -c " + quoted(deb));
    EXPECT_NE(files.output.find(" ./usr/games/ironmoat\n"), std::string::npos) << files.output;
    EXPECT_NE(files.output.find(" ./usr/games/ironmoat-editor -> ironmoat\n"), std::string::npos)
        << files.output;
    EXPECT_NE(files.output.find(" ./usr/libexec/ironmoat/ironmoat-editor\n"), std::string::npos);
    EXPECT_NE(files.output.find(" ./usr/share/ironmoat/data/ironmoat.dat\n"), std::string::npos);
    EXPECT_NE(readFile(out / "tree/usr/share/applications" / (std::string(AppId) + ".desktop"))
                  .find("\nExec=/usr/games/ironmoat\n"),
              std::string::npos);
}

} // namespace
