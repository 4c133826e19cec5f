#pragma once

// The finder of this platform, for callers that enumerate folders (the
// level list walks "maps/*.mtc" with it).

#ifdef _WIN32
#include "engine/platform/FileFinderImplWin32.hpp"
#else
#include "engine/platform/FileFinderImplPosix.hpp"
#endif

namespace pyx::wrp {

#ifdef _WIN32
using FileFinder = _impl::FileFinderImplWin32;
#else
using FileFinder = _impl::FileFinderImplPosix;
#endif

} // namespace pyx::wrp
