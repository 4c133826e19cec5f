#include "engine/common/ResourceSfTexture.hpp"

#include "engine/common/File.hpp"

#include <SFML/Graphics/Image.hpp>

namespace pyx::gfx {

int ResourceSfTexture::typeId() const {
    return staticTypeId();
}

int ResourceSfTexture::staticTypeId() {
    return pyx::core::UniqueTypeId<ResourceSfTexture>::value();
}

bool ResourceSfTexture::loadFromFile(const std::wstring& path) {
    std::vector<std::uint8_t> bytes;
    pyx::cmn::File file;
    if (!file.open(path, 0) || !file.readAll(bytes)) {
        return false;
    }
    return loadFromMemory(bytes);
}

bool ResourceSfTexture::loadFromMemory(const std::vector<std::uint8_t>& bytes) {
    // SFML refuses an empty block itself, but says so on its error stream;
    // an empty file is simply not a picture.
    if (bytes.empty()) {
        return false;
    }
    std::lock_guard<std::mutex> guard(pyx::cmn::_impl::sfmlDecodeMutex());
    sf::Image image;
    if (!image.loadFromMemory(bytes.data(), bytes.size())) {
        return false;
    }
    return m_value.loadFromImage(image);
}

} // namespace pyx::gfx
