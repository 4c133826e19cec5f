#include "engine/app/GameObject.hpp"

namespace pyx::au {

GameObject::~GameObject() = default;

void GameObject::draw(gfx::Camera&) {}

void GameObject::update(float) {}

} // namespace pyx::au
