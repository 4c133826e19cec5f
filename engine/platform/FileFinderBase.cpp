#include "engine/platform/FileFinderBase.hpp"

#include "engine/platform/Path.hpp"

namespace pyx::wrp::_impl {

std::wstring FileFinderBase::fullPath() const {
    return normalizePath(directory() + L"/" + name());
}

} // namespace pyx::wrp::_impl
