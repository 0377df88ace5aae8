#include "values/CompensatedDot.h"

#include <cmath>
#include <cstddef>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define TESMORA_HAVE_AVX2_PATH 1
#endif

namespace tesmora {
namespace {

// Each dot product is summed in kLanes interleaved partial sums (term k goes
// to lane k mod kLanes), which are joined in lane order at the end. The
// portable path and the vector path follow exactly this order, so their
// results agree to the bit.
constexpr int kLanes = 4;

// The rounding error of p = a·b, exactly (Dekker's product with Veltkamp's
// split); exact unless a or b is beyond 2^996 in magnitude, where the split
// overflows and the sum becomes NaN, which sends the element to the plain
// long double sum.
double productError(double a, double b, double p) {
  constexpr double kSplitter = 134217729.0;  // 2^27 + 1
  const double ca = kSplitter * a;
  const double cb = kSplitter * b;
  const double aHigh = ca - (ca - a);
  const double bHigh = cb - (cb - b);
  const double aLow = a - aHigh;
  const double bLow = b - bHigh;
  const double highProduct = aHigh * bHigh - p;
  const double crossed = highProduct + aHigh * bLow + aLow * bHigh;
  return crossed + aLow * bLow;
}

// A running sum s with its accumulated error c.
struct Partial {
  double s = 0;
  double c = 0;
};

// s += p, keeping the addition's rounding error (Knuth's TwoSum) and the
// term's own error e in c.
void add(Partial& partial, double p, double e) {
  const double t = partial.s + p;
  const double z = t - partial.s;
  const double sumError = (partial.s - (t - z)) + (p - z);
  partial.c = partial.c + (sumError + e);
  partial.s = t;
}

double joined(const Partial (&lanes)[kLanes]) {
  Partial total = lanes[0];
  for (int l = 1; l < kLanes; ++l) add(total, lanes[l].s, lanes[l].c);
  return total.s + total.c;
}

double dotPortable(const double* a, const double* b, int n) {
  Partial lanes[kLanes];
  for (int k = 0; k < n; ++k) {
    const double p = a[k] * b[k];
    add(lanes[k % kLanes], p, productError(a[k], b[k], p));
  }
  return joined(lanes);
}

#ifdef TESMORA_HAVE_AVX2_PATH

#define TESMORA_AVX2 __attribute__((target("avx2,fma")))

// add() on four lanes at once. Additions and subtractions are spread over
// the multiply-add units as x·1 ± y (rounded once, so the same number),
// which keeps all four floating-point pipes of current cores busy.
TESMORA_AVX2 inline void addVector(__m256d& s, __m256d& c, __m256d p, __m256d e) {
  const __m256d one = _mm256_set1_pd(1.0);
  const __m256d t = _mm256_add_pd(s, p);
  const __m256d z = _mm256_fnmadd_pd(s, one, t);    // t − s
  const __m256d back = _mm256_sub_pd(t, z);         // t − z
  const __m256d sumError =
      _mm256_add_pd(_mm256_fnmadd_pd(back, one, s), _mm256_sub_pd(p, z));
  c = _mm256_fmadd_pd(_mm256_add_pd(sumError, e), one, c);
  s = t;
}

TESMORA_AVX2 inline void addProducts(__m256d& s, __m256d& c, __m256d a, __m256d b) {
  const __m256d p = _mm256_mul_pd(a, b);
  addVector(s, c, p, _mm256_fmsub_pd(a, b, p));  // the product's exact error
}

// Columns of the 4×4 matrix whose rows are r[0..3].
TESMORA_AVX2 inline void transpose(__m256d (&r)[4]) {
  const __m256d t0 = _mm256_unpacklo_pd(r[0], r[1]);
  const __m256d t1 = _mm256_unpackhi_pd(r[0], r[1]);
  const __m256d t2 = _mm256_unpacklo_pd(r[2], r[3]);
  const __m256d t3 = _mm256_unpackhi_pd(r[2], r[3]);
  r[0] = _mm256_permute2f128_pd(t0, t2, 0x20);
  r[1] = _mm256_permute2f128_pd(t1, t3, 0x20);
  r[2] = _mm256_permute2f128_pd(t0, t2, 0x31);
  r[3] = _mm256_permute2f128_pd(t1, t3, 0x31);
}

// Four dot products at once: `a` against rows[0..3]. The four sums share
// every load of `a` and keep four independent chains in flight; a short
// tail is padded with zeros, which add nothing and no error.
TESMORA_AVX2 void fourDots(const double* a, const double* const (&rows)[4], int n,
                           double* out) {
  __m256d s[4], c[4];
  for (int d = 0; d < 4; ++d) s[d] = c[d] = _mm256_setzero_pd();
  int k = 0;
  for (; k + kLanes <= n; k += kLanes) {
    const __m256d x = _mm256_loadu_pd(a + k);
    for (int d = 0; d < 4; ++d) addProducts(s[d], c[d], x, _mm256_loadu_pd(rows[d] + k));
  }
  if (k < n) {
    alignas(32) double tailA[kLanes] = {};
    alignas(32) double tailB[4][kLanes] = {};
    for (int t = 0; k + t < n; ++t) {
      tailA[t] = a[k + t];
      for (int d = 0; d < 4; ++d) tailB[d][t] = rows[d][k + t];
    }
    const __m256d x = _mm256_load_pd(tailA);
    for (int d = 0; d < 4; ++d) addProducts(s[d], c[d], x, _mm256_load_pd(tailB[d]));
  }
  // Lane l of every sum side by side, then joined in lane order as joined().
  transpose(s);
  transpose(c);
  __m256d totalS = s[0];
  __m256d totalC = c[0];
  for (int l = 1; l < kLanes; ++l) addVector(totalS, totalC, s[l], c[l]);
  alignas(32) double results[4];
  _mm256_store_pd(results, _mm256_add_pd(totalS, totalC));
  for (int d = 0; d < 4; ++d) out[d] = results[d];
}

TESMORA_AVX2 void rowTimesRowsAvx2(const double* a, const double* b, int n, int count,
                                   double* out) {
  for (int j = 0; j < count; j += 4) {
    // A last block of fewer than four rows repeats its last row.
    const double* rows[4];
    for (int d = 0; d < 4; ++d) {
      const int row = j + d < count ? j + d : count - 1;
      rows[d] = b + std::size_t(row) * n;
    }
    double results[4];
    fourDots(a, rows, n, results);
    for (int d = 0; d < 4 && j + d < count; ++d) out[j + d] = results[d];
  }
}

bool hasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
  return has;
}

#endif  // TESMORA_HAVE_AVX2_PATH

double plainSum(const double* a, const double* b, int n) {
  long double sum = 0;
  for (int k = 0; k < n; ++k) sum += static_cast<long double>(a[k]) * b[k];
  return static_cast<double>(sum);
}

}  // namespace

void rowTimesRowsPortable(const double* a, const double* b, int n, int count,
                          double* out) {
  for (int j = 0; j < count; ++j) out[j] = dotPortable(a, b + std::size_t(j) * n, n);
}

void rowTimesRows(const double* a, const double* b, int n, int count, double* out) {
#ifdef TESMORA_HAVE_AVX2_PATH
  if (hasAvx2()) {
    rowTimesRowsAvx2(a, b, n, count, out);
  } else {
    rowTimesRowsPortable(a, b, n, count, out);
  }
#else
  rowTimesRowsPortable(a, b, n, count, out);
#endif
  for (int j = 0; j < count; ++j) {
    if (!std::isfinite(out[j])) out[j] = plainSum(a, b + std::size_t(j) * n, n);
  }
}

}  // namespace tesmora
