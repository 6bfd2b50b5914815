// Reductions of a matrix: extremes, sums, means, the trace, the Frobenius norm, element-wise comparison, and the sums
// and means of rows and columns, with the unit functions that forward to them.
//
// A matrix is one block of Rows·Cols elements, so the whole-matrix reductions are the vector ones over that block:
// the signal layer's extremes (the first NaN wins) and means, the complex extreme scan of the vector statistics,
// pairwise sums (Sum adds the elements; it does not multiply a rounded mean back up), the signal layer's L2 norm
// (a plain sum of squares, redone scaled by the largest magnitude when that overflows or underflows, as LAPACK's
// DLANGE scales) and the vectors' comparison within a tolerance. Column sums add whole rows in the order of the
// data; row sums add each row pairwise.
#include <algorithm>
#include <cstring>

#include "core/Raroz.h"
#include "core/elementwise.h"
#include "core/messages.h"
#include "core/mtx_class.h"
#include "core/stats_shared.h"
#include "core/vec_class.h"
#include "platform/wavrin/PairSum.h"

namespace tarnel {

using detail::TCheck;

namespace {

double SumOf(const double* X, std::int64_t Count, int Stride)
{
    if (Stride == 1) return wavrin::PairSumShared(Count, [=](long long i) { return X[i]; });
    return wavrin::PairSumShared(Count, [=](long long i) { return X[i * Stride]; });
}

// Vec := the Count sums of the matrix's rows (AlongRows) or columns, of the matrix's kind.
void SumLines(const TMtx1& Self, TVecs& Vec, bool AlongRows)
{
    const bool complex = Self.Complex();
    const int w = complex ? 2 : 1;
    const int rows = Self.Rows(), cols = Self.Cols();
    const std::int64_t numbers = static_cast<std::int64_t>(rows) * cols * w;
    Vec.CheckSize(AlongRows ? rows : cols, complex);
    // Vec may view the matrix's data (or lie in its block): the sums are then taken from a copy.
    detail::TLazyTemp copy;
    const double* data = Self.Values();
    const std::int64_t vecNumbers = detail::Numbers(Vec);
    if (numbers > 0 && (detail::Overlap(data, numbers, Vec.Values(), vecNumbers) ||
                        detail::Overlap(data, numbers, static_cast<const double*>(Vec.AllocatedBlock()),
                                        Vec.AllocatedSize() / static_cast<std::int64_t>(sizeof(double))))) {
        TVec& c = copy.Get();
        c.Size(static_cast<int>(numbers), false);
        std::memcpy(c.Values(), data, static_cast<std::size_t>(numbers) * sizeof(double));
        data = c.Values();
    }
    Vec.Size(AlongRows ? rows : cols, complex);
    double* out = Vec.Values();
    const std::int64_t line = static_cast<std::int64_t>(cols) * w;
    if (AlongRows) {
        for (int r = 0; r < rows; ++r) {
            for (int part = 0; part < w; ++part) out[r * w + part] = SumOf(data + r * line + part, cols, w);
        }
        return;
    }
    // Column sums: the rows added one after another, so the loop over a row runs over contiguous Doubles.
    std::fill(out, out + line, 0.0);
    for (int r = 0; r < rows; ++r) {
        const double* row = data + r * line;
        for (std::int64_t j = 0; j < line; ++j) out[j] += row[j];
    }
}

}  // namespace

// ---- Extremes -------------------------------------------------------------------------------------------------------

double TMtx1::Max() const
{
    TCheck(FConditionCheck).Always(FComplex, msg::kComplexTrue);
    return Elements() == 0 ? NAN : nspdMax(FValues, static_cast<int>(Elements()));
}

double TMtx1::Min() const
{
    TCheck(FConditionCheck).Always(FComplex, msg::kComplexTrue);
    return Elements() == 0 ? NAN : nspdMin(FValues, static_cast<int>(Elements()));
}

void TMtx1::Max(TCplx& X) const
{
    TCheck(FConditionCheck).Always(!FComplex, msg::kComplexFalse);
    X = Elements() == 0 ? CNAN : CValues()[detail::CplxExtreme(CValues(), static_cast<int>(Elements()), true)];
}

void TMtx1::Min(TCplx& X) const
{
    TCheck(FConditionCheck).Always(!FComplex, msg::kComplexFalse);
    X = Elements() == 0 ? CNAN : CValues()[detail::CplxExtreme(CValues(), static_cast<int>(Elements()), false)];
}

// ---- Sums and means -------------------------------------------------------------------------------------------------

double TMtx1::Sum() const
{
    TCheck(FConditionCheck).Always(FComplex, msg::kComplexTrue);
    return SumOf(FValues, Elements(), 1);
}

void TMtx1::Sum(TCplx& X) const
{
    if (Elements() == 0) {
        X = C_ZERO;
        return;
    }
    TCheck(FConditionCheck).Always(!FComplex, msg::kComplexFalse);
    X = {SumOf(FValues, Elements(), 2), SumOf(FValues + 1, Elements(), 2)};
}

double TMtx1::Mean() const
{
    TCheck(FConditionCheck).Always(FComplex, msg::kComplexTrue);
    return Elements() == 0 ? 0.0 : nspdMean(FValues, static_cast<int>(Elements()));
}

void TMtx1::Mean(TCplx& X) const
{
    if (Elements() == 0) return;
    TCheck(FConditionCheck).Always(!FComplex, msg::kComplexFalse);
    X = nspzMean(CValues(), static_cast<int>(Elements()));
}

TCplx TMtx1::Trace() const
{
    const int n = std::min(FRows, FCols);
    TCplx t = C_ZERO;
    for (int k = 0; k < n; ++k) {
        const std::int64_t at = static_cast<std::int64_t>(k) * FCols + k;
        t = FComplex ? CAdd(t, CValues()[at]) : CAdd(t, FValues[at]);
    }
    return t;
}

// ---- Norm and comparison --------------------------------------------------------------------------------------------

double TMtx1::NormFro() const
{
    TCheck(FConditionCheck).Always(FComplex, msg::kComplexTrue);
    return Elements() == 0 ? 0.0 : nspdNorm(FValues, nullptr, static_cast<int>(Elements()), NSP_L2);
}

void TMtx1::NormFro(TCplx& X) const
{
    TCheck(FConditionCheck).Always(!FComplex, msg::kComplexTrue);
    X = {Elements() == 0 ? 0.0 : nspzNorm(CValues(), nullptr, static_cast<int>(Elements()), NSP_L2), 0.0};
}

bool TMtx1::Equal(const TMtx1& Mtx, double Tolerance) const
{
    if (Mtx.FRows != FRows || Mtx.FCols != FCols || Mtx.FComplex != FComplex) return false;
    if (Elements() == 0) return true;
    return !(Tolerance < 0) && detail::EqualNumbers(FValues, Mtx.FValues, Numbers(), Tolerance);
}

// ---- Rows and columns -----------------------------------------------------------------------------------------------

void TMtx1::SumCols(TVecs& Vec) const
{
    SumLines(*this, Vec, false);
}

void TMtx1::SumRows(TVecs& Vec) const
{
    SumLines(*this, Vec, true);
}

void TMtx1::MeanCols(TVecs& Vec) const
{
    SumLines(*this, Vec, false);
    Vec.Scale(1.0 / FRows);
}

void TMtx1::MeanRows(TVecs& Vec) const
{
    SumLines(*this, Vec, true);
    Vec.Scale(1.0 / FCols);
}

// ---- Unit functions -------------------------------------------------------------------------------------------------

double Max(const TMtx1& Mtx)
{
    return Mtx.Max();
}

double Min(const TMtx1& Mtx)
{
    return Mtx.Min();
}

double Mean(const TMtx1& Mtx)
{
    return Mtx.Mean();
}

TCplx Trace(const TMtx1& Mtx)
{
    return Mtx.Trace();
}

bool Equal(const TMtx1& Mtx1, const TMtx1& Mtx2, double Tolerance)
{
    return Mtx1.Equal(Mtx2, Tolerance);
}

}  // namespace tarnel
