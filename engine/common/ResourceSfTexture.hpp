#pragma once

#include "engine/common/ResourceTyped.hpp"

#include <SFML/Graphics/Texture.hpp>

namespace pyx::gfx {

// A picture decoded into a texture. A picture that cannot be read or decoded
// leaves an empty (0 x 0) texture.
class ResourceSfTexture : public pyx::cmn::ResourceTyped<sf::Texture> {
public:
    int typeId() const override;
    static int staticTypeId();

    // Reads the whole file, then decodes it as loadFromMemory does.
    bool loadFromFile(const std::wstring& path) override;
    // Decodes an image file held in memory (PNG and the other formats SFML
    // reads) and uploads the whole image.
    bool loadFromMemory(const std::vector<std::uint8_t>& bytes) override;
};

} // namespace pyx::gfx
