#pragma once
// The tests' own solver of Newton's equations: Gauss-Jordan elimination with partial pivoting.

#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

namespace vlab::test {

// The x with a x = b; empty when the system is singular.
inline std::vector<double> Solve(std::vector<std::vector<double>> a, std::vector<double> b) {
    const std::size_t n = b.size();
    for (std::size_t col = 0; col < n; ++col) {
        std::size_t pivot = col;
        for (std::size_t row = col + 1; row < n; ++row)
            if (std::fabs(a[row][col]) > std::fabs(a[pivot][col])) pivot = row;
        if (std::fabs(a[pivot][col]) < 1e-12) return {};
        std::swap(a[col], a[pivot]);
        std::swap(b[col], b[pivot]);
        for (std::size_t row = 0; row < n; ++row) {
            if (row == col) continue;
            const double f = a[row][col] / a[col][col];
            for (std::size_t k = col; k < n; ++k) a[row][k] -= f * a[col][k];
            b[row] -= f * b[col];
        }
    }
    for (std::size_t i = 0; i < n; ++i) b[i] /= a[i][i];
    return b;
}

}  // namespace vlab::test
