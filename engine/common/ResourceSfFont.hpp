#pragma once

#include "engine/common/ResourceTyped.hpp"

#include <SFML/Graphics/Font.hpp>

#include <cstdint>
#include <vector>

namespace pyx::gfx {

// A font decoded from a font file. The file's bytes stay with the font for
// its whole life, since the font reads its glyphs from them on demand.
class ResourceSfFont : public pyx::cmn::ResourceTyped<sf::Font> {
public:
    int typeId() const override;
    static int staticTypeId();

    // Reads the whole file, then decodes it as loadFromMemory does.
    bool loadFromFile(const std::wstring& path) override;
    // Keeps a copy of the bytes and decodes the font from that copy.
    bool loadFromMemory(const std::vector<std::uint8_t>& bytes) override;

    // The bytes the font was decoded from.
    const std::vector<std::uint8_t>& fontData() const { return m_fontData; }

private:
    std::vector<std::uint8_t> m_fontData;
};

} // namespace pyx::gfx
