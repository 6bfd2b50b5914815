// Vector statistics: means, sums, products, extremes, root mean squares, standard deviations, skewness, kurtosis
// and the median, of whole vectors and of ranges, with the unit functions that forward to them.
//
// Means and the real extremes come from the signal layer (nspdMean and nspzMean sum pairwise; nspdMaxExt lets the
// first NaN win and keeps the first of equal elements). Sums add the elements directly with the same pairwise
// summation (PairSum), so sums of small integers are exact and no rounding of a mean is multiplied up. Products and
// the sums of powers behind RMS, StdDev, Skewness and Kurtosis run in long double (see WideSum), so the squares of
// numbers near the top of the Double range do not overflow before the square root. Complex extremes follow the
// complex order on m(z) (Norm), as Smaller and Bigger do.
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/Raroz.h"
#include "core/elementwise.h"
#include "core/stats_shared.h"
#include "core/vec_class.h"
#include "platform/wavrin/PairSum.h"
#include "platform/wavrin/Parallel.h"

namespace tarnel {

using detail::CplxExtreme;
using detail::TCheck;

namespace detail {

int CplxExtreme(const TCplx* Z, int N, bool Largest)
{
    int best = 0;
    double mb = Norm(Z[0]);
    for (int k = 1; k < N; ++k) {
        const double m = Norm(Z[k]);
        const bool better = Largest ? (m > mb || (m == mb && Bigger2(Z[k], Z[best])))
                                    : (m < mb || (m == mb && Smaller2(Z[k], Z[best])));
        if (better) {
            best = k;
            mb = m;
        }
    }
    return best;
}

}  // namespace detail

namespace {

using Wide = long double;

// ---- Sums in long double --------------------------------------------------------------------------------------

// Terms per block of WideSum: the blocks, not the threads, fix the order of the additions.
constexpr std::int64_t kBlock = 1 << 14;

// Σ f(i) over [Lo, Hi) with four accumulators, so that the additions overlap.
template <class F>
Wide BlockSum(std::int64_t Lo, std::int64_t Hi, const F& f)
{
    Wide a0 = 0, a1 = 0, a2 = 0, a3 = 0;
    std::int64_t i = Lo;
    for (; i + 4 <= Hi; i += 4) {
        a0 += f(i);
        a1 += f(i + 1);
        a2 += f(i + 2);
        a3 += f(i + 3);
    }
    for (; i < Hi; ++i) a0 += f(i);
    return (a0 + a1) + (a2 + a3);
}

// Σ f(i) for i in [0, N) in long double: blocks of kBlock terms, the block sums added in block order. Long sums
// share their blocks among the worker threads; the result is the same on any number of threads. f must not throw.
template <class F>
Wide WideSum(std::int64_t N, const F& f)
{
    const std::int64_t blocks = (N + kBlock - 1) / kBlock;
    if (blocks <= 1) return BlockSum(0, N, f);
    std::vector<Wide> part(static_cast<std::size_t>(blocks));
    auto run = [&](std::int64_t First, std::int64_t Last) {
        for (std::int64_t b = First; b < Last; ++b)
            part[static_cast<std::size_t>(b)] = BlockSum(b * kBlock, std::min(N, (b + 1) * kBlock), f);
    };
    const std::int64_t parts =
        N < 2 * parallel::kMinPiece ? 1 : std::min<std::int64_t>(parallel::WorkerCount() + 1, blocks);
    const std::int64_t per = (blocks + parts - 1) / parts;
    if (parts <= 1 || !parallel::RunParts(static_cast<int>(parts), [&](int p) {
            run(std::min(blocks, p * per), std::min(blocks, (p + 1) * per));
        }))
        run(0, blocks);
    Wide s = 0;
    for (const Wide v : part) s += v;
    return s;
}

// Σ of the Count Doubles at X (Stride apart), pairwise.
double SumOf(const double* X, std::int64_t Count, int Stride = 1)
{
    // The contiguous case on its own, so that the compiler vectorises its loads.
    if (Stride == 1) return wavrin::PairSumShared(Count, [=](long long i) { return X[i]; });
    return wavrin::PairSumShared(Count, [=](long long i) { return X[i * Stride]; });
}

// Σ (x − Mean)² of the Count Doubles at X (Stride apart).
Wide SquaresAbout(const double* X, std::int64_t Count, double Mean, int Stride = 1)
{
    return WideSum(Count, [=](std::int64_t i) {
        const Wide d = static_cast<Wide>(X[i * Stride]) - Mean;
        return d * d;
    });
}

// The sample standard deviation: sqrt(|Σ (x − Mean)² / (Count − 1)|); a single number gives 0/0, NaN.
double SampleDev(const double* X, std::int64_t Count, double Mean)
{
    return static_cast<double>(std::sqrt(std::fabs(SquaresAbout(X, Count, Mean) / static_cast<Wide>(Count - 1))));
}

// The same for complex numbers: sqrt(sRe² + sIm²) of the parts' deviations about Mean's parts.
double CplxSampleDev(const TCplx* Z, std::int64_t Count, const TCplx& Mean)
{
    const double* x = reinterpret_cast<const double*>(Z);
    const Wide n1 = static_cast<Wide>(Count - 1);
    const Wide re = std::fabs(SquaresAbout(x, Count, Mean.Re, 2) / n1);
    const Wide im = std::fabs(SquaresAbout(x + 1, Count, Mean.Im, 2) / n1);
    return static_cast<double>(std::sqrt(re + im));
}

TCplx CplxSum(const TCplx* Z, std::int64_t Count)
{
    const double* x = reinterpret_cast<const double*>(Z);
    return {SumOf(x, Count, 2), SumOf(x + 1, Count, 2)};
}

// ---- Checks of the range forms ----------------------------------------------------------------------------------

// A negative Index or Len ("(Len <= 0) or (Index < 0)"), then a range past the end (Msg).
void CheckRangeOf(const TVecs& Self, int Index, int Len, const char* Msg)
{
    TCheck(Self)
        .Negative({Len, Index}, msg::kNegIndexLen)
        .Always(static_cast<std::int64_t>(Index) + Len > Self.Length(), Msg);
}

// ---- Extremes -----------------------------------------------------------------------------------------------------

// The extreme of N real numbers (N > 0) and its position, through the signal layer.
double RealExtreme(const double* X, int N, int& Position, bool Largest)
{
    return Largest ? nspdMaxExt(X, N, &Position) : nspdMinExt(X, N, &Position);
}

void RangeExtreme(const TVecs& Self, double& Value, int& Position, int Index, int Len, bool Largest)
{
    TCheck(Self).Always(Self.Complex(), msg::kComplexTrue);
    CheckRangeOf(Self, Index, Len, msg::kLenIndexLength2);
    if (Len == 0) {
        Value = NAN;
        Position = -1;
        return;
    }
    int k = 0;
    Value = RealExtreme(Self.Values() + Index, Len, k, Largest);
    Position = Index + k;
}

int RangeCplxExtreme(const TVecs& Self, TCplx& Value, int Index, int Len, bool Largest)
{
    TCheck(Self).Always(!Self.Complex(), msg::kComplexFalse);
    CheckRangeOf(Self, Index, Len, msg::kLenIndexLength2);
    if (Len == 0) {
        Value = CNAN;
        return 0;
    }
    const TCplx* z = Self.CValues() + Index;
    const int k = CplxExtreme(z, Len, Largest);
    Value = z[k];
    return Index + k;
}

// ---- Shared by several forms ---------------------------------------------------------------------------------------

// Result := the complex mean of the range; 0 + 0i for Len < 1 or Index < 0.
void CplxMean(const TVecs& Self, TCplx& Result, int Index, int Len)
{
    Result = C_ZERO;
    if (Len < 1 || Index < 0) return;
    TCheck(Self)
        .Always(static_cast<std::int64_t>(Index) + Len > Self.Length(), msg::kIndexLenSpaced)
        .Always(!Self.Complex(), msg::kComplexFalse);
    Result = nspzMean(Self.CValues() + Index, Len);
}

Wide RealProduct(const double* X, int N)
{
    Wide p = 1;
    for (int i = 0; i < N; ++i) p *= X[i];
    return p;
}

}  // namespace

// ---- Means, sums and products -------------------------------------------------------------------------------------

double TVecs::Mean() const
{
    TCheck(*this).Always(FComplex, msg::kComplexTrue);
    return FLength == 0 ? 0.0 : nspdMean(FValues, FLength);
}

void TVec::Mean(double& Result, int Index, int Len) const
{
    Result = 0;
    if (Len == 0) return;
    CheckRangeOf(*this, Index, Len, msg::kCopyIndexLen);
    TCheck(*this).Always(FComplex, msg::kComplexTrue);
    Result = nspdMean(FValues + Index, Len);
}

void TVec0::Mean(TCplx& Result) const
{
    CplxMean(*this, Result, 0, FLength);
}

void TVec1::Mean(TCplx& Result, int Index, int Len) const
{
    CplxMean(*this, Result, Index, Len);
}

double TVecs::Sum() const
{
    TCheck(*this).Always(FComplex, msg::kComplexTrue);
    return FLength == 0 ? NAN : SumOf(FValues, FLength);
}

void TVec::Sum(double& Result, int Index, int Len) const
{
    // A negative Index or Len leaves Result as it is, with ConditionCheck on as without it.
    if (Len <= 0 || Index < 0) return;
    TCheck(*this)
        .Always(static_cast<std::int64_t>(Index) + Len > FLength, msg::kCopyIndexLen)
        .Gated(FComplex, msg::kComplexTrue);
    Result = SumOf(FValues + Index, Len);
}

void TVec0::Sum(TCplx& Result) const
{
    TCheck(*this).Always(!FComplex, msg::kComplexFalse);
    Result = CplxSum(CValues(), FLength);
}

void TVec1::Sum(TCplx& Result, int Index, int Len) const
{
    CheckRangeOf(*this, Index, Len, msg::kCopyIndexLen);
    TCheck(*this).Always(!FComplex, msg::kComplexFalse);
    Result = CplxSum(CValues() + Index, Len);
}

void TVec0::Product(double& Result) const
{
    TCheck(*this).Always(FComplex, msg::kComplexTrue);
    Result = static_cast<double>(RealProduct(FValues, FLength));
}

void TVecs::Product(TCplx& Result) const
{
    TCheck(*this).Always(!FComplex, msg::kComplexFalseLower);
    Wide re = 1, im = 0;
    const TCplx* z = CValues();
    for (int i = 0; i < FLength; ++i) {
        const Wide r = re * z[i].Re - im * z[i].Im;
        im = re * z[i].Im + im * z[i].Re;
        re = r;
    }
    Result = {static_cast<double>(re), static_cast<double>(im)};
}

void TVec1::Product(double& Result, int Index, int Len) const
{
    Result = 0;
    if (Len == 0) return;
    CheckRangeOf(*this, Index, Len, msg::kCopyIndexLen);
    TCheck(*this).Always(FComplex, msg::kComplexTrue);
    Result = static_cast<double>(RealProduct(FValues + Index, Len));
}

// ---- Extremes -------------------------------------------------------------------------------------------------------

double TVec::Max() const
{
    TCheck(*this).Always(FComplex, msg::kComplexTrue);
    return FLength == 0 ? NAN : nspdMax(FValues, FLength);
}

double TVec::Min() const
{
    TCheck(*this).Always(FComplex, msg::kComplexTrue);
    return FLength == 0 ? NAN : nspdMin(FValues, FLength);
}

void TVecs::Max(double& AMax, int& AIndex) const
{
    TCheck(*this).Always(FComplex, msg::kComplexTrue);
    AIndex = 0;
    AMax = FLength == 0 ? NAN : RealExtreme(FValues, FLength, AIndex, true);
}

void TVecs::Min(double& AMin, int& AIndex) const
{
    TCheck(*this).Always(FComplex, msg::kComplexTrue);
    AIndex = 0;
    AMin = FLength == 0 ? NAN : RealExtreme(FValues, FLength, AIndex, false);
}

void TVec0::Max(double& AMax, int& AIndex, int Index, int Len) const
{
    RangeExtreme(*this, AMax, AIndex, Index, Len, true);
}

void TVec0::Min(double& AMin, int& AIndex, int Index, int Len) const
{
    RangeExtreme(*this, AMin, AIndex, Index, Len, false);
}

int TVec1::Max(TCplx& AMax, int Index, int Len) const
{
    return RangeCplxExtreme(*this, AMax, Index, Len, true);
}

int TVec1::Min(TCplx& AMin, int Index, int Len) const
{
    return RangeCplxExtreme(*this, AMin, Index, Len, false);
}

// ---- Root mean squares and standard deviations ---------------------------------------------------------------------

double RMS(const TVecs& Vec, int Index, int Len)
{
    if (Vec.Length() == 0) return NAN;
    CheckRangeOf(Vec, Index, Len, msg::kIndexLenVecLength);
    // Σ |z|² is the sum of the squares of both parts.
    const int w = detail::Width(Vec);
    const Wide s = WideSum(static_cast<std::int64_t>(Len) * w, [x = detail::At(Vec, Index)](std::int64_t i) {
        const Wide v = x[i];
        return v * v;
    });
    return static_cast<double>(std::sqrt(s / Len));
}

double TVecs::RMS() const
{
    return tarnel::RMS(*this, 0, FLength);
}

double TVec0::RMS(int Index, int Len) const
{
    CheckRangeOf(*this, Index, Len, msg::kLenIndexLength2);
    if (Len == 0) return NAN;
    TCheck(*this).Always(FComplex, msg::kComplexTrue);
    return tarnel::RMS(*this, Index, Len);
}

void TVec1::RMS(TCplx& Result, int Index, int Len) const
{
    if (FLength == 0) {
        Result = CNAN;
        return;
    }
    TCheck(*this).Always(!FComplex, msg::kComplexFalse);
    CheckRangeOf(*this, Index, Len, msg::kCopyIndexLen);
    Result = Len == 0 ? CNAN : Cplx(tarnel::RMS(*this, Index, Len), 0);
}

double TVecs::StdDev(double AMean) const
{
    if (FLength == 0) return 0;
    TCheck(*this).Always(FComplex, msg::kComplexTrue);
    return SampleDev(FValues, FLength, AMean);
}

double TVec0::StdDev(double AMean, int Index, int Len) const
{
    CheckRangeOf(*this, Index, Len, msg::kLenIndexLength2);
    if (FLength == 0) return NAN;
    TCheck(*this).Always(FComplex, msg::kComplexTrue);
    return SampleDev(FValues + Index, Len, AMean);
}

double TVec1::StdDev(const TCplx& AMean) const
{
    if (FLength == 0) return 0;
    TCheck(*this).Always(!FComplex, msg::kComplexFalse);
    return CplxSampleDev(CValues(), FLength, AMean);
}

double TVec::StdDev(const TCplx& AMean, int Index, int Len) const
{
    if (FLength == 0) return 0;
    CheckRangeOf(*this, Index, Len, msg::kCopyIndexLen);
    TCheck(*this).Always(!FComplex, msg::kComplexFalse);
    return CplxSampleDev(CValues() + Index, Len, AMean);
}

// ---- Shape and median -----------------------------------------------------------------------------------------------

double TVecs::Skewness(double AMean, double AStdDev) const
{
    TCheck(*this).Always(FComplex, msg::kComplexTrue);
    const Wide s = WideSum(FLength, [x = FValues, AMean, AStdDev](std::int64_t i) {
        const Wide d = (static_cast<Wide>(x[i]) - AMean) / AStdDev;
        return d * d * d;
    });
    return static_cast<double>(s / FLength);
}

double TVecs::Kurtosis(double AMean, double AStdDev) const
{
    TCheck(*this).Always(FComplex, msg::kComplexTrue);
    const Wide n = FLength;
    const Wide f = std::sqrt(n / (n - 1)) / AStdDev;
    const Wide s = WideSum(FLength, [x = FValues, AMean, f](std::int64_t i) {
        const Wide d = f * (static_cast<Wide>(x[i]) - AMean);
        const Wide d2 = d * d;
        return d2 * d2;
    });
    return static_cast<double>(s / n);
}

double TVecs::Median() const
{
    TCheck(*this).Always(FComplex, msg::kComplexTrue);
    const int n = FLength;
    if (n == 0) return NAN;
    if (std::any_of(FValues, FValues + n, [](double x) { return std::isnan(x); })) return NAN;
    // Selection finds the same middle elements as a sorted copy would hold.
    detail::TVecTemp work;
    work->Size(n, false);
    double* a = work->Values();
    std::copy(FValues, FValues + n, a);
    std::nth_element(a, a + n / 2, a + n);
    const double upper = a[n / 2];
    if (n % 2 == 1) return upper;
    const double lower = *std::max_element(a, a + n / 2);
    return static_cast<double>((static_cast<Wide>(lower) + upper) * 0.5L);
}

// ---- Unit functions -----------------------------------------------------------------------------------------------

double Mean(const TVec& Vec)
{
    return Vec.Mean();
}

double Mean(const TVec& Vec, int Index, int Len)
{
    double r = 0;
    Vec.Mean(r, Index, Len);
    return r;
}

double Sum(const TVec& Vec)
{
    return Vec.Sum();
}

double Max(const TVec& Vec)
{
    return Vec.Max();
}

double Min(const TVec& Vec)
{
    return Vec.Min();
}

double RMS(const TVec& Vec)
{
    return Vec.RMS();
}

double StdDev(const TVec& Vec, double AMean)
{
    return Vec.StdDev(AMean);
}

double StdDev(const TVec& Vec, const TCplx& AMean)
{
    return Vec.StdDev(AMean);
}

double Skewness(const TVec& Vec, double AMean, double AStdDev)
{
    return Vec.Skewness(AMean, AStdDev);
}

double Kurtosis(const TVec& Vec, double AMean, double AStdDev)
{
    return Vec.Kurtosis(AMean, AStdDev);
}

double Median(const TVec& Vec)
{
    return Vec.Median();
}

}  // namespace tarnel
