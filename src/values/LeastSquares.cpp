// a \ b: the least-squares solution of a x = b.
#include "values/MatrixAlgebra.h"

#include "interp/Errors.h"
#include "values/Scalar.h"

namespace tesmora {

ValuePtr leastSquares(const Matrix& a, const Matrix& b) {
  if (a.rows() != b.rows()) raise("'': не совпадает число строк");
  auto t = transposed(a);
  auto p = productMatrix(*t, a);
  std::unique_ptr<Matrix> q;
  if (p->rows() == 1 && p->cols() == 1) {
    // A single column: the inverse of the 1×1 product is its reciprocal.
    if ((*p)[0] == 0) raise("деление на ноль");
    const double reciprocal = 1 / (*p)[0];
    q = t->duplicate();
    for (int i = 0; i < q->count(); ++i) (*q)[i] *= reciprocal;
  } else {
    q = productMatrix(*inverseMatrix(*p), *t);
  }
  return matrixProduct(*q, b);
}

}  // namespace tesmora
