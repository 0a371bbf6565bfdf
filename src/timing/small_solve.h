#pragma once
// Small dense linear systems of the fits, solved in long double.
#include <optional>
#include <vector>

namespace tenmirel::timing {

// A symmetric positive definite n × n matrix, row by row.
using SquareMatrix = std::vector<std::vector<long double>>;

// The inverse by Gauss–Jordan elimination with partial pivoting; nothing when
// the matrix is singular to working precision.
std::optional<SquareMatrix> inverted(SquareMatrix matrix);

}  // namespace tenmirel::timing
