#pragma once

#include "tools/assetgen/Canvas.hpp"

#include <string>
#include <vector>

namespace ironmoat::assetgen {

// One picture file: a grid of equal frames, each drawn by `draw`.
struct Picture {
    std::string file;
    int frameWidth;
    int frameHeight;
    int columns;
    int rows;
    void (*draw)(Canvas& canvas, int column, int row);
};

// Every picture the game loads, in a fixed order.
const std::vector<Picture>& allPictures();

// Renders one picture into an image of columns x rows frames; transparent
// where nothing was drawn.
sf::Image renderPicture(const Picture& picture);

// Terrain frames (40 px unless said otherwise).
void drawBackground(Canvas& c, int column, int row); // 80 px
void drawBrick(Canvas& c, int column, int row);
void drawMetal(Canvas& c, int column, int row);
void drawTree(Canvas& c, int column, int row);
void drawWater(Canvas& c, int column, int row);
void drawWood(Canvas& c, int column, int row);

// Object frames.
void drawTank(Canvas& c, int column, int row);
void drawWheels(Canvas& c, int column, int row);
void drawShield(Canvas& c, int column, int row);
void drawBullet(Canvas& c, int column, int row);
void drawExplosion(Canvas& c, int column, int row);
void drawBonus(Canvas& c, int column, int row);
void drawSpawn(Canvas& c, int column, int row);
void drawBase(Canvas& c, int column, int row);

// The application icon, an emblem of a tank in a moat within a brick wall,
// as a square of `size` pixels with transparent rounded corners.
sf::Image renderIcon(int size);
// The sizes the desktop's icon theme looks for, smallest first.
const std::vector<int>& iconSizes();

// A contact sheet of every picture, frame by frame, with file names and
// column and row numbers drawn in a small built-in pixel font.
sf::Image renderSheet();

} // namespace ironmoat::assetgen
