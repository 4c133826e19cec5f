#include "engine/graphics/Camera.hpp"
#include "engine/graphics/ScissorGuard.hpp"
#include "tests/graphics/RenderTestSupport.hpp"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/OpenGL.hpp>

#include <gtest/gtest.h>

#include <array>

using pyx::gfx::Camera;
using pyx::gfx::ScissorGuard;
using namespace pyx::gfx::test;

namespace {

std::array<GLint, 4> scissorBox() {
    std::array<GLint, 4> box{};
    glGetIntegerv(GL_SCISSOR_BOX, box.data());
    return box;
}

bool scissorOn() {
    return glIsEnabled(GL_SCISSOR_TEST) == GL_TRUE;
}

class GraphicsScissor : public ::testing::Test {
protected:
    void SetUp() override {
        window = makeWindow(1280, 720);
        camera = std::make_unique<Camera>(window, true);
        camera->update();
        ASSERT_TRUE(window->setActive(true));
        window->clear(sf::Color::Black);
    }

    void fillWindow() {
        sf::RectangleShape all({1280.f, 720.f});
        all.setFillColor(sf::Color::White);
        camera->drawSnapped(all);
    }

    std::shared_ptr<sf::RenderWindow> window;
    std::unique_ptr<Camera> camera;
};

} // namespace

TEST_F(GraphicsScissor, GuardClipsToItsPixelsAndSwitchesTheTestOffWhenDone) {
    EXPECT_FALSE(scissorOn());
    {
        ScissorGuard guard(*camera, 10.f, 20.f, 100.f, 50.f);
        EXPECT_TRUE(scissorOn());
        EXPECT_EQ(scissorBox(), (std::array<GLint, 4>{10, 650, 100, 50}));
        fillWindow();
    }
    EXPECT_FALSE(scissorOn());
    const sf::Image image = grab(*window);
    EXPECT_TRUE(lit(image, 10, 20));
    EXPECT_TRUE(lit(image, 109, 69));
    EXPECT_FALSE(lit(image, 9, 20));
    EXPECT_FALSE(lit(image, 10, 19));
    EXPECT_FALSE(lit(image, 110, 69));
    EXPECT_FALSE(lit(image, 109, 70));
}

TEST_F(GraphicsScissor, NestedGuardsIntersectAndUnwind) {
    {
        ScissorGuard outer(*camera, 10.f, 20.f, 100.f, 50.f);
        {
            // Partly outside: only the overlap (60..110, 40..70) remains.
            ScissorGuard inner(*camera, 60.f, 40.f, 200.f, 200.f);
            EXPECT_EQ(scissorBox(), (std::array<GLint, 4>{60, 650, 50, 30}));
            fillWindow();
            {
                // Wholly outside the others: nothing may be drawn.
                ScissorGuard away(*camera, 500.f, 500.f, 20.f, 20.f);
                const auto box = scissorBox();
                EXPECT_TRUE(box[2] == 0 || box[3] == 0);
            }
            EXPECT_EQ(scissorBox(), (std::array<GLint, 4>{60, 650, 50, 30}));
        }
        EXPECT_EQ(scissorBox(), (std::array<GLint, 4>{10, 650, 100, 50}));
        EXPECT_TRUE(scissorOn());
    }
    EXPECT_FALSE(scissorOn());
    const sf::Image image = grab(*window);
    EXPECT_TRUE(lit(image, 60, 40));
    EXPECT_TRUE(lit(image, 109, 69));
    EXPECT_FALSE(lit(image, 59, 40));
    EXPECT_FALSE(lit(image, 60, 39));
    EXPECT_FALSE(lit(image, 200, 100));
}

TEST_F(GraphicsScissor, GuardRectangleFollowsTheCameraTransform) {
    pyx::core::Transformable3 t;
    t.setPosition(-200.f, -100.f);
    camera->pushTransform(t);
    {
        ScissorGuard guard(*camera, 0.f, 0.f, 30.f, 40.f);
        EXPECT_EQ(scissorBox(), (std::array<GLint, 4>{200, 720 - 100 - 40, 30, 40}));
    }
    camera->popTransform();
}

TEST_F(GraphicsScissor, ManagerClampsNegativeSizesAndPopsOnEmptySafely) {
    pyx::core::WeakSingleton<pyx::gfx::_impl::ScissorManager> manager;
    manager->pushRect(50, 50, -10, 20);
    EXPECT_EQ(scissorBox(), (std::array<GLint, 4>{50, 50, 0, 20}));
    manager->popRect();
    EXPECT_FALSE(scissorOn());
    manager->popRect(); // nothing left: stays off, no crash
    EXPECT_FALSE(scissorOn());
    EXPECT_TRUE(manager->empty());
}
