// TSparseMtx: random diagonally dominant systems, distinct random integers, and pixel pictures of the pattern.
//
// RandomSparse draws from the run-time generator (platform/rtl/Random.h), which it reseeds from the generator's
// clock at every call; the pooled vector that places a column's entries seeds its own uniform generator from the
// same run-time generator (a vector fill's random seed), so a test that installs a fixed clock with
// SetRandomizeClock gets the same matrix from every call. The triplets are built in local arrays and converted at
// the end: a refused call leaves the matrix, B and X as they were.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <unordered_set>
#include <vector>

#include "core/Dovi387.h"
#include "core/messages.h"
#include "platform/rtl/Fpu.h"
#include "platform/rtl/Random.h"
#include "sparse/SparseInternal.h"
#include "sparse/messages.h"
#include "sparse/sparse_class.h"

namespace tarnel {

void TSparseMtx::RandomSparseGrow(std::int64_t Index, std::int64_t& Capacity, int MaxNonZeroCount, TIntArray& Row,
                                  TIntArray& Column, TSampleArray& Values)
{
    if (Index < Capacity) return;
    if (2 * Capacity > MaxNonZeroCount) ERaise(msg::sparse::kRandomMaxReached);
    Capacity *= 2;
    const auto n = static_cast<std::size_t>(Capacity);
    Row.reserve(n);
    Column.reserve(n);
    Values.reserve(n);
}

void TSparseMtx::RandomSparse(TVec& B, TVec& X, bool Symmetric, double FillPercent, int MaxNonZeroCount)
{
    if (FNonZeros <= 0) ERaise(msg::sparse::kRandomNonZeros);
    const double mirror = Symmetric ? 1.0 : 3.5;
    const int n = FCols;
    // A NaN percentage fills nothing.
    double fill = EnsureRange(0.0, FillPercent, 100.0) / 100;
    if (!(fill >= 0)) fill = 0;
    Randomize();

    // The capacity is the entry count of the matrix seen as real (a complex one holds twice its count in Doubles).
    std::int64_t capacity = FComplex ? 2 * static_cast<std::int64_t>(FNonZeros) : FNonZeros;
    // The arrays hold the triplets made so far within room for Capacity of them.
    TIntArray row, col;
    TSampleArray value;
    row.reserve(static_cast<std::size_t>(capacity));
    col.reserve(static_cast<std::size_t>(capacity));
    value.reserve(static_cast<std::size_t>(capacity));
    std::vector<double> sum(static_cast<std::size_t>(n), -1.0);  // -1 - the off-diagonal magnitudes of each column
    std::vector<std::int64_t> diag(static_cast<std::size_t>(n), -1);
    std::int64_t t = -1;
    const auto Next = [&](int Row, int Col) {
        ++t;
        RandomSparseGrow(t + 1, capacity, MaxNonZeroCount, row, col, value);
        row.push_back(Row);
        col.push_back(Col);
        value.push_back(0.0);
    };
    ClearFpuExceptions();
    detail::TVecTemp u;
    for (int j = 0; j < n; ++j) {
        const int m = n - 1 - j;  // rows below the diagonal
        const double count = std::trunc(Random() * m * fill);
        if (count >= 1) {
            u->Size(static_cast<int>(count), false);
            u->RandUniform(0, m);
            const double* draws = u->Values();
            for (int e = 0; e < u->Length(); ++e) {
                const int r = n - 1 - static_cast<int>(std::trunc(draws[e]));
                Next(r, j);
                if (r == j) {  // a draw that rounds up to m: the diagonal's slot, valued below
                    diag[static_cast<std::size_t>(j)] = t;
                    continue;
                }
                const double v = -Random();
                value[static_cast<std::size_t>(t)] = v;
                sum[static_cast<std::size_t>(j)] += v;
                Next(j, r);
                value[static_cast<std::size_t>(t)] = mirror * v;
                sum[static_cast<std::size_t>(r)] += mirror * v;
            }
        }
        if (diag[static_cast<std::size_t>(j)] == -1) {
            Next(j, j);
            diag[static_cast<std::size_t>(j)] = t;
        }
    }
    for (int j = 0; j < n; ++j)
        value[static_cast<std::size_t>(diag[static_cast<std::size_t>(j)])] = -1.0001 * sum[static_cast<std::size_t>(j)];

    const auto count = static_cast<std::size_t>(t + 1);
    std::vector<double> x(static_cast<std::size_t>(n)), b(static_cast<std::size_t>(n), 0.0);
    X.Size(n, false);
    X.RandUniform(0, 1);
    std::copy_n(X.Values(), n, x.begin());
    for (std::size_t k = 0; k < count; ++k)
        b[static_cast<std::size_t>(row[k])] += value[k] * x[static_cast<std::size_t>(col[k])];

    if (n == 0) {
        Install(0, 0, false, std::vector<int>{0});
    } else {
        InternalTripletsToSparse(n, n, std::span<const int>(row.data(), count), std::span<const int>(col.data(), count),
                                 nullptr, value.data(), 0);
    }
    // X and B may be one vector: it ends as B.
    X.Size(n, false);
    std::copy(x.begin(), x.end(), X.Values());
    B.Size(n, false);
    std::copy(b.begin(), b.end(), B.Values());
}

void dmpl(int N, std::span<int> indx)
{
    if (indx.size() <= 1) ERaise(msg::sparse::kIndxShort);
    if (static_cast<std::int64_t>(indx.size()) > static_cast<std::int64_t>(N) + 1) ERaise(msg::sparse::kIndxLong);
    std::unordered_set<int> seen;
    seen.reserve(indx.size());
    for (int& v : indx) {
        int x;
        do {
            x = detail::RoundHalfEven(N * Random());
        } while (!seen.insert(x).second);
        v = x;
    }
}

void TSparseMtx::PixelDownSample(TMtx& Dst, int Width, TPixelDownSample Method) const
{
    if (Width < 1) ERaise(msg::kPixelWidth);
    if (FRows <= 0 || FCols <= 0) {
        Dst.Size(0, 0, false);
        return;
    }
    CheckPattern(true);
    ClearFpuExceptions();
    const double s = static_cast<double>(Width) / std::max(FRows, FCols);
    const double w = s * s;
    // The last row or column must land inside the picture: (n - 1)·s may truncate to Trunc(n·s).
    const auto Side = [s](int Count) {
        return std::max(static_cast<int>(std::trunc(Count * s)), static_cast<int>(std::trunc((Count - 1) * s)) + 1);
    };
    const int rows = Side(FRows), cols = Side(FCols);
    Dst.Size(rows, cols, false);
    Dst.SetZero();
    double* out = Dst.Values();
    // The magnitudes scaled by s², in a pooled vector.
    detail::TVecTemp mag;
    if (Method == pdsAverage || Method == pdsPeak) {
        if (FComplex)
            mag->Mag(*FValues);
        else
            mag->Abs(*FValues);
        mag->Scale(w);
    }
    const double* m = mag->Values();
    for (int c = 0; c < FCols; ++c) {
        const auto pc = static_cast<std::int64_t>(std::trunc(c * s));
        for (int k = FColPointers[static_cast<std::size_t>(c)]; k < FColPointers[static_cast<std::size_t>(c) + 1];
             ++k) {
            const auto pr = static_cast<std::int64_t>(std::trunc(FRowIndices[static_cast<std::size_t>(k)] * s));
            double& p = out[pr * cols + pc];
            switch (Method) {
                case pdsPattern:
                    p += w;
                    break;
                case pdsAverage:
                    p += m[k];
                    break;
                case pdsPeak:
                    p = p > m[k] ? p : m[k];
                    break;
            }
        }
    }
}

}  // namespace tarnel
