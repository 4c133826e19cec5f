#include "engine/common/ResourceRaw.hpp"

#include "engine/common/File.hpp"

namespace pyx::cmn {

int ResourceRaw::typeId() const {
    return staticTypeId();
}

int ResourceRaw::staticTypeId() {
    return pyx::core::UniqueTypeId<ResourceRaw>::value();
}

bool ResourceRaw::loadFromFile(const std::wstring& path) {
    File file;
    return file.open(path, 0) && file.readAll(m_value);
}

bool ResourceRaw::loadFromMemory(const std::vector<std::uint8_t>& bytes) {
    m_value = bytes;
    return true;
}

} // namespace pyx::cmn
