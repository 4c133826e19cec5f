#include "engine/platform/Keyboard.hpp"

#include <gtest/gtest.h>

#include <set>

using pyx::wrp::Keyboard;

namespace {

// Keys are held through the poll seam, so no real keyboard is needed.
class PlatformKeyboard : public ::testing::Test {
protected:
    void SetUp() override {
        Keyboard::setPollFunction([this](Keyboard::Key k) { return held.count(k) > 0 || allDown; });
    }
    void TearDown() override { Keyboard::setPollFunction({}); }

    std::set<Keyboard::Key> held;
    bool allDown = false;
    Keyboard keyboard;
};

} // namespace

TEST_F(PlatformKeyboard, HeldKeyIsPressedInItsFirstFrameOnlyAndReleasedForOne) {
    held = {Keyboard::Right};
    keyboard.update(true);
    EXPECT_TRUE(keyboard.isKeyDown(Keyboard::Right));
    EXPECT_TRUE(keyboard.wasPressed(Keyboard::Right));
    EXPECT_TRUE(keyboard.hasChanged(Keyboard::Right));
    for (int frame = 0; frame < 2; ++frame) {
        keyboard.update(true);
        EXPECT_TRUE(keyboard.isKeyDown(Keyboard::Right));
        EXPECT_FALSE(keyboard.wasPressed(Keyboard::Right));
        EXPECT_FALSE(keyboard.hasChanged(Keyboard::Right));
    }
    held.clear();
    keyboard.update(true);
    EXPECT_FALSE(keyboard.isKeyDown(Keyboard::Right));
    EXPECT_TRUE(keyboard.wasReleased(Keyboard::Right));
    keyboard.update(true);
    EXPECT_FALSE(keyboard.wasReleased(Keyboard::Right));
    EXPECT_FALSE(keyboard.hasChanged(Keyboard::Right));
}

TEST_F(PlatformKeyboard, DownListsAreAscendingAndMergingKeepsEarlierKeys) {
    held = {Keyboard::Down, Keyboard::A, Keyboard::LControl};
    keyboard.update(true);
    EXPECT_EQ(keyboard.downKeys(), (std::vector<int>{0, 37, 74}));
    held = {Keyboard::W};
    keyboard.update(false); // merged: the earlier keys stay down
    EXPECT_EQ(keyboard.downKeys(), (std::vector<int>{0, 22, 37, 74}));
    keyboard.update(true);
    EXPECT_EQ(keyboard.downKeys(), (std::vector<int>{22}));
    EXPECT_EQ(keyboard.downKeys(true), (std::vector<int>{0, 22, 37, 74}));
}

TEST_F(PlatformKeyboard, CodesOutsideTheTableAreNeverDown) {
    allDown = true;
    keyboard.update(true);
    EXPECT_EQ(keyboard.downKeys().size(), 101u); // V and Escape are polled too
    for (int code : {-1, 101, 1000}) {
        EXPECT_FALSE(keyboard.isKeyDown(code));
        EXPECT_FALSE(keyboard.wasPressed(code));
        EXPECT_FALSE(keyboard.hasChanged(code));
        EXPECT_FALSE(Keyboard::pollKey(code));
    }
    EXPECT_TRUE(keyboard.isKeyDown(Keyboard::V));
    EXPECT_TRUE(keyboard.isKeyDown(Keyboard::Escape));

    Keyboard::update();
    EXPECT_TRUE(Keyboard::isKeyPressed(Keyboard::Up));
    EXPECT_FALSE(Keyboard::isKeyPressed(-1));
    EXPECT_FALSE(Keyboard::isKeyPressed(101));
    allDown = false;
    Keyboard::update();
    EXPECT_FALSE(Keyboard::isKeyPressed(Keyboard::Up));
}

TEST_F(PlatformKeyboard, InjectedKeyStaysDownUntilTheNextRotation) {
    keyboard.update(true);
    keyboard.injectKey(Keyboard::S);
    EXPECT_TRUE(keyboard.isKeyDown(Keyboard::S));
    EXPECT_TRUE(keyboard.wasPressed(Keyboard::S));
    EXPECT_EQ(keyboard.downKeys(), (std::vector<int>{Keyboard::S}));
    keyboard.injectKey(Keyboard::S); // already down: nothing changes
    EXPECT_EQ(keyboard.downKeys(), (std::vector<int>{Keyboard::S}));
    keyboard.injectKey(-1);
    keyboard.injectKey(101);
    EXPECT_EQ(keyboard.downKeys().size(), 1u);
    keyboard.update(true);
    EXPECT_FALSE(keyboard.isKeyDown(Keyboard::S));
    EXPECT_TRUE(keyboard.wasReleased(Keyboard::S));
}

TEST_F(PlatformKeyboard, NameTableHasAHundredEntriesWithoutVAndEscape) {
    const auto& names = keyboard.keyNames();
    EXPECT_EQ(names.size(), 100u);
    EXPECT_EQ(names.count(Keyboard::V), 0u);
    EXPECT_EQ(names.count(Keyboard::Escape), 0u);
    EXPECT_EQ(keyboard.keyName(-1), L"Unknown");
    EXPECT_EQ(keyboard.keyName(0), L"A");
    EXPECT_EQ(keyboard.keyName(22), L"W");
    EXPECT_EQ(keyboard.keyName(35), L"Num9");
    EXPECT_EQ(keyboard.keyName(37), L"LControl");
    EXPECT_EQ(keyboard.keyName(48), L"SemiColon");
    EXPECT_EQ(keyboard.keyName(56), L"Dash");
    EXPECT_EQ(keyboard.keyName(66), L"Delete");
    EXPECT_EQ(keyboard.keyName(74), L"Down");
    EXPECT_EQ(keyboard.keyName(84), L"Numpad9");
    EXPECT_EQ(keyboard.keyName(99), L"F15");
    EXPECT_EQ(keyboard.keyName(100), L"Pause");
    EXPECT_EQ(keyboard.keyName(Keyboard::V), L"");

    // The inverse map names every entry back to its code.
    EXPECT_EQ(keyboard.keyCodes().size(), names.size());
    for (const auto& [code, name] : names)
        EXPECT_EQ(keyboard.keyCode(name), code) << std::string(name.begin(), name.end());
    EXPECT_EQ(keyboard.keyCode(L"V"), Keyboard::Unknown);
    EXPECT_EQ(keyboard.keyCode(L"Escape"), Keyboard::Unknown);
}

TEST(PlatformKeyboardSystem, RealPollReadsNothingHeldOnTheTestDisplay) {
    // Without the seam the keys come from the X server; nobody types on
    // the test display, so a full snapshot finds no key down.
    Keyboard keyboard;
    keyboard.update(true);
    EXPECT_TRUE(keyboard.downKeys().empty());
}

// Windows reports AltGr as LControl together with RAlt; its keyboard
// wrapper keeps RAlt only. Elsewhere both keys read as held.
TEST_F(PlatformKeyboard, AltGrReadsAsRightAltOnlyOnWindows) {
    held = {Keyboard::LControl, Keyboard::RAlt};
    Keyboard::update();
    EXPECT_TRUE(Keyboard::isKeyPressed(Keyboard::RAlt));
#ifdef _WIN32
    EXPECT_FALSE(Keyboard::isKeyPressed(Keyboard::LControl));
#else
    EXPECT_TRUE(Keyboard::isKeyPressed(Keyboard::LControl));
#endif
    held = {Keyboard::LControl};
    Keyboard::update();
    EXPECT_TRUE(Keyboard::isKeyPressed(Keyboard::LControl));
    held.clear();
    Keyboard::update();
}
