#pragma once

namespace pyx::core {

namespace _impl {
// Returns the next type id from the single process-wide counter: 1, 2, 3, ...
// Safe from any thread.
int nextTypeId();
} // namespace _impl

// An object that can tell which concrete class it is without RTTI.
class IUniqueObject {
public:
    // The concrete class's type id: a positive integer, distinct per class,
    // stable for the run (not between builds).
    virtual int typeId() const = 0;
    virtual ~IUniqueObject() = default;
};

// The type id of class T. The id is drawn during start-up (static
// initialization); a use from another static initializer that runs earlier
// draws it on the spot, so every caller sees the same value.
//   int MyClass::typeId() const { return UniqueTypeId<MyClass>::value(); }
template <class T> class UniqueTypeId {
public:
    static int value() {
        (void)&s_startup; // instantiates s_startup, so the id is drawn at start-up
        static const int id = _impl::nextTypeId();
        return id;
    }

private:
    static inline const int s_startup = value();
};

} // namespace pyx::core
