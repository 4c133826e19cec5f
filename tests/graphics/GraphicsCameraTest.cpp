#include "engine/graphics/Camera.hpp"
#include "engine/graphics/CircularSector.hpp"
#include "tests/graphics/RenderTestSupport.hpp"

#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/VertexArray.hpp>

#include <gtest/gtest.h>

#include <filesystem>

using pyx::core::Transformable3;
using pyx::gfx::Camera;
using namespace pyx::gfx::test;

namespace {

class GraphicsCamera : public ::testing::Test {
protected:
    void SetUp() override {
        window = makeWindow();
        camera = std::make_unique<Camera>(window, true);
        camera->update();
        window->clear(sf::Color::Black);
    }

    Transformable3 translation(float x, float y) {
        Transformable3 t;
        t.setPosition(-x, -y);
        return t;
    }

    static sf::Font charis() {
        sf::Font font;
        const std::filesystem::path dir = "/usr/share/fonts/truetype/charis";
        EXPECT_TRUE(font.loadFromFile((dir / "CharisSIL-Regular.ttf").string()));
        return font;
    }

    std::shared_ptr<sf::RenderWindow> window;
    std::unique_ptr<Camera> camera;
};

} // namespace

TEST_F(GraphicsCamera, SnappedSpriteStartsOnItsPixelUnderIdentityAndPushedTranslation) {
    const sf::Texture texture = solidTexture(4, 4);
    sf::Sprite sprite(texture);
    sprite.setPosition(10.f, 20.f);
    camera->drawSnapped(sprite);
    sf::Image image = grab(*window);
    EXPECT_TRUE(lit(image, 10, 20));
    EXPECT_TRUE(lit(image, 13, 23));
    EXPECT_FALSE(lit(image, 9, 20));
    EXPECT_FALSE(lit(image, 10, 19));
    EXPECT_FALSE(lit(image, 14, 20));

    window->clear(sf::Color::Black);
    camera->pushTransform(translation(100.3f, 50.7f));
    camera->drawSnapped(sprite);
    camera->popTransform();
    image = grab(*window);
    EXPECT_TRUE(lit(image, 110, 71));
    EXPECT_TRUE(lit(image, 113, 74));
    EXPECT_FALSE(lit(image, 109, 71));
    EXPECT_FALSE(lit(image, 110, 70));
    EXPECT_FALSE(lit(image, 114, 71));
}

TEST_F(GraphicsCamera, ViewFollowsAResizeAndRectStaysPixelSized) {
    sf::FloatRect r = camera->getViewRect();
    EXPECT_NEAR(r.left, -0.375f, 1e-3f);
    EXPECT_NEAR(r.top, -0.375f, 1e-3f);
    EXPECT_NEAR(r.width, 1280.f, 1e-3f);
    EXPECT_NEAR(r.height, 720.f, 1e-3f);

    window->setSize({1000, 600});
    ASSERT_EQ(window->getSize(), sf::Vector2u(1000, 600));
    camera->update();
    EXPECT_FLOAT_EQ(window->getView().getCenter().x, 499.625f);
    EXPECT_FLOAT_EQ(window->getView().getCenter().y, 299.625f);
    EXPECT_EQ(window->getView().getSize(), sf::Vector2f(1000.f, 600.f));
    r = camera->getViewRect();
    EXPECT_NEAR(r.left, -0.375f, 1e-3f);
    EXPECT_NEAR(r.top, -0.375f, 1e-3f);
    EXPECT_NEAR(r.width, 1000.f, 1e-3f);
    EXPECT_NEAR(r.height, 600.f, 1e-3f);
    // SFML inverts the view in single precision, hence the tolerance.
    EXPECT_NEAR(camera->getViewSize().x, 1000.f, 1e-3f);
}

TEST_F(GraphicsCamera, WithoutFittingTheViewIsLeftAlone) {
    Camera fixed(window, false);
    const sf::Vector2f before = window->getView().getSize();
    window->setSize({800, 500});
    fixed.update();
    EXPECT_EQ(window->getView().getSize(), before);
}

TEST_F(GraphicsCamera, PushesAndPopsRestoreTheTransformExactly) {
    Transformable3 scaled;
    scaled.setScale(1.7f, 0.3f);
    scaled.setRotation(0.f, 0.f, 33.f);
    const pyx::core::Matrix4 before = camera->getCurrentTransform();
    camera->pushTransform(translation(3.3f, 1.1f));
    camera->pushTransform(scaled);
    EXPECT_EQ(camera->transformDepth(), 2u);
    EXPECT_FALSE(camera->getCurrentTransform() == before);
    camera->popTransform();
    camera->popTransform();
    EXPECT_EQ(camera->getCurrentTransform(), before);
    camera->popTransform(); // empty stack: nothing happens
    EXPECT_EQ(camera->getCurrentTransform(), before);
    EXPECT_EQ(camera->transformDepth(), 0u);
}

TEST_F(GraphicsCamera, PixelAndWorldMappingsFollowTheTransform) {
    EXPECT_EQ(camera->mapWorldToPixel({10.f, 20.f}), sf::Vector2i(10, 20));
    const sf::Vector2f w = camera->mapPixelToWorld({10, 20});
    EXPECT_NEAR(w.x, 9.625f, 1e-4f);
    EXPECT_NEAR(w.y, 19.625f, 1e-4f);

    Transformable3 t;
    t.setPosition(-100.f, -50.f);
    t.setScale(2.f, 2.f);
    camera->pushTransform(t);
    // scale * (p + 100, 50): world (5, 5) lands at (210, 110).
    EXPECT_EQ(camera->mapWorldToPixel({5.f, 5.f}), sf::Vector2i(210, 110));
    const sf::Vector2f back = camera->mapPixelToWorld({210, 110});
    EXPECT_NEAR(back.x, 5.f - 0.375f / 2.f, 1e-3f);
    EXPECT_NEAR(back.y, 5.f - 0.375f / 2.f, 1e-3f);
    camera->popTransform();
}

TEST_F(GraphicsCamera, TextIsPreparedAtItsPixelAndScaledSize) {
    const sf::Font font = charis();
    sf::Text text(L"Moat", font, 30);
    text.setPosition(10.4f, 20.6f);
    sf::Text prepared(text);
    camera->prepareText(prepared);
    EXPECT_EQ(prepared.getPosition(), sf::Vector2f(9.625f, 20.625f));
    EXPECT_EQ(prepared.getCharacterSize(), 30u);

    Transformable3 doubled;
    doubled.setScale(2.f, 2.f);
    camera->pushTransform(doubled);
    EXPECT_EQ(camera->scaledCharacterSize(30), 60u);
    camera->drawText(text);
    camera->popTransform();
    EXPECT_EQ(text.getCharacterSize(), 30u); // the caller's text is untouched
    const sf::Image viaCamera = grab(*window);

    // The same words drawn directly at size 60 on the snapped pixel of
    // 2 * (10.4, 20.6) must give the very same pixels.
    window->clear(sf::Color::Black);
    sf::Text direct(L"Moat", font, 60);
    direct.setPosition(21.f - 0.375f, 41.f - 0.375f);
    window->draw(direct);
    const sf::Image expected = grab(*window);
    unsigned litPixels = 0, differing = 0;
    for (unsigned y = 0; y < 200; ++y)
        for (unsigned x = 0; x < 300; ++x) {
            litPixels += lit(expected, x, y) ? 1 : 0;
            differing += viaCamera.getPixel(x, y) != expected.getPixel(x, y) ? 1 : 0;
        }
    EXPECT_GT(litPixels, 200u);
    EXPECT_EQ(differing, 0u);
}

TEST_F(GraphicsCamera, TextOfAFontThatFailedToLoadLeavesNoPixel) {
    // A font that failed to decode, as the resource manager leaves it.
    sf::Font failed;
    const char garbage[] = "not a font at all";
    ASSERT_FALSE(failed.loadFromMemory(garbage, sizeof garbage));
    window->clear(sf::Color::Black);
    for (unsigned size : {12u, 30u, 60u}) {
        sf::Text text(L"Iron Moat", failed, size);
        text.setPosition(20.f, 10.f + 2.f * static_cast<float>(size));
        camera->drawText(text);
    }
    const sf::Image image = grab(*window);
    unsigned litPixels = 0;
    for (unsigned y = 0; y < 250; ++y)
        for (unsigned x = 0; x < 400; ++x)
            litPixels += lit(image, x, y) ? 1 : 0;
    EXPECT_EQ(litPixels, 0u);
}

TEST_F(GraphicsCamera, MeasuringGivesWorldUnitsWhateverTheTranslation) {
    const sf::Font font = charis();
    const sf::Text text(L"Iron Moat", font, 30);
    const sf::FloatRect plain = camera->measureText(text, {5.f, 7.f});
    EXPECT_GT(plain.width, 60.f);
    EXPECT_FLOAT_EQ(plain.left, text.getLocalBounds().left + 5.f);

    camera->pushTransform(translation(300.f, 200.f));
    const sf::FloatRect moved = camera->measureText(text, {5.f, 7.f});
    EXPECT_FLOAT_EQ(moved.left, plain.left);
    EXPECT_FLOAT_EQ(moved.top, plain.top);
    EXPECT_FLOAT_EQ(moved.width, plain.width);
    camera->popTransform();

    Transformable3 doubled;
    doubled.setScale(2.f, 2.f);
    camera->pushTransform(doubled);
    const sf::FloatRect big = camera->measureText(text);
    EXPECT_NEAR(big.width, plain.width, 3.f); // size 60 glyphs, halved back
    const sf::FloatRect line = camera->measureTextLine(text);
    EXPECT_EQ(line.top, 0.f);
    EXPECT_FLOAT_EQ(line.height, font.getLineSpacing(60) / 2.f);
    const float width = camera->textWidth(font, 30, L"Iron Moat");
    EXPECT_NEAR(width, plain.width, 4.f);
    camera->popTransform();

    sf::Text noFont;
    noFont.setString(L"x");
    EXPECT_EQ(camera->measureTextLine(noFont).height, 0.f);
}

TEST_F(GraphicsCamera, SmallDrawable3UnderATranslationIsTransformedOnce) {
    // A sector of 1 % has a three-vertex fan, which SFML would draw with
    // whatever model-view matrix is loaded; it must still land where the
    // transform puts it, not where the transform applied twice would.
    pyx::gfx::CircularSector sector;
    sector.setCenter({0.f, 0.f});
    sector.radius = 40.f;
    sector.setStartAngle(0.f);
    sector.direction = 1;
    sector.setFillColour(sf::Color::White);
    sector.setPercent(0.02f);
    // A small sprite first leaves SFML believing the identity is loaded.
    const sf::Texture texture = solidTexture(2, 2);
    sf::Sprite dot(texture);
    dot.setPosition(600.f, 600.f);
    camera->draw(dot);
    camera->pushTransform(translation(200.f, 300.f));
    camera->draw(sector);
    camera->popTransform();
    const sf::Image image = grab(*window);
    EXPECT_TRUE(lit(image, 230, 299)); // inside the thin wedge right of the centre
    EXPECT_FALSE(lit(image, 430, 599));
    EXPECT_FALSE(lit(image, 230, 320));
}

TEST_F(GraphicsCamera, ArraysWithAnEmptyTextureDrawNothing) {
    sf::VertexArray quad(sf::Quads);
    for (const sf::Vector2f p : {sf::Vector2f(0, 0), {50, 0}, {50, 50}, {0, 50}})
        quad.append(sf::Vertex(p, sf::Color::White, p));
    const sf::Texture failed; // what a missing picture decodes to
    camera->drawSnapped(quad, &failed);
    camera->draw(quad, &failed);
    EXPECT_FALSE(lit(grab(*window), 25, 25));

    const sf::Texture picture = solidTexture(50, 50);
    camera->drawSnapped(quad, &picture);
    EXPECT_TRUE(lit(grab(*window), 25, 25));
}
