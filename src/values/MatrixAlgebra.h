// Matrix algebra behind the operators &*, &^, \ and ~.
#pragma once

#include "values/Matrix.h"

namespace tesmora {

// A &* B, each element a compensated dot product (values/CompensatedDot.h)
// at least as accurate as an extended-precision sum. A 1×1 result is a number.
ValuePtr matrixProduct(const Matrix& a, const Matrix& b);
// The same, always as a matrix (also 1×1).
std::unique_ptr<Matrix> productMatrix(const Matrix& a, const Matrix& b);
// M &^ n by repeated squaring: n a finite integer >= 0, M square. A 1×1 M
// gives the number m^n for n >= 1.
ValuePtr matrixPower(const Matrix& m, double n);
// The inverse by Gauss–Jordan elimination with partial pivoting.
std::unique_ptr<Matrix> inverseMatrix(const Matrix& m);
// A \ B: the least-squares solution (A'A)^-1 A' B.
ValuePtr leastSquares(const Matrix& a, const Matrix& b);
std::unique_ptr<Matrix> transposed(const Matrix& m);
std::unique_ptr<Matrix> identityMatrix(int n);

}  // namespace tesmora
