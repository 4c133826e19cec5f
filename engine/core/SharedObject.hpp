#pragma once

#include <memory>
#include <utility>

namespace pyx::core {

// Mix-in for objects that always live under a shared pointer and need to
// hand out shared pointers to themselves (a tank giving its shells an owner).
// The back link is weak so that an object never keeps itself alive.
template <class T> class SharedObject {
public:
    SharedObject() = default;
    SharedObject(const SharedObject&) = delete;
    SharedObject& operator=(const SharedObject&) = delete;
    virtual ~SharedObject() = default;

    // A shared pointer to this object; empty while no shared owner exists
    // (during construction, or for an object not made by `makeShared`).
    std::shared_ptr<T> sharedFromThis() const { return m_self.lock(); }

    // Fills the self link; `makeShared` calls it right after construction.
    void setSelf(const std::shared_ptr<T>& self) { m_self = self; }

private:
    std::weak_ptr<T> m_self;
};

// Makes a U under a shared pointer and fills its self link, the only way game
// objects are meant to be created.
template <class U, class... Args> std::shared_ptr<U> makeShared(Args&&... args) {
    auto object = std::make_shared<U>(std::forward<Args>(args)...);
    object->setSelf(object);
    return object;
}

} // namespace pyx::core
