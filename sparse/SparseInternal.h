// Small helpers shared by the sparse families. Internal to the library.
#pragma once

#include <cmath>
#include <complex>
#include <cstddef>
#include <type_traits>
#include <vector>

#include "core/Dovi387.h"
#include "core/vec_class.h"

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

using TC = std::complex<double>;

// Element k of a vector or matrix V as T, double or TC (a real element read as TC has imaginary part 0).
template <class T, class Data>
T Elem(const Data& V, std::size_t k)
{
    if constexpr (std::is_same_v<T, double>) {
        return V.Values()[k];
    } else {
        if (!V.Complex()) return {V.Values()[k], 0.0};
        const TCplx c = V.CValues()[k];
        return {c.Re, c.Im};
    }
}

// The elements of Out into V, already sized to hold them, real or complex as T is.
template <class T, class Data>
void PutElems(const std::vector<T>& Out, Data& V)
{
    const int n = static_cast<int>(Out.size());
    for (int k = 0; k < n; ++k) {
        if constexpr (std::is_same_v<T, double>)
            V.Values()[k] = Out[static_cast<std::size_t>(k)];
        else
            V.CValues()[k] = TCplx{Out[static_cast<std::size_t>(k)].real(), Out[static_cast<std::size_t>(k)].imag()};
    }
}

// V := the elements of Out, real or complex as T is.
template <class T>
void StoreElems(const std::vector<T>& Out, TVec& V)
{
    V.Size(static_cast<int>(Out.size()), std::is_same_v<T, TC>);
    PutElems(Out, V);
}

// The elements of a value array read as T, double or TC (a real array read as TC has imaginary part 0), as Elem
// reads them, from the raw Doubles and the array's kind taken once.
template <class T>
struct TValueReader {
    const double* P;
    bool Complex;
    T operator()(int K) const
    {
        if constexpr (std::is_same_v<T, double>)
            return P[K];
        else
            return Complex ? T{P[2 * static_cast<std::size_t>(K)], P[2 * static_cast<std::size_t>(K) + 1]}
                           : T{P[K], 0.0};
    }
};

}  // namespace tarnel::detail
