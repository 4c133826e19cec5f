#include "game/objects/WorldHud.hpp"

namespace ironmoat::cmn {

WorldHud::~WorldHud() = default;

} // namespace ironmoat::cmn
