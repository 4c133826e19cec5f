#include "engine/graphics/ScissorManager.hpp"

#include <SFML/OpenGL.hpp>

#include <algorithm>

namespace pyx::gfx::_impl {

ScissorManager::~ScissorManager() {
    if (m_scissorEnabled)
        glDisable(GL_SCISSOR_TEST);
}

void ScissorManager::pushRect(std::int32_t x, std::int32_t y, std::int32_t width,
                              std::int32_t height) {
    pushEdges({x, y, x + width, y + height});
}

void ScissorManager::pushEdges(const Rect& rect) {
    Rect r = rect;
    if (!m_stack.empty()) {
        const Rect& t = m_stack.back();
        r[0] = std::max(r[0], t[0]);
        r[1] = std::max(r[1], t[1]);
        r[2] = std::min(r[2], t[2]);
        r[3] = std::min(r[3], t[3]);
    }
    m_stack.push_back(r);
    applyTop();
}

void ScissorManager::popRect() {
    if (!m_stack.empty())
        m_stack.pop_back();
    applyTop();
}

void ScissorManager::applyTop() {
    if (!m_stack.empty()) {
        if (!m_scissorEnabled) {
            glEnable(GL_SCISSOR_TEST);
            m_scissorEnabled = true;
        }
        const Rect& t = m_stack.back();
        glScissor(t[0], t[1], std::max(t[2] - t[0], 0), std::max(t[3] - t[1], 0));
    } else if (m_scissorEnabled) {
        glDisable(GL_SCISSOR_TEST);
        m_scissorEnabled = false;
    }
}

} // namespace pyx::gfx::_impl
