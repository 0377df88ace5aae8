#include "values/CompensatedDot.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define TESMORA_HAVE_VECTOR_PATHS 1
#endif

namespace tesmora {
namespace {

// Each dot product is summed in kLanes interleaved partial sums (term k goes
// to lane k mod kLanes), which are joined in lane order at the end. Every
// path follows exactly this order, so their results agree to the bit.
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
inline void add(Partial& partial, double p, double e) {
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

double dotPortable(const double* a, const ProductColumns& columns, int j) {
  Partial lanes[kLanes];
  for (int k = 0; k < columns.inner(); ++k) {
    const double b = columns.at(k, j);
    const double p = a[k] * b;
    add(lanes[k % kLanes], p, productError(a[k], b, p));
  }
  return joined(lanes);
}

void columnsPortable(const double* a, const ProductColumns& columns, int first, int end,
                     double* out) {
  for (int j = first; j < end; ++j) out[j - first] = dotPortable(a, columns, j);
}

#ifdef TESMORA_HAVE_VECTOR_PATHS

// The row's last, incomplete quad padded with zeros, as the columns are:
// 0·0 adds nothing and no error. Padding only one factor would not do:
// a·0 is −0 for a negative a.
struct TailQuad {
  alignas(32) double numbers[kLanes] = {};
  TailQuad(const double* a, int inner) {
    const int whole = inner / kLanes * kLanes;
    for (int k = whole; k < inner; ++k) numbers[k - whole] = a[k];
  }
};

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

// Four dot products at once: `a` against the columns of two pairs. The four
// sums share every load of `a` and keep four independent chains in flight.
TESMORA_AVX2 void fourDots(const double* a, const TailQuad& tail, const double* pairA,
                           const double* pairB, int quads, int wholeQuads,
                           double* out) {
  const double* columns[4] = {pairA, pairA + 4, pairB, pairB + 4};
  __m256d s[4], c[4];
  for (int d = 0; d < 4; ++d) s[d] = c[d] = _mm256_setzero_pd();
  int q = 0;
  for (; q < wholeQuads; ++q) {
    const __m256d x = _mm256_loadu_pd(a + q * kLanes);
    for (int d = 0; d < 4; ++d) addProducts(s[d], c[d], x, _mm256_loadu_pd(columns[d] + q * 8));
  }
  if (q < quads) {
    const __m256d x = _mm256_load_pd(tail.numbers);
    for (int d = 0; d < 4; ++d) addProducts(s[d], c[d], x, _mm256_loadu_pd(columns[d] + q * 8));
  }
  // Lane l of every sum side by side, then joined in lane order as joined().
  transpose(s);
  transpose(c);
  __m256d totalS = s[0];
  __m256d totalC = c[0];
  for (int l = 1; l < kLanes; ++l) addVector(totalS, totalC, s[l], c[l]);
  _mm256_storeu_pd(out, _mm256_add_pd(totalS, totalC));
}

TESMORA_AVX2 void columnsAvx2(const double* a, const ProductColumns& columns, int first,
                              int end, double* out) {
  const TailQuad tail(a, columns.inner());
  const int wholeQuads = columns.inner() / kLanes;
  for (int j = first; j < end; j += 4) {
    // A last block of fewer than four columns repeats its last pair.
    const int pairA = j / 2;
    const int pairB = j + 2 < end ? pairA + 1 : pairA;
    double results[4];
    fourDots(a, tail, columns.pair(pairA), columns.pair(pairB), columns.quads(), wholeQuads,
             results);
    for (int d = 0; d < 4 && j + d < end; ++d) out[j - first + d] = results[d];
  }
}

#define TESMORA_AVX512 __attribute__((target("avx512f,avx512dq")))

// add() on eight lanes, with the addition's error found by Dekker's
// Fast2Sum on the operands ordered by magnitude, which vrangepd does in one
// instruction: with |big| ≥ |small| and t = big + small rounded, the error
// (big − t) + small is exact. TwoSum's error is exact too, so both are the
// same number; when it is zero both are +0 (TwoSum's would be −0 only for
// s = p = −0, where it is +0; here (big − t) would have to be −0 with
// big = −0, t = +0, which needs small = +0). One operation fewer than
// TwoSum, on a loop that is bound by its operation count.
TESMORA_AVX512 inline void addVector(__m512d& s, __m512d& c, __m512d p, __m512d e) {
  const __m512d one = _mm512_set1_pd(1.0);
  const __m512d t = _mm512_add_pd(s, p);
  // Larger and smaller magnitude, each with its own sign (imm8 bits 3:2 =
  // 01); of two equal magnitudes one goes each way.
  const __m512d big = _mm512_range_pd(s, p, 0x07);
  const __m512d small = _mm512_range_pd(s, p, 0x06);
  const __m512d sumError = _mm512_add_pd(_mm512_fnmadd_pd(t, one, big), small);
  c = _mm512_fmadd_pd(_mm512_add_pd(sumError, e), one, c);
  s = t;
}

TESMORA_AVX512 inline void addProducts(__m512d& s, __m512d& c, __m512d a, __m512d b) {
  const __m512d p = _mm512_mul_pd(a, b);
  addVector(s, c, p, _mm512_fmsub_pd(a, b, p));
}

// Lane l of each of the eight dot products held by r[0..3] (pair d holds
// dots 2d and 2d+1, lanes 0..3 each) into one register per lane.
TESMORA_AVX512 inline void laneByLane(__m512d (&r)[4]) {
  const __m512i lanes01 = _mm512_setr_epi64(0, 4, 8, 12, 1, 5, 9, 13);
  const __m512i lanes23 = _mm512_setr_epi64(2, 6, 10, 14, 3, 7, 11, 15);
  const __m512i lowHalves = _mm512_setr_epi64(0, 1, 2, 3, 8, 9, 10, 11);
  const __m512i highHalves = _mm512_setr_epi64(4, 5, 6, 7, 12, 13, 14, 15);
  const __m512d first01 = _mm512_permutex2var_pd(r[0], lanes01, r[1]);
  const __m512d first23 = _mm512_permutex2var_pd(r[0], lanes23, r[1]);
  const __m512d second01 = _mm512_permutex2var_pd(r[2], lanes01, r[3]);
  const __m512d second23 = _mm512_permutex2var_pd(r[2], lanes23, r[3]);
  r[0] = _mm512_permutex2var_pd(first01, lowHalves, second01);
  r[1] = _mm512_permutex2var_pd(first01, highHalves, second01);
  r[2] = _mm512_permutex2var_pd(first23, lowHalves, second23);
  r[3] = _mm512_permutex2var_pd(first23, highHalves, second23);
}

// Four numbers twice over. (The masked form with every lane set is the
// same instruction; the unmasked intrinsic trips a warning in GCC's
// header.)
TESMORA_AVX512 inline __m512d broadcastQuad(const double* x) {
  return _mm512_maskz_broadcast_f64x4(0xFF, _mm256_loadu_pd(x));
}

// Eight dot products at once: `a` against the columns of four pairs, four
// terms of two columns to a register.
TESMORA_AVX512 void eightDots(const double* a, const TailQuad& tail,
                              const double* const (&pairs)[4], int quads, int wholeQuads,
                              double* out) {
  __m512d s[4], c[4];
  for (int d = 0; d < 4; ++d) s[d] = c[d] = _mm512_setzero_pd();
  int q = 0;
  for (; q < wholeQuads; ++q) {
    const __m512d x = broadcastQuad(a + q * kLanes);
    for (int d = 0; d < 4; ++d) addProducts(s[d], c[d], x, _mm512_loadu_pd(pairs[d] + q * 8));
  }
  if (q < quads) {
    const __m512d x = broadcastQuad(tail.numbers);
    for (int d = 0; d < 4; ++d) addProducts(s[d], c[d], x, _mm512_loadu_pd(pairs[d] + q * 8));
  }
  laneByLane(s);
  laneByLane(c);
  __m512d totalS = s[0];
  __m512d totalC = c[0];
  for (int l = 1; l < kLanes; ++l) addVector(totalS, totalC, s[l], c[l]);
  _mm512_storeu_pd(out, _mm512_add_pd(totalS, totalC));
}

// The same for two rows at once: every load of the columns serves both, so
// the loop runs on its arithmetic rather than on the loads, and eight
// independent sums of each row keep every pipe busy. Each dot product is
// the very sequence of operations eightDots does.
TESMORA_AVX512 void eightDotsOfTwoRows(const double* a0, const double* a1, const TailQuad& tail0,
                                       const TailQuad& tail1, const double* const (&pairs)[4],
                                       int quads, int wholeQuads, double* out0, double* out1) {
  __m512d s0[4], c0[4], s1[4], c1[4];
  for (int d = 0; d < 4; ++d) s0[d] = c0[d] = s1[d] = c1[d] = _mm512_setzero_pd();
  int q = 0;
  for (; q < wholeQuads; ++q) {
    const __m512d x0 = broadcastQuad(a0 + q * kLanes);
    const __m512d x1 = broadcastQuad(a1 + q * kLanes);
    for (int d = 0; d < 4; ++d) {
      const __m512d b = _mm512_loadu_pd(pairs[d] + q * 8);
      addProducts(s0[d], c0[d], x0, b);
      addProducts(s1[d], c1[d], x1, b);
    }
  }
  if (q < quads) {
    const __m512d x0 = broadcastQuad(tail0.numbers);
    const __m512d x1 = broadcastQuad(tail1.numbers);
    for (int d = 0; d < 4; ++d) {
      const __m512d b = _mm512_loadu_pd(pairs[d] + q * 8);
      addProducts(s0[d], c0[d], x0, b);
      addProducts(s1[d], c1[d], x1, b);
    }
  }
  laneByLane(s0);
  laneByLane(c0);
  laneByLane(s1);
  laneByLane(c1);
  __m512d totalS0 = s0[0], totalC0 = c0[0], totalS1 = s1[0], totalC1 = c1[0];
  for (int l = 1; l < kLanes; ++l) {
    addVector(totalS0, totalC0, s0[l], c0[l]);
    addVector(totalS1, totalC1, s1[l], c1[l]);
  }
  _mm512_storeu_pd(out0, _mm512_add_pd(totalS0, totalC0));
  _mm512_storeu_pd(out1, _mm512_add_pd(totalS1, totalC1));
}

// Eight columns at a time against every row, two rows at a time: the
// eight columns (inner·64 bytes) stay in the core's first cache while the
// rows pass over them.
TESMORA_AVX512 void blockAvx512(const double* a, int rows, const ProductColumns& columns,
                                int first, int end, double* out, std::size_t outStride) {
  const int inner = columns.inner();
  const int wholeQuads = inner / kLanes;
  // A last group of fewer than eight columns repeats its last pair.
  const int lastPair = (end - 1) / 2;
  for (int j = first; j < end; j += 8) {
    const double* pairs[4];
    for (int d = 0; d < 4; ++d) pairs[d] = columns.pair(std::min(j / 2 + d, lastPair));
    const int count = std::min(8, end - j);
    double* target = out + (j - first);
    for (int r = 0; r < rows; r += 2) {
      const double* a0 = a + std::size_t(r) * inner;
      double results0[8], results1[8];
      const TailQuad tail0(a0, inner);
      if (r + 1 < rows) {
        const TailQuad tail1(a0 + inner, inner);
        eightDotsOfTwoRows(a0, a0 + inner, tail0, tail1, pairs, columns.quads(), wholeQuads,
                           results0, results1);
        std::copy_n(results1, count, target + (r + 1) * outStride);
      } else {
        eightDots(a0, tail0, pairs, columns.quads(), wholeQuads, results0);
      }
      std::copy_n(results0, count, target + r * outStride);
    }
  }
}

#endif  // TESMORA_HAVE_VECTOR_PATHS

double plainSum(const double* a, const ProductColumns& columns, int j) {
  long double sum = 0;
  for (int k = 0; k < columns.inner(); ++k) {
    sum += static_cast<long double>(a[k]) * columns.at(k, j);
  }
  return static_cast<double>(sum);
}

// The rows' products one row after the other, for the paths that take
// one row at a time.
template <class RowPath>
void rowByRow(RowPath rowPath, const double* a, int rows, const ProductColumns& columns,
              int first, int end, double* out, std::size_t outStride) {
  for (int r = 0; r < rows; ++r) {
    rowPath(a + std::size_t(r) * columns.inner(), columns, first, end, out + r * outStride);
  }
}

void blockOn(DotPath path, const double* a, int rows, const ProductColumns& columns, int first,
             int end, double* out, std::size_t outStride) {
  if (rows <= 0 || first >= end) return;
  switch (path) {
#ifdef TESMORA_HAVE_VECTOR_PATHS
    case DotPath::avx512:
      blockAvx512(a, rows, columns, first, end, out, outStride);
      return;
    case DotPath::avx2:
      rowByRow(columnsAvx2, a, rows, columns, first, end, out, outStride);
      return;
#endif
    default:
      rowByRow(columnsPortable, a, rows, columns, first, end, out, outStride);
  }
}

DotPath fastestPath() {
  static const DotPath path = dotPathAvailable(DotPath::avx512) ? DotPath::avx512
                              : dotPathAvailable(DotPath::avx2) ? DotPath::avx2
                                                                : DotPath::portable;
  return path;
}

}  // namespace

ProductColumns::ProductColumns(const double* source, int inner, int cols,
                               std::size_t kStride, std::size_t jStride,
                               ColumnStorage storage)
    : inner_(inner), cols_(cols), quads_((inner + kLanes - 1) / kLanes),
      storage_(std::move(storage)) {
  // Every cell is written below, the padding with zeros, so the storage's
  // old contents need no clearing first. Quad by quad, so that the source
  // is read four of its rows (or columns) at a time, one after the other,
  // and each cache line of the layout is written whole.
  const std::size_t size = std::size_t(pairs()) * quads_ * 8;
  if (storage_.capacity < size || !storage_.cells) {
    storage_.cells = allocateReusedElements(size);
    storage_.capacity = size;
  }
  const std::size_t pairStride = std::size_t(quads_) * 8;
  for (int q = 0; q < quads_; ++q) {
    const int k0 = q * kLanes;
    const int filled = std::min(kLanes, inner - k0);
    double* quad = storage_.cells.get() + std::size_t(q) * 8;
    for (int j = 0; j < cols; ++j) {
      double* target = quad + std::size_t(j / 2) * pairStride + (j % 2) * 4;
      const double* from = source + std::size_t(k0) * kStride + std::size_t(j) * jStride;
      for (int l = 0; l < filled; ++l) target[l] = from[l * kStride];
      for (int l = filled; l < kLanes; ++l) target[l] = 0;
    }
    if (cols % 2 == 1) std::fill_n(quad + std::size_t(cols / 2) * pairStride + 4, 4, 0.0);
  }
}

bool dotPathAvailable(DotPath path) {
  switch (path) {
#ifdef TESMORA_HAVE_VECTOR_PATHS
    case DotPath::avx512:
      return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq");
    case DotPath::avx2:
      return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
#endif
    case DotPath::portable:
      return true;
    default:
      return false;
  }
}

void rowTimesColumnsOn(DotPath path, const double* a, const ProductColumns& columns,
                       double* out) {
  blockOn(path, a, 1, columns, 0, columns.cols(), out, 0);
}

void rowsTimesColumnsOn(DotPath path, const double* a, int rows, const ProductColumns& columns,
                        double* out) {
  blockOn(path, a, rows, columns, 0, columns.cols(), out, std::size_t(columns.cols()));
}

void rowsTimesColumnRange(const double* a, int rows, const ProductColumns& columns, int first,
                          int end, double* out, std::size_t outStride) {
  blockOn(fastestPath(), a, rows, columns, first, end, out, outStride);
  for (int r = 0; r < rows; ++r) {
    double* row = out + r * outStride;
    for (int j = first; j < end; ++j) {
      if (!std::isfinite(row[j - first])) {
        row[j - first] = plainSum(a + std::size_t(r) * columns.inner(), columns, j);
      }
    }
  }
}

void rowTimesColumnRange(const double* a, const ProductColumns& columns, int first, int end,
                         double* out) {
  rowsTimesColumnRange(a, 1, columns, first, end, out, 0);
}

void rowTimesColumns(const double* a, const ProductColumns& columns, double* out) {
  rowTimesColumnRange(a, columns, 0, columns.cols(), out);
}

void rowTimesRows(const double* a, const double* b, int n, int count, double* out) {
  rowTimesColumns(a, ProductColumns(b, n, count, 1, std::size_t(n)), out);
}

void rowTimesRowsPortable(const double* a, const double* b, int n, int count,
                          double* out) {
  rowTimesColumnsOn(DotPath::portable, a, ProductColumns(b, n, count, 1, std::size_t(n)), out);
}

}  // namespace tesmora
