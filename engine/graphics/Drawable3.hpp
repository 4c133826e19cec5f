#pragma once

namespace pyx::gfx {

class Camera;

// Something the camera draws under its full 3-D transform. Draw it with
// `Camera::draw(Drawable3&)`, which loads the combined matrix into OpenGL and
// then calls `draw`; the drawable hands its SFML vertex arrays to the
// camera's `draw`, which applies the same transform's 2-D part.
class Drawable3 {
public:
    virtual ~Drawable3() = default;
    // Draws through the camera; called by `Camera::draw(Drawable3&)`.
    virtual void draw(Camera& camera) = 0;
};

} // namespace pyx::gfx
