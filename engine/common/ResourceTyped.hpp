#pragma once

#include "engine/common/ResourceBase.hpp"

#include <memory>
#include <stdexcept>

namespace pyx::cmn {

// A resource whose content is one value of type T, empty (default-made)
// until the load has run.
template <class T> class ResourceTyped : public ResourceBase {
public:
    using ValueType = T;

    // Waits for the load and returns the content; it does not change after.
    T& value() {
        waitUntilLoaded();
        return m_value;
    }

protected:
    T m_value{};
};

// The content of the resource behind handle, after waiting for its load.
// An empty handle is a programming error: std::runtime_error
// "Null resource exception".
template <class R> auto& resourceValue(const std::shared_ptr<R>& handle) {
    if (!handle) {
        throw std::runtime_error("Null resource exception");
    }
    return handle->value();
}

} // namespace pyx::cmn
