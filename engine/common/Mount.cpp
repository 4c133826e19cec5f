#include "engine/common/Mount.hpp"

#include "engine/common/Path.hpp"

namespace pyx::cmn {

bool stripMountPrefix(std::wstring& path, const std::wstring& mountName) {
    const std::wstring name = normalizePath(mountName);
    const std::wstring normalized = normalizePath(path);
    if (name.empty()) {
        path = normalized;
        return true;
    }
    // At least one character must follow the separator: the mount name by
    // itself names no entry.
    if (normalized.size() > name.size() + 1 && normalized.compare(0, name.size(), name) == 0 &&
        normalized[name.size()] == L'\\') {
        path = normalized.substr(name.size() + 1);
        return true;
    }
    return false;
}

} // namespace pyx::cmn
