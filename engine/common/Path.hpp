#pragma once

// The path helpers live with the file driver in engine/platform (the finder
// needs them there); the common layer offers them under its own namespace
// too, so mounts and resources can say cmn::normalizePath.

#include "engine/platform/Path.hpp"

namespace pyx::cmn {

using wrp::directoryOf;
using wrp::normalizePath;
using wrp::toBackslashes;

} // namespace pyx::cmn
