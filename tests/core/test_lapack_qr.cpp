// TMtx.LQR and LMinQR against numpy.linalg.qr (tests/data/gen_lapack_factor_golden.py), the LQ side by L·Q = Self and
// Q·Qᴴ = I, the texts, and the index forms of the triangle extractions.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>

#include "Feldrin.h"
#include "TestSupport.h"
#include "lapack_util.h"

using namespace tarnel;
using namespace testsupport;
using namespace lapacktest;

namespace {

class QRFactor : public PoolCheck {};
class TriangleIndexForms : public PoolCheck {};

struct QrCase {
    const char* What;
    bool Complex;
    bool Economy;
    GoldMtx A, Q, R;
};
const QrCase kQrCases[] = {
#include "qr_golden.inc"
};

TEST_F(QRFactor, AgainstNumpySignsIncluded)
{
    for (const QrCase& c : kQrCases) {
        SCOPED_TRACE(c.What);
        TMtx a, q, r, before;
        Load(a, c.A, c.Complex);
        before.Copy(a);
        a.SetLapackResult(3, "stale");
        Set8087CW(0x037F);
        a.LQR(nullptr, &q, &r, c.Economy);
        EXPECT_EQ(Get8087CW(), 0x037F);
        EXPECT_EQ(a.Info(), 0);
        EXPECT_EQ(a.MtxError(), "");
        ExpectClose(q, c.Q, c.Complex, 1e-13, "Q");
        ExpectClose(r, c.R, c.Complex, 1e-13, "R");
        ExpectClose(a, before, 0, "Self unchanged");
        // Without Q, R alone.
        TMtx r2;
        if (c.Economy) {
            a.LMinQR(nullptr, nullptr, &r2);
        } else {
            a.LQR(nullptr, nullptr, &r2, false);
        }
        ExpectClose(r2, c.R, c.Complex, 1e-13, "R without Q");
    }
    Set8087CW(Tarnel8087CW);
}

TEST_F(QRFactor, LqReconstructsSelf)
{
    for (bool complex : {false, true}) {
        for (bool economy : {true, false}) {
            SCOPED_TRACE(std::string(complex ? "complex" : "real") + (economy ? " economy" : " complete"));
            TMtx a, l, q, i, lonly;
            Random(a, 3, 5, complex, 21);
            a.LQR(&l, &q, nullptr, economy);
            EXPECT_EQ(a.Info(), 0);
            const int k = economy ? 3 : 5;
            ASSERT_EQ(l.Rows(), 3);
            ASSERT_EQ(l.Cols(), k);
            ASSERT_EQ(q.Rows(), k);
            ASSERT_EQ(q.Cols(), 5);
            for (int r = 0; r < 3; ++r)
                for (int c = r + 1; c < k; ++c) EXPECT_EQ(l.Values()[(r * k + c) * (complex ? 2 : 1)], 0);
            ExpectProduct(l, q, a, 1e-14, "L Q = Self");
            Identity(i, k, complex);
            ExpectProduct(q, q, i, 1e-14, "Q Q^H = I", opNone, opHerm);
            a.LQR(&lonly, nullptr, nullptr, economy);
            ExpectClose(lonly, l, 0, "L without Q");
        }
    }
}

// Shapes past the transposing kernels' blocks of eight rows and their 64-element tiles, with rows and columns left
// over: A = Q·R with Qᴴ·Q = I and R upper triangular with exact zeros below (complete: m × n, its last rows zero), and
// the R of LQRSolve (the same xGEQRF on the same data) equal to LQR's, conjugated back for a complex opTran solve.
TEST_F(QRFactor, LargerShapesReconstructSelf)
{
    for (bool complex : {false, true}) {
        for (bool economy : {true, false}) {
            SCOPED_TRACE(std::string(complex ? "complex" : "real") + (economy ? " economy" : " complete"));
            const int m = 75, n = 21, w = complex ? 2 : 1;
            TMtx a, q, r, i, before;
            Random(a, m, n, complex, 31);
            before.Copy(a);
            a.LQR(nullptr, &q, &r, economy);
            EXPECT_EQ(a.Info(), 0);
            const int k = economy ? n : m;
            ASSERT_EQ(q.Rows(), m);
            ASSERT_EQ(q.Cols(), k);
            ASSERT_EQ(r.Rows(), k);
            ASSERT_EQ(r.Cols(), n);
            for (int row = 0; row < k; ++row) {
                for (int c = 0; c < std::min(row, n); ++c) {
                    for (int part = 0; part < w; ++part) EXPECT_EQ(r.Values()[(row * n + c) * w + part], 0);
                }
            }
            ExpectProduct(q, r, a, 1e-13, "Q R = Self");
            Identity(i, k, complex);
            ExpectProduct(q, q, i, 1e-13, "Q^H Q = I", opHerm, opNone);
            ExpectClose(a, before, 0, "Self unchanged");
            if (!economy) continue;
            TMtx b, x, rs;
            Random(b, m, 3, complex, 32);
            a.LQRSolve(b, x, opNone, &rs);
            ExpectClose(rs, r, 1e-13, "R of LQRSolve");
            if (!complex) continue;
            // Aᵀ·x = b solved through conj(A): the R handed back is still A's own.
            TMtx bt, xt, rt;
            Random(bt, n, 2, complex, 33);
            a.LQRSolve(bt, xt, opTran, &rt);
            EXPECT_EQ(a.Info(), 0);
            ExpectClose(rt, r, 1e-13, "R of an opTran solve");
            ExpectProduct(a, xt, bt, 1e-12, "A^T x = b", opTran, opNone);
        }
    }
    // The LQ side at the transposed shape.
    for (bool complex : {false, true}) {
        SCOPED_TRACE(complex ? "complex LQ" : "real LQ");
        TMtx a, l, q, i;
        Random(a, 21, 75, complex, 34);
        a.LQR(&l, &q, nullptr, false);
        ASSERT_EQ(l.Rows(), 21);
        ASSERT_EQ(l.Cols(), 75);
        ASSERT_EQ(q.Rows(), 75);
        ExpectProduct(l, q, a, 1e-13, "L Q = Self");
        Identity(i, 75, complex);
        ExpectProduct(q, q, i, 1e-13, "Q Q^H = I", opNone, opHerm);
    }
}

TEST_F(QRFactor, Texts)
{
    TMtx a, q, r;
    Random(a, 3, 2, false, 1);
    const std::pair<std::function<void()>, const char*> rows[] = {
        {[&] { a.LQR(&a, &q, &r, true); }, "L=Self"},       {[&] { a.LQR(nullptr, &a, &r, true); }, "Q=Self"},
        {[&] { a.LQR(nullptr, &q, &a, false); }, "R=Self"}, {[&] { a.LQR(&q, &q, nullptr, true); }, "L=Q"},
        {[&] { a.LQR(nullptr, &q, &q, true); }, "R=Q"},     {[&] { a.LMinQR(&a, &q, &r); }, "L = Self"},
        {[&] { a.LMinQR(nullptr, &a, &r); }, "Q = Self"},   {[&] { a.LMinQR(nullptr, &q, &a); }, "R = Self"},
        {[&] { a.LMinQR(&q, &q, nullptr); }, "L = Q"},      {[&] { a.LMinQR(nullptr, &r, &r); }, "R = Q"},
    };
    for (const auto& [call, text] : rows) {
        ExpectRaise(call, text, text);
        EXPECT_EQ(q.Rows(), 0) << text;
        EXPECT_EQ(a.Rows(), 3) << text;
    }
    TMtx empty;
    empty.LQR(nullptr, &q, &r, true);
    EXPECT_EQ(q.Rows(), 0);
}

// The index forms: Last-First+1 rows, Mtx.Rows columns.
TEST_F(TriangleIndexForms, ShapesValuesAndRefusals)
{
    TMtx m, t;
    m.Size(3, 6);
    for (int k = 0; k < 18; ++k) m.Values()[k] = k + 1;  // m(i, j) = 6i + j + 1
    t.Size(2, 2);
    t.SetVal(9);
    t.LowerTriangle(m, false, true, 2, 4);
    ExpectClose(t, GoldMtx{3, 3, {1, 0, 0, 9, 8, 0, 15, 16, 15}}, false, 0, "lower");
    t.UpperTriangle(m, false, false, 1, 2);
    ExpectClose(t, GoldMtx{2, 3, {0, 2, 3, 0, 0, 9}}, false, 0, "upper");
    t.UpperTriangle(m, true, true, 0, 3);
    ExpectClose(t, GoldMtx{4, 3, {1, 2, 3, 0, 8, 9, 0, 0, 15, 0, 0, 0}}, false, 0, "upper, more rows than columns");

    TMtx narrow, empty;
    narrow.Size(4, 2);
    t.SetConditionCheck(false);  // every check runs always
    const std::pair<std::function<void()>, const char*> rows[] = {
        {[&] { t.LowerTriangle(t, true, true, 0, 1); }, "Mtx = Self"},
        {[&] { t.UpperTriangle(t, true, true, 0, 1); }, "Mtx = Self"},
        {[&] { t.LowerTriangle(empty, true, true, 0, 1); }, "Mtx.Rows*Mtx.Cols = 0"},
        {[&] { t.LowerTriangle(m, true, true, -1, 1); }, "First < 0"},
        {[&] { t.UpperTriangle(m, true, true, -1, 1); }, "First < 0"},
        {[&] { t.LowerTriangle(m, true, true, 3, 1); }, "Last < First-1"},
        {[&] { t.LowerTriangle(m, true, true, 5, 7); }, "Triangle column > Mtx.Cols-1"},
        {[&] { t.UpperTriangle(narrow, true, true, 0, 3); }, "Triangle column > Mtx.Cols-1"},
    };
    for (const auto& [call, text] : rows) ExpectRaise(call, text, text);
    t.LowerTriangle(m, true, false, 4, 6);  // reads up to column First + 1 = 5: inside
    EXPECT_EQ(t.Values()[2 * 3 + 1], 18);
    t.UpperTriangle(empty, true, true, 0, 5);
    EXPECT_EQ(t.Rows(), 0);
}

}  // namespace
