// The sparse conversions against scipy.sparse (bench/peers/sparse.py, same run): TripletsToSparse of 10^6 and 10^7
// random triplets with duplicates (coo_matrix(...).tocsc()), 10^6 SetValue calls and the flush (against the same
// conversion of arrays), DenseToSparse and SparseToDense of a 2000 x 2000 matrix with 1 % entries (csc_matrix and
// .toarray()). Both sides build the same numbers from the counter-based generator below; everything runs on one
// thread.
#include <cstdint>
#include <vector>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

namespace {

// splitmix64 of the counter: the k-th number of a stream, as numpy computes it in bench/peers/sparse.py.
std::uint64_t Mix(std::uint64_t Seed, std::uint64_t K)
{
    std::uint64_t z = Seed + (K + 1) * 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Uniform(std::uint64_t Seed, std::uint64_t K)  // in [-0.5, 0.5)
{
    return static_cast<double>(Mix(Seed, K) >> 11) / 9007199254740992.0 - 0.5;
}

// Count triplets in an n x n matrix with n = Count / 1000, so positions repeat often.
struct TTriplets {
    int N = 0;
    TIntArray Row, Col;
    TSampleArray Values;
    explicit TTriplets(int Count) : N(Count / 1000), Row(Count), Col(Count), Values(Count)
    {
        for (int k = 0; k < Count; ++k) {
            const std::uint64_t z = Mix(1, k);
            Row[k] = static_cast<int>((z & 0xFFFFFFFFu) % static_cast<std::uint64_t>(N));
            Col[k] = static_cast<int>((z >> 32) % static_cast<std::uint64_t>(N));
            Values[k] = Uniform(2, k);
        }
    }
};

void OursTripletsToSparse(benchmark::State& st, int Count)
{
    const TTriplets t(Count);
    TSparseMtx m;
    m.TripletsToSparse(t.N, t.N, t.Row, t.Col, t.Values, 0);
    for (auto _ : st) {
        m.TripletsToSparse(t.N, t.N, t.Row, t.Col, t.Values, 0);
        benchmark::ClobberMemory();
    }
}

void OursSetValueFlush(benchmark::State& st, int Count)
{
    const TTriplets t(Count);
    TSparseMtx m;
    for (auto _ : st) {
        for (int k = 0; k < Count; ++k) m.SetValue(t.Row[k], t.Col[k], t.Values[k]);
        m.TripletsToSparseAndFlush();
        benchmark::ClobberMemory();
    }
}

// A 2000 x 2000 matrix with about 1 % nonzero elements.
void FillDense(TMtx& A, int N)
{
    A.Size(N, N);
    for (std::int64_t k = 0; k < static_cast<std::int64_t>(N) * N; ++k)
        A.Values()[k] = Mix(3, k) % 100 == 0 ? Uniform(4, k) : 0.0;
}

void OursDenseToSparse(benchmark::State& st, int N)
{
    TMtx a;
    FillDense(a, N);
    TSparseMtx m;
    m.DenseToSparse(a, 0);
    for (auto _ : st) {
        m.DenseToSparse(a, 0);
        benchmark::ClobberMemory();
    }
}

void OursSparseToDense(benchmark::State& st, int N)
{
    TMtx a, d;
    FillDense(a, N);
    TSparseMtx m;
    m.DenseToSparse(a, 0);
    m.SparseToDense(d, N * N);
    for (auto _ : st) {
        m.SparseToDense(d, N * N);
        benchmark::ClobberMemory();
    }
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    for (int n : {1000000, 10000000})
        Row("TripletsToSparse", n, "ours", [n](benchmark::State& s) { OursTripletsToSparse(s, n); });
    Row("SetValue and flush", 1000000, "ours", [](benchmark::State& s) { OursSetValueFlush(s, 1000000); });
    Row("DenseToSparse", 2000, "ours", [](benchmark::State& s) { OursDenseToSparse(s, 2000); });
    Row("SparseToDense", 2000, "ours", [](benchmark::State& s) { OursSparseToDense(s, 2000); });
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
