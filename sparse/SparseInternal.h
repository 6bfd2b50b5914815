// Small helpers shared by the sparse families. Internal to the library.
#pragma once

#include <cmath>

#include "core/Dovi387.h"

namespace tarnel::detail {

// X rounded to the nearest integer, ties to even, whatever the rounding mode in force: floor is exact, and so is
// X - floor(X) for every finite X. X must be finite and the result must fit an int (the callers check).
inline double RoundHalfEvenValue(double X)
{
    double f = std::floor(X);
    const double d = X - f;
    if (d > 0.5 || (d == 0.5 && std::fmod(f, 2.0) != 0)) f += 1;
    return f;
}

inline int RoundHalfEven(double X)
{
    return static_cast<int>(RoundHalfEvenValue(X));
}

// The triplet conversions keep a value when its magnitude (modulus of a complex value) is above the threshold,
// or always with DontStripZeros. A NaN value is never above it.
inline bool KeptValue(double V, double Thresh, bool DontStripZeros)
{
    return DontStripZeros || Thresh < std::fabs(V);
}

inline bool KeptValue(const TCplx& V, double Thresh, bool DontStripZeros)
{
    return DontStripZeros || Thresh < CAbs(V);
}

}  // namespace tarnel::detail
