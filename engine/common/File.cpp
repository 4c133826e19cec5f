#include "engine/common/File.hpp"

#include "engine/core/Assert.hpp"

namespace pyx::cmn {

File::File() : m_driver(wrp::createFileDriver()) {}

File::~File() {
    close();
}

bool File::open(const std::wstring& path, int mode) {
    m_isOpen = m_driver->open(path, mode);
    return m_isOpen;
}

void File::close() {
    m_driver->close();
    m_isOpen = false;
}

std::uint64_t File::read(void* buffer, std::uint64_t count) {
    return m_driver->read(buffer, count);
}

std::uint64_t File::write(const void* buffer, std::uint64_t count) {
    return m_driver->write(buffer, count);
}

bool File::readExact(void* buffer, std::uint64_t count) {
    return m_driver->read(buffer, count) == count;
}

bool File::writeExact(const void* buffer, std::uint64_t count) {
    return m_driver->write(buffer, count) == count;
}

bool File::readU8(std::uint8_t& value) {
    return m_driver->read(&value, 1) >= 1;
}

bool File::readU16(std::uint16_t& value) {
    std::uint8_t b[2];
    if (!readExact(b, 2)) {
        return false;
    }
    value = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    return true;
}

bool File::readU32(std::uint32_t& value) {
    std::uint8_t b[4];
    if (!readExact(b, 4)) {
        return false;
    }
    value = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
            (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    return true;
}

bool File::writeU8(std::uint8_t value) {
    return m_driver->write(&value, 1) >= 1;
}

bool File::writeU16(std::uint16_t value) {
    const std::uint8_t b[2] = {static_cast<std::uint8_t>(value),
                               static_cast<std::uint8_t>(value >> 8)};
    return writeExact(b, 2);
}

bool File::writeU32(std::uint32_t value) {
    const std::uint8_t b[4] = {
        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
        static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    return writeExact(b, 4);
}

std::uint64_t File::readChunk(Chunk& buffer) {
    return m_driver->read(buffer.data(), buffer.size());
}

bool File::readVector(std::vector<std::uint8_t>& bytes, std::uint64_t count) {
    bytes.resize(count);
    return readExact(bytes.data(), count);
}

bool File::seek(std::int64_t offset) {
    return m_driver->seek(offset, wrp::FileDriver::FromStart);
}

std::int64_t File::tell() const {
    std::uint64_t position = 0;
    if (!m_driver->tell(position)) {
        return -1;
    }
    return static_cast<std::int64_t>(position);
}

std::uint64_t File::size() const {
    std::uint64_t result = 0;
    if (!m_driver->size(result)) {
        PYX_ASSERT(false);
        return 0;
    }
    return result;
}

bool File::trySize(std::uint64_t& size) const {
    return m_driver->size(size);
}

bool File::readAll(std::vector<std::uint8_t>& bytes) {
    std::uint64_t total = 0;
    if (!m_driver->size(total) || !seek(0)) {
        return false;
    }
    bytes.resize(total);
    return readExact(bytes.data(), total);
}

bool File::flush() {
    return m_driver->flush();
}

bool File::truncate(std::uint64_t newSize) {
    return m_driver->truncate(newSize);
}

} // namespace pyx::cmn
