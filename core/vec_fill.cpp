// Fills of vectors (constants, complex arrays, ramps), the prime numbers below a bound, rounding, truncation and
// fractional parts, and the Kronecker product of two vectors.
//
// Rounding and truncation stay in floating point: a pass through 32-bit integers would turn 1e10 into 2147483647.
// Only the forms that write integers (Round (Dst), Trunc (Dst)) saturate, through nspdbFloatToInt.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "core/Raroz.h"
#include "core/arith_kernels.h"
#include "core/elementwise.h"
#include "platform/wavrin/Parallel.h"

namespace tarnel {

using detail::At;
using detail::Numbers;
using detail::TCheck;
using detail::Width;

// ---- Rounding kernels ---------------------------------------------------------------------------------------------

namespace {

// Ties to even, exact whatever the rounding mode: trunc and x - trunc(x) are exact, and so is t ± 1 while a
// fraction is left (|x| < 2^52).
inline double RoundEven(double X)
{
    const double t = std::trunc(X);
    const double d = X - t;
    if (d > 0.5 || (d == 0.5 && std::fmod(t, 2.0) != 0)) return t + 1;
    if (d < -0.5 || (d == -0.5 && std::fmod(t, 2.0) != 0)) return t - 1;
    return t;
}

#if defined(__x86_64__)
// The rounding instruction takes its mode from the immediate, not from MXCSR, and keeps NaN, ±inf and signed zeros.
template <int Mode>
__attribute__((target("avx"))) void RoundAvx(const double* Src, double* Dst, std::int64_t N)
{
    std::int64_t k = 0;
    for (; k + 3 < N; k += 4)
        _mm256_storeu_pd(Dst + k, _mm256_round_pd(_mm256_loadu_pd(Src + k), Mode | _MM_FROUND_NO_EXC));
    for (; k < N; ++k) Dst[k] = Mode == _MM_FROUND_TO_ZERO ? std::trunc(Src[k]) : RoundEven(Src[k]);
}

bool HasAvx()
{
    static const bool has = __builtin_cpu_supports("avx");
    return has;
}
#endif

template <bool Nearest>
void RoundPieces(const double* Src, double* Dst, std::int64_t N)
{
    // Each Double is rounded alone, so the pieces are independent; Dst is Src or apart from it.
    parallel::Pieces(N, [&](long long Lo, long long Hi) {
        const double* s = Src + Lo;
        double* d = Dst + Lo;
        const std::int64_t n = Hi - Lo;
#if defined(__x86_64__)
        if (HasAvx()) {
            if constexpr (Nearest)
                RoundAvx<_MM_FROUND_TO_NEAREST_INT>(s, d, n);
            else
                RoundAvx<_MM_FROUND_TO_ZERO>(s, d, n);
            return;
        }
#endif
        for (std::int64_t k = 0; k < n; ++k) d[k] = Nearest ? RoundEven(s[k]) : std::trunc(s[k]);
    }, parallel::kMinStreamPiece);
}

// Self := Vec rounded or truncated (an empty Vec leaves Self as it is).
template <bool Nearest>
void RoundFrom(TVecs& Self, const TVecs& Vec)
{
    if (Vec.Length() == 0) return;
    detail::FromSource(Self, Vec, RoundPieces<Nearest>);
}

// Dst := Self's Doubles as saturated 32-bit integers (NaN gives 0); Dst holds one integer per Double.
void ToIntegers(const TVecs& Self, TIntArray& Dst, int Flags)
{
    const std::int64_t m = Numbers(Self);
    TCheck(Self).Always(static_cast<std::int64_t>(Dst.size()) != m, msg::kLengthDst);
    detail::IntSpans(m, [&](std::int64_t Lo, int Count) {
        nspdbFloatToInt(Self.Values() + Lo, Dst.data() + Lo, Count, 32, Flags | NSP_Clip);
    });
}

}  // namespace

void detail::RoundDoubles(const double* Src, double* Dst, std::int64_t N)
{
    RoundPieces<true>(Src, Dst, N);
}

void detail::TruncDoubles(const double* Src, double* Dst, std::int64_t N)
{
    RoundPieces<false>(Src, Dst, N);
}

// ---- Constant fills -------------------------------------------------------------------------------------------------

namespace {

// Self[Index .. Index+Len-1] := Value (a real Self takes Value.Re). Checks done.
void SetRange(TVecs& Self, const TCplx& Value, int Index, int Len)
{
    if (Len <= 0) return;
    if (Self.Complex())
        nspzbSet(Value, Self.CValues() + Index, Len);
    else
        nspdbSet(Value.Re, Self.Values() + Index, Len);
}

// The silent ranges of the range fills: nothing at all for Len <= 0 or Index < 0; otherwise Index + Len must lie
// within Self (refused always).
bool FillRange(const TVecs& Self, int Index, int Len, const char* BoundText)
{
    if (Len <= 0 || Index < 0) return false;
    TCheck(Self).Always(static_cast<std::int64_t>(Index) + Len > Self.Length(), BoundText);
    return true;
}

}  // namespace

TVecs& TVecs::SetVal(double Value)
{
    SetRange(*this, TCplx{Value, 0.0}, 0, FLength);
    return *this;
}

TVec0& TVec0::SetVal(const TCplx& Value)
{
    SetRange(*this, Value, 0, FLength);
    return *this;
}

TVec& TVec::SetVal(const TCplx& Value, int Index, int Len)
{
    if (FillRange(*this, Index, Len, msg::kCopyIndexLen)) SetRange(*this, Value, Index, Len);
    return *this;
}

TVec1& TVec1::SetVal(double Value, int Index, int Len)
{
    if (FillRange(*this, Index, Len, msg::kCopyIndexLen)) SetRange(*this, TCplx{Value, 0.0}, Index, Len);
    return *this;
}

TVecs& TVecs::SetZero()
{
    if (FLength > 0) nspdbZero(FValues, static_cast<int>(Numbers(*this)));
    return *this;
}

TVec& TVec::SetZero(int Index, int Len)
{
    if (FillRange(*this, Index, Len, msg::kLenPlusIndexSpaced)) SetRange(*this, C_ZERO, Index, Len);
    return *this;
}

// ---- Complex arrays ---------------------------------------------------------------------------------------------

TVecs& TVecs::SetCplx(TOpenArray<TCplx> A)
{
    TCheck(*this).Always(A.size() > static_cast<std::size_t>(INT_MAX), msg::kLengthTooLarge);
    const int n = static_cast<int>(A.size());
    // The array may lie in this vector's own data, which sizing may free: then it is read from a copy.
    detail::TLazyTemp t;
    const double* src = reinterpret_cast<const double*>(A.data());
    const std::int64_t room = FAllocatedSize / static_cast<std::int64_t>(sizeof(double));
    if (n > 0 && (detail::Overlap(src, 2 * std::int64_t{n}, FValues, Numbers(*this)) ||
                  detail::Overlap(src, 2 * std::int64_t{n}, reinterpret_cast<const double*>(FBlockStart), room))) {
        TVec& c = t.Get();
        c.Size(n, true);
        std::memcpy(c.Values(), src, static_cast<std::size_t>(n) * sizeof(TCplx));
        src = c.Values();
    }
    Size(n, true);
    if (n > 0) std::memcpy(FValues, src, static_cast<std::size_t>(n) * sizeof(TCplx));
    return *this;
}

TVec0& TVec0::SetCplx(int Index, TOpenArray<TCplx> A)
{
    TCheck(*this)
        .Always(!FComplex, msg::kNotComplexBare)
        .Negative({Index}, msg::kNegIndex)
        .Always(static_cast<std::int64_t>(Index) + static_cast<std::int64_t>(A.size()) > FLength, msg::kIndexALength);
    // memmove: the array may be a piece of this vector.
    if (!A.empty()) std::memmove(CValues() + Index, A.data(), A.size() * sizeof(TCplx));
    return *this;
}

// ---- Ramps ----------------------------------------------------------------------------------------------------------

namespace {

// Element Index + k := (Offset.Re + k·Step.Re) + i·(Offset.Im + k·Step.Im) for k < Len; a real Self takes the real
// parts. Each element is computed from k (never accumulated), so the pieces are independent.
void RampRange(TVecs& Self, const TCplx& Offset, const TCplx& Step, int Index, int Len)
{
    if (Len <= 0) return;
    double* d = At(Self, Index);
    const bool complex = Self.Complex();
    parallel::Pieces(Len, [&](long long Lo, long long Hi) {
        const int lo = static_cast<int>(Lo), hi = static_cast<int>(Hi);
        if (complex) {
            for (int k = lo; k < hi; ++k) {
                d[2 * static_cast<std::int64_t>(k)] = static_cast<double>(k) * Step.Re + Offset.Re;
                d[2 * static_cast<std::int64_t>(k) + 1] = static_cast<double>(k) * Step.Im + Offset.Im;
            }
        } else {
            int k = lo;
#if defined(__SSE2__)
            // Two elements at a time; the index pairs are kept as exact whole Doubles (k, k + 1). Four pairs advance
            // side by side, so that the adds that step them do not wait on each other.
            const __m128d step = _mm_set1_pd(Step.Re), offset = _mm_set1_pd(Offset.Re), two = _mm_set1_pd(2.0);
            __m128d kk = _mm_set_pd(k + 1.0, static_cast<double>(k));
            if (k + 7 < hi) {
                const __m128d eight = _mm_set1_pd(8.0);
                __m128d k1 = _mm_add_pd(kk, two), k2 = _mm_add_pd(k1, two), k3 = _mm_add_pd(k2, two);
                for (; k + 7 < hi; k += 8) {
                    _mm_storeu_pd(d + k, _mm_add_pd(_mm_mul_pd(kk, step), offset));
                    _mm_storeu_pd(d + k + 2, _mm_add_pd(_mm_mul_pd(k1, step), offset));
                    _mm_storeu_pd(d + k + 4, _mm_add_pd(_mm_mul_pd(k2, step), offset));
                    _mm_storeu_pd(d + k + 6, _mm_add_pd(_mm_mul_pd(k3, step), offset));
                    kk = _mm_add_pd(kk, eight);
                    k1 = _mm_add_pd(k1, eight);
                    k2 = _mm_add_pd(k2, eight);
                    k3 = _mm_add_pd(k3, eight);
                }
            }
            for (; k + 1 < hi; k += 2) {
                _mm_storeu_pd(d + k, _mm_add_pd(_mm_mul_pd(kk, step), offset));
                kk = _mm_add_pd(kk, two);
            }
#endif
            for (; k < hi; ++k) d[k] = static_cast<double>(k) * Step.Re + Offset.Re;
        }
    }, parallel::kMinStreamPiece);
}

}  // namespace

TVecs& TVecs::Ramp()
{
    RampRange(*this, C_ZERO, C_ONE, 0, FLength);
    return *this;
}

TVec1& TVec1::Ramp(double Offset, double Step)
{
    RampRange(*this, TCplx{Offset, 0.0}, TCplx{Step, 0.0}, 0, FLength);
    return *this;
}

TVec0& TVec0::Ramp(double Offset, double Step, int Index, int Len)
{
    TCheck(*this)
        .Negative({Index}, msg::kNegIndex)
        .Always(static_cast<std::int64_t>(Index) + Len > FLength, msg::kIndexLenFLength);
    RampRange(*this, TCplx{Offset, 0.0}, TCplx{Step, 0.0}, Index, Len);
    return *this;
}

TVec& TVec::Ramp(const TCplx& Offset, const TCplx& Step)
{
    TCheck(*this).Always(!FComplex, msg::kNotComplexBare);
    RampRange(*this, Offset, Step, 0, FLength);
    return *this;
}

TVec& TVec::Offset(const TCplx& Value)
{
    // The range form over the whole vector: a real vector refuses an imaginary part ("TVec.Offset: Not Complex").
    if (FLength > 0) TVec0::Offset(Value, 0, FLength);
    return *this;
}

// ---- Prime numbers ------------------------------------------------------------------------------------------------

TVecs& TVecs::PrimeNumbers(int n)
{
    TCheck(*this).Always(n <= 0, msg::kPrimeN);
    // A sieve of Eratosthenes over the odd numbers below n: entry j stands for 2j + 1. Indexes are 64-bit, so
    // n up to the largest Integer neither overflows i·i nor the step.
    const std::int64_t odd = n / 2;  // the odd numbers 1, 3, .., below n
    std::vector<unsigned char> composite(static_cast<std::size_t>(odd), 0);
    for (std::int64_t i = 3; i * i < n; i += 2) {
        if (composite[static_cast<std::size_t>(i / 2)]) continue;
        for (std::int64_t m = i * i; m < n; m += 2 * i) composite[static_cast<std::size_t>(m / 2)] = 1;
    }
    std::int64_t count = n > 2 ? 1 : 0;  // the prime 2
    for (std::int64_t j = 1; j < odd; ++j) count += composite[static_cast<std::size_t>(j)] == 0;
    Size(static_cast<int>(count), false);
    if (count == 0) return *this;
    double* d = FValues;
    *d++ = 2;
    for (std::int64_t j = 1; j < odd; ++j) {
        if (!composite[static_cast<std::size_t>(j)]) *d++ = static_cast<double>(2 * j + 1);
    }
    return *this;
}

bool Prime(int n)
{
    if (n < 2) return false;
    if (n % 2 == 0) return n == 2;
    for (std::int64_t d = 3; d * d <= n; d += 2) {
        if (n % d == 0) return false;
    }
    return true;
}

// ---- Rounding, truncation, fractional parts -----------------------------------------------------------------------

TVecs& TVecs::Round(const TVecs& Vec)
{
    RoundFrom<true>(*this, Vec);
    return *this;
}

TVecs& TVecs::Trunc(const TVecs& Vec)
{
    RoundFrom<false>(*this, Vec);
    return *this;
}

TVec0& TVec0::Round()
{
    if (FLength > 0) detail::RoundDoubles(FValues, FValues, Numbers(*this));
    return *this;
}

TVec0& TVec0::Trunc()
{
    if (FLength > 0) detail::TruncDoubles(FValues, FValues, Numbers(*this));
    return *this;
}

TVec1& TVec1::Round(TIntArray& Dst)
{
    ToIntegers(*this, Dst, NSP_Round);
    return *this;
}

TVec1& TVec1::Trunc(TIntArray& Dst)
{
    ToIntegers(*this, Dst, NSP_TruncZero);
    return *this;
}

TVecs& TVecs::Frac(const TVecs& X, int XIndex, int Index, int Len)
{
    // The complex fractional part is that of each part, so every Double is taken alone.
    detail::OnWhole(*this, X, XIndex, Index, Len, msg::kSelfVec, [](bool, const double* S, double* D, std::int64_t N) {
        for (std::int64_t k = 0; k < N; ++k) D[k] = tarnel::Frac(S[k]);
    });
    return *this;
}

TVec0& TVec0::Frac(int Index, int Len)
{
    TVecs::Frac(*this, Index, Index, Len);
    return *this;
}

// ---- Kronecker product --------------------------------------------------------------------------------------------

TVecs& TVecs::Kron(const TVecs& Vec1, const TVecs& Vec2)
{
    TCheck(*this).Always(&Vec1 == this || &Vec2 == this, msg::kSelfVec12);
    const detail::TStable a(Vec1, *this), b(Vec2, *this);
    const bool complex = a->Complex() || b->Complex();
    const std::int64_t n1 = a->Length(), n2 = b->Length();
    TCheck(*this).Always(n1 * n2 > INT_MAX, msg::kLengthTooLarge);
    Size(static_cast<int>(n1 * n2), complex);
    if (FLength == 0) return *this;
    for (std::int64_t i = 0; i < n1; ++i) {
        const int at = static_cast<int>(i * n2);
        // The block := Vec2 (widened with zero imaginary parts), then scaled by Vec1[i].
        if (b->Complex() == complex) {
            std::memcpy(At(*this, at), b->Values(), static_cast<std::size_t>(n2 * Width(*this)) * sizeof(double));
        } else {
            nspzb2RealToCplx(b->Values(), nullptr, CValues() + at, static_cast<int>(n2));
        }
        if (a->Complex())
            nspzbMpy1(a->CValues()[i], CValues() + at, static_cast<int>(n2));
        else
            nspdbMpy1(a->Values()[i], At(*this, at), static_cast<int>(n2 * Width(*this)));
    }
    return *this;
}

}  // namespace tarnel
