#pragma once

#include <memory>
#include <mutex>

namespace pyx::gfx {
class ResourceSfFont;
}

namespace pyx::gui {

// Resources shared by every skin, held as a weak singleton: start-up stores
// the default font here before the theme makes its skins.
class GuiResources {
public:
    GuiResources();
    ~GuiResources();

    // The font skins write with; set once at start-up.
    void setDefaultFont(std::shared_ptr<gfx::ResourceSfFont> font);
    std::shared_ptr<gfx::ResourceSfFont> getDefaultFont() const;

    // The default font of the live instance (a fresh, empty one when no
    // handle holds the instance).
    static std::shared_ptr<gfx::ResourceSfFont> defaultFontHandle();

    std::shared_ptr<gfx::ResourceSfFont> defaultFont;

private:
    mutable std::mutex m_mutex;
};

} // namespace pyx::gui
