// Pieces the vector arithmetic families share: the fixed reciprocal threshold, fused passes over short chunks, and
// the complex logarithm, exponential and power of arrays. Internal to the library.
#pragma once

#include <algorithm>
#include <cstdint>

#include "core/Dovi387.h"
#include "platform/wavrin/Parallel.h"

namespace tarnel::detail {

// The threshold of the complex reciprocals of the members that take none (DivideVec, InvSqrt, InvCbrt): the square
// root of 5.56268464626801E-309 taken in long double and rounded once to Double (about 7.4583407312002e-155). A
// root of the Double nearest to that number would round to 0x1.0000000000002p-512 instead.
inline constexpr double kRecipThreshold0 = 0x1.0000000000003p-512;

// One third and minus one third as the nearest Doubles: the exponents of the complex cube roots.
inline constexpr double kThird = 1.0 / 3.0;
inline constexpr double kMinusThird = -(1.0 / 3.0);

// Elements of one chunk of a fused pass; a chunk's scratch holds kChunkScratch Doubles (four real arrays of a chunk,
// or two complex ones), small enough to stay in the first-level cache while the chunk is worked on.
inline constexpr int kChunk = 256;
inline constexpr int kChunkScratch = 4 * kChunk;

// Runs Body(Lo, Count, Scratch) over [0, N) in chunks of at most kChunk elements. Long ranges (from MinSplit
// elements on, parallel::MinSplitFor) are cut into pieces that threads share; each element is computed alone, so
// neither cut changes a result. A destination may be a source itself, but must not overlap a source otherwise (the
// callers detach such sources first). Widest: the widest copy of the body's loops (parallel::TIsa; AVX-512 only for
// real arithmetic).
template <parallel::TIsa Widest = parallel::TIsa::Avx2, class Body>
void Chunked(std::int64_t N, const Body& Run, long long MinSplit = 0)
{
    parallel::Pieces<Widest>(N, [&](long long Lo, long long Hi) {
        alignas(64) double scratch[kChunkScratch];
        for (long long i = Lo; i < Hi; i += kChunk)
            Run(static_cast<std::int64_t>(i), static_cast<int>(std::min<long long>(kChunk, Hi - i)), scratch);
    }, parallel::kMinPiece, MinSplit);
}

// Dst := A·(1/Y) over N Doubles with the reciprocals of nspdbInvThresh2 (the correctly rounded 1/y, or ±|1/Threshold|
// by the sign bit of y where |y| < Threshold) in one pass: the bits of the reciprocal pass followed by the product
// pass. Dst may be A or Y, or apart from both (platform/wavrin/Arith.cpp).
void ThresholdedQuotient(const double* A, const double* Y, double* Dst, std::int64_t N, double Threshold);

// ---- Complex logarithm, exponential and power of arrays (vec_exp.cpp) ----------------------------------------
// N elements from Src into Dst, which may be Src itself.

// ln z = ln|z| + i·arg z (the magnitude and phase of CartToPolar; the phase of -x - 0i is -π).
void ComplexLn(const TCplx* Src, TCplx* Dst, int N);
// exp(a + ib) = e^a·cos b + i·e^a·sin b, with C99's values at the edges: an exact zero imaginary part stays (with
// its sign) and e^(-∞ + ib) is 0.
void ComplexExp(const TCplx* Src, TCplx* Dst, int N);
// z^P = exp(P·ln z), both parts of ln z multiplied by P; 0^P is 0 for P > 0.
void ComplexPower(const TCplx* Src, TCplx* Dst, int N, double P);
// z^P = exp(P·ln z) for a complex P (a real one when P.Im = 0).
void ComplexPower(const TCplx* Src, TCplx* Dst, int N, const TCplx& P);
// x^P = exp(P·ln x) of real data: NaN for x < 0 and for 0^0.
void RealPower(const double* Src, double* Dst, std::int64_t N, double P);
// Base^Exponent by repeated squaring over the unsigned count |Exponent|, then the reciprocal thresholded at
// kIntPowerThreshold for a negative Exponent (real data; complex data with Polar: magnitudes so, phases times
// Exponent; complex data otherwise: complex products and a threshold of its square root).
inline constexpr double kIntPowerThreshold = 5.56268464626801E-309;
void RealIntPower(const double* Src, double* Dst, std::int64_t N, int Exponent);
void ComplexIntPower(const TCplx* Src, TCplx* Dst, std::int64_t N, int Exponent, bool Polar);
// Dst[k] := Base[k]^Exponent[k]: real data by VDPOW, complex ones by exp(Exponent·ln Base), either operand
// complex (BaseComplex, ExpComplex) and Dst complex when either is. Dst must not overlap the sources.
// RealByPow: real pairs through VDPOW (C's pow); otherwise exp(Exponent·ln Base) for them too.
void PowerOfVectors(const double* Base, bool BaseComplex, const double* Exponent, bool ExpComplex, double* Dst,
                    std::int64_t N, bool RealByPow);

// ---- Transcendental functions of arrays, shared by the vector and matrix members (vec_exp.cpp, vec_trig.cpp) ----
// Dst := f(Src) over N Doubles (2 per complex element) of the given kind; Dst may be Src, element for element.

void ExpElems(bool Complex, const double* Src, double* Dst, std::int64_t N);
// ln x / Divisor (1: the plain logarithm).
void LnElems(bool Complex, const double* Src, double* Dst, std::int64_t N, double Divisor);
void Log10Elems(bool Complex, const double* Src, double* Dst, std::int64_t N);
// ln N, the divisor of LogN, after refusing N = 0 (and NaN with NanToo) with "N = 0".
double LogNDivisor(double N, bool NanToo);
enum class TTrig { Sin, Cos, Tan, ArcSin, ArcCos, ArcTan, Sinh, Cosh, Tanh, ArcSinh, ArcCosh, ArcTanh };
void TrigElems(TTrig F, bool Complex, const double* Src, double* Dst, std::int64_t N);

// ---- Pieces shared with the matrix families ---------------------------------------------------------------------

// Runs Run(Lo, Count) over [0, N) in spans whose Count fits the int counts of the signal library's routines
// (a complex matrix may hold more Doubles than an int counts). Element-wise routines give the same result cut.
template <class Run>
void IntSpans(std::int64_t N, const Run& Each)
{
    constexpr std::int64_t kSpan = std::int64_t{1} << 30;
    for (std::int64_t lo = 0; lo < N; lo += kSpan) Each(lo, static_cast<int>(std::min(kSpan, N - lo)));
}

// Dst[k] += (Re + i·Im)·Src[k] for N elements of the given kind through DAXPY/ZAXPY; long arrays are cut into
// pieces that threads share (vec_add.cpp).
void Axpy(bool Complex, int N, double Re, double Im, const double* Src, double* Dst);

// Dst := Src rounded to whole numbers with ties to even (RoundDoubles) or truncated toward zero, N Doubles, in
// floating point whatever the rounding mode in force: NaN, infinities and the sign of zero stay. Dst may be Src
// (vec_fill.cpp).
void RoundDoubles(const double* Src, double* Dst, std::int64_t N);
void TruncDoubles(const double* Src, double* Dst, std::int64_t N);

}  // namespace tarnel::detail
