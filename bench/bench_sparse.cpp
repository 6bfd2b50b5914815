// The sparse conversions against scipy.sparse (bench/peers/sparse.py, same run): TripletsToSparse of 10^6 and 10^7
// random triplets with duplicates (coo_matrix(...).tocsc()), 10^6 SetValue calls and the flush (against the same
// conversion of arrays), DenseToSparse and SparseToDense of a 2000 x 2000 matrix with 1 % entries (csc_matrix and
// .toarray()). Both sides build the same numbers from the counter-based generator below; everything runs on one
// thread.
//
// Arithmetic on the 5-point Laplacian of a 500 x 500 grid (250000 columns, 1248000 entries, rows ascending):
// Mul A·A, Add A + A, Transp and MulRight A·x (A @ A, A + A, A.transpose().tocsc(), A @ x). Files: MatrixMarket
// write and read of 10^6 entries of 17 digits (scipy.io.mmwrite, scipy.io.mmread(...).tocsc()), and the stream
// file of 10^7 entries saved and loaded (numpy's tofile and fromfile of the three arrays); each side in a file of
// its own in the temporary folder.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
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

// The 5-point Laplacian of an N x N grid: 4 on the diagonal, -1 for each grid neighbour.
void Poisson(TSparseMtx& A, int N)
{
    const int n = N * N;
    TIntArray row, col;
    TSampleArray v;
    for (int j = 0; j < n; ++j) {
        const int x = j % N, y = j / N;
        const auto put = [&](int i, double a) { row.push_back(i), col.push_back(j), v.push_back(a); };
        if (y > 0) put(j - N, -1);
        if (x > 0) put(j - 1, -1);
        put(j, 4);
        if (x < N - 1) put(j + 1, -1);
        if (y < N - 1) put(j + N, -1);
    }
    A.TripletsToSparse(n, n, row, col, v, 0);
}

void OursMul(benchmark::State& st, int N)
{
    TSparseMtx a, c;
    Poisson(a, N);
    c.Mul(a, a, 2000000000);
    for (auto _ : st) {
        c.Mul(a, a, 2000000000);
        benchmark::ClobberMemory();
    }
}

void OursAdd(benchmark::State& st, int N)
{
    TSparseMtx a, c;
    Poisson(a, N);
    c.Add(a, a, 2000000000);
    for (auto _ : st) {
        c.Add(a, a, 2000000000);
        benchmark::ClobberMemory();
    }
}

void OursTransp(benchmark::State& st, int N)
{
    TSparseMtx a, c;
    Poisson(a, N);
    c.Transp(a);
    for (auto _ : st) {
        c.Transp(a);
        benchmark::ClobberMemory();
    }
}

void OursMulRight(benchmark::State& st, int N)
{
    TSparseMtx a;
    Poisson(a, N);
    TVec x, y;
    x.Size(a.Cols());
    for (int k = 0; k < a.Cols(); ++k) x.Values()[k] = Uniform(5, k);
    a.MulRight(x, y);
    for (auto _ : st) {
        a.MulRight(x, y);
        benchmark::ClobberMemory();
    }
}

// Count entries in Count / 10 columns, ten per column at distinct rows, values of 17 significant digits.
void FileMatrix(TSparseMtx& A, int Count)
{
    const int n = Count / 10;
    TIntArray row(Count), col(Count);
    TSampleArray v(Count);
    for (int k = 0; k < Count; ++k) {
        const int j = k / 10, i = k % 10;
        row[k] = static_cast<int>((static_cast<std::int64_t>(j) * 7919 + static_cast<std::int64_t>(i) * 10007) % n);
        col[k] = j;
        v[k] = Uniform(6, k);
    }
    A.TripletsToSparse(n, n, row, col, v, 0);
}

std::string TempFile(const char* Name)
{
    return (std::filesystem::temp_directory_path() / ("tarnel_bench_" + std::to_string(::getpid()) + Name)).string();
}

void OursMarketWrite(benchmark::State& st, int Count)
{
    TSparseMtx a;
    FileMatrix(a, Count);
    const std::string file = TempFile(".mtx");
    a.SaveToMatrixMarketFile(file);
    for (auto _ : st) a.SaveToMatrixMarketFile(file);
    std::remove(file.c_str());
}

void OursMarketRead(benchmark::State& st, int Count)
{
    TSparseMtx a, b;
    FileMatrix(a, Count);
    const std::string file = TempFile(".mtx");
    a.SaveToMatrixMarketFile(file);
    b.LoadFromMatrixMarketFile(file);
    for (auto _ : st) {
        b.LoadFromMatrixMarketFile(file);
        benchmark::ClobberMemory();
    }
    std::remove(file.c_str());
}

void OursStreamSave(benchmark::State& st, int Count)
{
    TSparseMtx a;
    FileMatrix(a, Count);
    const std::string file = TempFile(".bin");
    a.SaveToFile(file, false);
    for (auto _ : st) a.SaveToFile(file, false);
    std::remove(file.c_str());
}

void OursStreamLoad(benchmark::State& st, int Count)
{
    TSparseMtx a, b;
    FileMatrix(a, Count);
    const std::string file = TempFile(".bin");
    a.SaveToFile(file, false);
    b.LoadFromFile(file);
    for (auto _ : st) {
        b.LoadFromFile(file);
        benchmark::ClobberMemory();
    }
    std::remove(file.c_str());
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    for (int n : {1000000, 10000000})
        Row("TripletsToSparse", n, "ours", [n](benchmark::State& s) { OursTripletsToSparse(s, n); });
    Row("SetValue and flush", 1000000, "ours", [](benchmark::State& s) { OursSetValueFlush(s, 1000000); });
    Row("DenseToSparse", 2000, "ours", [](benchmark::State& s) { OursDenseToSparse(s, 2000); });
    Row("SparseToDense", 2000, "ours", [](benchmark::State& s) { OursSparseToDense(s, 2000); });
    Row("Sparse Mul", 500, "ours", [](benchmark::State& s) { OursMul(s, 500); });
    Row("Sparse Add", 500, "ours", [](benchmark::State& s) { OursAdd(s, 500); });
    Row("Sparse Transp", 500, "ours", [](benchmark::State& s) { OursTransp(s, 500); });
    Row("Sparse MulRight", 500, "ours", [](benchmark::State& s) { OursMulRight(s, 500); });
    Row("MatrixMarket write", 1000000, "ours", [](benchmark::State& s) { OursMarketWrite(s, 1000000); });
    Row("MatrixMarket read", 1000000, "ours", [](benchmark::State& s) { OursMarketRead(s, 1000000); });
    Row("Sparse stream save", 10000000, "ours", [](benchmark::State& s) { OursStreamSave(s, 10000000); });
    Row("Sparse stream load", 10000000, "ours", [](benchmark::State& s) { OursStreamLoad(s, 10000000); });
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
