// Eig, SVD, MtxSqrt and MtxIntPower against direct LAPACK calls on the same data (dsyev_, dgeev_, dgesdd_); the
// numpy/scipy rows (scipy.linalg.eigh and eigvalsh with driver 'ev', numpy.linalg.eig, numpy.linalg.svd,
// scipy.linalg.sqrtm, numpy.linalg.matrix_power) come from bench/peers/eig.py in the same run. Both sides use the same
// OpenBLAS with the thread count scripts/bench sets (OPENBLAS_NUM_THREADS, 1 unless given). Each direct call starts
// from a copy of its input, as ours does inside the member.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

namespace {

void Fill(TMtx& M, int Rows, int Cols, unsigned Seed, double Scale = 1)
{
    M.Size(Rows, Cols);
    std::mt19937_64 gen(Seed);
    std::uniform_real_distribution<double> u(-Scale, Scale);
    for (std::int64_t i = 0; i < static_cast<std::int64_t>(Rows) * Cols; ++i) M.Values()[i] = u(gen);
}

// A random symmetric matrix (its data are their own column-major image).
void Symmetric(TMtx& M, int n, unsigned Seed)
{
    Fill(M, n, n, Seed);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < i; ++j) M.Values()[i * n + j] = M.Values()[j * n + i];
}

// A column-major copy of M (what LAPACK reads).
std::vector<double> ColumnMajor(const TMtx& M)
{
    std::vector<double> c(static_cast<std::size_t>(M.Rows()) * M.Cols());
    for (int i = 0; i < M.Rows(); ++i)
        for (int j = 0; j < M.Cols(); ++j)
            c[static_cast<std::size_t>(j) * M.Rows() + i] = M.Values()[static_cast<std::size_t>(i) * M.Cols() + j];
    return c;
}

int Queried(double W)
{
    return std::max(1, static_cast<int>(W));
}

// ---- Symmetric Eig ----
void OursEigSym(benchmark::State& st, int n, bool vectors)
{
    TMtx a, v;
    TVec d;
    Symmetric(a, n, 1);
    for (auto _ : st) {
        if (vectors) {
            a.Eig(&v, d, nullptr, mtSymmetric);
        } else {
            a.Eig(d, mtSymmetric);
        }
        benchmark::ClobberMemory();
    }
}

void DirectDsyev(benchmark::State& st, int n, bool vectors)
{
    TMtx a;
    Symmetric(a, n, 1);
    std::vector<double> w(static_cast<std::size_t>(n) * n), d(n);
    const char jobz = vectors ? 'V' : 'N';
    int info = 0, lwork = -1;
    double q = 0;
    dsyev_(&jobz, "L", &n, w.data(), &n, d.data(), &q, &lwork, &info, 1, 1);
    lwork = Queried(q);
    std::vector<double> work(lwork);
    for (auto _ : st) {
        std::memcpy(w.data(), a.Values(), w.size() * sizeof(double));
        dsyev_(&jobz, "L", &n, w.data(), &n, d.data(), work.data(), &lwork, &info, 1, 1);
        benchmark::ClobberMemory();
    }
}

// ---- General Eig with right eigenvectors ----
void OursEigGeneral(benchmark::State& st, int n)
{
    TMtx a, vr;
    TVec d;
    Fill(a, n, n, 2);
    for (auto _ : st) {
        a.Eig(nullptr, d, &vr, mtGeneral, vfEig, true);
        benchmark::ClobberMemory();
    }
}

void DirectDgeev(benchmark::State& st, int n)
{
    TMtx a;
    Fill(a, n, n, 2);
    const std::vector<double> c = ColumnMajor(a);
    std::vector<double> w(c.size()), vr(c.size()), wr(n), wi(n);
    int info = 0, lwork = -1, one = 1;
    double q = 0;
    dgeev_("N", "V", &n, w.data(), &n, wr.data(), wi.data(), nullptr, &one, vr.data(), &n, &q, &lwork, &info, 1, 1);
    lwork = Queried(q);
    std::vector<double> work(lwork);
    for (auto _ : st) {
        std::memcpy(w.data(), c.data(), w.size() * sizeof(double));
        dgeev_("N", "V", &n, w.data(), &n, wr.data(), wi.data(), nullptr, &one, vr.data(), &n, work.data(), &lwork,
               &info, 1, 1);
        benchmark::ClobberMemory();
    }
}

// ---- SVD ----
void OursSvd(benchmark::State& st, int m, int n, bool vectors)
{
    TMtx a, u, v;
    TVec s;
    Fill(a, m, n, 3);
    for (auto _ : st) {
        if (vectors) {
            a.SVD(&u, s, &v, false);
        } else {
            a.SVD(s);
        }
        benchmark::ClobberMemory();
    }
}

void DirectDgesdd(benchmark::State& st, int m, int n)
{
    TMtx a;
    Fill(a, m, n, 3);
    const std::vector<double> c = ColumnMajor(a);
    const int k = std::min(m, n);
    std::vector<double> w(c.size()), s(k), u(static_cast<std::size_t>(m) * m), vt(static_cast<std::size_t>(n) * n);
    std::vector<int> iwork(8 * static_cast<std::size_t>(k));
    int info = 0, lwork = -1;
    double q = 0;
    dgesdd_("A", &m, &n, w.data(), &m, s.data(), u.data(), &m, vt.data(), &n, &q, &lwork, iwork.data(), &info, 1);
    lwork = Queried(q);
    std::vector<double> work(lwork);
    for (auto _ : st) {
        std::memcpy(w.data(), c.data(), w.size() * sizeof(double));
        dgesdd_("A", &m, &n, w.data(), &m, s.data(), u.data(), &m, vt.data(), &n, work.data(), &lwork, iwork.data(),
                &info, 1);
        benchmark::ClobberMemory();
    }
}

// ---- Matrix square root and integer power ----
// A general matrix with its eigenvalues in the right half-plane: uniform values plus √n on the diagonal.
void Shifted(TMtx& A, int n)
{
    Fill(A, n, n, 4);
    for (int i = 0; i < n; ++i) A.Values()[static_cast<std::size_t>(i) * n + i] += std::sqrt(static_cast<double>(n));
}

void OursSqrt(benchmark::State& st, int n)
{
    TMtx a, r;
    Shifted(a, n);
    for (auto _ : st) {
        r.MtxSqrt(a, mtGeneral);
        benchmark::ClobberMemory();
    }
}

// Spectral radius about 1, so that a thousandth power stays finite.
void OursIntPower(benchmark::State& st, int n, int k)
{
    TMtx a, r;
    Fill(a, n, n, 5, std::sqrt(3.0 / n));
    for (auto _ : st) {
        r.MtxIntPower(a, k);
        benchmark::ClobberMemory();
    }
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    for (int n : {500, 1000}) {
        Row("Eig symmetric values", n, "ours", [n](benchmark::State& s) { OursEigSym(s, n, false); });
        Row("Eig symmetric values", n, "dsyev", [n](benchmark::State& s) { DirectDsyev(s, n, false); });
        Row("Eig symmetric vectors", n, "ours", [n](benchmark::State& s) { OursEigSym(s, n, true); });
        Row("Eig symmetric vectors", n, "dsyev", [n](benchmark::State& s) { DirectDsyev(s, n, true); });
    }
    Row("Eig general vectors", 500, "ours", [](benchmark::State& s) { OursEigGeneral(s, 500); });
    Row("Eig general vectors", 500, "dgeev", [](benchmark::State& s) { DirectDgeev(s, 500); });
    for (auto [m, n] : {std::pair{1000, 1000}, std::pair{2000, 500}}) {
        const std::string shape = std::to_string(m) + "x" + std::to_string(n);
        Row("SVD values " + shape, m, "ours", [m, n](benchmark::State& s) { OursSvd(s, m, n, false); });
        Row("SVD full " + shape, m, "ours", [m, n](benchmark::State& s) { OursSvd(s, m, n, true); });
        Row("SVD full " + shape, m, "dgesdd", [m, n](benchmark::State& s) { DirectDgesdd(s, m, n); });
    }
    for (int n : {200, 500}) Row("MtxSqrt", n, "ours", [n](benchmark::State& s) { OursSqrt(s, n); });
    Row("MtxIntPower k=1000", 200, "ours", [](benchmark::State& s) { OursIntPower(s, 200, 1000); });
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
