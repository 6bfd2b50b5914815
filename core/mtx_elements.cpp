// TMtx1 and TMtx: element access messages, rows and columns from vectors, whole-matrix fills, the element-wise
// square and square root, and the one- and infinity-norms.
#include <cmath>
#include <complex>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "core/NmklBlas.h"
#include "core/TempGuard.h"
#include "core/elementwise.h"
#include "core/messages.h"
#include "core/mtx_class.h"
#include "core/vec_class.h"

namespace tarnel {

// ---- Rows and columns -----------------------------------------------------------------------------------------
//
// A vector of the other kind is refused always (its elements have another width, and the copy would run past it),
// as is a range past the vector's Length; the matrix's dimensions are checked with ConditionCheck on, and without
// it a range past the matrix's Rows·Cols elements is still refused with the same text.

namespace {

// The first checks of the range forms of SetCol and SetRow: negative arguments, refused always, in their order.
detail::TCheck RangeArguments(bool On, int VecIndex, int Row, int Col, int Len)
{
    detail::TCheck check(On);
    check.Negative({VecIndex}, msg::kNegVecIndex)
        .Negative({Row}, msg::kNegRow)
        .Negative({Col}, msg::kNegCol)
        .Negative({Len}, msg::kNegLen);
    return check;
}

}  // namespace

void TMtx1::SetCol(const TVecs& Vec, int VecIndex, int Row, int Col, int Len)
{
    detail::TCheck check = RangeArguments(FConditionCheck, VecIndex, Row, Col, Len);
    if (Len == 0 || FRows == 0 || FCols == 0) return;
    const std::int64_t lastRow = static_cast<std::int64_t>(Row) + Len - 1;
    check.Always(Vec.Complex() != FComplex, msg::kComplexVec)
        .Gated(lastRow + 1 > FRows, msg::kRowLenRows)
        .Gated(Col > FCols - 1, msg::kColCols)
        .Always(lastRow * FCols + Col >= Elements(), msg::kRowLenRows)
        .Always(static_cast<std::int64_t>(VecIndex) + Len > Vec.Length(), msg::kSetColVecLen);
    const int w = Width();
    const double* from = Vec.Values() + static_cast<std::int64_t>(VecIndex) * w;
    for (int k = 0; k < Len; ++k) {
        double* to = FValues + ((static_cast<std::int64_t>(Row) + k) * FCols + Col) * w;
        to[0] = from[k * w];
        if (w == 2) to[1] = from[k * w + 1];
    }
}

void TMtx1::SetRow(const TVecs& Vec, int VecIndex, int Row, int Col, int Len)
{
    detail::TCheck check = RangeArguments(FConditionCheck, VecIndex, Row, Col, Len);
    if (Len == 0 || FRows == 0 || FCols == 0) return;
    const std::int64_t first = static_cast<std::int64_t>(Row) * FCols + Col;
    check.Always(Vec.Complex() != FComplex, msg::kComplexVec)
        .Gated(Row > FRows - 1, msg::kRowRows)
        .Gated(static_cast<std::int64_t>(Col) + Len > FCols, msg::kColLenCols)
        .Always(first + Len > Elements(), msg::kColLenCols)
        .Always(static_cast<std::int64_t>(VecIndex) + Len > Vec.Length(), msg::kSetRowVecLen);
    std::memmove(FValues + first * Width(), Vec.Values() + static_cast<std::int64_t>(VecIndex) * Width(),
                 static_cast<std::size_t>(Len) * ElementBytes());
}

void TMtx::SetCol(const TVecs& Vec, int Col)
{
    detail::TCheck check(FConditionCheck);
    check.Negative({Col}, msg::kNegCol);
    if (FRows == 0 || FCols == 0) return;
    check.Always(Vec.Complex() != FComplex, msg::kComplexVec)
        .Gated(Vec.Length() != FRows, msg::kVecLengthRows)
        .Gated(Col > FCols - 1, msg::kColCols)
        .Always(Vec.Length() > 0 && (static_cast<std::int64_t>(Vec.Length()) - 1) * FCols + Col >= Elements(),
                msg::kVecLengthRows);
    const int w = Width();
    for (int k = 0; k < Vec.Length(); ++k) {
        double* to = FValues + (static_cast<std::int64_t>(k) * FCols + Col) * w;
        to[0] = Vec.Values()[k * w];
        if (w == 2) to[1] = Vec.Values()[k * w + 1];
    }
}

void TMtx::SetRow(const TVecs& Vec, int Row)
{
    detail::TCheck check(FConditionCheck);
    check.Negative({Row}, msg::kNegRow)
        .Gated(Row > FRows - 1, msg::kRowRows)
        .Always(Vec.Complex() != FComplex, msg::kComplexVec)
        .Gated(Vec.Length() != FCols, msg::kVecLengthCols);
    if (FRows == 0 || FCols == 0 || Vec.Length() == 0) return;
    const std::int64_t first = static_cast<std::int64_t>(Row) * FCols;
    check.Always(first + Vec.Length() > Elements(), msg::kVecLengthCols);
    std::memmove(FValues + first * Width(), Vec.Values(), static_cast<std::size_t>(Vec.Length()) * ElementBytes());
}

// ---- Fills and element-wise operations ------------------------------------------------------------------------

TMtx1& TMtx1::SetVal(double X)
{
    const std::int64_t n = static_cast<std::int64_t>(FRows) * FCols;
    if (FComplex) {
        TCplx* z = CValues();
        for (std::int64_t i = 0; i < n; ++i) z[i] = TCplx{X, 0.0};
    } else {
        for (std::int64_t i = 0; i < n; ++i) FValues[i] = X;
    }
    return *this;
}

TMtx& TMtx::SetVal(const TCplx& Z)
{
    if (!FComplex) {
        TMtx1::SetVal(Z.Re);
        return *this;
    }
    const std::int64_t n = static_cast<std::int64_t>(FRows) * FCols;
    TCplx* z = CValues();
    for (std::int64_t i = 0; i < n; ++i) z[i] = Z;
    return *this;
}

TMtx1& TMtx1::SetZero()
{
    const std::int64_t n = Numbers();
    if (n > 0) std::memset(FValues, 0, static_cast<std::size_t>(n) * sizeof(double));
    return *this;
}

TMtx1& TMtx1::Sign()
{
    const std::int64_t n = Numbers();
    for (std::int64_t i = 0; i < n; ++i) FValues[i] *= -1.0;
    return *this;
}

TMtx1& TMtx1::SqrElem()
{
    const std::int64_t n = static_cast<std::int64_t>(FRows) * FCols;
    if (FComplex) {
        TCplx* z = CValues();
        for (std::int64_t i = 0; i < n; ++i) z[i] = CSqr(z[i]);
    } else {
        for (std::int64_t i = 0; i < n; ++i) FValues[i] *= FValues[i];
    }
    return *this;
}

TMtx1& TMtx1::SqrtElem()
{
    const std::int64_t n = static_cast<std::int64_t>(FRows) * FCols;
    if (FComplex) {
        TCplx* z = CValues();
        for (std::int64_t i = 0; i < n; ++i) {
            const std::complex<double> r = std::sqrt(std::complex<double>(z[i].Re, z[i].Im));
            z[i] = TCplx{r.real(), r.imag()};
        }
    } else {
        for (std::int64_t i = 0; i < n; ++i) FValues[i] = std::sqrt(FValues[i]);
    }
    return *this;
}

// ---- Norms ----------------------------------------------------------------------------------------------------

namespace {

#if defined(__SSE2__)
// |Z[0]|, |Z[1]| with SSE2 where the squares stay in range, as CAbs takes them (the same Doubles: one rounding for
// each square, the sum and the root); CAbs itself for the others.
inline __m128d Moduli2(const TCplx* Z)
{
    const __m128d a = _mm_loadu_pd(&Z[0].Re);  // Re0, Im0
    const __m128d b = _mm_loadu_pd(&Z[1].Re);  // Re1, Im1
    const __m128d re = _mm_unpacklo_pd(a, b);
    const __m128d im = _mm_unpackhi_pd(a, b);
    const __m128d sq = _mm_add_pd(_mm_mul_pd(re, re), _mm_mul_pd(im, im));
    const __m128d inRange =
        _mm_and_pd(_mm_cmpge_pd(sq, _mm_set1_pd(0x1p-1000)), _mm_cmple_pd(sq, _mm_set1_pd(0x1p+1000)));
    if (_mm_movemask_pd(inRange) == 3) return _mm_sqrt_pd(sq);
    return _mm_set_pd(CAbs(Z[1]), CAbs(Z[0]));
}
#endif

#if defined(__x86_64__)
// The same four at a time with AVX2 on processors that have it (the square roots dominate, and AVX2 takes twice as
// many per instruction). The lanes hold |Z[0]|, |Z[2]|, |Z[1]|, |Z[3]|: the order of the in-lane unpacks.
__attribute__((target("avx2"))) inline __m256d Moduli4(const TCplx* Z)
{
    const __m256d a = _mm256_loadu_pd(&Z[0].Re);  // Re0, Im0, Re1, Im1
    const __m256d b = _mm256_loadu_pd(&Z[2].Re);  // Re2, Im2, Re3, Im3
    const __m256d re = _mm256_unpacklo_pd(a, b);
    const __m256d im = _mm256_unpackhi_pd(a, b);
    const __m256d sq = _mm256_add_pd(_mm256_mul_pd(re, re), _mm256_mul_pd(im, im));
    const __m256d inRange = _mm256_and_pd(_mm256_cmp_pd(sq, _mm256_set1_pd(0x1p-1000), _CMP_GE_OQ),
                                          _mm256_cmp_pd(sq, _mm256_set1_pd(0x1p+1000), _CMP_LE_OQ));
    if (_mm256_movemask_pd(inRange) == 15) return _mm256_sqrt_pd(sq);
    return _mm256_set_pd(CAbs(Z[3]), CAbs(Z[1]), CAbs(Z[2]), CAbs(Z[0]));
}

// Acc[k] += |Z[k]| for the first N − N mod 4 elements; returns that count.
__attribute__((target("avx2"))) int AddModuliAvx2(const TCplx* Z, int N, double* Acc)
{
    int k = 0;
    for (; k + 3 < N; k += 4) {
        const __m256d m = _mm256_permute4x64_pd(Moduli4(Z + k), _MM_SHUFFLE(3, 1, 2, 0));
        _mm256_storeu_pd(Acc + k, _mm256_add_pd(_mm256_loadu_pd(Acc + k), m));
    }
    return k;
}

// The four partial sums of SumModuli below for the first N − N mod 4 elements (Done), in one register: lane 0 sums
// the elements k ≡ 0 (mod 4), lane 1 those ≡ 2, lane 2 those ≡ 1, lane 3 those ≡ 3. Added as (0 + 1) + (2 + 3),
// they give the SSE2 code's sum to the bit.
__attribute__((target("avx2"))) double SumModuliAvx2(const TCplx* Z, int N, int& Done)
{
    __m256d acc = _mm256_setzero_pd();
    int k = 0;
    for (; k + 3 < N; k += 4) acc = _mm256_add_pd(acc, Moduli4(Z + k));
    double parts[4];
    _mm256_storeu_pd(parts, acc);
    Done = k;
    return (parts[0] + parts[1]) + (parts[2] + parts[3]);
}

bool HasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}
#endif

// Acc[k] += |X[k]| for k < N.
void AddAbs(const double* X, int N, double* Acc)
{
    int k = 0;
#if defined(__SSE2__)
    const __m128d magnitude = _mm_castsi128_pd(_mm_set1_epi64x(0x7FFFFFFFFFFFFFFF));
    for (; k + 1 < N; k += 2) {
        _mm_storeu_pd(Acc + k, _mm_add_pd(_mm_loadu_pd(Acc + k), _mm_and_pd(_mm_loadu_pd(X + k), magnitude)));
    }
#endif
    for (; k < N; ++k) Acc[k] += std::fabs(X[k]);
}

// Acc[k] += |Z[k]| for k < N.
void AddModuli(const TCplx* Z, int N, double* Acc)
{
    int k = 0;
#if defined(__x86_64__)
    if (HasAvx2()) k = AddModuliAvx2(Z, N, Acc);
#endif
#if defined(__SSE2__)
    for (; k + 1 < N; k += 2) _mm_storeu_pd(Acc + k, _mm_add_pd(_mm_loadu_pd(Acc + k), Moduli2(Z + k)));
#endif
    for (; k < N; ++k) Acc[k] += CAbs(Z[k]);
}

// The sum of |Z[k]| for k < N (in four interleaved partial sums).
double SumModuli(const TCplx* Z, int N)
{
    int k = 0;
    double sum = 0;
#if defined(__x86_64__)
    if (HasAvx2()) {
        sum = SumModuliAvx2(Z, N, k);
        for (; k < N; ++k) sum += CAbs(Z[k]);
        return sum;
    }
#endif
#if defined(__SSE2__)
    __m128d acc0 = _mm_setzero_pd(), acc1 = _mm_setzero_pd();
    for (; k + 3 < N; k += 4) {
        acc0 = _mm_add_pd(acc0, Moduli2(Z + k));
        acc1 = _mm_add_pd(acc1, Moduli2(Z + k + 2));
    }
    double parts[2];
    _mm_storeu_pd(parts, _mm_add_pd(acc0, acc1));
    sum = parts[0] + parts[1];
#endif
    for (; k < N; ++k) sum += CAbs(Z[k]);
    return sum;
}

}  // namespace

double TMtx1::Norm1() const
{
    if (FRows == 0 || FCols == 0) return NAN;
    // Column sums accumulated row by row, so the data are read in storage order.
    detail::TVecTemp sums;
    sums->SetLength(FCols);
    double* s = sums->Values();
    std::memset(s, 0, static_cast<std::size_t>(FCols) * sizeof(double));
    for (int i = 0; i < FRows; ++i) {
        if (FComplex) {
            AddModuli(CValues() + static_cast<std::int64_t>(i) * FCols, FCols, s);
        } else {
            AddAbs(FValues + static_cast<std::int64_t>(i) * FCols, FCols, s);
        }
    }
    double best = s[0];
    for (int j = 0; j < FCols; ++j) {
        if (std::isnan(s[j])) return NAN;
        if (s[j] > best) best = s[j];
    }
    return best;
}

double TMtx1::NormInf() const
{
    if (FRows == 0 || FCols == 0) return NAN;
    const int n = FCols;
    const int one = 1;
    double best = 0;
    for (int i = 0; i < FRows; ++i) {
        double sum = 0;
        if (FComplex) {
            // DZASUM would sum |Re| + |Im|, not the moduli.
            sum = SumModuli(CValues() + static_cast<std::int64_t>(i) * FCols, FCols);
        } else {
            sum = dasum_(&n, FValues + static_cast<std::int64_t>(i) * FCols, &one);
        }
        if (std::isnan(sum)) return NAN;
        if (i == 0 || sum > best) best = sum;
    }
    return best;
}

double Norm1(const TMtx1& Mtx)
{
    return Mtx.Norm1();
}

double NormInf(const TMtx1& Mtx)
{
    return Mtx.NormInf();
}

}  // namespace tarnel
