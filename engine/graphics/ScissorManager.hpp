#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace pyx::gfx::_impl {

// The stack of clip rectangles over OpenGL's scissor test, shared as a weak
// singleton (pyx::core::WeakSingleton<ScissorManager>): the outermost
// ScissorGuard of a frame creates it and destroys it again, which also
// leaves the test switched off, so drawing outside the window tree is never
// clipped by leftovers. Rectangles are window pixels with OpenGL's origin
// at the bottom-left, stored as (left, bottom, right, top); each pushed
// rectangle is intersected with the one below it. Main thread only (it
// touches the current OpenGL context).
class ScissorManager {
public:
    using Rect = std::array<std::int32_t, 4>; // left, bottom, right, top

    ScissorManager() = default;
    // Switches the test off if this manager switched it on.
    ~ScissorManager();
    ScissorManager(const ScissorManager&) = delete;
    ScissorManager& operator=(const ScissorManager&) = delete;

    // Pushes (x, y, x + width, y + height) intersected with the top.
    void pushRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);
    // Pushes an edge rectangle intersected with the top.
    void pushEdges(const Rect& rect);
    // Removes the top rectangle (no-op when empty) and applies the new top.
    void popRect();
    // Applies the top rectangle with glScissor (width and height never
    // negative), or switches the test off when the stack is empty.
    void applyTop();

    bool empty() const { return m_stack.empty(); }
    std::size_t depth() const { return m_stack.size(); }
    // The active clip; only valid when not empty.
    const Rect& top() const { return m_stack.back(); }
    bool scissorEnabled() const { return m_scissorEnabled; }

private:
    std::vector<Rect> m_stack;
    bool m_scissorEnabled = false;
};

} // namespace pyx::gfx::_impl
