#pragma once

#include "engine/common/Archive.hpp"

#include <string>

namespace pyx::cmn {

// One entry of the resource manager's mount table: paths that begin with
// `name` and a separator are served from `archive`. The name is kept exactly
// as given; it is normalized each time it is compared.
struct Mount {
    std::wstring name;
    Archive archive;
};

// If `path` lies under the mount name, replaces it with the remainder inside
// the archive (normalized, backslash-separated) and returns true; otherwise
// returns false and leaves `path` untouched. An empty mount name serves every
// path. Matching is exact and case-sensitive; a path equal to the mount name
// does not lie under it.
bool stripMountPrefix(std::wstring& path, const std::wstring& mountName);

} // namespace pyx::cmn
