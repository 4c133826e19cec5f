#pragma once

#include "engine/core/WeakSingleton.hpp"
#include "engine/graphics/ScissorManager.hpp"

namespace pyx::gfx {

class Camera;

// Clips all drawing to a rectangle, given in the camera's current
// coordinates, for as long as the guard lives; nested guards clip to the
// intersection of all open rectangles. Guards must end in the reverse order
// of their creation (keep them on the stack).
class ScissorGuard {
public:
    ScissorGuard(Camera& camera, float x, float y, float width, float height);
    ~ScissorGuard();
    ScissorGuard(const ScissorGuard&) = delete;
    ScissorGuard& operator=(const ScissorGuard&) = delete;

private:
    core::WeakSingleton<_impl::ScissorManager> m_manager;
};

} // namespace pyx::gfx
