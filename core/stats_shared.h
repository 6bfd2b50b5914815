// Scans that the vector and the matrix reductions share, over a block of elements. Internal to the library.
#pragma once

#include <cstdint>

#include "core/Dovi387.h"

namespace tarnel::detail {

// The position of the greatest (Largest) or least of the N > 0 complex numbers at Z in the complex order: by
// m(z) = Re² + Im² rounded to a Double, a strictly larger (smaller) key taking over, equal keys decided by quadrant
// code and then the real part (Bigger2, Smaller2); the first of equal elements wins.
int CplxExtreme(const TCplx* Z, int N, bool Largest);

// The Count Doubles at A and B match within Tolerance: equal numbers (infinities of one sign too) always match, a
// pair with a NaN never does, and other pairs only for Tolerance > 0 and |a − b| <= Tolerance.
bool EqualNumbers(const double* A, const double* B, std::int64_t Count, double Tolerance);

}  // namespace tarnel::detail
