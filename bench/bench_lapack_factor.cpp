// The least-squares solvers, LUD, Inv, LQR and Determinant against direct LAPACK calls on the same data; the
// numpy/scipy rows (numpy.linalg.inv, lstsq, qr, det, scipy.linalg.lu) come from bench/peers/lapack_factor.py in the
// same run. Both sides use the same OpenBLAS with the thread count scripts/bench sets (OPENBLAS_NUM_THREADS, 1 unless
// given). Operations that work in place start each repetition from a copy of the input, on both sides.
#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

namespace {

void Fill(TMtx& M, int Rows, int Cols, unsigned Seed)
{
    M.Size(Rows, Cols);
    std::mt19937_64 gen(Seed);
    std::uniform_real_distribution<double> u(-1, 1);
    for (std::int64_t i = 0; i < static_cast<std::int64_t>(Rows) * Cols; ++i) M.Values()[i] = u(gen);
}

// A column-major copy of M (what LAPACK reads).
std::vector<double> ColumnMajor(const TMtx& M)
{
    std::vector<double> c(static_cast<std::size_t>(M.Rows()) * M.Cols());
    for (int i = 0; i < M.Rows(); ++i)
        for (int j = 0; j < M.Cols(); ++j) c[static_cast<std::size_t>(j) * M.Rows() + i] = M.Values()[i * M.Cols() + j];
    return c;
}

int Queried(double W)
{
    return std::max(1, static_cast<int>(W));
}

// ---- Inv ----
void OursInv(benchmark::State& st, int n)
{
    TMtx a, w;
    Fill(a, n, n, 1);
    for (auto _ : st) {
        w.Copy(a);
        w.Inv(mtGeneral);
        benchmark::ClobberMemory();
    }
}

void DirectInv(benchmark::State& st, int n)
{
    TMtx a;
    Fill(a, n, n, 1);
    std::vector<double> w(static_cast<std::size_t>(n) * n);
    std::vector<int> ipiv(n);
    int info = 0, lwork = -1;
    double q = 0;
    dgetri_(&n, w.data(), &n, ipiv.data(), &q, &lwork, &info);
    lwork = Queried(q);
    std::vector<double> work(lwork);
    for (auto _ : st) {
        std::memcpy(w.data(), a.Values(), w.size() * sizeof(double));
        dgetrf_(&n, &n, w.data(), &n, ipiv.data(), &info);
        dgetri_(&n, w.data(), &n, ipiv.data(), work.data(), &lwork, &info);
        benchmark::ClobberMemory();
    }
}

// ---- LUD ----
void OursLUD(benchmark::State& st, int n)
{
    TMtx a, l, u;
    TVec p;
    Fill(a, n, n, 2);
    // Warm-up: the first call maps L's and U's new blocks (at n = 2000 64 MB of page faults, inside a repetition
    // of one iteration); the direct side's buffer is allocated and zero-filled before its loop too.
    a.LUD(p, l, u, mtGeneral);
    for (auto _ : st) {
        a.LUD(p, l, u, mtGeneral);
        benchmark::ClobberMemory();
    }
}

void DirectGetrf(benchmark::State& st, int n)
{
    TMtx a;
    Fill(a, n, n, 2);
    const std::vector<double> c = ColumnMajor(a);
    std::vector<double> w(c.size());
    std::vector<int> ipiv(n);
    int info = 0;
    for (auto _ : st) {
        std::memcpy(w.data(), c.data(), w.size() * sizeof(double));
        dgetrf_(&n, &n, w.data(), &n, ipiv.data(), &info);
        benchmark::ClobberMemory();
    }
}

// ---- LQRSolve ----
void OursLQRSolve(benchmark::State& st, int m, int n, int nrhs)
{
    TMtx a, b, x;
    Fill(a, m, n, 3);
    Fill(b, m, nrhs, 4);
    TVec bv, xv;
    bv.Size(m);
    std::copy(b.Values(), b.Values() + m, bv.Values());
    const auto solve = [&] {
        if (nrhs == 1) {
            a.LQRSolve(bv, xv, opNone, nullptr);
        } else {
            a.LQRSolve(b, x, opNone, nullptr);
        }
    };
    // Warm-up, as in OursLUD: the first call maps the 8 MB work matrix and the solution's block.
    solve();
    for (auto _ : st) {
        solve();
        benchmark::ClobberMemory();
    }
}

void DirectGels(benchmark::State& st, int m, int n, int nrhs)
{
    TMtx a, b;
    Fill(a, m, n, 3);
    Fill(b, m, nrhs, 4);
    const std::vector<double> ac = ColumnMajor(a), bc = ColumnMajor(b);
    std::vector<double> aw(ac.size()), bw(bc.size());
    int info = 0, lwork = -1;
    double q = 0;
    dgels_("N", &m, &n, &nrhs, aw.data(), &m, bw.data(), &m, &q, &lwork, &info, 1);
    lwork = Queried(q);
    std::vector<double> work(lwork);
    for (auto _ : st) {
        std::memcpy(aw.data(), ac.data(), aw.size() * sizeof(double));
        std::memcpy(bw.data(), bc.data(), bw.size() * sizeof(double));
        dgels_("N", &m, &n, &nrhs, aw.data(), &m, bw.data(), &m, work.data(), &lwork, &info, 1);
        benchmark::ClobberMemory();
    }
}

// ---- LQR ----
void OursLQR(benchmark::State& st, int m, int n)
{
    TMtx a, q, r;
    Fill(a, m, n, 5);
    // Warm-up, as in OursLUD: the first call maps Q's 8 MB, R's block and the work matrix.
    a.LQR(nullptr, &q, &r, true);
    for (auto _ : st) {
        a.LQR(nullptr, &q, &r, true);
        benchmark::ClobberMemory();
    }
}

void DirectQR(benchmark::State& st, int m, int n)
{
    TMtx a;
    Fill(a, m, n, 5);
    const std::vector<double> ac = ColumnMajor(a);
    std::vector<double> w(ac.size()), tau(n), r(static_cast<std::size_t>(n) * n);
    int info = 0, lwork = -1;
    double q1 = 0, q2 = 0;
    dgeqrf_(&m, &n, w.data(), &m, tau.data(), &q1, &lwork, &info);
    dorgqr_(&m, &n, &n, w.data(), &m, tau.data(), &q2, &lwork, &info);
    lwork = std::max(Queried(q1), Queried(q2));
    std::vector<double> work(lwork);
    benchmark::DoNotOptimize(r.data());
    for (auto _ : st) {
        std::memcpy(w.data(), ac.data(), w.size() * sizeof(double));
        dgeqrf_(&m, &n, w.data(), &m, tau.data(), work.data(), &lwork, &info);
        // R's triangle out of the factor before xORGQR overwrites it (a caller of the two routines wants R too).
        for (int j = 0; j < n; ++j) {
            std::memcpy(r.data() + static_cast<std::size_t>(j) * n, w.data() + static_cast<std::size_t>(j) * m,
                        static_cast<std::size_t>(j + 1) * sizeof(double));
        }
        dorgqr_(&m, &n, &n, w.data(), &m, tau.data(), work.data(), &lwork, &info);
        benchmark::ClobberMemory();
    }
}

// ---- SVDSolve ----
void OursSVDSolve(benchmark::State& st, int m, int n)
{
    TMtx a, b;
    Fill(a, m, n, 6);
    Fill(b, m, 1, 7);
    TVec bv, xv, s;
    bv.Size(m);
    std::copy(b.Values(), b.Values() + m, bv.Values());
    for (auto _ : st) {
        a.SVDSolve(bv, xv, s, -1);
        benchmark::ClobberMemory();
    }
}

void DirectGelsd(benchmark::State& st, int m, int n)
{
    TMtx a, b;
    Fill(a, m, n, 6);
    Fill(b, m, 1, 7);
    const std::vector<double> ac = ColumnMajor(a);
    std::vector<double> aw(ac.size()), bw(std::max(m, n)), s(std::min(m, n));
    int info = 0, lwork = -1, rank = 0, nrhs = 1, ld = std::max(m, n), iq = 0;
    double q = 0, rcond = -1;
    dgelsd_(&m, &n, &nrhs, aw.data(), &m, bw.data(), &ld, s.data(), &rcond, &rank, &q, &lwork, &iq, &info);
    lwork = Queried(q);
    std::vector<double> work(lwork);
    std::vector<int> iwork(std::max(1, iq));
    for (auto _ : st) {
        std::memcpy(aw.data(), ac.data(), aw.size() * sizeof(double));
        std::copy(b.Values(), b.Values() + m, bw.data());
        dgelsd_(&m, &n, &nrhs, aw.data(), &m, bw.data(), &ld, s.data(), &rcond, &rank, work.data(), &lwork,
                iwork.data(), &info);
        benchmark::ClobberMemory();
    }
}

// ---- Determinant ----
void OursDeterminant(benchmark::State& st, int n)
{
    TMtx a, w;
    Fill(a, n, n, 8);
    double d = 0;
    for (auto _ : st) {
        w.Copy(a);
        d += w.Determinant();
        benchmark::DoNotOptimize(d);
    }
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    for (int n : {500, 1000, 2000}) {
        Row("Inv", n, "ours", [n](benchmark::State& s) { OursInv(s, n); });
        Row("Inv", n, "dgetrf+dgetri", [n](benchmark::State& s) { DirectInv(s, n); });
        Row("LUD", n, "ours", [n](benchmark::State& s) { OursLUD(s, n); });
        Row("LUD", n, "dgetrf", [n](benchmark::State& s) { DirectGetrf(s, n); });
    }
    for (int nrhs : {1, 100}) {
        const std::string op = "LQRSolve 2000x500 nrhs";
        Row(op, nrhs, "ours", [nrhs](benchmark::State& s) { OursLQRSolve(s, 2000, 500, nrhs); });
        Row(op, nrhs, "dgels", [nrhs](benchmark::State& s) { DirectGels(s, 2000, 500, nrhs); });
    }
    Row("LQR 2000x500", 2000, "ours", [](benchmark::State& s) { OursLQR(s, 2000, 500); });
    Row("LQR 2000x500", 2000, "dgeqrf+dorgqr", [](benchmark::State& s) { DirectQR(s, 2000, 500); });
    Row("SVDSolve 1000x500", 1000, "ours", [](benchmark::State& s) { OursSVDSolve(s, 1000, 500); });
    Row("SVDSolve 1000x500", 1000, "dgelsd", [](benchmark::State& s) { DirectGelsd(s, 1000, 500); });
    for (int n : {100, 500}) Row("Determinant", n, "ours", [n](benchmark::State& s) { OursDeterminant(s, n); });
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
