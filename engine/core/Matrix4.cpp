#include "engine/core/Matrix4.hpp"

#include <cmath>

namespace pyx::core {

namespace {
constexpr std::array<float, 16> identityElements{1.f, 0.f, 0.f, 0.f, 0.f, 1.f, 0.f, 0.f,
                                                 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 0.f, 1.f};
}

Matrix4::Matrix4() : m_elements(identityElements) {}

Matrix4::Matrix4(const std::array<float, 16>& elements) : m_elements(elements) {}

void Matrix4::setIdentity() {
    m_elements = identityElements;
    m_transposedStale = true;
}

void Matrix4::multiply(const Matrix4& other) {
    std::array<float, 16> r{};
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            float sum = 0.f;
            for (int k = 0; k < 4; ++k)
                sum += at(row, k) * other.at(k, col);
            r[static_cast<unsigned>(row * 4 + col)] = sum;
        }
    }
    m_elements = r;
    m_transposedStale = true;
}

Matrix4& Matrix4::operator*=(const Matrix4& other) {
    multiply(other);
    return *this;
}

Matrix4 Matrix4::operator*(const Matrix4& other) const {
    Matrix4 r(*this);
    r.multiply(other);
    return r;
}

void Matrix4::set(int i, float value) {
    m_elements[static_cast<unsigned>(i)] = value;
    m_transposedStale = true;
}

const float* Matrix4::getTransposed() const {
    if (m_transposedStale) {
        for (unsigned row = 0; row < 4; ++row)
            for (unsigned col = 0; col < 4; ++col)
                m_transposed[col * 4 + row] = m_elements[row * 4 + col];
        m_transposedStale = false;
    }
    return m_transposed.data();
}

Matrix4 Matrix4::inverse() const {
    // Cofactor expansion in double precision; the matrices here are small
    // products of translations, rotations and scales, so this is plenty.
    const auto& m = m_elements;
    double inv[16];
    inv[0] = double(m[5]) * m[10] * m[15] - double(m[5]) * m[11] * m[14] -
             double(m[9]) * m[6] * m[15] + double(m[9]) * m[7] * m[14] +
             double(m[13]) * m[6] * m[11] - double(m[13]) * m[7] * m[10];
    inv[4] = -double(m[4]) * m[10] * m[15] + double(m[4]) * m[11] * m[14] +
             double(m[8]) * m[6] * m[15] - double(m[8]) * m[7] * m[14] -
             double(m[12]) * m[6] * m[11] + double(m[12]) * m[7] * m[10];
    inv[8] = double(m[4]) * m[9] * m[15] - double(m[4]) * m[11] * m[13] -
             double(m[8]) * m[5] * m[15] + double(m[8]) * m[7] * m[13] +
             double(m[12]) * m[5] * m[11] - double(m[12]) * m[7] * m[9];
    inv[12] = -double(m[4]) * m[9] * m[14] + double(m[4]) * m[10] * m[13] +
              double(m[8]) * m[5] * m[14] - double(m[8]) * m[6] * m[13] -
              double(m[12]) * m[5] * m[10] + double(m[12]) * m[6] * m[9];
    inv[1] = -double(m[1]) * m[10] * m[15] + double(m[1]) * m[11] * m[14] +
             double(m[9]) * m[2] * m[15] - double(m[9]) * m[3] * m[14] -
             double(m[13]) * m[2] * m[11] + double(m[13]) * m[3] * m[10];
    inv[5] = double(m[0]) * m[10] * m[15] - double(m[0]) * m[11] * m[14] -
             double(m[8]) * m[2] * m[15] + double(m[8]) * m[3] * m[14] +
             double(m[12]) * m[2] * m[11] - double(m[12]) * m[3] * m[10];
    inv[9] = -double(m[0]) * m[9] * m[15] + double(m[0]) * m[11] * m[13] +
             double(m[8]) * m[1] * m[15] - double(m[8]) * m[3] * m[13] -
             double(m[12]) * m[1] * m[11] + double(m[12]) * m[3] * m[9];
    inv[13] = double(m[0]) * m[9] * m[14] - double(m[0]) * m[10] * m[13] -
              double(m[8]) * m[1] * m[14] + double(m[8]) * m[2] * m[13] +
              double(m[12]) * m[1] * m[10] - double(m[12]) * m[2] * m[9];
    inv[2] = double(m[1]) * m[6] * m[15] - double(m[1]) * m[7] * m[14] -
             double(m[5]) * m[2] * m[15] + double(m[5]) * m[3] * m[14] +
             double(m[13]) * m[2] * m[7] - double(m[13]) * m[3] * m[6];
    inv[6] = -double(m[0]) * m[6] * m[15] + double(m[0]) * m[7] * m[14] +
             double(m[4]) * m[2] * m[15] - double(m[4]) * m[3] * m[14] -
             double(m[12]) * m[2] * m[7] + double(m[12]) * m[3] * m[6];
    inv[10] = double(m[0]) * m[5] * m[15] - double(m[0]) * m[7] * m[13] -
              double(m[4]) * m[1] * m[15] + double(m[4]) * m[3] * m[13] +
              double(m[12]) * m[1] * m[7] - double(m[12]) * m[3] * m[5];
    inv[14] = -double(m[0]) * m[5] * m[14] + double(m[0]) * m[6] * m[13] +
              double(m[4]) * m[1] * m[14] - double(m[4]) * m[2] * m[13] -
              double(m[12]) * m[1] * m[6] + double(m[12]) * m[2] * m[5];
    inv[3] = -double(m[1]) * m[6] * m[11] + double(m[1]) * m[7] * m[10] +
             double(m[5]) * m[2] * m[11] - double(m[5]) * m[3] * m[10] -
             double(m[9]) * m[2] * m[7] + double(m[9]) * m[3] * m[6];
    inv[7] = double(m[0]) * m[6] * m[11] - double(m[0]) * m[7] * m[10] -
             double(m[4]) * m[2] * m[11] + double(m[4]) * m[3] * m[10] +
             double(m[8]) * m[2] * m[7] - double(m[8]) * m[3] * m[6];
    inv[11] = -double(m[0]) * m[5] * m[11] + double(m[0]) * m[7] * m[9] +
              double(m[4]) * m[1] * m[11] - double(m[4]) * m[3] * m[9] -
              double(m[8]) * m[1] * m[7] + double(m[8]) * m[3] * m[5];
    inv[15] = double(m[0]) * m[5] * m[10] - double(m[0]) * m[6] * m[9] -
              double(m[4]) * m[1] * m[10] + double(m[4]) * m[2] * m[9] +
              double(m[8]) * m[1] * m[6] - double(m[8]) * m[2] * m[5];

    const double det = double(m[0]) * inv[0] + double(m[1]) * inv[4] + double(m[2]) * inv[8] +
                       double(m[3]) * inv[12];
    if (det == 0.0 || !std::isfinite(det))
        return Matrix4();
    std::array<float, 16> r{};
    for (unsigned i = 0; i < 16; ++i)
        r[i] = static_cast<float>(inv[i] / det);
    return Matrix4(r);
}

std::array<float, 3> Matrix4::transformPoint(float x, float y, float z) const {
    const auto& m = m_elements;
    float rx = m[0] * x + m[1] * y + m[2] * z + m[3];
    float ry = m[4] * x + m[5] * y + m[6] * z + m[7];
    float rz = m[8] * x + m[9] * y + m[10] * z + m[11];
    const float w = m[12] * x + m[13] * y + m[14] * z + m[15];
    if (w != 1.f && w != 0.f) {
        rx /= w;
        ry /= w;
        rz /= w;
    }
    return {rx, ry, rz};
}

Matrix4 Matrix4::translation(float x, float y, float z) {
    return Matrix4({1.f, 0.f, 0.f, x, 0.f, 1.f, 0.f, y, 0.f, 0.f, 1.f, z, 0.f, 0.f, 0.f, 1.f});
}

Matrix4 Matrix4::scaling(float x, float y, float z) {
    return Matrix4({x, 0.f, 0.f, 0.f, 0.f, y, 0.f, 0.f, 0.f, 0.f, z, 0.f, 0.f, 0.f, 0.f, 1.f});
}

} // namespace pyx::core
