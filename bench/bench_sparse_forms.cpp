// The sparse band and split forms, random systems and pattern pictures against scipy.sparse and numpy
// (bench/peers/sparse_forms.py, same run): RandomSparse of order 2000 at 1 % (scipy.sparse.random at density 0.01
// with a random X and B = A·X), PixelDownSample of such a matrix to 500 pixels (numpy.add.at binning), the
// grid-series page's tick (both together), and SparseToBanded, BandedToSparse, Split and AddSplit of a tridiagonal
// matrix of order 10^6 (todia, tocsc, tril/diagonal/triu and the sum of the three parts). Everything runs on one
// thread.
#include <vector>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

namespace {

constexpr int kOrder = 2000;
constexpr int kWidth = 500;
constexpr int kTridiagonal = 1000000;

void MakeRandom(TSparseMtx& M, TVec& B, TVec& X)
{
    M.Size(kOrder, kOrder, 100000, false);
    M.RandomSparse(B, X, false, 1.0, 100000);
}

void OursRandomSparse(benchmark::State& st)
{
    TSparseMtx m;
    TVec b, x;
    MakeRandom(m, b, x);
    for (auto _ : st) {
        MakeRandom(m, b, x);
        benchmark::ClobberMemory();
    }
}

void OursPixelDownSample(benchmark::State& st)
{
    TSparseMtx m;
    TVec b, x;
    MakeRandom(m, b, x);
    TMtx p;
    m.PixelDownSample(p, kWidth, pdsPattern);
    for (auto _ : st) {
        m.PixelDownSample(p, kWidth, pdsPattern);
        benchmark::ClobberMemory();
    }
}

void OursPageTick(benchmark::State& st)
{
    TSparseMtx m;
    TVec b, x;
    TMtx p;
    for (auto _ : st) {
        MakeRandom(m, b, x);
        m.PixelDownSample(p, kWidth, pdsPattern);
        benchmark::ClobberMemory();
    }
}

// The tridiagonal matrix with -1, 4, -1, as the peer's scipy.sparse.diags.
void MakeTridiagonal(TSparseMtx& M, int N)
{
    TIntArray rows, cols;
    TSampleArray values;
    for (int j = 0; j < N; ++j)
        for (int r = j - 1; r <= j + 1; ++r)
            if (r >= 0 && r < N) {
                rows.push_back(r);
                cols.push_back(j);
                values.push_back(r == j ? 4.0 : -1.0);
            }
    M.TripletsToSparse(N, N, rows, cols, values, 0);
}

void OursSparseToBanded(benchmark::State& st)
{
    TSparseMtx m;
    MakeTridiagonal(m, kTridiagonal);
    TMtx band;
    m.SparseToBanded(band, 3 * kTridiagonal);
    for (auto _ : st) {
        m.SparseToBanded(band, 3 * kTridiagonal);
        benchmark::ClobberMemory();
    }
}

void OursBandedToSparse(benchmark::State& st)
{
    TSparseMtx m;
    MakeTridiagonal(m, kTridiagonal);
    TMtx band;
    m.SparseToBanded(band, 3 * kTridiagonal);
    for (auto _ : st) {
        m.BandedToSparse(band, 0);
        benchmark::ClobberMemory();
    }
}

void OursSplit(benchmark::State& st)
{
    TSparseMtx m, lower, upper;
    TVec d;
    MakeTridiagonal(m, kTridiagonal);
    for (auto _ : st) {
        m.Split(lower, d, upper, false);
        benchmark::ClobberMemory();
    }
}

void OursAddSplit(benchmark::State& st)
{
    TSparseMtx m, lower, upper;
    TVec d;
    MakeTridiagonal(m, kTridiagonal);
    m.Split(lower, d, upper, false);
    for (auto _ : st) {
        m.AddSplit(lower, d, upper);
        benchmark::ClobberMemory();
    }
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    Row("RandomSparse", kOrder, "ours", [](benchmark::State& s) { OursRandomSparse(s); });
    Row("PixelDownSample", kWidth, "ours", [](benchmark::State& s) { OursPixelDownSample(s); });
    Row("Grid-series page tick", kOrder, "ours", [](benchmark::State& s) { OursPageTick(s); });
    Row("SparseToBanded", kTridiagonal, "ours", [](benchmark::State& s) { OursSparseToBanded(s); });
    Row("BandedToSparse", kTridiagonal, "ours", [](benchmark::State& s) { OursBandedToSparse(s); });
    Row("Split", kTridiagonal, "ours", [](benchmark::State& s) { OursSplit(s); });
    Row("AddSplit", kTridiagonal, "ours", [](benchmark::State& s) { OursAddSplit(s); });
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
