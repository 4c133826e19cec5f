#include "engine/common/ResourceDelayedLoad.hpp"

#include "engine/common/ResourceBase.hpp"

namespace pyx::cmn::_impl {

bool ResourceDelayedLoadFile::apply(ResourceBase& resource) {
    return resource.loadFromFile(m_path);
}

bool ResourceDelayedLoadMemory::apply(ResourceBase& resource) {
    return resource.loadFromMemory(m_bytes);
}

} // namespace pyx::cmn::_impl
