#include "timing/small_solve.h"

#include <cmath>
#include <utility>

namespace tenmirel::timing {

std::optional<SquareMatrix> inverted(SquareMatrix a) {
  const std::size_t n = a.size();
  SquareMatrix inverse(n, std::vector<long double>(n, 0));
  for (std::size_t i = 0; i < n; ++i) inverse[i][i] = 1;
  long double largest = 0;
  for (const auto& row : a) {
    for (long double value : row) largest = std::max(largest, std::fabs(value));
  }
  if (!(largest > 0) || !std::isfinite(static_cast<double>(largest))) return std::nullopt;
  constexpr long double kSingular = 1e-30L;
  for (std::size_t column = 0; column < n; ++column) {
    std::size_t pivot = column;
    for (std::size_t row = column + 1; row < n; ++row) {
      if (std::fabs(a[row][column]) > std::fabs(a[pivot][column])) pivot = row;
    }
    if (std::fabs(a[pivot][column]) <= kSingular * largest) return std::nullopt;
    std::swap(a[pivot], a[column]);
    std::swap(inverse[pivot], inverse[column]);
    const long double scale = a[column][column];
    for (std::size_t k = 0; k < n; ++k) {
      a[column][k] /= scale;
      inverse[column][k] /= scale;
    }
    for (std::size_t row = 0; row < n; ++row) {
      if (row == column) continue;
      const long double factor = a[row][column];
      if (factor == 0) continue;
      for (std::size_t k = 0; k < n; ++k) {
        a[row][k] -= factor * a[column][k];
        inverse[row][k] -= factor * inverse[column][k];
      }
    }
  }
  return inverse;
}

}  // namespace tenmirel::timing
