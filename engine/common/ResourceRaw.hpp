#pragma once

#include "engine/common/ResourceTyped.hpp"

#include <cstdint>
#include <vector>

namespace pyx::cmn {

// A file's bytes, unchanged.
class ResourceRaw : public ResourceTyped<std::vector<std::uint8_t>> {
public:
    int typeId() const override;
    static int staticTypeId();

    // Reads the whole file; after a short read the vector keeps the file's
    // size with a zero tail, and false is returned.
    bool loadFromFile(const std::wstring& path) override;
    // Copies the bytes; always true.
    bool loadFromMemory(const std::vector<std::uint8_t>& bytes) override;
};

} // namespace pyx::cmn
