#pragma once

namespace ironmoat::tools {

// SFML makes an OpenGL context for every texture object, even an empty one,
// and on this platform a context needs an X server: the game's world cannot
// be built without one. When no display is set, this runs the program again
// under a private virtual X server (xvfb-run, nothing shown on any screen)
// and does not return; it returns when a display is set. On failure it
// prints why and returns false.
bool ensureDisplay(int argc, char** argv);

} // namespace ironmoat::tools
