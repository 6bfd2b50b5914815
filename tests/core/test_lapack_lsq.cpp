// TMtx.LQRSolve and SVDSolve against numpy.linalg.lstsq and numpy.linalg.qr (tests/data/gen_lapack_factor_golden.py),
// their checks in order, the control word, and the workspaces of xGELSD on large and one-element problems.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "Feldrin.h"
#include "TestSupport.h"
#include "lapack_util.h"

using namespace tarnel;
using namespace testsupport;
using namespace lapacktest;

namespace {

class LeastSquares : public PoolCheck {};

struct LsqCase {
    const char* What;
    bool Complex;
    bool Svd;
    TMtxOperation Op;
    double Rcond;
    GoldMtx A, B, X, R;
    std::vector<double> S;
    int Rank;
};

const LsqCase kLsqCases[] = {
#include "lsq_golden.inc"
};

// Solutions from LAPACK's drivers: well-conditioned inputs, compared to 1e-12 of their size.
constexpr double kTol = 1e-12;

TEST_F(LeastSquares, EveryFormAgainstNumpy)
{
    for (const LsqCase& c : kLsqCases) {
        SCOPED_TRACE(c.What);
        TMtx a, b, x, r, before;
        Load(a, c.A, c.Complex);
        Load(b, c.B, c.Complex);
        before.Copy(a);
        Set8087CW(0x037F);
        TVec s;
        if (c.Svd) {
            EXPECT_EQ(a.SVDSolve(b, x, s, c.Rcond), c.Rank);
            ASSERT_EQ(s.Length(), static_cast<int>(c.S.size()));
            EXPECT_FALSE(s.Complex());
            ExpectClose(s.Values(), c.S.data(), false, s.Length(), kTol, "S");
        } else {
            a.LQRSolve(b, x, c.Op, c.R.Rows > 0 ? &r : nullptr);
            if (c.R.Rows > 0) ExpectClose(r, c.R, c.Complex, kTol, "R");
        }
        EXPECT_EQ(Get8087CW(), Tarnel8087CW);
        EXPECT_EQ(a.Info(), 0);
        ExpectClose(x, c.X, c.Complex, kTol, "matrix form");
        ExpectClose(a, before, 0, "Self unchanged");
        if (c.B.Cols != 1) continue;
        // The vector form, also with X = B.
        TVec bv, xv;
        LoadVec(bv, c.B, c.Complex);
        for (bool same : {false, true}) {
            TVec& out = same ? bv : xv;
            TVec sv;
            if (c.Svd) {
                EXPECT_EQ(a.SVDSolve(bv, out, sv, c.Rcond), c.Rank);
                ExpectClose(sv.Values(), c.S.data(), false, sv.Length(), kTol, "vector form S");
            } else {
                a.LQRSolve(bv, out, c.Op, nullptr);
            }
            ASSERT_EQ(out.Length(), c.X.Rows);
            ASSERT_EQ(out.Complex(), c.Complex);
            ExpectClose(out.Values(), c.X.V.data(), c.Complex, out.Length(), kTol, same ? "X = B" : "vector form");
            LoadVec(bv, c.B, c.Complex);
        }
    }
}

// A complex opTran solve used to hand ZGELS the letter 'T', which it refuses (INFO -1, X still B).
TEST_F(LeastSquares, ComplexTransposedSolveIsSolved)
{
    TMtx a, x;
    a.Size(3, 2, true);
    const double av[] = {1, 1, 2, 0, 0, 1, 3, -1, 1, 0, 0, 2};
    std::copy(std::begin(av), std::end(av), a.Values());
    TVec b, xv;
    b.SetIt(true, {1, 0, 0, 1});
    a.LQRSolve(b, xv, opTran, nullptr);
    EXPECT_EQ(a.Info(), 0);
    // Aᵀ·x = b, with the minimum norm: x = conj(A)·y for some y.
    TMtx at, xm, bm, prod;
    at.Transp(a);
    xm.Size(3, 1, true);
    std::copy(xv.Values(), xv.Values() + 6, xm.Values());
    bm.Size(2, 1, true);
    std::copy(b.Values(), b.Values() + 4, bm.Values());
    ExpectProduct(at, xm, bm, 1e-14, "A^T x = b");
}

// The matrix form at shapes past the transposing kernels' blocks, overdetermined and underdetermined (the block of
// right-hand sides longer than B, zero below it): each column as the vector form solves it, also with X = B, and
// the defining property of the solution.
TEST_F(LeastSquares, MatrixFormMatchesVectorFormColumnByColumn)
{
    for (bool complex : {false, true}) {
        for (const auto& [m, n] : {std::pair{75, 21}, std::pair{21, 75}}) {
            for (TMtxOperation op : {opNone, opTran}) {
                SCOPED_TRACE(std::string(complex ? "complex " : "real ") + std::to_string(m) + "x" +
                             std::to_string(n) + (op == opNone ? " opNone" : " opTran"));
                const int rows = op == opNone ? m : n, len = op == opNone ? n : m, nrhs = 11, w = complex ? 2 : 1;
                TMtx a, b, x, same;
                Random(a, m, n, complex, 41);
                Random(b, rows, nrhs, complex, 42);
                a.LQRSolve(b, x, op, nullptr);
                EXPECT_EQ(a.Info(), 0);
                ASSERT_EQ(x.Rows(), len);
                ASSERT_EQ(x.Cols(), nrhs);
                ASSERT_EQ(x.Complex(), complex);
                same.Copy(b);
                a.LQRSolve(same, same, op, nullptr);
                ExpectClose(same, x, 0, "X = B");
                for (int j = 0; j < nrhs; ++j) {
                    TVec bj, xj;
                    bj.Size(rows, complex);
                    for (int i = 0; i < rows; ++i) {
                        for (int part = 0; part < w; ++part)
                            bj.Values()[i * w + part] = b.Values()[(i * nrhs + j) * w + part];
                    }
                    a.LQRSolve(bj, xj, op, nullptr);
                    ASSERT_EQ(xj.Length(), len);
                    for (int i = 0; i < len; ++i) {
                        for (int part = 0; part < w; ++part) {
                            EXPECT_NEAR(x.Values()[(i * nrhs + j) * w + part], xj.Values()[i * w + part], 1e-12)
                                << "column " << j << " row " << i;
                        }
                    }
                }
                // Underdetermined: an exact solution. Overdetermined: the residual orthogonal to op(A)'s columns.
                TMtx residual, normal, zero;
                residual.Mul(a, x, op, opNone);
                residual.Sub(b);
                if (rows < len) {
                    zero.Size(rows, nrhs, complex);
                    zero.SetZero();
                    ExpectClose(residual, zero, 1e-12, "op(A) X = B");
                } else {
                    if (op == opNone) {
                        normal.Mul(a, residual, opHerm, opNone);
                    } else {
                        // op(A)ᴴ = conj(A), and conj(A)·r = 0 exactly when A·conj(r) = 0.
                        residual.Conj();
                        normal.Mul(a, residual);
                    }
                    zero.Size(normal.Rows(), nrhs, complex);
                    zero.SetZero();
                    ExpectClose(normal, zero, 1e-11, "op(A)^H (op(A) X - B) = 0");
                }
            }
        }
    }
}

TEST_F(LeastSquares, RankDeficiencyIsReportedNotRaised)
{
    for (bool complex : {false, true}) {
        SCOPED_TRACE(complex ? "complex" : "real");
        TMtx a, r;
        a.Size(3, 2, complex);
        a.SetZero();
        for (int i = 0; i < 3; ++i) a.Values()[i * 2 * (complex ? 2 : 1)] = i + 1;  // column 1 zero
        TVec b, x;
        b.Size(3, complex);
        b.Values()[0] = 1;
        Set8087CW(0x037F);
        a.LQRSolve(b, x, opNone, &r);
        EXPECT_EQ(a.Info(), 2);
        EXPECT_EQ(a.MtxError(), "");
        EXPECT_EQ(Get8087CW(), Tarnel8087CW);
        EXPECT_EQ(x.Length(), 2);
    }
}

TEST_F(LeastSquares, ChecksInOrderBeforeAnythingChanges)
{
    TMtx a, bm, xm, s3;
    Random(a, 3, 2, false, 1);
    Random(bm, 3, 1, false, 2);
    Random(xm, 2, 2, false, 3);
    TVec b, x, s;
    b.SetIt(false, {1, 2, 3});
    x.SetIt(false, {7});
    TVec bc;
    bc.SetIt(true, {1, 0, 2, 0, 3, 0});
    TMtx bcm;
    bcm.Size(3, 1, true);
    TMtx wrongRows;
    Random(wrongRows, 4, 1, false, 4);
    struct Row {
        const char* What;
        std::function<void()> Call;
        const char* Message;
    };
    const Row rows[] = {
        {"LQRSolve vector opNone length", [&] { a.LQRSolve(x, x, opNone, nullptr); }, "fRows <> B.Length"},
        {"LQRSolve vector opTran length", [&] { a.LQRSolve(b, x, opTran, nullptr); }, "fCols <> B.Length"},
        {"LQRSolve vector complexity", [&] { a.LQRSolve(bc, x, opNone, nullptr); }, "fComplex <> B.Complex"},
        {"LQRSolve vector complexity, X = B", [&] { a.LQRSolve(bc, static_cast<TVec&>(bc), opNone, nullptr); },
         "fComplex <> B.Complex"},
        {"LQRSolve matrix B = Self before rows", [&] { a.LQRSolve(a, xm, opTran, nullptr); }, "B = Self or X = Self"},
        {"LQRSolve matrix X = Self", [&] { a.LQRSolve(bm, a, opNone, nullptr); }, "B = Self or X = Self"},
        {"LQRSolve matrix opNone rows", [&] { a.LQRSolve(wrongRows, xm, opNone, nullptr); }, "fRows <> B.Rows"},
        {"LQRSolve matrix opHerm rows", [&] { a.LQRSolve(bm, xm, opHerm, nullptr); }, "fCols <> B.Rows"},
        {"LQRSolve matrix complexity", [&] { a.LQRSolve(bcm, xm, opNone, nullptr); }, "fComplex <> B.Complex"},
        {"LQRSolve matrix R = X", [&] { a.LQRSolve(bm, xm, opNone, &xm); }, "R = X"},
        {"SVDSolve vector length", [&] { a.SVDSolve(x, x, s, -1); }, "B.Lenght <> Rows"},
        {"SVDSolve vector complexity", [&] { a.SVDSolve(bc, x, s, -1); }, "fComplex <> B.Complex"},
        {"SVDSolve vector S = X", [&] { a.SVDSolve(b, x, x, -1); }, "S = X"},
        {"SVDSolve matrix rows before X = Self", [&] { a.SVDSolve(wrongRows, a, s, -1); }, "B.Rows <> Rows"},
        {"SVDSolve matrix B = Self",
         [&] {
             s3.Copy(a);
             a.SVDSolve(a, xm, s, -1);
         },
         "(B = Self) or (X = Self)"},
        {"SVDSolve matrix complexity", [&] { a.SVDSolve(bcm, xm, s, -1); }, "fComplex <> B.Complex"},
        {"LQRSolveInt short block",
         [&] {
             std::vector<double> d(5);
             a.LQRSolveInt(d, 2, opNone, nullptr);
         },
         "Length(B) < Max(Rows,Cols)*NRHS"},
        {"SVDSolveInt negative NRHS",
         [&] {
             std::vector<double> d(6);
             int rank = 0;
             a.SVDSolveInt(d, -1, rank, -1, s);
         },
         "Length(B) < Max(Rows,Cols)*NRHS"},
    };
    for (const Row& r : rows) {
        ExpectRaise(r.Call, r.Message, r.What);
        EXPECT_EQ(x.Length(), 1) << r.What;
        EXPECT_EQ(x[0], 7) << r.What;
        EXPECT_EQ(xm.Rows(), 2) << r.What;
        EXPECT_EQ(bc.Length(), 3) << r.What;
        EXPECT_TRUE(bc.Complex()) << r.What;
        EXPECT_EQ(s.Length(), 0) << r.What;
    }
}

TEST_F(LeastSquares, EmptySelfReturnsWithoutLapack)
{
    TMtx a;
    a.Size(0, 3);
    TVec b, x, s;
    x.SetIt(false, {5});
    s.SetIt(false, {6});
    a.LQRSolve(b, x, opNone, nullptr);
    EXPECT_EQ(x.Length(), 1);
    EXPECT_EQ(a.SVDSolve(b, x, s, -1), 0);
    EXPECT_EQ(x.Length(), 1);
    EXPECT_EQ(s.Length(), 1);
    TMtx bm, xm;
    bm.Size(0, 2);
    EXPECT_EQ(a.SVDSolve(bm, xm, s, -1), 0);
}

// The workspaces come from xGELSD's query: large problems (the integer workspace of min(m, n) = 14, the real one
// at 200 × 200 with 86 right-hand sides) and a one-element S held in the caller's array with a guard after it.
TEST_F(LeastSquares, SvdWorkspacesStayInside)
{
    for (bool complex : {false, true}) {
        SCOPED_TRACE(complex ? "complex" : "real");
        TMtx a, b, x, residual, ahr;
        Random(a, 200, 200, complex, 11);
        Random(b, 200, 86, complex, 12);
        TVec s;
        EXPECT_EQ(a.SVDSolve(b, x, s, -1), 200);
        EXPECT_EQ(a.Info(), 0);
        ASSERT_EQ(x.Rows(), 200);
        ASSERT_EQ(x.Cols(), 86);
        // A square system of full rank: A·X = B.
        ExpectProduct(a, x, b, 1e-8, "A X = B");

        double guarded[2] = {0, 12345};
        TVec one;
        one.Adopt(guarded, 1, 1, false);
        TMtx a1, b1, x1;
        a1.Size(1, 1, complex);
        a1.Values()[0] = 4;
        b1.Size(1, 1, complex);
        b1.Values()[0] = 2;
        EXPECT_EQ(a1.SVDSolve(b1, x1, one, -1), 1);
        EXPECT_EQ(guarded[0], 4);
        EXPECT_EQ(guarded[1], 12345);
        EXPECT_EQ(x1.Values()[0], 0.5);
        double* data = nullptr;
        int len = 0;
        bool cplx = false;
        one.Disown(data, len, cplx);
    }
}

}  // namespace
