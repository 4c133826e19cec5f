#include "engine/common/ResourceSfFont.hpp"

#include "engine/common/File.hpp"

namespace pyx::gfx {

int ResourceSfFont::typeId() const {
    return staticTypeId();
}

int ResourceSfFont::staticTypeId() {
    return pyx::core::UniqueTypeId<ResourceSfFont>::value();
}

bool ResourceSfFont::loadFromFile(const std::wstring& path) {
    std::vector<std::uint8_t> bytes;
    pyx::cmn::File file;
    if (!file.open(path, 0) || !file.readAll(bytes)) {
        return false;
    }
    return loadFromMemory(bytes);
}

bool ResourceSfFont::loadFromMemory(const std::vector<std::uint8_t>& bytes) {
    m_fontData = bytes;
    if (m_fontData.empty()) {
        return false;
    }
    std::lock_guard<std::mutex> guard(pyx::cmn::_impl::sfmlDecodeMutex());
    return m_value.loadFromMemory(m_fontData.data(), m_fontData.size());
}

} // namespace pyx::gfx
