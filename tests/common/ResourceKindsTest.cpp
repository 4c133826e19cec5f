#include "engine/common/ResourceManager.hpp"
#include "engine/core/WeakSingleton.hpp"

#include "tests/common/ResourceTestSupport.hpp"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <gtest/gtest.h>

using pyx::cmn::ResourceManager;
using pyx::test::Bytes;
using pyx::test::bytesOf;

namespace {

const char* const CharisRegular = "/usr/share/fonts/truetype/charis/CharisSIL-Regular.ttf";

// A small picture with a different colour in every pixel, so that a flipped
// or shifted decode shows.
sf::Image patternImage() {
    sf::Image image;
    image.create(7, 5);
    for (unsigned y = 0; y < 5; ++y) {
        for (unsigned x = 0; x < 7; ++x) {
            image.setPixel(x, y,
                           sf::Color(sf::Uint8(x * 36), sf::Uint8(y * 60), sf::Uint8(x * y * 9),
                                     sf::Uint8(255 - x * 10)));
        }
    }
    return image;
}

Bytes pixelsOf(const sf::Texture& texture) {
    const sf::Image image = texture.copyToImage();
    const sf::Uint8* pixels = image.getPixelsPtr();
    return pixels ? Bytes(pixels, pixels + image.getSize().x * image.getSize().y * 4) : Bytes();
}

class ResourceKinds : public ::testing::Test {
protected:
    // Every kind's source file, in an archive mounted under a folder of the
    // temporary folder and beside it on disk.
    void SetUp() override {
        pngPath = dir.path() / "loose" / "pattern.png";
        std::filesystem::create_directories(pngPath.parent_path());
        ASSERT_TRUE(patternImage().saveToFile(pngPath.string()));
        ASSERT_TRUE(std::filesystem::exists(CharisRegular)) << "fonts-sil-charis is not installed";
        fontBytes = pyx::test::readFile(CharisRegular);
        pyx::test::writeFile(dir.path() / "loose" / "font.ttf", fontBytes);
        pyx::test::writeFile(dir.path() / "loose" / "notes.txt", bytesOf("not a picture\n"));
        pyx::test::buildArchive(dir.path() / "assets.dat",
                                {{L"Pictures\\pattern.png", pyx::test::readFile(pngPath)},
                                 {L"Fonts\\font.ttf", fontBytes},
                                 {L"notes.txt", bytesOf("not a picture\n")}});
        ASSERT_TRUE(manager->mount(dir.wide("assets.dat"), mountName()));
    }

    std::wstring mountName() const { return dir.wide("pak"); }
    std::wstring archived(const std::wstring& entry) const { return mountName() + L"/" + entry; }
    std::wstring loose(const std::string& file) const { return dir.wide("loose/" + file); }

    pyx::test::LogCapture log;
    pyx::test::TempDir dir;
    pyx::core::WeakSingleton<ResourceManager> manager;
    std::filesystem::path pngPath;
    Bytes fontBytes;
};

} // namespace

TEST_F(ResourceKinds, TexturesDecodeTheSameFromArchiveAndDisk) {
    auto fromArchive = manager->getTexture(archived(L"Pictures/pattern.png"));
    auto fromDisk = manager->getTexture(loose("pattern.png"));
    const sf::Texture& a = pyx::cmn::resourceValue(fromArchive);
    const sf::Texture& b = pyx::cmn::resourceValue(fromDisk);
    EXPECT_EQ(a.getSize(), sf::Vector2u(7, 5));
    EXPECT_EQ(b.getSize(), sf::Vector2u(7, 5));

    const sf::Image original = patternImage();
    const Bytes expected(original.getPixelsPtr(), original.getPixelsPtr() + 7 * 5 * 4);
    EXPECT_EQ(pixelsOf(a), expected);
    EXPECT_EQ(pixelsOf(b), expected);
}

TEST_F(ResourceKinds, FontsDecodeTheSameFromArchiveAndDisk) {
    auto fromArchive = manager->getFont(archived(L"Fonts/font.ttf"));
    auto fromDisk = manager->getFont(loose("font.ttf"));
    const sf::Font& a = pyx::cmn::resourceValue(fromArchive);
    const sf::Font& b = pyx::cmn::resourceValue(fromDisk);
    EXPECT_EQ(fromArchive->fontData(), fontBytes);
    EXPECT_EQ(fromDisk->fontData(), fontBytes);
    EXPECT_EQ(a.getInfo().family, "Charis SIL");
    EXPECT_EQ(b.getInfo().family, a.getInfo().family);
    // Glyphs are read from the kept bytes long after the load: a font
    // without them would fail here or read freed memory.
    const sf::Glyph& ga = a.getGlyph(L'W', 40, false);
    const sf::Glyph& gb = b.getGlyph(L'W', 40, false);
    EXPECT_GT(ga.advance, 10.f);
    EXPECT_EQ(ga.advance, gb.advance);
    EXPECT_EQ(ga.bounds, gb.bounds);
    EXPECT_EQ(log.count(L"Failed to load resource \"" + archived(L"Fonts/font.ttf") + L"\"."), 0);
}

TEST_F(ResourceKinds, RawBytesAreTheSameFromArchiveAndDisk) {
    auto fromArchive = manager->getRaw(archived(L"Fonts/font.ttf"));
    auto fromDisk = manager->getRaw(loose("font.ttf"));
    EXPECT_EQ(pyx::cmn::resourceValue(fromArchive), fontBytes);
    EXPECT_EQ(pyx::cmn::resourceValue(fromDisk), fontBytes);
}

TEST_F(ResourceKinds, UndecodableFilesEndReadyAndEmptyWithOneFailureEach) {
    const std::wstring textFromArchive = archived(L"notes.txt");
    const std::wstring textFromDisk = loose("notes.txt");
    auto textureA = manager->getTexture(textFromArchive);
    auto textureB = manager->getTexture(textFromDisk);
    auto font = manager->getFont(textFromDisk);
    auto missingFont = manager->getFont(loose("missing.ttf"));
    // The same path as raw bytes is another resource, and it loads.
    auto raw = manager->getRaw(textFromDisk);

    EXPECT_EQ(pyx::cmn::resourceValue(textureA).getSize(), sf::Vector2u(0, 0));
    EXPECT_EQ(pyx::cmn::resourceValue(textureB).getSize(), sf::Vector2u(0, 0));
    EXPECT_EQ(pyx::cmn::resourceValue(font).getInfo().family, "");
    pyx::cmn::resourceValue(missingFont);
    EXPECT_TRUE(missingFont->fontData().empty());
    EXPECT_EQ(pyx::cmn::resourceValue(raw), bytesOf("not a picture\n"));

    manager.release();
    auto failures = [&](const std::wstring& path) {
        return log.count(L"Failed to load resource \"" + path + L"\".");
    };
    EXPECT_EQ(failures(textFromArchive), 1);
    EXPECT_EQ(failures(textFromDisk), 2); // as a texture and as a font, not as raw bytes
    EXPECT_EQ(failures(loose("missing.ttf")), 1);
}
