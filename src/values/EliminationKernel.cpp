#include "values/EliminationKernel.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define TESMORA_HAVE_AVX2_PATH 1
#endif

namespace tesmora {
namespace {

// One element through all the steps, kept in a register between them.
inline void subtractStepsAt(double* x, const double* e, const double* p, std::size_t pStride,
                            int steps) {
  double value = *x;
  for (int s = 0; s < steps; ++s) value = value - e[s] * p[std::size_t(s) * pStride];
  *x = value;
}

#ifdef TESMORA_HAVE_AVX2_PATH

// No "fma" here: a product and a difference must each be rounded.
#define TESMORA_AVX2 __attribute__((target("avx2")))

// Eight elements of a row, in two registers.
struct Eight {
  __m256d low, high;
};

TESMORA_AVX2 inline Eight loadEight(const double* x) {
  return {_mm256_loadu_pd(x), _mm256_loadu_pd(x + 4)};
}

TESMORA_AVX2 inline void storeEight(double* x, Eight v) {
  _mm256_storeu_pd(x, v.low);
  _mm256_storeu_pd(x + 4, v.high);
}

TESMORA_AVX2 inline void subtractProduct(Eight& x, const double* e, Eight p) {
  const __m256d m = _mm256_broadcast_sd(e);
  x.low = _mm256_sub_pd(x.low, _mm256_mul_pd(m, p.low));
  x.high = _mm256_sub_pd(x.high, _mm256_mul_pd(m, p.high));
}

// Rows × 8 elements held in registers through all the steps (named, not
// in an array, which compilers keep spilling); each step loads its p once
// for all the rows and broadcasts each row's e.
template <int Rows>
TESMORA_AVX2 inline void subtractStepsBlock(double* x, std::size_t stride, const double* e,
                                            const double* p, std::size_t pStride, int steps) {
  static_assert(Rows == 1 || Rows == 4);
  Eight x0 = loadEight(x), x1, x2, x3;
  if constexpr (Rows == 4) {
    x1 = loadEight(x + stride);
    x2 = loadEight(x + 2 * stride);
    x3 = loadEight(x + 3 * stride);
  }
  for (int s = 0; s < steps; ++s) {
    const Eight ps = loadEight(p + s * pStride);
    subtractProduct(x0, e + s, ps);
    if constexpr (Rows == 4) {
      subtractProduct(x1, e + stride + s, ps);
      subtractProduct(x2, e + 2 * stride + s, ps);
      subtractProduct(x3, e + 3 * stride + s, ps);
    }
  }
  storeEight(x, x0);
  if constexpr (Rows == 4) {
    storeEight(x + stride, x1);
    storeEight(x + 2 * stride, x2);
    storeEight(x + 3 * stride, x3);
  }
}

// `Rows` rows across the whole width: eight columns at a time, then one by
// one.
template <int Rows>
TESMORA_AVX2 void subtractStepsRows(double* x, std::size_t stride, const double* e,
                                    const double* p, std::size_t pStride, int steps,
                                    int width) {
  int c = 0;
  for (; c + 8 <= width; c += 8) {
    subtractStepsBlock<Rows>(x + c, stride, e, p + c, pStride, steps);
  }
  for (; c < width; ++c) {
    for (int r = 0; r < Rows; ++r) {
      subtractStepsAt(x + r * stride + c, e + r * stride, p + c, pStride, steps);
    }
  }
}

TESMORA_AVX2 void subtractStepsAvx2(double* x, std::size_t stride, int rows, const double* e,
                                    const double* p, std::size_t pStride, int steps,
                                    int width) {
  int r = 0;
  for (; r + 4 <= rows; r += 4) {
    subtractStepsRows<4>(x + r * stride, stride, e + r * stride, p, pStride, steps, width);
  }
  for (; r < rows; ++r) {
    subtractStepsRows<1>(x + r * stride, stride, e + r * stride, p, pStride, steps, width);
  }
}

bool hasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

#endif  // TESMORA_HAVE_AVX2_PATH

}  // namespace

void subtractStepsPortable(double* x, std::size_t stride, int rows, const double* e,
                           const double* p, std::size_t pStride, int steps, int width) {
  for (int r = 0; r < rows; ++r) {
    double* row = x + r * stride;
    const double* multipliers = e + r * stride;
    for (int s = 0; s < steps; ++s) {
      const double m = multipliers[s];
      const double* ps = p + s * pStride;
      for (int c = 0; c < width; ++c) row[c] = row[c] - m * ps[c];
    }
  }
}

void subtractSteps(double* x, std::size_t stride, int rows, const double* e, const double* p,
                   std::size_t pStride, int steps, int width) {
#ifdef TESMORA_HAVE_AVX2_PATH
  if (hasAvx2()) {
    subtractStepsAvx2(x, stride, rows, e, p, pStride, steps, width);
    return;
  }
#endif
  subtractStepsPortable(x, stride, rows, e, p, pStride, steps, width);
}

}  // namespace tesmora
