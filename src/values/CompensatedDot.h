// Dot products for the matrix product, accurate as if computed in twice the
// working precision (Ogita, Rump and Oishi's Dot2): every product is split
// exactly into its rounded value and its rounding error, every addition
// likewise, and the errors are summed beside the value. The result is the
// exact dot product rounded once, up to a relative error of about n²·2⁻¹⁰⁶
// of the sum of |aₖbₖ| — better than an 80-bit long double accumulator
// (n·2⁻⁶⁴), and it vectorises, which long double does not.
#pragma once

namespace tesmora {

// out[j] = Σₖ a[k]·b[j·n + k] for j < count: the row `a` (n numbers) against
// `count` rows of b, each n numbers long (the columns of the right factor,
// transposed). Where the compensated sum is not finite (an overflow on the
// way, an infinity or a NaN among the numbers) that element is summed
// plainly in long double, so infinities and NaNs come out as they always
// did. Every machine gives the same results: the same operations in the
// same order, with or without vector instructions.
void rowTimesRows(const double* a, const double* b, int n, int count, double* out);

// The compensated sums of rowTimesRows without vector instructions, which
// machines without AVX2 and FMA run (non-finite elements are left as they
// come). Exposed so that tests can hold both paths to the same bits.
void rowTimesRowsPortable(const double* a, const double* b, int n, int count,
                          double* out);

}  // namespace tesmora
