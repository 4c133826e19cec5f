#pragma once

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <memory>

namespace pyx::gfx::test {

// A real render window on the test display.
inline std::shared_ptr<sf::RenderWindow> makeWindow(unsigned width = 1280, unsigned height = 720) {
    auto window = std::make_shared<sf::RenderWindow>(sf::VideoMode(width, height), "graphics test",
                                                     sf::Style::Titlebar | sf::Style::Close);
    window->setVerticalSyncEnabled(false);
    return window;
}

// What the window has drawn so far in this frame (read from its back buffer).
inline sf::Image grab(sf::RenderWindow& window) {
    sf::Texture texture;
    texture.create(window.getSize().x, window.getSize().y);
    texture.update(window);
    return texture.copyToImage();
}

// A texture filled with one colour.
inline sf::Texture solidTexture(unsigned width, unsigned height,
                                sf::Color colour = sf::Color::White) {
    sf::Image image;
    image.create(width, height, colour);
    sf::Texture texture;
    texture.loadFromImage(image);
    return texture;
}

inline bool lit(const sf::Image& image, unsigned x, unsigned y) {
    const sf::Color c = image.getPixel(x, y);
    return c.r > 128 || c.g > 128 || c.b > 128;
}

} // namespace pyx::gfx::test
