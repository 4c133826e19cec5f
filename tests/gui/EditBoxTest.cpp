#include "engine/gui/EditBox.hpp"
#include "engine/gui/EditSkinWin10.hpp"

#include "tests/gui/GuiTestSupport.hpp"

#include <gtest/gtest.h>

namespace pyx::gui {
namespace {

// A field at (100, 100) of 300 x 30 on the desktop, focused by a click.
class GuiEditBox : public test::GuiFixture {
protected:
    void SetUp() override {
        test::GuiFixture::SetUp();
        box = app->getDesktop()->createChild<EditBox>();
        box->setRect({100.f, 100.f, 300.f, 30.f});
        box->setPlaceholder(L"name");
        box->onChange = [this] { ++changes; };
        box->onEnter = [this] { ++enters; };
        moveTo(150, 115);
        press();
        release();
    }

    void type(const std::wstring& text) {
        for (wchar_t c : text) {
            sf::Event event;
            event.type = sf::Event::TextEntered;
            event.text.unicode = static_cast<sf::Uint32>(c);
            frame({keyEvent(sf::Keyboard::A), event});
        }
    }

    void key(sf::Keyboard::Key code, bool shift = false, bool control = false) {
        sf::Event event = keyEvent(code);
        event.key.shift = shift;
        event.key.control = control;
        frame({event});
    }

    std::shared_ptr<EditBox> box;
    int changes = 0;
    int enters = 0;
};

TEST_F(GuiEditBox, TypingAndEditingKeys) {
    ASSERT_EQ(app->getFocused(), box);
    type(L"river");
    EXPECT_EQ(box->getText(), L"river");
    EXPECT_EQ(changes, 5);
    key(sf::Keyboard::Home);
    type(L"a ");
    key(sf::Keyboard::End);
    key(sf::Keyboard::Backspace);
    EXPECT_EQ(box->getText(), L"a rive");
    key(sf::Keyboard::Left);
    key(sf::Keyboard::Left);
    key(sf::Keyboard::Delete);
    EXPECT_EQ(box->getText(), L"a rie");
    // Shift+Left twice selects "ri"; typing replaces the selection.
    key(sf::Keyboard::Left, true);
    key(sf::Keyboard::Left, true);
    EXPECT_EQ(box->selectedText(), L"ri");
    type(L"X");
    EXPECT_EQ(box->getText(), L"a Xe");
    key(sf::Keyboard::A, false, true);
    EXPECT_EQ(box->selectedText(), L"a Xe");
    key(sf::Keyboard::Backspace);
    EXPECT_EQ(box->getText(), L"");
    // Control codes (Backspace comes as text 8 too) insert nothing.
    sf::Event backspaceText;
    backspaceText.type = sf::Event::TextEntered;
    backspaceText.text.unicode = 8;
    frame({backspaceText});
    EXPECT_EQ(box->getText(), L"");
    key(sf::Keyboard::Enter);
    EXPECT_EQ(enters, 1);
    box->setMaxLength(3);
    type(L"abcd");
    EXPECT_EQ(box->getText(), L"abc");
}

TEST_F(GuiEditBox, KeysItDoesNotUseBubbleAndTypingKeysDoNot) {
    // A key that reached the desktop would be seen by a handler there; the
    // edit box must keep typing keys (a digit, a letter) but pass Escape
    // and Ctrl shortcuts on.
    EXPECT_TRUE(box->keyPressed(keyEvent(sf::Keyboard::Num2).key));
    EXPECT_TRUE(box->keyPressed(keyEvent(sf::Keyboard::G).key));
    EXPECT_FALSE(box->onKeyPressed(keyEvent(sf::Keyboard::Escape).key));
    sf::Event::KeyEvent save = keyEvent(sf::Keyboard::S).key;
    save.control = true;
    EXPECT_FALSE(box->onKeyPressed(save));
}

TEST_F(GuiEditBox, ClickPlacesTheCaretDragSelectsAndTheSkinDraws) {
    box->setText(L"mmmmmmmmmm");
    // Far right of the field: after the last character.
    moveTo(390, 115);
    press();
    release();
    EXPECT_EQ(box->getCaret(), 10u);
    // Drag from the left edge of the text to the right end: all selected.
    moveTo(101, 115);
    press();
    EXPECT_EQ(box->getCaret(), 0u);
    moveTo(395, 115);
    release();
    EXPECT_EQ(box->selectedText(), L"mmmmmmmmmm");

    const sf::Image image = drawAndCapture();
    // A focused field: blue frame, white body, the selection's blue band
    // behind the first letters.
    EXPECT_TRUE(test::colourIs(image, 200, 100, EditSkinWin10::BorderFocused));
    EXPECT_TRUE(test::colourIs(image, 390, 103, EditSkinWin10::Background));
    bool selection = false;
    for (unsigned x = 106; x < 130 && !selection; ++x) {
        selection = image.getPixel(x, 106) == EditSkinWin10::SelectionBackground;
    }
    EXPECT_TRUE(selection);

    // Unfocused and empty: the placeholder in its grey.
    box->setText(L"");
    moveTo(600, 600);
    press();
    release();
    const sf::Image blank = drawAndCapture();
    EXPECT_TRUE(test::colourIs(blank, 200, 100, EditSkinWin10::BorderNormal));
    bool placeholder = false;
    for (unsigned x = 106; x < 140 && !placeholder; ++x) {
        for (unsigned y = 105; y < 125 && !placeholder; ++y) {
            placeholder =
                image.getPixel(x, y) != EditSkinWin10::Background && blank.getPixel(x, y).r < 200;
        }
    }
    EXPECT_TRUE(placeholder);
}

} // namespace
} // namespace pyx::gui
