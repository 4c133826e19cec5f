#include "engine/gui/GuiResources.hpp"

#include "engine/common/ResourceSfFont.hpp"
#include "engine/core/WeakSingleton.hpp"

namespace pyx::gui {

GuiResources::GuiResources() = default;

GuiResources::~GuiResources() = default;

void GuiResources::setDefaultFont(std::shared_ptr<gfx::ResourceSfFont> font) {
    std::lock_guard<std::mutex> guard(m_mutex);
    defaultFont = std::move(font);
}

std::shared_ptr<gfx::ResourceSfFont> GuiResources::getDefaultFont() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return defaultFont;
}

std::shared_ptr<gfx::ResourceSfFont> GuiResources::defaultFontHandle() {
    core::WeakSingleton<GuiResources> resources;
    return resources.get()->getDefaultFont();
}

} // namespace pyx::gui
