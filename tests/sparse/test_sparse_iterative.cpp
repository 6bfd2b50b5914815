// TSparseMtx::SolveIterative: one harness drives the nine methods against scipy (tests/data/gen_slap_golden.py):
// one exact iteration where M = A, the iterates of CG, BiCG and the refinements step by step, convergence on
// four systems; then the solver's texts, the checks and the faults the solve guards against.
#include <algorithm>
#include <cmath>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "SlapSystems.h"
#include "sparse/messages.h"
#include "sparse_test_util.h"

using namespace tarnel;
using namespace sparsetest;
using slaptest::TTriplets;

namespace {

struct TSlapSystem {
    const char* Name;
    int N;
    std::vector<double> B, X;  // the right-hand side and spsolve's solution
};

struct TSlapSteps {
    const char* Method;
    const char* System;
    int Steps;
    std::vector<double> X;
};

#include "slap_golden.inc"

using SparseIterative = SparseTest;

const TIterativeMethod kAllMethods[] = {itmSGS,   itmICCG, itmILUR,    itmJAC, itmLUBC,
                                        itmSLUCN, itmLUCS, itmLUGMRES, itmLUOM};
const char* const kMethodNames[] = {"SGS", "ICCG", "ILUR", "JAC", "LUBC", "SLUCN", "LUCS", "LUGMRES", "LUOM"};

const TSlapSystem& System(const std::string& Name)
{
    for (const TSlapSystem& s : kSlapSystems)
        if (Name == s.Name) return s;
    throw std::runtime_error("no system " + Name);
}

TTriplets RandomDominant()
{
    TTriplets t;
    t.N = 200;
    for (std::size_t k = 0; k < std::size(kSlapRandomRows); ++k)
        t.Add(kSlapRandomRows[k], kSlapRandomCols[k], kSlapRandomValues[k]);
    return t;
}

TTriplets Matrix(const std::string& Name)
{
    if (Name == "tridiag50") return slaptest::Tridiag(50);
    if (Name == "poisson10") return slaptest::Poisson(10);
    if (Name == "poisson20") return slaptest::Poisson(20);
    if (Name == "poisson30") return slaptest::Poisson(30);
    if (Name == "convdiff15") return slaptest::ConvDiff();
    return RandomDominant();
}

void Load(TSparseMtx& M, const TTriplets& T)
{
    M.TripletsToSparse(T.N, T.N, T.Row, T.Col, T.Val, 0);
}

void Set(TVec& V, const std::vector<double>& D)
{
    V.Size(static_cast<int>(D.size()), false);
    std::copy(D.begin(), D.end(), V.Values());
}

std::vector<double> Get(const TVec& V)
{
    return {V.Values(), V.Values() + V.Length()};
}

void Ramp(TVec& V, int N)
{
    V.Size(N, false);
    for (int i = 0; i < N; ++i) V.Values()[i] = i;
}

double MaxDiff(const TVec& V, const std::vector<double>& X)
{
    double d = 0;
    for (std::size_t i = 0; i < X.size(); ++i) d = std::max(d, std::fabs(V.Values()[i] - X[i]));
    return d;
}

}  // namespace

// Where M = A one iteration is exact: ILU(0) and IC(0) of a tridiagonal matrix have no fill, Jacobi of a
// diagonal one and Gauss-Seidel of a lower bidiagonal one are the matrix. From 0 and from a ramp, whole and as
// a lower triangle with Symmetric.
TEST_F(SparseIterative, OneExactIteration)
{
    const TSlapSystem& s = System("tridiag50");
    const TTriplets full = slaptest::Tridiag(50);
    for (const TIterativeMethod m : {itmILUR, itmICCG, itmLUBC, itmSLUCN, itmLUCS, itmLUGMRES, itmLUOM})
        for (const bool symmetric : {false, true})
            for (const bool ramp : {false, true}) {
                const std::string where = std::string(kMethodNames[m]) + (symmetric ? " lower" : " whole") +
                                          (ramp ? " from a ramp" : " from 0");
                TSparseMtx a;
                Load(a, symmetric ? full.Lower() : full);
                a.SetIterativeMethod(m);
                TVec b, x;
                Set(b, s.B);
                if (ramp)
                    Ramp(x, 50);
                else
                    x.Size(50, false);
                a.SolveIterative(b, x, symmetric);
                EXPECT_EQ(a.ActualIters(), 1) << where;
                EXPECT_EQ(a.MtxError(), "") << where;
                EXPECT_LE(MaxDiff(x, s.X), 1e-12) << where;
            }

    // JAC on a diagonal matrix, SGS on a lower bidiagonal one, from 0; the solutions by hand.
    TTriplets diag, bidiag;
    diag.N = bidiag.N = 50;
    std::vector<double> xDiag(50), xBidiag(50);
    for (int i = 0; i < 50; ++i) {
        diag.Add(i, i, 2 + i);
        bidiag.Add(i, i, 3);
        if (i > 0) bidiag.Add(i, i - 1, -1);
        xDiag[static_cast<std::size_t>(i)] = s.B[static_cast<std::size_t>(i)] / (2 + i);
        xBidiag[static_cast<std::size_t>(i)] =
            (s.B[static_cast<std::size_t>(i)] + (i > 0 ? xBidiag[static_cast<std::size_t>(i) - 1] : 0)) / 3;
    }
    for (const TIterativeMethod m : {itmJAC, itmSGS}) {
        TSparseMtx a;
        Load(a, m == itmJAC ? diag : bidiag);
        a.SetIterativeMethod(m);
        TVec b, x;
        Set(b, s.B);
        x.Size(50, false);
        a.SolveIterative(b, x, false);
        EXPECT_EQ(a.ActualIters(), 1) << kMethodNames[m];
        EXPECT_EQ(a.MtxError(), "") << kMethodNames[m];
        EXPECT_LE(MaxDiff(x, m == itmJAC ? xDiag : xBidiag), 1e-12) << kMethodNames[m];
    }
}

// X after 1, 2 and 5 iterations from x0[i] = i/n: scipy's cg with IC(0), bicg with ILU(0), and the refinement
// steps with Jacobi, Gauss-Seidel and ILU(0) as the script computes them.
TEST_F(SparseIterative, IteratesAgreeWithScipyStepByStep)
{
    for (const TSlapSteps& g : kSlapSteps) {
        const std::string method = g.Method;
        const std::string where = method + " on " + g.System + " after " + std::to_string(g.Steps);
        const TIterativeMethod m = method == "ICCG"   ? itmICCG
                                   : method == "LUBC" ? itmLUBC
                                   : method == "JAC"  ? itmJAC
                                   : method == "SGS"  ? itmSGS
                                                      : itmILUR;
        const TTriplets t = Matrix(g.System);
        TSparseMtx a;
        Load(a, t);
        a.SetIterativeMethod(m);
        a.SetMaxIters(g.Steps);
        TVec b, x;
        b.Size(t.N, false);
        x.Size(t.N, false);
        for (int i = 0; i < t.N; ++i) {
            b.Values()[i] = std::cos(i);
            x.Values()[i] = static_cast<double>(i) / t.N;
        }
        a.SolveIterative(b, x, false);
        EXPECT_EQ(a.MtxError(), msg::sparse::kSlapIerr2) << where;
        EXPECT_EQ(a.ActualIters(), g.Steps) << where;
        EXPECT_LE(MaxDiff(x, g.X), 1e-10) << where;
    }
}

// Every method on the 2-D Poisson matrix 20 × 20, the convection-diffusion system and a random diagonally
// dominant matrix, with both stopping tests (ICCG on the symmetric matrix only): no text, the estimate within the
// tolerance, X within 1e-8 of spsolve.
TEST_F(SparseIterative, EveryMethodConverges)
{
    for (const char* name : {"poisson20", "convdiff15", "random200"}) {
        const TSlapSystem& s = System(name);
        const TTriplets t = Matrix(name);
        for (const TIterativeMethod m : kAllMethods) {
            if (m == itmICCG && std::string(name) != "poisson20") continue;
            for (const TConvergenceCheck check : {cvcNorm2, cvcNorm2InvA}) {
                const std::string where =
                    std::string(kMethodNames[m]) + " on " + name + (check == cvcNorm2 ? " ‖r‖" : " ‖M⁻¹r‖");
                TSparseMtx a;
                Load(a, t);
                a.SetIterativeMethod(m);
                a.SetConvergenceCheck(check);
                a.SetMaxIters(20000);
                TVec b, x;
                Set(b, s.B);
                x.Size(s.N, false);
                a.SolveIterative(b, x, false);
                EXPECT_EQ(a.MtxError(), "") << where;
                EXPECT_LE(a.BackError(), a.Tolerance()) << where;
                EXPECT_GT(a.ActualIters(), 0) << where;
                EXPECT_LE(MaxDiff(x, s.X), 1e-8) << where;
            }
        }
    }
}

// MaxIters 1 on the Poisson matrix 30 × 30: each method's own text, one iteration. The stopping test changes the
// estimate, never the iterate; CGS and GMRES measure with their fixed test whatever ConvergenceCheck says.
TEST_F(SparseIterative, OneIterationIsNotEnough)
{
    const TSlapSystem& s = System("poisson30");
    const TTriplets t = Matrix("poisson30");
    for (const TIterativeMethod m : kAllMethods) {
        TSparseMtx a;
        Load(a, t);
        a.SetIterativeMethod(m);
        a.SetMaxIters(1);
        std::vector<double> estimates, xs;
        for (const TConvergenceCheck check : {cvcNorm2, cvcNorm2InvA}) {
            a.SetConvergenceCheck(check);
            TVec b, x;
            Set(b, s.B);
            x.Size(s.N, false);
            a.SolveIterative(b, x, false);
            EXPECT_EQ(a.MtxError(), m == itmLUGMRES ? msg::sparse::kGmresIerr2 : msg::sparse::kSlapIerr2)
                << kMethodNames[m];
            EXPECT_EQ(a.ActualIters(), 1) << kMethodNames[m];
            estimates.push_back(a.BackError());
            xs.push_back(x.Values()[17]);
        }
        EXPECT_EQ(xs[0], xs[1]) << kMethodNames[m];
        // Jacobi's M is 4·I here, which scales r and b alike.
        if (m == itmLUCS || m == itmLUGMRES || m == itmJAC)
            EXPECT_EQ(estimates[0], estimates[1]) << kMethodNames[m];
        else
            EXPECT_NE(estimates[0], estimates[1]) << kMethodNames[m];
    }
}

// A tolerance below 500·2^-53 is reset, stays reset in the property, and the solve reports it (GMRES silently);
// b = 0 gives X = 0 without an iteration; MtxError is emptied by every solve.
TEST_F(SparseIterative, ToleranceResetAndZeroRightHandSide)
{
    const TSlapSystem& s = System("random200");
    for (const TIterativeMethod m : {itmILUR, itmLUGMRES, itmLUOM}) {
        TSparseMtx a;
        Load(a, RandomDominant());
        a.SetIterativeMethod(m);
        a.SetTolerance(1e-20);
        a.SetMtxError("left from before");
        TVec b, x;
        Set(b, s.B);
        x.Size(200, false);
        a.SolveIterative(b, x, false);
        EXPECT_EQ(a.Tolerance(), 5.551115123125783e-14) << kMethodNames[m];
        EXPECT_EQ(a.MtxError(), m == itmLUGMRES ? "" : msg::sparse::kSlapIerr4) << kMethodNames[m];
        EXPECT_LE(MaxDiff(x, s.X), 1e-10) << kMethodNames[m];

        std::fill(b.Values(), b.Values() + 200, 0.0);
        Ramp(x, 200);
        a.SetMtxError("left from before");
        a.SolveIterative(b, x, false);
        EXPECT_EQ(a.MtxError(), "") << kMethodNames[m];
        EXPECT_EQ(a.ActualIters(), 0) << kMethodNames[m];
        EXPECT_EQ(a.BackError(), 0) << kMethodNames[m];
        EXPECT_EQ(Get(x), std::vector<double>(200, 0.0)) << kMethodNames[m];
    }
}

// The checks in their order, each raising before anything changes: X, the settings and the results stay.
TEST_F(SparseIterative, ChecksLeaveEverythingAlone)
{
    const TTriplets t = slaptest::Poisson(3);
    struct TCase {
        const char* Message;
        std::function<void(TSparseMtx&, TVec&, TVec&, bool&)> Prepare;
    };
    const TCase cases[] = {
        {"B.Length <> X.Length", [](TSparseMtx&, TVec&, TVec& x, bool&) { x.SetLength(8); }},
        {"B.Complex or X.Complex", [](TSparseMtx&, TVec& b, TVec&, bool&) { b.Size(9, true); }},
        {"B.Complex or X.Complex", [](TSparseMtx&, TVec&, TVec& x, bool&) { x.Size(9, true); }},
        {"FCols <> B.Length",
         [](TSparseMtx&, TVec& b, TVec& x, bool&) {
             b.SetLength(8);
             x.SetLength(8);
         }},
        {"Iterative solve: Symmetric matrix must contain only lower triangle!",
         [](TSparseMtx&, TVec&, TVec&, bool& sym) { sym = true; }},
        {"Complex = True",
         [](TSparseMtx& a, TVec&, TVec&, bool&) {
             a.TripletsToSparse(9, 9, TIntArray{0, 4}, TIntArray{0, 4}, TCplxArray{{1, 1}, {2, 0}}, 0);
         }},
        {"Iterative solve: unknown IterativeMethod",
         [](TSparseMtx& a, TVec&, TVec&, bool&) { a.SetIterativeMethod(static_cast<TIterativeMethod>(9)); }},
        {"VectorCount too large",
         [](TSparseMtx& a, TVec&, TVec&, bool&) {
             a.SetIterativeMethod(itmLUGMRES);
             a.SetVectorCount(50000);  // 50000·50003 alone passes the Integer range
         }},
        {"VectorCount too large",
         [](TSparseMtx& a, TVec&, TVec&, bool&) {
             a.SetIterativeMethod(itmLUOM);
             a.SetVectorCount(100000000);
         }},
    };
    for (const TCase& c : cases) {
        TSparseMtx a;
        Load(a, t);
        a.SetMtxError("before");
        a.SetActualIters(-5);
        a.SetBackError(-6);
        a.SetTolerance(1e-30);
        TVec b, x;
        b.Size(9, false);
        std::fill(b.Values(), b.Values() + b.Length(), 1.0);
        Ramp(x, 9);
        bool symmetric = false;
        c.Prepare(a, b, x, symmetric);
        const TSnapshot before = Snapshot(a);
        const std::vector<double> xBefore(x.Values(), x.Values() + x.Length() * (x.Complex() ? 2 : 1));
        ExpectRaise([&] { a.SolveIterative(b, x, symmetric); }, c.Message, c.Message);
        EXPECT_EQ(Snapshot(a), before) << c.Message;
        EXPECT_EQ(std::vector<double>(x.Values(), x.Values() + x.Length() * (x.Complex() ? 2 : 1)), xBefore)
            << c.Message;
        EXPECT_EQ(a.MtxError(), "before") << c.Message;
        EXPECT_EQ(a.ActualIters(), -5) << c.Message;
        EXPECT_EQ(a.BackError(), -6) << c.Message;
        EXPECT_EQ(a.Tolerance(), 1e-30) << c.Message;
    }

    // Only the lower triangle and the diagonal: Symmetric passes.
    TSparseMtx a;
    Load(a, t.Lower());
    TVec b, x;
    b.Size(9, false);
    std::fill(b.Values(), b.Values() + b.Length(), 1.0);
    x.Size(9, false);
    a.SolveIterative(b, x, true);
    EXPECT_EQ(a.MtxError(), "");
}

// The faults the solve guards against: X that is B, a row index past the order (Rows > Cols), and the text of a
// code GMRES's own table lacks.
TEST_F(SparseIterative, GuardedFaults)
{
    const TSlapSystem& s = System("convdiff15");
    for (const TIterativeMethod m : kAllMethods) {
        if (m == itmICCG) continue;
        TSparseMtx a;
        Load(a, slaptest::ConvDiff());
        a.SetIterativeMethod(m);
        a.SetMaxIters(20000);
        TVec bx;
        Set(bx, s.B);
        a.SolveIterative(bx, bx, false);  // the right-hand side is also the first guess
        EXPECT_EQ(a.MtxError(), "") << kMethodNames[m];
        EXPECT_LE(MaxDiff(bx, s.X), 1e-8) << kMethodNames[m];
    }

    // A 4 × 3 matrix with an entry in row 3: the solver refuses it, X stays; for GMRES the text of the other
    // table, not an empty one.
    for (const TIterativeMethod m : {itmLUGMRES, itmILUR}) {
        TSparseMtx a;
        a.TripletsToSparse(4, 3, TIntArray{0, 1, 2, 3}, TIntArray{0, 1, 2, 0}, TSampleArray{2, 2, 2, 1}, 0);
        a.SetIterativeMethod(m);
        TVec b, x;
        b.Size(3, false);
        std::fill(b.Values(), b.Values() + b.Length(), 1.0);
        Ramp(x, 3);
        a.SolveIterative(b, x, false);
        EXPECT_EQ(a.MtxError(), msg::sparse::kSlapIerr3) << kMethodNames[m];
        EXPECT_EQ(Get(x), (std::vector<double>{0, 1, 2})) << kMethodNames[m];
    }
}
