#pragma once

#include <array>

namespace pyx::core {

// A 4 x 4 float matrix, row-major for column vectors: a point p maps to M * p
// and the translation sits in elements 3, 7 and 11. OpenGL wants the
// column-major layout, so a transposed copy is kept and rebuilt lazily.
class Matrix4 {
public:
    // Identity.
    Matrix4();
    // The matrix with these 16 elements in row-major order.
    explicit Matrix4(const std::array<float, 16>& elements);

    // Resets to identity.
    void setIdentity();
    // this = this * other; marks the transposed copy stale.
    void multiply(const Matrix4& other);
    Matrix4& operator*=(const Matrix4& other);
    Matrix4 operator*(const Matrix4& other) const;

    // Element i (row * 4 + column).
    float operator[](int i) const { return m_elements[static_cast<unsigned>(i)]; }
    // Element at (row, column).
    float at(int row, int column) const {
        return m_elements[static_cast<unsigned>(row * 4 + column)];
    }
    // Sets element i (row * 4 + column) and marks the transposed copy stale.
    void set(int i, float value);
    const std::array<float, 16>& elements() const { return m_elements; }

    // The column-major copy for glLoadMatrixf, rebuilt when stale.
    const float* getTransposed() const;

    // The inverse; a singular matrix gives the identity, so that a degenerate
    // transform (a scale of 0) maps points somewhere harmless instead of NaN.
    Matrix4 inverse() const;

    // Maps (x, y, z, 1) through the matrix and divides by w unless w is 1 or 0.
    std::array<float, 3> transformPoint(float x, float y, float z = 0.f) const;

    static Matrix4 translation(float x, float y, float z);
    static Matrix4 scaling(float x, float y, float z);

    bool operator==(const Matrix4& other) const { return m_elements == other.m_elements; }

private:
    std::array<float, 16> m_elements;
    mutable bool m_transposedStale = true;
    mutable std::array<float, 16> m_transposed{};
};

} // namespace pyx::core
