// Pixel down-sampling: a long signal reduced to (maximum, minimum) pairs and a large matrix reduced to about a
// display's width of cells, so that a chart draws them quickly without losing their peaks.
//
// Vector forms: step = Trunc(Len / Width) samples per pair; Len div step whole groups give n pairs, and a
// remainder one more, P = 2n (+ 2) Doubles in all. Equally spaced samples are grouped by count in one pass (every
// repaint runs it). Unequally spaced samples are grouped by position: P/2 bins of width 2·span/P from X[Index],
// span = X[Index+Len-1] − X[Index]; a sample before the first or after the last bin counts in that end bin, an
// empty bin repeats the pair before it, and NX[i] = X[Index] + i·span/P. A group holding a NaN gives NaN for both.
// With step <= 2 Self is a copy of the range and NX holds one position per sample.
//
// Matrix form: f = Width / max(Rows, Cols); element (i, j) falls into cell (floor(i·f), floor(j·f)) of a
// Ceil(Rows·f) × Ceil(Cols·f) result, and the cell collects |a(i, j)|·f² by mode. The floors are computed
// directly, so the FPU control word is left as found.
//
// Sources that are also destinations (Self = Src, NX = X, Dst = Self) are read from pooled copies: the results
// are those of distinct objects.
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "core/Raroz.h"
#include "core/elementwise.h"
#include "core/messages.h"
#include "core/mtx_class.h"
#include "core/vec_class.h"
#include "platform/wavrin/Parallel.h"

namespace tarnel {

using detail::TCheck;
using detail::TStable;

namespace {

// The largest and the smallest of x[0 .. n-1] (n > 0); NaN for both when any is NaN.
void MaxMin(const double* x, std::int64_t n, double& Max, double& Min)
{
    double hi = x[0], lo = x[0];
    double nan = 0.0;
    for (std::int64_t i = 0; i < n; ++i) {
        const double v = x[i];
        hi = v > hi ? v : hi;
        lo = v < lo ? v : lo;
        nan = v != v ? 1.0 : nan;
    }
    if (nan != 0.0) hi = lo = NAN;
    Max = hi;
    Min = lo;
}

// The pair count: n whole groups of step samples and one for a remainder.
std::int64_t PairsOf(std::int64_t Len, std::int64_t Step)
{
    return Len / Step + (Len % Step != 0 ? 1 : 0);
}

// The checks every vector form starts with.
void CheckRange(const TVecs& Self, int Width, int Index, int Len)
{
    TCheck(Self).Negative({Index}, msg::kNegIndex).Negative({Len}, msg::kNegLen).Always(Width < 1, msg::kPixelWidth);
}

std::int64_t StepOf(int Width, int Len)
{
    return static_cast<std::int64_t>(std::trunc(static_cast<double>(Len) / Width));
}

// Self := Src[Index .. Index+Len-1] (real).
void CopyRange(TVecs& Self, const TVecs& Src, int Index, int Len)
{
    Self.Size(Len, false);
    if (Len > 0) detail::CopyDoubles(Src.Values() + Index, Self.Values(), Len);
}

// The unequally spaced form (TVec0::PixelDownSample1 and TVecs::PixelDownSample without Equidistant).
void Unequal(TVecs& Self, int Width, const TVecs& Src, int Index, int Len, const TVecs* X, TVecs* NX)
{
    CheckRange(Self, Width, Index, Len);
    if (X == nullptr || NX == nullptr) ERaise(msg::kPixelXNil);
    TCheck(Self)
        .Always(static_cast<std::int64_t>(Index) + Len > X->Length(), msg::kIndexLenSrcLength)
        .Always(X->Length() != Src.Length(), msg::kPixelXLength)
        .Always(X->Complex() || Src.Complex(), msg::kPixelSrcComplex);
    const std::int64_t step = StepOf(Width, Len);
    const double* xs = X->Values() + Index;
    const double span = Len > 0 ? xs[Len - 1] - xs[0] : 0.0;
    if (step > 2 && !(span > 0)) ERaise(msg::kPixelSpan);
    TStable src(Src, {&Self, NX}), pos(*X, {&Self, NX});
    const double* s = src->Values() + Index;
    xs = pos->Values() + Index;
    if (step <= 2) {
        CopyRange(*NX, *pos, Index, Len);
        CopyRange(Self, *src, Index, Len);
        return;
    }
    const std::int64_t bins = PairsOf(Len, step);
    const auto P = static_cast<int>(2 * bins);
    Self.Size(P, false);
    NX->Size(P, false);
    const double x0 = xs[0], width = 2 * span / P;
    std::vector<double> hi(static_cast<std::size_t>(bins), NAN), lo(hi);
    std::vector<char> seen(static_cast<std::size_t>(bins), 0), nan(seen);
    for (int k = 0; k < Len; ++k) {
        // The bin of the position; before the first (or NaN) counts in bin 0, after the last in the last.
        const double t = (xs[k] - x0) / width;
        std::int64_t b = 0;
        if (t >= static_cast<double>(bins)) {
            b = bins - 1;
        } else if (t > 0) {
            b = static_cast<std::int64_t>(t);
        }
        const double v = s[k];
        if (v != v) nan[b] = 1;
        if (!seen[b]) {
            hi[b] = lo[b] = v;
            seen[b] = 1;
        } else {
            hi[b] = v > hi[b] ? v : hi[b];
            lo[b] = v < lo[b] ? v : lo[b];
        }
    }
    for (std::int64_t b = 0; b < bins; ++b) {
        if (!seen[b]) {  // bin 0 always holds X[Index]
            hi[b] = hi[b - 1];
            lo[b] = lo[b - 1];
        } else if (nan[b]) {
            hi[b] = lo[b] = NAN;
        }
        Self.Values()[2 * b] = hi[b];
        Self.Values()[2 * b + 1] = lo[b];
    }
    const double dx = span / P;
    for (int i = 0; i < P; ++i) NX->Values()[i] = x0 + dx * i;
}

}  // namespace

void TVecs::PixelDownSample(int Width, const TVecs& Src, int Index, int Len, const TVecs* X, TVecs* NX,
                            bool Equidistant)
{
    if (!Equidistant) return Unequal(*this, Width, Src, Index, Len, X, NX);
    CheckRange(*this, Width, Index, Len);
    TCheck(*this)
        .Always(static_cast<std::int64_t>(Index) + Len > Src.Length(), msg::kIndexLenSrcLength)
        .Always(Src.Complex(), msg::kPixelSrcComplex);
    const bool positions = X != nullptr && NX != nullptr;
    if (positions && X->Length() == 0) ERaise(msg::kIndxLength);  // X[0] is read
    const double x0 = positions ? X->Values()[0] : 0.0;
    TStable src(Src, {this, NX});
    const std::int64_t step = StepOf(Width, Len);
    if (step <= 2) {
        CopyRange(*this, *src, Index, Len);
        if (positions) {
            NX->Size(Len, false);
            for (int k = 0; k < Len; ++k) NX->Values()[k] = x0 + k;
        }
        return;
    }
    const std::int64_t pairs = PairsOf(Len, step);
    const auto P = static_cast<int>(2 * pairs);
    Size(P, false);
    const double* s = src->Values() + Index;
    double* d = FValues;
    // Groups start at g·step; each piece of the samples takes the groups that start in it.
    parallel::Pieces(Len, [&](long long lo, long long hi) {
        for (std::int64_t g = (lo + step - 1) / step; g * step < hi; ++g)
            MaxMin(s + g * step, std::min<std::int64_t>(step, Len - g * step), d[2 * g], d[2 * g + 1]);
    });
    if (positions) {
        NX->Size(P, false);
        const double half = static_cast<double>(step) / 2;
        for (int i = 0; i < P; ++i) NX->Values()[i] = x0 + half * i;
    }
}

void TVec0::PixelDownSample(int Width, const TVecs& Src, const TVecs* X, TVecs* NX, bool Equidistant)
{
    TVecs::PixelDownSample(Width, Src, 0, Src.Length(), X, NX, Equidistant);
}

void TVec0::PixelDownSample1(int Width, const TVecs& Src, int Index, int Len, const TVecs* X, TVecs* NX)
{
    Unequal(*this, Width, Src, Index, Len, X, NX);
}

void TMtx1::PixelDownSample(TMtx1& Dst, int Width, TPixelDownSample Mode)
{
    if (Width < 1) ERaise(msg::kPixelWidth);
    if (Elements() == 0) {
        Dst.Size(0, 0, false);
        return;
    }
    if (&Dst == this) {  // the result of a distinct source: reduce a pooled copy
        detail::TMtxTemp copy;
        copy->Copy(*this);
        return copy->PixelDownSample(Dst, Width, Mode);
    }
    const int R = FRows, Cn = FCols;
    const double f = static_cast<double>(Width) / std::max(R, Cn);
    const auto rows = static_cast<int>(std::ceil(R * f)), cols = static_cast<int>(std::ceil(Cn * f));
    detail::TLazyTemp held;
    const double* src = detail::Held(*this, {&Dst}, held);
    const bool cplx = FComplex;
    Dst.Size(rows, cols, false);
    Dst.SetZero();
    const double f2 = f * f;
    // Cell c collects the columns [first[c], first[c + 1]), cell r the rows [rowFirst[r], rowFirst[r + 1]): floor
    // of the index times f, which never decreases along the index (clamped into the result).
    auto Starts = [f](int Count, int Cells) {
        std::vector<int> first(static_cast<std::size_t>(Cells) + 1, Count);
        for (int j = Count - 1; j >= 0; --j) first[std::min(Cells - 1, static_cast<int>(std::floor(j * f)))] = j;
        for (int c = Cells - 1; c >= 0; --c) first[c] = std::min(first[c], first[c + 1]);
        return first;
    };
    const std::vector<int> colFirst = Starts(Cn, cols), rowFirst = Starts(R, rows);
    double* out = Dst.Values();
    // Destination rows are shared out among the worker threads; each source row belongs to one of them.
    auto RunRows = [&](int r0, int r1) {
        std::vector<double> mag(static_cast<std::size_t>(Cn));
        for (int r = r0; r < r1; ++r) {
            double* o = out + static_cast<std::int64_t>(r) * cols;
            for (int i = rowFirst[r]; i < rowFirst[r + 1]; ++i) {
                const double* a = src + static_cast<std::int64_t>(i) * Cn * (cplx ? 2 : 1);
                if (cplx) {
                    nspzbMag(reinterpret_cast<const TCplx*>(a), mag.data(), Cn);
                } else {
                    for (int j = 0; j < Cn; ++j) mag[j] = std::fabs(a[j]);
                }
                for (int c = 0; c < cols; ++c) {
                    const int j0 = colFirst[c], j1 = colFirst[c + 1];
                    double acc = 0.0;
                    switch (Mode) {
                        case pdsPattern:
                            for (int j = j0; j < j1; ++j) acc += mag[j] * f2 != 0.0 ? f2 : 0.0;
                            o[c] += acc;
                            break;
                        case pdsAverage:
                            for (int j = j0; j < j1; ++j) acc += mag[j] * f2;
                            o[c] += acc;
                            break;
                        case pdsPeak:
                            acc = o[c];
                            for (int j = j0; j < j1; ++j) acc = std::max(acc, mag[j] * f2);
                            o[c] = acc;
                            break;
                    }
                }
            }
        }
    };
    const std::int64_t work = Elements();
    const int parts = static_cast<int>(std::min<std::int64_t>(
        {parallel::WorkerCount() + 1, rows, std::max<std::int64_t>(1, work / (4 * parallel::kMinPiece))}));
    if (parts <= 1) return RunRows(0, rows);
    const int per = (rows + parts - 1) / parts;
    const std::function<void(int)> job = [&](int p) {
        RunRows(std::min(rows, p * per), std::min(rows, (p + 1) * per));
    };
    if (!parallel::RunParts(parts, job)) RunRows(0, rows);
}

}  // namespace tarnel
