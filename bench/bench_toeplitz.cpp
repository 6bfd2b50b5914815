// ToeplitzSolve and Levinson against scipy.linalg.solve_toeplitz (bench/peers/toeplitz.py, in the same run), and
// ToeplitzSolve against LUSolve of the dense matrix, which it beats from some order on (the rows give the
// crossover); GetCol of a 4000 × 4000 matrix against numpy's M[:, c].copy(). The systems are diagonally dominant
// Toeplitz matrices of uniform values, as in the peer. LUSolve uses OpenBLAS with the thread count scripts/bench
// sets (OPENBLAS_NUM_THREADS, 1 unless given); the recursion itself is one thread on every side.
#include <cstring>
#include <random>
#include <vector>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

namespace {

std::vector<double> Uniform(std::size_t Count, unsigned Seed)
{
    std::mt19937_64 gen(Seed);
    std::uniform_real_distribution<double> u(-1, 1);
    std::vector<double> v(Count);
    for (double& x : v) x = u(gen);
    return v;
}

void Set(TVec& V, int Length, bool Complex, const std::vector<double>& D)
{
    V.Size(Length, Complex);
    std::memcpy(V.Values(), D.data(), static_cast<std::size_t>(Length) * (Complex ? 2 : 1) * sizeof(double));
}

// First row and column of a diagonally dominant Toeplitz matrix of order n (off-diagonal values decay as 1/k²).
void System(int n, bool Complex, TVec& Row, TVec& Col, TVec& B)
{
    const int w = Complex ? 2 : 1;
    std::vector<double> r = Uniform(static_cast<std::size_t>(w) * n, 1),
                        c = Uniform(static_cast<std::size_t>(w) * n, 2);
    for (int k = 0; k < n; ++k)
        for (int p = 0; p < w; ++p) {
            r[static_cast<std::size_t>(k * w + p)] /= double(k + 1) * (k + 1);
            c[static_cast<std::size_t>(k * w + p)] /= double(k + 2) * (k + 2);
        }
    r[0] = 4;
    Set(Row, n, Complex, r);
    Set(Col, n - 1, Complex, c);
    Set(B, n, Complex, Uniform(static_cast<std::size_t>(w) * n, 3));
}

void OursSolve(benchmark::State& st, int n, bool Complex)
{
    TVec row, col, b, x;
    System(n, Complex, row, col, b);
    ToeplitzSolve(row, col, b, x);
    for (auto _ : st) {
        ToeplitzSolve(row, col, b, x);
        benchmark::ClobberMemory();
    }
}

// LUSolve of the same system as a dense general matrix.
void DenseSolve(benchmark::State& st, int n)
{
    TVec row, col, b, x;
    System(n, false, row, col, b);
    TMtx a;
    a.Size(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            a.Values()[static_cast<std::size_t>(i) * n + j] = j >= i ? row.Values()[j - i] : col.Values()[i - j - 1];
    a.LUSolve(b, x, mtGeneral);
    for (auto _ : st) {
        a.LUSolve(b, x, mtGeneral);
        benchmark::ClobberMemory();
    }
}

// The autocorrelation of a uniform signal of 4n samples.
void OursLevinson(benchmark::State& st, int n)
{
    const int length = 4 * n;
    const std::vector<double> s = Uniform(static_cast<std::size_t>(length), 4);
    TVec r, a;
    r.Size(n);
    for (int k = 0; k < n; ++k) {
        double sum = 0;
        for (int i = 0; i + k < length; ++i) sum += s[static_cast<std::size_t>(i + k)] * s[static_cast<std::size_t>(i)];
        r.Values()[k] = sum / length;
    }
    Levinson(r, a);
    for (auto _ : st) {
        Levinson(r, a);
        benchmark::ClobberMemory();
    }
}

void OursGetCol(benchmark::State& st, int n)
{
    TMtx m;
    m.Size(n, n);
    const std::vector<double> v = Uniform(static_cast<std::size_t>(n) * n, 5);
    std::memcpy(m.Values(), v.data(), v.size() * sizeof(double));
    TVec c;
    c.GetCol(m, n / 2);
    for (auto _ : st) {
        c.GetCol(m, n / 2);
        benchmark::ClobberMemory();
    }
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    for (int n : {10, 50, 100, 500, 1000, 2000, 8000}) {
        Row("ToeplitzSolve", n, "ours", [n](benchmark::State& s) { OursSolve(s, n, false); });
        if (n <= 2000) Row("ToeplitzSolve", n, "LUSolve", [n](benchmark::State& s) { DenseSolve(s, n); });
    }
    Row("ToeplitzSolve complex", 2000, "ours", [](benchmark::State& s) { OursSolve(s, 2000, true); });
    for (int n : {500, 2000, 8000}) Row("Levinson", n, "ours", [n](benchmark::State& s) { OursLevinson(s, n); });
    Row("GetCol", 4000, "ours", [](benchmark::State& s) { OursGetCol(s, 4000); });
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
