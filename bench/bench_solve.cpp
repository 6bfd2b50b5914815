// TMtx.LUSolve against direct LAPACK calls on the same data: dgesv_ (general, 1 and 100 right-hand sides), dposv_
// (symmetric positive definite), dgetrf_ + dgetrs_ + dgecon_ (with the condition estimate), dgesvx_ (refinement; it
// always estimates the condition too, so our row sets both) and dgbsv_ (a tridiagonal band of order 10^5). LAPACK
// overwrites its inputs, so every direct row copies the data afresh inside the timed loop, as LUSolve copies A into
// its factor. numpy.linalg.solve and scipy.linalg.solve / solve_banded come from bench/peers/solve.py in the same
// run. All sides use the same OpenBLAS with the thread count scripts/bench sets (OPENBLAS_NUM_THREADS, 1 unless
// given).
#include <cstring>
#include <random>
#include <vector>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

// The drivers only the peers call.
extern "C" {
void dgesv_(const int* n, const int* nrhs, double* a, const int* lda, int* ipiv, double* b, const int* ldb, int* info);
void dposv_(const char* uplo, const int* n, const int* nrhs, double* a, const int* lda, double* b, const int* ldb,
            int* info, std::size_t);
void dgesvx_(const char* fact, const char* trans, const int* n, const int* nrhs, double* a, const int* lda, double* af,
             const int* ldaf, int* ipiv, char* equed, double* r, double* c, double* b, const int* ldb, double* x,
             const int* ldx, double* rcond, double* ferr, double* berr, double* work, int* iwork, int* info,
             std::size_t, std::size_t, std::size_t);
void dgbsv_(const int* n, const int* kl, const int* ku, const int* nrhs, double* ab, const int* ldab, int* ipiv,
            double* b, const int* ldb, int* info);
}

namespace {

std::vector<double> Uniform(std::size_t Count, unsigned Seed)
{
    std::mt19937_64 gen(Seed);
    std::uniform_real_distribution<double> u(-1, 1);
    std::vector<double> v(Count);
    for (double& x : v) x = u(gen);
    return v;
}

// A general n × n matrix (uniform entries, 2 added to the diagonal), or M·Mᵀ + n·I with PosDef.
std::vector<double> SystemMatrix(int n, bool PosDef)
{
    std::vector<double> a = Uniform(static_cast<std::size_t>(n) * n, 1);
    if (PosDef) {
        std::vector<double> s(a.size());
        const double one = 1, zero = 0;
        dgemm_("T", "N", &n, &n, &n, &one, a.data(), &n, a.data(), &n, &zero, s.data(), &n, 1, 1);
        a.swap(s);
    }
    for (int i = 0; i < n; ++i) a[static_cast<std::size_t>(i) * n + i] += PosDef ? n : 2;
    return a;
}

void Load(TMtx& M, int Rows, int Cols, const std::vector<double>& V)
{
    M.Size(Rows, Cols);
    std::memcpy(M.Values(), V.data(), V.size() * sizeof(double));
}

// LUSolve of the vector form (nrhs = 1) or the matrix form.
void Ours(benchmark::State& st, int n, int nrhs, TMtxType Type, bool Refine, TConditionNumber Cn)
{
    TMtx a;
    Load(a, n, n, SystemMatrix(n, Type == mtSymmPosDef));
    a.SetRefineSolution(Refine);
    a.SetConditionNumber(Cn);
    const std::vector<double> bv = Uniform(static_cast<std::size_t>(n) * nrhs, 2);
    TVec b, x;
    TMtx bm, xm;
    if (nrhs == 1) {
        b.Size(n);
        std::memcpy(b.Values(), bv.data(), bv.size() * sizeof(double));
        a.LUSolve(b, x, Type, opNone);
    } else {
        Load(bm, n, nrhs, bv);
        a.LUSolve(bm, xm, Type, opNone);
    }
    for (auto _ : st) {
        if (nrhs == 1) {
            a.LUSolve(b, x, Type, opNone);
        } else {
            a.LUSolve(bm, xm, Type, opNone);
        }
        benchmark::ClobberMemory();
    }
}

// dgesv_ (or dposv_) on fresh copies of A and B.
void Direct(benchmark::State& st, int n, int nrhs, bool PosDef)
{
    const std::vector<double> a0 = SystemMatrix(n, PosDef);
    const std::vector<double> b0 = Uniform(static_cast<std::size_t>(n) * nrhs, 2);
    std::vector<double> a(a0.size()), b(b0.size());
    std::vector<int> ipiv(n);
    int info = 0;
    for (auto _ : st) {
        std::memcpy(a.data(), a0.data(), a0.size() * sizeof(double));
        std::memcpy(b.data(), b0.data(), b0.size() * sizeof(double));
        if (PosDef) {
            dposv_("U", &n, &nrhs, a.data(), &n, b.data(), &n, &info, 1);
        } else {
            dgesv_(&n, &nrhs, a.data(), &n, ipiv.data(), b.data(), &n, &info);
        }
        benchmark::ClobberMemory();
    }
}

// dgetrf_, dgetrs_ and dgecon_ with the 1-norm of A (what LUSolve runs with cnNorm1, and scipy.linalg.solve too).
void DirectWithEstimate(benchmark::State& st, int n)
{
    const std::vector<double> a0 = SystemMatrix(n, false);
    const std::vector<double> b0 = Uniform(n, 2);
    std::vector<double> a(a0.size()), b(b0.size()), work(4 * static_cast<std::size_t>(n));
    std::vector<int> ipiv(n), iwork(n);
    const int one = 1;
    int info = 0;
    double rcond = 0;
    for (auto _ : st) {
        std::memcpy(a.data(), a0.data(), a0.size() * sizeof(double));
        std::memcpy(b.data(), b0.data(), b0.size() * sizeof(double));
        double anorm = 0;
        for (int j = 0; j < n; ++j)
            anorm = std::max(anorm, dasum_(&n, a.data() + static_cast<std::size_t>(j) * n, &one));
        dgetrf_(&n, &n, a.data(), &n, ipiv.data(), &info);
        dgetrs_("N", &n, &one, a.data(), &n, ipiv.data(), b.data(), &n, &info, 1);
        dgecon_("1", &n, a.data(), &n, &anorm, &rcond, work.data(), iwork.data(), &info, 1);
        benchmark::ClobberMemory();
    }
}

// dgesvx_ with FACT 'N': factorization, solve, refinement and condition estimate.
void DirectRefined(benchmark::State& st, int n)
{
    std::vector<double> a = SystemMatrix(n, false);
    const std::vector<double> b = Uniform(n, 2);
    std::vector<double> af(a.size()), x(n), r(n), c(n), work(4 * static_cast<std::size_t>(n));
    std::vector<int> ipiv(n), iwork(n);
    const int one = 1;
    char equed = 'N';
    double rcond = 0, ferr = 0, berr = 0;
    int info = 0;
    for (auto _ : st) {
        // dgesvx_ leaves A and B alone with FACT 'N' (it factors into AF): nothing to copy.
        dgesvx_("N", "N", &n, &one, a.data(), &n, af.data(), &n, ipiv.data(), &equed, r.data(), c.data(),
                const_cast<double*>(b.data()), &n, x.data(), &n, &rcond, &ferr, &berr, work.data(), iwork.data(), &info,
                1, 1, 1);
        benchmark::ClobberMemory();
    }
}

// The tridiagonal band with diagonals (-1, 4, -1) plus noise, in the library's band storage (3 rows, n columns).
std::vector<double> Tridiagonal(int n)
{
    std::vector<double> band = Uniform(3 * static_cast<std::size_t>(n), 3);
    for (int j = 0; j < n; ++j) band[static_cast<std::size_t>(n) + j] += 4;
    band[0] = 0;                                        // above the first row
    band[2 * static_cast<std::size_t>(n) + n - 1] = 0;  // below the last row
    return band;
}

void OursBand(benchmark::State& st, int n)
{
    TMtx a;
    Load(a, 3, n, Tridiagonal(n));
    a.SetSuperDiag(1);
    a.SetSubDiag(1);
    const std::vector<double> bv = Uniform(n, 2);
    TVec b, x;
    b.Size(n);
    std::memcpy(b.Values(), bv.data(), bv.size() * sizeof(double));
    a.LUSolve(b, x, mtBandGeneral, opNone);
    for (auto _ : st) {
        a.LUSolve(b, x, mtBandGeneral, opNone);
        benchmark::ClobberMemory();
    }
}

// dgbsv_ on a fresh copy of the band in LAPACK's layout (LDAB = 4, the band from row 1) and of B.
void DirectBand(benchmark::State& st, int n)
{
    const std::vector<double> band = Tridiagonal(n);
    const std::vector<double> b0 = Uniform(n, 2);
    std::vector<double> ab(4 * static_cast<std::size_t>(n)), b(n);
    std::vector<int> ipiv(n);
    const int kl = 1, ku = 1, ldab = 4, one = 1;
    int info = 0;
    for (auto _ : st) {
        for (int j = 0; j < n; ++j) {
            for (int k = 0; k < 3; ++k)
                ab[static_cast<std::size_t>(j) * 4 + 1 + k] = band[static_cast<std::size_t>(k) * n + j];
        }
        std::memcpy(b.data(), b0.data(), b0.size() * sizeof(double));
        dgbsv_(&n, &kl, &ku, &one, ab.data(), &ldab, ipiv.data(), b.data(), &n, &info);
        benchmark::ClobberMemory();
    }
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    for (int n : {100, 1000, 2000}) {
        for (int nrhs : {1, 100}) {
            const std::string op = "LUSolve nrhs=" + std::to_string(nrhs);
            Row(op, n, "ours", [n, nrhs](benchmark::State& s) { Ours(s, n, nrhs, mtGeneral, false, cnNone); });
            Row(op, n, "dgesv", [n, nrhs](benchmark::State& s) { Direct(s, n, nrhs, false); });
        }
    }
    Row("LUSolve SymmPosDef", 1000, "ours", [](benchmark::State& s) { Ours(s, 1000, 1, mtSymmPosDef, false, cnNone); });
    Row("LUSolve SymmPosDef", 1000, "dposv", [](benchmark::State& s) { Direct(s, 1000, 1, true); });
    Row("LUSolve cnNorm1", 1000, "ours", [](benchmark::State& s) { Ours(s, 1000, 1, mtGeneral, false, cnNorm1); });
    Row("LUSolve cnNorm1", 1000, "dgetrf+dgetrs+dgecon", [](benchmark::State& s) { DirectWithEstimate(s, 1000); });
    Row("LUSolve refined", 1000, "ours", [](benchmark::State& s) { Ours(s, 1000, 1, mtGeneral, true, cnNorm1); });
    Row("LUSolve refined", 1000, "dgesvx", [](benchmark::State& s) { DirectRefined(s, 1000); });
    Row("LUSolve band", 100000, "ours", [](benchmark::State& s) { OursBand(s, 100000); });
    Row("LUSolve band", 100000, "dgbsv", [](benchmark::State& s) { DirectBand(s, 100000); });
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
