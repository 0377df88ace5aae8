// Dot products for the matrix product, accurate as if computed in twice the
// working precision (Ogita, Rump and Oishi's Dot2): every product is split
// exactly into its rounded value and its rounding error, every addition
// likewise, and the errors are summed beside the value. The result is the
// exact dot product rounded once, up to a relative error of about n²·2⁻¹⁰⁶
// of the sum of |aₖbₖ| — better than an 80-bit long double accumulator
// (n·2⁻⁶⁴), and it vectorises, which long double does not.
#pragma once

#include <cstddef>
#include <utility>

#include "values/ElementStorage.h"

namespace tesmora {

// Storage for the layout, kept between products by whoever makes many.
struct ColumnStorage {
  ElementBuffer cells;
  std::size_t capacity = 0;
};

// The columns of a product's right factor, laid out once for all the rows
// of the left factor: column j as `inner` numbers one after the other, in
// quads (four numbers), quad q of column 2i beside quad q of column 2i+1,
// so that one 512-bit load holds four terms of two dot products. Padded
// with zeros to whole quads and an even number of columns.
class ProductColumns {
 public:
  // Column j's number k is source[k·kStride + j·jStride]. The layout is
  // written into `storage`, whose allocation is reused when large enough.
  ProductColumns(const double* source, int inner, int cols, std::size_t kStride,
                 std::size_t jStride, ColumnStorage storage = {});
  // The storage back, for the next product.
  ColumnStorage releaseStorage() && { return std::move(storage_); }

  int inner() const { return inner_; }
  int cols() const { return cols_; }
  int quads() const { return quads_; }
  int pairs() const { return (cols_ + 1) / 2; }
  // Columns 2i and 2i+1: quads()·8 numbers.
  const double* pair(int i) const {
    return storage_.cells.get() + std::size_t(i) * quads_ * 8;
  }
  double at(int k, int j) const {
    return pair(j / 2)[(k / 4) * 8 + (j % 2) * 4 + k % 4];
  }

 private:
  int inner_;
  int cols_;
  int quads_;
  ColumnStorage storage_;
};

// out[j] = Σₖ a[k]·column_j[k] for every column j: the row `a` (inner()
// numbers) against every column. Where the compensated sum is not finite
// (an overflow on the way, an infinity or a NaN among the numbers) that
// element is summed plainly in long double, so infinities and NaNs come
// out as they always did. Every machine gives the same results: each path
// below computes the same sums, in the same order (term k in lane k mod 4,
// the lanes joined in order), with the same roundings.
void rowTimesColumns(const double* a, const ProductColumns& columns, double* out);
// The same for the columns [first, end) only, first even: out[j − first].
void rowTimesColumnRange(const double* a, const ProductColumns& columns, int first, int end,
                         double* out);

// The same for `rows` rows of a, one after the other (inner() numbers
// each): row r's results go to out + r·outStride. Rows are taken two at a
// time where the path allows, which shares every load of the columns.
void rowsTimesColumnRange(const double* a, int rows, const ProductColumns& columns, int first,
                          int end, double* out, std::size_t outStride);

// The ways of computing the compensated sums; the first the machine has is
// taken. Exposed so that tests can hold every path to the portable one's
// bits (non-finite elements are left as they come).
enum class DotPath { avx512, avx2, portable };
bool dotPathAvailable(DotPath path);
void rowTimesColumnsOn(DotPath path, const double* a, const ProductColumns& columns,
                       double* out);
// `rows` rows of a, row r's results at out + r·cols().
void rowsTimesColumnsOn(DotPath path, const double* a, int rows, const ProductColumns& columns,
                        double* out);

// out[j] = Σₖ a[k]·b[j·n + k] for j < count: the row `a` (n numbers) against
// `count` rows of b, each n numbers long, as rowTimesColumns.
void rowTimesRows(const double* a, const double* b, int n, int count, double* out);

// The compensated sums of rowTimesRows without vector instructions, which
// machines without AVX2 and FMA run (non-finite elements are left as they
// come).
void rowTimesRowsPortable(const double* a, const double* b, int n, int count,
                          double* out);

}  // namespace tesmora
