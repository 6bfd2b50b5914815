// lapack's iterative sparse solvers at their entry points: the normalised matrix and its products, the
// incomplete factorizations, and the IERR codes provoked one by one. The solutions themselves are checked
// against scipy through TSparseMtx::SolveIterative (tests/sparse/test_sparse_iterative.cpp).
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "SlapSystems.h"
#include "core/Nmkl.h"
#include "platform/lapack/SlapInternal.h"

using namespace tarnel;
using slaptest::TTriplets;

namespace {

const char* const kNames[] = {"SGS", "ICCG", "ILUR", "JAC", "LUBC", "SLUCN", "LUCS", "LUGM", "LUOM"};
const TSlapRoutine kAll[] = {slapSGS, slapICCG, slapILUR, slapJAC, slapLUBC, slapSLUCN, slapLUCS, slapLUGM, slapLUOM};

// One call of a routine with 1-based copies of the triplets; the outputs are kept.
struct TCall {
    TSlapRoutine Routine = slapILUR;
    int Isym = 0, Itol = -1, ItMax = 100, NSave = 10;  // ITOL -1: 1, or GMRES's 0
    double Tol = 1e-12;
    int LenWLess = 0, LenIWLess = 0;  // how far below the table the lengths are
    int Iter = -1, Ierr = -1;
    double Err = -1;

    int Run(const TTriplets& T, const std::vector<double>& B, std::vector<double>& X, int N = -1)
    {
        std::vector<int> ia(T.Row), ja(T.Col);
        for (int& i : ia) ++i;
        for (int& j : ja) ++j;
        const int n = N < 0 ? T.N : N;
        const int nelt = static_cast<int>(ia.size());
        const TSlapLengths len = SlapWorkLengths(Routine, n, nelt, NSave);
        const int lenW = static_cast<int>(len.LenW) - LenWLess;
        const int lenIW = static_cast<int>(len.LenIW) - LenIWLess;
        if (Itol < 0) Itol = Routine == slapLUGM ? 0 : 1;
        SlapSolve(Routine, &n, B.data(), X.data(), &nelt, ia.data(), ja.data(), T.Val.data(), &Isym, &NSave, &Itol,
                  &Tol, &ItMax, &Iter, &Err, &Ierr, &lenW, &lenIW);
        return Ierr;
    }
};

std::vector<double> Ramp(int N)
{
    std::vector<double> x(static_cast<std::size_t>(N));
    for (int i = 0; i < N; ++i) x[static_cast<std::size_t>(i)] = i;
    return x;
}

// y := A·x for a dense row-major N × N matrix.
std::vector<double> Mul(const std::vector<double>& A, const std::vector<double>& x, bool Transposed = false)
{
    const std::size_t n = x.size();
    std::vector<double> y(n, 0.0);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j) y[Transposed ? j : i] += A[i * n + j] * x[Transposed ? i : j];
    return y;
}

// The dense (I + L)·D·(I + U) of a preconditioner.
std::vector<double> DenseM(const slap::TPrecond& M)
{
    const std::size_t n = static_cast<std::size_t>(M.N);
    std::vector<double> l(n * n, 0.0), u(n * n, 0.0), m(n * n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        l[i * n + i] = 1;
        u[i * n + i] = 1;
        if (!M.LStart.empty())
            for (int p = M.LStart[i]; p < M.LStart[i + 1]; ++p)
                l[i * n + static_cast<std::size_t>(M.LCol[static_cast<std::size_t>(p)])] =
                    M.LVal[static_cast<std::size_t>(p)];
        if (!M.UStart.empty())
            for (int p = M.UStart[i]; p < M.UStart[i + 1]; ++p)
                u[i * n + static_cast<std::size_t>(M.UCol[static_cast<std::size_t>(p)])] =
                    M.UVal[static_cast<std::size_t>(p)];
    }
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t k = 0; k < n; ++k)
            for (std::size_t j = 0; j < n; ++j) m[i * n + j] += l[i * n + k] / M.DInv[k] * u[k * n + j];
    return m;
}

slap::TMatrix Normalised(const TTriplets& T, bool Symmetric)
{
    std::vector<int> ia(T.Row), ja(T.Col);
    for (int& i : ia) ++i;
    for (int& j : ja) ++j;
    slap::TMatrix m;
    EXPECT_TRUE(slap::Normalise(T.N, static_cast<int>(ia.size()), ia.data(), ja.data(), T.Val.data(), Symmetric, m));
    return m;
}

}  // namespace

// Triplets in any order with duplicates and a missing diagonal: columns with the diagonal first and the other
// rows ascending, rows with ascending columns, the products equal to the dense ones; with ISYM 1 an entry above
// the diagonal stands for its mirror and the matrix is L + Lᵀ − D.
TEST(Slap, NormalisedMatrixAndProducts)
{
    TTriplets t;
    t.N = 4;
    t.Add(3, 0, 2);
    t.Add(0, 0, 5);
    t.Add(2, 0, -1);
    t.Add(3, 0, 0.5);  // a duplicate, summed
    t.Add(1, 2, 7);
    t.Add(0, 1, 3);
    t.Add(3, 3, 6);
    t.Add(2, 2, 4);  // (1, 1) is missing
    t.Add(3, 2, -2);
    const slap::TMatrix m = Normalised(t, false);
    EXPECT_EQ(m.ColStart, (std::vector<int>{0, 3, 5, 8, 9}));
    EXPECT_EQ(m.ColRow, (std::vector<int>{0, 2, 3, 1, 0, 2, 1, 3, 3}));
    EXPECT_EQ(m.ColVal, (std::vector<double>{5, -1, 2.5, 0, 3, 4, 7, -2, 6}));
    EXPECT_EQ(m.RowStart, (std::vector<int>{0, 2, 4, 6, 9}));
    EXPECT_EQ(m.RowCol, (std::vector<int>{0, 1, 1, 2, 0, 2, 0, 2, 3}));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(m.RowCol[static_cast<std::size_t>(m.Diag[static_cast<std::size_t>(i)])], i);

    const std::vector<double> x{1, -2, 0.5, 3};
    std::vector<double> y(4);
    slap::MatVec(m, x.data(), y.data());
    EXPECT_EQ(y, Mul(t.Dense(), x));
    slap::MatVecT(m, x.data(), y.data());
    EXPECT_EQ(y, Mul(t.Dense(), x, true));

    // The lower triangle of a symmetric matrix, one entry given above the diagonal instead.
    TTriplets s;
    s.N = 3;
    s.Add(0, 0, 4);
    s.Add(1, 0, -1);
    s.Add(0, 2, 2);  // stands for (2, 0)
    s.Add(1, 1, 5);
    s.Add(2, 2, 6);
    const slap::TMatrix ms = Normalised(s, true);
    EXPECT_EQ(ms.ColRow, (std::vector<int>{0, 1, 2, 1, 2}));
    const std::vector<double> full{4, -1, 2, -1, 5, 0, 2, 0, 6};
    const std::vector<double> xs{1, 2, 3};
    std::vector<double> ys(3);
    slap::MatVec(ms, xs.data(), ys.data());
    EXPECT_EQ(ys, Mul(full, xs));
    slap::MatVecT(ms, xs.data(), ys.data());
    EXPECT_EQ(ys, Mul(full, xs));
}

// ILU(0)'s L·D·U equals A and IC(0)'s L·D·Lᵀ equals the symmetric matrix S of tril(A) on the pattern, and the
// solves invert M and Mᵀ. The convection-diffusion S is indefinite (its diagonal 4 against off-diagonal sums up
// to 5.875), so some IC(0) pivots become 1: there L·D·Lᵀ differs from S on the diagonal only.
TEST(Slap, IncompleteFactorsReproduceThePattern)
{
    struct TCase {
        const char* What;
        TTriplets T;
        bool IcFudged;
    };
    const TCase cases[] = {{"Poisson 10 x 10", slaptest::Poisson(10), false},
                           {"convection-diffusion", slaptest::ConvDiff(), true}};
    for (const TCase& c : cases) {
        const slap::TMatrix a = Normalised(c.T, false);
        const std::vector<double> dense = c.T.Dense();
        const std::size_t n = static_cast<std::size_t>(c.T.N);
        for (const bool cholesky : {false, true}) {
            const std::string where = std::string(c.What) + (cholesky ? " IC(0)" : " ILU(0)");
            slap::TPrecond m;
            if (cholesky)
                slap::IncompleteCholesky(a, m);
            else
                slap::IncompleteLU(a, m);
            EXPECT_EQ(m.Fudged, cholesky && c.IcFudged) << where;
            EXPECT_EQ(m.Symmetric, cholesky) << where;
            const std::vector<double> ldu = DenseM(m);
            for (std::size_t k = 0; k < c.T.Row.size(); ++k) {
                const std::size_t i = static_cast<std::size_t>(c.T.Row[k]), j = static_cast<std::size_t>(c.T.Col[k]);
                if (cholesky && i < j) continue;
                if (i == j && m.DInv[i] == 1 && m.Fudged) continue;  // a replaced pivot
                EXPECT_NEAR(ldu[i * n + j], dense[i * n + j], 1e-13) << where << " at " << i << ", " << j;
                if (cholesky) {
                    EXPECT_NEAR(ldu[j * n + i], dense[i * n + j], 1e-13) << where << " at " << j << ", " << i;
                }
            }
            if (m.Fudged) continue;  // the indefinite factor is too ill-conditioned for a round trip
            const std::vector<double> x = Ramp(c.T.N);
            std::vector<double> z = Mul(ldu, x);
            slap::Solve(m, z.data());
            std::vector<double> zt = Mul(ldu, x, true);
            slap::SolveT(m, zt.data());
            std::vector<double> zz = Mul(ldu, Mul(ldu, x, true));
            slap::SolveMMT(m, zz.data());
            for (std::size_t i = 0; i < n; ++i) {
                EXPECT_NEAR(z[i], x[i], 1e-10) << where << " M⁻¹ at " << i;
                EXPECT_NEAR(zt[i], x[i], 1e-10) << where << " M⁻ᵀ at " << i;
                EXPECT_NEAR(zz[i], x[i], 1e-9) << where << " (M·Mᵀ)⁻¹ at " << i;
            }
        }
    }
}

// IERR 1 when LENW or LENIW is one below the table, for both ISYM; IERR 3 for each bad input. X stays as it was
// and ITER, ERR are 0.
TEST(Slap, RefusedCallsLeaveXAlone)
{
    const TTriplets t = slaptest::Poisson(4);
    const std::vector<double> b(16, 1.0);
    for (const TSlapRoutine r : kAll) {
        const std::string name = kNames[r];
        struct TBad {
            const char* What;
            int Ierr;
            TTriplets T;
            TCall Call;
            int N = -1;
        };
        std::vector<TBad> bad;
        for (const int isym : {0, 1}) {
            TCall c;
            c.Routine = r;
            c.Isym = isym;
            c.LenWLess = 1;
            bad.push_back({"LENW short", 1, isym ? t.Lower() : t, c});
            c.LenWLess = 0;
            c.LenIWLess = 1;
            bad.push_back({"LENIW short", 1, isym ? t.Lower() : t, c});
        }
        TCall c;
        c.Routine = r;
        bad.push_back({"N = 0", 3, t, c, 0});
        TTriplets outside = t;
        outside.Row[3] = 16;  // 17 once 1-based
        bad.push_back({"index past N", 3, outside, c});
        TTriplets zero = t;
        zero.Col[0] = -1;
        bad.push_back({"index 0", 3, zero, c});
        TCall isym = c;
        isym.Isym = 2;
        bad.push_back({"ISYM 2", 3, t, isym});
        TCall itol = c;
        itol.Itol = r == slapLUGM ? 1 : 0;
        bad.push_back({"ITOL", 3, t, itol});
        if (r == slapLUGM || r == slapLUOM) {
            TCall ns = c;
            ns.NSave = r == slapLUGM ? 0 : -1;
            bad.push_back({"NSAVE", 3, t, ns});
        }
        if (r == slapJAC || r == slapSGS) {
            TTriplets noDiag = t;
            noDiag.Val[0] = 0;  // (0, 0)
            bad.push_back({"zero diagonal", 3, noDiag, c});
        }
        for (TBad& x : bad) {
            std::vector<double> guess = Ramp(16);
            EXPECT_EQ(x.Call.Run(x.T, b, guess, x.N), x.Ierr) << name << ": " << x.What;
            EXPECT_EQ(guess, Ramp(16)) << name << ": " << x.What;
            EXPECT_EQ(x.Call.Iter, 0) << name << ": " << x.What;
            EXPECT_EQ(x.Call.Err, 0) << name << ": " << x.What;
        }
    }
    // NELT 0 and a missing argument.
    int n = 4, nelt = 0, ia = 1, isym = 0, itol = 1, itmax = 10, iter = 0, ierr = -1, len = 1000;
    double a = 1, tol = 1e-10, err = 0;
    std::vector<double> x(4, 7.0), bb(4, 1.0);
    DSJAC(&n, bb.data(), x.data(), &nelt, &ia, &ia, &a, &isym, &itol, &tol, &itmax, &iter, &err, &ierr, nullptr,
          nullptr, &len, nullptr, &len);
    EXPECT_EQ(ierr, 3);
    nelt = 1;
    DSJAC(&n, nullptr, x.data(), &nelt, &ia, &ia, &a, &isym, &itol, &tol, &itmax, &iter, &err, &ierr, nullptr, nullptr,
          &len, nullptr, &len);
    EXPECT_EQ(ierr, 3);
    EXPECT_EQ(x, std::vector<double>(4, 7.0));
    // More triplets than the normalised matrix can count (Jacobi's lengths do not grow with NELT): refused before
    // a triplet is read.
    nelt = INT_MAX;
    DSJAC(&n, bb.data(), x.data(), &nelt, &ia, &ia, &a, &isym, &itol, &tol, &itmax, &iter, &err, &ierr, nullptr,
          nullptr, &len, nullptr, &len);
    EXPECT_EQ(ierr, 1);
    EXPECT_EQ(x, std::vector<double>(4, 7.0));
}

// The breakdowns and the fudged factorization, each on a 2 × 2 system made for it.
TEST(Slap, BreakdownsAndFudgedPivots)
{
    struct TCase {
        const char* What;
        TSlapRoutine Routine;
        std::vector<double> Dense;
        std::vector<double> B;
        int Ierr;
    };
    const TCase cases[] = {
        // M = A = diag(1, −1): ρ = (M⁻¹r, r) = 0 for r = (1, 1).
        {"BiCG rho = 0", slapLUBC, {1, 0, 0, -1}, {1, 1}, 5},
        // The IC(0) pivot −1 becomes 1, M = I, and (p, A·p) = 0 for p = (1, 1).
        {"CG (p, Ap) = 0", slapICCG, {1, 0, 0, -1}, {1, 1}, 6},
        // A·z = 0 for z = r = (0, 1) (the ILU(0) pivot 0 became 1, M = I).
        {"Orthomin A p = 0", slapLUOM, {1, 0, 0, 0}, {0, 1}, 6},
        // Both ILU(0) pivots are 0 and become 1; GMRES still converges in two steps.
        {"GMRES fudged", slapLUGM, {0, 1, 1, 1}, {1, 2}, 7},
        {"BiCG fudged", slapLUBC, {0, 1, 1, 1}, {1, 2}, 7},
    };
    for (const TCase& c : cases) {
        TTriplets t;
        t.N = 2;
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j)
                if (c.Dense[static_cast<std::size_t>(2 * i + j)] != 0 || i == j)
                    t.Add(i, j, c.Dense[static_cast<std::size_t>(2 * i + j)]);
        TCall call;
        call.Routine = c.Routine;
        std::vector<double> x(2, 0.0);
        EXPECT_EQ(call.Run(t, c.B, x), c.Ierr) << c.What;
        if (c.Ierr == 7) {
            EXPECT_NEAR(x[0], 1, 1e-12) << c.What;
            EXPECT_NEAR(x[1], 1, 1e-12) << c.What;
        }
    }
}

// A TOL below 500·2^-53 is reset and written back: IERR 4 on convergence (GMRES: 0), 2 without; b = 0 gives
// X = 0 at once; IA, JA, A and B are only read.
TEST(Slap, ToleranceResetZeroRightHandSideAndReadOnlyInput)
{
    const TTriplets t = slaptest::Poisson(6);
    const std::vector<double> b(36, 1.0);
    for (const TSlapRoutine r : kAll) {
        const std::string name = kNames[r];
        TCall c;
        c.Routine = r;
        c.Tol = 1e-20;
        c.ItMax = 5000;
        std::vector<double> x(36, 0.0);
        EXPECT_EQ(c.Run(t, b, x), r == slapLUGM ? 0 : 4) << name;
        EXPECT_EQ(c.Tol, 5.551115123125783e-14) << name;
        EXPECT_LE(c.Err, c.Tol) << name;

        TCall few = c;
        few.Tol = -1;
        few.ItMax = 1;
        std::fill(x.begin(), x.end(), 0.0);
        EXPECT_EQ(few.Run(t, b, x), 2) << name;
        EXPECT_EQ(few.Tol, 5.551115123125783e-14) << name;
        EXPECT_EQ(few.Iter, 1) << name;

        TCall zero;
        zero.Routine = r;
        std::vector<double> guess = Ramp(36);
        EXPECT_EQ(zero.Run(t, std::vector<double>(36, 0.0), guess), 0) << name;
        EXPECT_EQ(guess, std::vector<double>(36, 0.0)) << name;
        EXPECT_EQ(zero.Iter, 0) << name;
        EXPECT_EQ(zero.Err, 0) << name;
    }

    const TTriplets keep = slaptest::ConvDiff();
    std::vector<int> ia(keep.Row), ja(keep.Col);
    for (int& i : ia) ++i;
    for (int& j : ja) ++j;
    const std::vector<int> ia0(ia), ja0(ja);
    std::vector<double> a(keep.Val), bb(225, 1.0), x(225, 0.0);
    const int n = 225, nelt = static_cast<int>(ia.size()), isym = 0, itol = 1, itmax = 500, ns = 10, len = 1 << 20;
    int iter = 0, ierr = -1;
    double tol = 1e-10, err = 0;
    DSLUGM(&n, bb.data(), x.data(), &nelt, ia.data(), ja.data(), a.data(), &isym, &ns, &itol, &tol, &itmax, &iter, &err,
           &ierr, nullptr, nullptr, &len, nullptr, &len);
    EXPECT_EQ(ierr, 3);  // GMRES measures its preconditioned residual only
    DSLUBC(&n, bb.data(), x.data(), &nelt, ia.data(), ja.data(), a.data(), &isym, &itol, &tol, &itmax, &iter, &err,
           &ierr, nullptr, nullptr, &len, nullptr, &len);
    EXPECT_EQ(ierr, 0);
    EXPECT_EQ(ia, ia0);
    EXPECT_EQ(ja, ja0);
    EXPECT_EQ(a, keep.Val);
    EXPECT_EQ(bb, std::vector<double>(225, 1.0));
}

// Norms of data near the ends of the Double range neither overflow nor flush: GMRES and the refinement, whose
// other products stay in range, solve a system whose right-hand side is 1e200 or 1e-200 times an ordinary one.
TEST(Slap, NormsOfLargeAndTinyData)
{
    const TTriplets t = slaptest::ConvDiff();
    for (const double scale : {1e200, 1e-200}) {
        std::vector<double> b(225), one(225, 0.0), scaled(225, 0.0);
        for (int i = 0; i < 225; ++i) b[static_cast<std::size_t>(i)] = std::cos(i);
        for (const TSlapRoutine r : {slapLUGM, slapILUR}) {
            TCall c;
            c.Routine = r;
            c.ItMax = 1000;
            std::vector<double> x(225, 0.0);
            EXPECT_EQ(c.Run(t, b, x), 0) << kNames[r];
            std::vector<double> bs(b);
            for (double& v : bs) v *= scale;
            TCall cs = c;
            std::vector<double> xs(225, 0.0);
            EXPECT_EQ(cs.Run(t, bs, xs), 0) << kNames[r] << " scaled by " << scale;
            EXPECT_EQ(cs.Iter, c.Iter) << kNames[r] << " scaled by " << scale;
            for (std::size_t i = 0; i < 225; ++i) EXPECT_NEAR(xs[i] / scale, x[i], 1e-12) << kNames[r] << " at " << i;
        }
    }
}

// Nothing is shared between calls: threads solving their own systems get what one thread gets.
TEST(Slap, ThreadsSolveTheirOwnSystems)
{
    const TTriplets t = slaptest::ConvDiff();
    std::vector<double> b(225);
    for (int i = 0; i < 225; ++i) b[static_cast<std::size_t>(i)] = std::cos(i);
    std::vector<std::vector<double>> alone;
    for (const TSlapRoutine r : {slapLUGM, slapLUBC, slapLUCS, slapLUOM}) {
        TCall c;
        c.Routine = r;
        std::vector<double> x(225, 0.0);
        c.Run(t, b, x);
        alone.push_back(x);
    }
    std::vector<std::vector<double>> together(8, std::vector<double>(225, 0.0));
    std::vector<std::thread> threads;
    for (std::size_t k = 0; k < together.size(); ++k)
        threads.emplace_back([&, k] {
            const TSlapRoutine routines[] = {slapLUGM, slapLUBC, slapLUCS, slapLUOM};
            TCall c;
            c.Routine = routines[k % 4];
            for (int repeat = 0; repeat < 5; ++repeat) {
                std::fill(together[k].begin(), together[k].end(), 0.0);
                c.Run(t, b, together[k]);
            }
        });
    for (std::thread& th : threads) th.join();
    for (std::size_t k = 0; k < together.size(); ++k) EXPECT_EQ(together[k], alone[k % 4]) << kNames[k % 4];
}
