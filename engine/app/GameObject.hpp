#pragma once

namespace pyx::gfx {
class Camera;
}

namespace pyx::au {

// Base of everything that lives in a game world. Objects are never deleted
// directly: they are marked dead and the list holding them drops them at the
// end of the tick, so pointers taken during a tick stay valid for its length.
class GameObject {
public:
    GameObject() = default;
    virtual ~GameObject();

    // Draws the object through the camera; the base draws nothing.
    virtual void draw(gfx::Camera& camera);
    // Advances the object by the given seconds; the base does nothing.
    virtual void update(float seconds);

    // Marks the object for removal at the end of the current tick.
    void kill() { m_dead = true; }
    // Whether the object has been marked for removal.
    bool isDead() const { return m_dead; }

private:
    bool m_dead = false;
};

} // namespace pyx::au
