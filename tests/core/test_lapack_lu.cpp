// TMtx.LUD, LU, RowExchange, ColExchange, LowerTriangle, Inv and Determinant against scipy, numpy and mpmath
// (tests/data/gen_lapack_factor_golden.py): factors and pivots, reconstructions, every inverse type with both triangles
// compared, the determinant's elimination and edges, the texts and the order of the checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "TestSupport.h"
#include "core/BlasCalls.h"
#include "core/LapackWork.h"
#include "core/transpose_kernels.h"
#include "lapack_util.h"
#include "platform/wavrin/Parallel.h"

using namespace tarnel;
using namespace testsupport;
using namespace lapacktest;

namespace {

class Factorizations : public PoolCheck {};
class Inverse : public PoolCheck {};
class DeterminantOf : public PoolCheck {};

struct LudCase {
    const char* What;
    bool Complex;
    TMtxType Type;
    TTriangleForm Tf;
    bool Auto;
    GoldMtx A;
    std::vector<double> P;
    GoldMtx L, U;
};
const LudCase kLudCases[] = {
#include "lud_golden.inc"
};

struct InvCase {
    const char* What;
    bool Complex;
    TMtxType Type;
    TTriangleForm Tf;
    bool Unit;
    GoldMtx Given, Expected;
};
const InvCase kInvCases[] = {
#include "inv_golden.inc"
};

struct DetCase {
    const char* What;
    bool Complex;
    GoldMtx A;
    TCplx Det;
    double Tol;
};
const DetCase kDetCases[] = {
#include "det_golden.inc"
};

void Set(TMtx& M, int Rows, int Cols, bool Complex, const std::vector<double>& V)
{
    Load(M, Rows, Cols, Complex, V);
}

// ---- LUD and LU -----------------------------------------------------------------------------------------------

TEST_F(Factorizations, LudAgainstScipy)
{
    for (const LudCase& c : kLudCases) {
        SCOPED_TRACE(c.What);
        TMtx a, l, u;
        TVec p;
        Load(a, c.A, c.Complex);
        a.SetTriangleForm(c.Tf);
        a.SetAutoMtxType(c.Auto);
        a.LUD(p, l, u, c.Type);
        EXPECT_EQ(a.Info(), 0);
        EXPECT_EQ(a.MtxError(), "");
        EXPECT_EQ(p.Length(), c.A.Rows);
        for (std::size_t i = 0; i < c.P.size(); ++i) EXPECT_EQ(p[static_cast<int>(i)], c.P[i]) << "P(" << i << ")";
        if (c.L.Rows > 0) ExpectClose(l, c.L, c.Complex, 1e-13, "L");
        if (c.U.Rows > 0) ExpectClose(u, c.U, c.Complex, 1e-13, "U");
    }
}

TEST_F(Factorizations, TheSmallExampleAndTheTwoByTwoBlock)
{
    TMtx a, l, u;
    TVec p;
    Set(a, 2, 2, false, {4, 3, 6, 3});
    a.LUD(p, l, u, mtGeneral);
    EXPECT_EQ(p[0], 1);
    EXPECT_EQ(p[1], 1);
    ExpectClose(u, GoldMtx{2, 2, {6, 3, 0, 1}}, false, 1e-15, "U");
    ExpectClose(l, GoldMtx{2, 2, {1, 0, 2.0 / 3, 1}}, false, 1e-15, "L");

    Set(a, 2, 2, false, {0, 1, 1, 0});
    a.SetTriangleForm(tfLower);
    a.LUD(p, l, u, mtSymmetric);
    EXPECT_EQ(p[0], -3);
    EXPECT_EQ(p[1], -3);
    TMtx before;
    before.Copy(l);
    a.LU(l, u, mtSymmetric);
    ExpectClose(l, before, 0, "LU keeps the rows of L in their order");
}

// L·U = Self after LU: the pivots go into L from the last one back (in increasing order L·U missed Self by 7 for
// ((1, 2, 3), (4, 5, 6), (7, 8, 10))), whatever TriangleForm says.
TEST_F(Factorizations, LuReconstructsSelf)
{
    struct Row {
        const char* What;
        bool Complex;
        TTriangleForm Tf;
        bool Auto;
        int N;
    };
    const Row rows[] = {{"3x3 example", false, tfUpper, false, 3},
                        {"real 6x6 tfLower", false, tfLower, false, 6},
                        {"real 6x6 tfUpper", false, tfUpper, false, 6},
                        {"complex 5x5", true, tfUpper, false, 5},
                        {"real 7x7 AutoMtxType", false, tfLower, true, 7}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.What);
        TMtx a, l, u, before;
        if (r.N == 3) {
            Set(a, 3, 3, false, {1, 2, 3, 4, 5, 6, 7, 8, 10});
        } else {
            Random(a, r.N, r.N, r.Complex, r.N);
        }
        a.SetTriangleForm(r.Tf);
        a.SetAutoMtxType(r.Auto);
        before.Copy(a);
        a.LU(l, u, mtGeneral);
        ExpectClose(a, before, 0, "Self unchanged");
        ExpectProduct(l, u, a, 1e-14, "L U = Self");
    }
    // Cholesky: no exchanges; Self = L·Lᴴ.
    TMtx a, l, u;
    Set(a, 3, 3, true, {4, 0, 1, 1, 0, 0, 1, -1, 3, 0, 1, 0, 0, 0, 1, 0, 2, 0});
    a.SetTriangleForm(tfLower);
    a.LU(l, u, mtHermPosDef);
    ExpectProduct(l, l, a, 1e-14, "L L^H = Self", opNone, opHerm);
}

// The general factors are split out of LAPACK's combined ones tile by tile and block by block: one tile, its edges,
// orders of every remainder by 2 and 4, and several tiles with a partial last one, for the tile sizes of both block
// widths. L and U come in the right size but
// full of NaN, so an element left unwritten shows; every element of the triangles is LAPACK's own, bit for bit.
TEST_F(Factorizations, GeneralFactorsSplitAcrossTiles)
{
    // From 725 on (n² at the shared size) the worker threads share the transposition and the split of real data:
    // 3 threads cut 12 bands and pieces, 8 threads 32, each with its own edges inside tiles and blocks.
    for (int threads : {1, 3, parallel::kMaxThreads}) {
        const parallel::TFixedThreads fixed(threads);
        for (bool complex : {false, true}) {
            for (int n :
                 {1, 2, 3, 4, 5, 6, 7, 31, 32, 33, 64, 65, 67, 70, 130, 255, 256, 257, 515, 724, 725, 731, 808}) {
                if (threads > 1 && (complex || static_cast<std::int64_t>(n) * n < detail::kSharedTransposeDoubles))
                    continue;
                SCOPED_TRACE((complex ? "complex n = " : "real n = ") + std::to_string(n) + ", " +
                             std::to_string(threads) + " threads");
                TMtx a, l, u;
                TVec p;
                Random(a, n, n, complex, static_cast<unsigned>(n));
                for (TMtx* m : {&l, &u}) {
                    m->Size(n, n, complex);
                    m->SetVal(std::nan(""));
                }
                a.LUD(p, l, u, mtGeneral);
                const int w = complex ? 2 : 1;
                int wrong = 0;
                for (int i = 0; i < n; ++i) {
                    for (int j = 0; j < n; ++j) {
                        const double* lij = l.Values() + (static_cast<std::int64_t>(i) * n + j) * w;
                        const double* uij = u.Values() + (static_cast<std::int64_t>(i) * n + j) * w;
                        const bool lOk = j > i    ? lij[0] == 0 && lij[w - 1] == 0
                                         : j == i ? lij[0] == 1 && lij[w - 1] == (complex ? 0 : 1)
                                                  : std::isfinite(lij[0]) && std::isfinite(lij[w - 1]);
                        const bool uOk =
                            j < i ? uij[0] == 0 && uij[w - 1] == 0 : std::isfinite(uij[0]) && std::isfinite(uij[w - 1]);
                        wrong += !lOk + !uOk;
                    }
                }
                EXPECT_EQ(wrong, 0) << "elements of L or U out of their triangle's form";
                // The combined factor of the same data straight from LAPACK (column-major, transposed here element by
                // element), and its pivots.
                std::vector<double> f(static_cast<std::size_t>(n) * n * w);
                for (std::int64_t i = 0; i < n; ++i)
                    for (std::int64_t j = 0; j < n; ++j)
                        for (int k = 0; k < w; ++k) f[(j * n + i) * w + k] = a.Values()[(i * n + j) * w + k];
                std::vector<int> ipiv(n);
                if (complex) {
                    blas::Getrf(n, n, reinterpret_cast<TCplx*>(f.data()), n, ipiv.data());
                } else {
                    blas::Getrf(n, n, f.data(), n, ipiv.data());
                }
                int moved = 0;
                for (int i = 0; i < n; ++i) {
                    moved += p[i] != ipiv[i] - 1;
                    for (int j = 0; j < n; ++j) {
                        const TMtx& factor = j < i ? l : u;
                        const double* got = factor.Values() + (static_cast<std::int64_t>(i) * n + j) * w;
                        const double* lapack = f.data() + (static_cast<std::int64_t>(j) * n + i) * w;
                        moved += std::memcmp(got, lapack, w * sizeof(double)) != 0;
                    }
                }
                EXPECT_EQ(moved, 0) << "pivots or elements that differ from LAPACK's factor";
                TMtx ll, uu;
                a.LU(ll, uu, mtGeneral);
                ExpectProduct(ll, uu, a, 1e-12, "L U = Self");
                ExpectClose(uu, u, 0, "LU's U is LUD's");
            }
        }
    }
}

// A factor may be Self itself: the factorization works on a copy of Self's values.
TEST_F(Factorizations, FactorInPlaceOfSelf)
{
    for (bool lowerIsSelf : {true, false}) {
        SCOPED_TRACE(lowerIsSelf ? "L = Self" : "U = Self");
        TMtx a, other, original;
        Set(a, 3, 3, false, {1, 2, 3, 4, 5, 6, 7, 8, 10});
        original.Copy(a);
        if (lowerIsSelf) {
            a.LU(a, other, mtGeneral);
            ExpectProduct(a, other, original, 1e-14, "L U = Self");
        } else {
            a.LU(other, a, mtGeneral);
            ExpectProduct(other, a, original, 1e-14, "L U = Self");
        }
    }
    TMtx t, l;
    TVec p;
    Set(t, 2, 2, false, {1, 2, 3, 4});
    t.SetTriangleForm(tfUpper);
    t.LUD(p, l, t, mtTriangle);
    ExpectClose(t, GoldMtx{2, 2, {1, 2, 0, 4}}, false, 0, "U = Self keeps the upper triangle");
}

TEST_F(Factorizations, FailuresAreReportedNotRaised)
{
    TMtx a, l, u;
    TVec p;
    Set(a, 2, 2, false, {1, 2, 2, 4});
    a.LUD(p, l, u, mtGeneral);
    EXPECT_EQ(a.Info(), 2);
    EXPECT_EQ(a.MtxError(), "Gauss-Jordan: singular at U(2,2) = 0");
    Set(a, 2, 2, false, {1, 2, 2, 1});
    a.SetTriangleForm(tfUpper);
    a.LUD(p, l, u, mtSymmPosDef);
    EXPECT_EQ(a.Info(), 2);
    EXPECT_EQ(a.MtxError(), "Cholesky: leading minor of order 2is not positive definite");
    // A triangle afterwards: Info and MtxError start afresh.
    Set(a, 2, 2, false, {1, 0, 2, 1});
    a.SetLapackResult(5, "stale");
    a.SetTriangleForm(tfLower);
    l.Size(1, 1);
    a.LUD(p, l, u, mtTriangle);
    EXPECT_EQ(a.Info(), 0);
    EXPECT_EQ(a.MtxError(), "");
    ExpectClose(l, a, 0, "L = Self");
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[1], 0);
}

TEST_F(Factorizations, RefusalsChangeNothing)
{
    TMtx rect, real, band, l, u;
    Set(rect, 2, 3, false, {1, 2, 3, 4, 5, 6});
    Set(real, 2, 2, false, {2, 1, 1, 2});
    Set(l, 1, 1, false, {9});
    TVec p;
    ExpectRaise([&] { rect.LUD(p, l, u, mtGeneral); }, "Quadratic = False");
    ExpectRaise([&] { real.LUD(p, l, l, mtGeneral); }, "L = U");
    ExpectRaise([&] { real.LUD(p, l, u, mtBandGeneral); }, "MtxType not supported");
    ExpectRaise([&] { real.LUD(p, l, u, mtHermitian); }, "LU: Hermitian and not complex!");
    ExpectRaise([&] { real.LU(l, u, mtHermitian); }, "LU: Hermitian and not complex!");
    EXPECT_EQ(l.Rows(), 1);
    EXPECT_EQ(l.Values()[0], 9);
    EXPECT_EQ(p.Length(), 0);
    TMtx empty;
    empty.LUD(p, l, u, mtGeneral);  // nothing to do
    EXPECT_EQ(l.Rows(), 1);
}

TEST_F(Factorizations, RowAndColumnExchanges)
{
    TMtx m;
    Set(m, 3, 2, true, {1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6});
    m.RowExchange(0, 2);
    ExpectClose(m, GoldMtx{3, 2, {5, 5, 6, 6, 3, 3, 4, 4, 1, 1, 2, 2}}, true, 0, "rows");
    m.ColExchange(1, 0);
    ExpectClose(m, GoldMtx{3, 2, {6, 6, 5, 5, 4, 4, 3, 3, 2, 2, 1, 1}}, true, 0, "columns");
    m.SetConditionCheck(false);  // the index checks run always
    const std::pair<std::function<void()>, const char*> rows[] = {
        {[&] { m.RowExchange(0, 5); }, "j > FRows-1"}, {[&] { m.RowExchange(3, 0); }, "i > FRows-1"},
        {[&] { m.RowExchange(-1, 0); }, "i < 0"},      {[&] { m.RowExchange(1, -2); }, "j < 0"},
        {[&] { m.ColExchange(0, 2); }, "j > FCols-1"}, {[&] { m.ColExchange(2, 0); }, "i > FCols-1"},
        {[&] { m.ColExchange(-1, 1); }, "i < 0"},      {[&] { m.ColExchange(0, -1); }, "j < 0"},
    };
    for (const auto& [call, text] : rows) ExpectRaise(call, text, text);
    ExpectClose(m, GoldMtx{3, 2, {6, 6, 5, 5, 4, 4, 3, 3, 2, 2, 1, 1}}, true, 0, "unchanged");
}

TEST_F(Factorizations, LowerTriangle)
{
    for (bool complex : {false, true}) {
        for (auto [rows, cols] : {std::pair{3, 3}, {2, 4}, {4, 2}}) {
            SCOPED_TRACE(std::to_string(rows) + "x" + std::to_string(cols) + (complex ? " complex" : " real"));
            TMtx src, dst;
            Random(src, 4, 4, complex, 3);
            src.Resize(rows, cols);
            dst.Size(5, 5, true);
            dst.SetVal(7);
            for (bool diagonal : {false, true}) {
                dst.LowerTriangle(src, false, diagonal);
                TMtx self;
                self.Copy(src);
                self.LowerTriangle(self, true, diagonal);
                const int w = complex ? 2 : 1;
                for (int i = 0; i < rows; ++i) {
                    for (int j = 0; j < cols; ++j) {
                        const bool kept = i < std::min(rows, cols) && (j < i || (diagonal && j == i));
                        for (int h = 0; h < w; ++h) {
                            const std::int64_t k = (static_cast<std::int64_t>(i) * cols + j) * w + h;
                            EXPECT_EQ(dst.Values()[k], kept ? src.Values()[k] : 0) << i << "," << j;
                            // Self = Mtx: rows from min(Rows, Cols) on are not written.
                            const bool same = kept || i >= std::min(rows, cols);
                            EXPECT_EQ(self.Values()[k], same ? src.Values()[k] : 0) << "in place " << i << "," << j;
                        }
                    }
                }
            }
        }
    }
    TMtx empty, dst;
    dst.SetConditionCheck(false);
    ExpectRaise([&] { dst.LowerTriangle(empty, true, true); }, "Mtx.Rows*Mtx.Cols = 0");
}

// ---- Inv ------------------------------------------------------------------------------------------------------

// Both triangles of the result are compared: the symmetric and Hermitian inverses are whole, and the triangle the
// routine must not read is NaN in the input.
TEST_F(Inverse, EveryTypeAgainstNumpy)
{
    for (const InvCase& c : kInvCases) {
        SCOPED_TRACE(c.What);
        TMtx a;
        Load(a, c.Given, c.Complex);
        a.SetTriangleForm(c.Tf);
        a.SetTriangleUnit(c.Unit);
        Set8087CW(0x037F);
        a.Inv(c.Type);
        EXPECT_EQ(Get8087CW(), 0x037F);
        EXPECT_EQ(a.Info(), 0);
        EXPECT_EQ(a.MtxError(), "");
        if (c.Type == mtTriangle) {
            // The other triangle is not the routine's: only the inverted one is compared.
            const int n = c.Given.Rows, w = c.Complex ? 2 : 1;
            for (int i = 0; i < n; ++i) {
                for (int j = 0; j < n; ++j) {
                    if ((c.Tf == tfUpper) ? j < i : j > i) continue;
                    if (c.Unit && i == j) continue;
                    for (int h = 0; h < w; ++h) {
                        const std::int64_t k = (static_cast<std::int64_t>(i) * n + j) * w + h;
                        EXPECT_NEAR(a.Values()[k], c.Expected.V[k], 1e-12) << i << "," << j;
                    }
                }
            }
        } else {
            ExpectClose(a, c.Expected, c.Complex, 1e-12, "inverse");
        }
    }
    Set8087CW(Tarnel8087CW);
}

TEST_F(Inverse, ExamplesAndAutoMtxType)
{
    TMtx a;
    Set(a, 2, 2, false, {4, 7, 2, 6});
    a.Inv(mtGeneral);
    ExpectClose(a, GoldMtx{2, 2, {0.6, -0.7, -0.2, 0.4}}, false, 1e-15, "general");
    Set(a, 2, 2, false, {1, 2, 0, 1});
    a.SetTriangleForm(tfUpper);
    a.Inv(mtTriangle);
    ExpectClose(a, GoldMtx{2, 2, {1, -2, 0, 1}}, false, 0, "triangle");
    // Detection picks the Hermitian inverse, whole.
    Set(a, 2, 2, true, {2, 0, 1, 1, 1, -1, 3, 0});
    a.SetAutoMtxType(true);
    a.Inv(mtGeneral);
    ExpectClose(a, GoldMtx{2, 2, {0.75, 0, -0.25, -0.25, -0.25, 0.25, 0.5, 0}}, true, 1e-15, "Hermitian");
}

TEST_F(Inverse, FailuresAreReportedNotRaised)
{
    struct Row {
        const char* What;
        bool Complex;
        TMtxType Type;
        TTriangleForm Tf;
        std::vector<double> A;
        int Info;
        const char* Text;
    };
    const Row rows[] = {
        {"real general", false, mtGeneral, tfUpper, {1, 2, 2, 4}, 2, "LU factorization: U(2,2) = 0 (singular)"},
        {"complex general",
         true,
         mtGeneral,
         tfUpper,
         {1, 0, 2, 0, 2, 0, 4, 0},
         2,
         "LU factorization: U(2,2) = 0 (singular)"},
        {"Cholesky",
         false,
         mtSymmPosDef,
         tfLower,
         {1, 2, 2, 1},
         2,
         "Cholesky: leading minor of order 2is not positive definite"},
        {"symmetric", false, mtSymmetric, tfUpper, {0, 0, 0, 0}, 1, "Bunch Kauffman: singular at D(1,1) = 0"},
        {"Hermitian", true, mtHermitian, tfUpper, {0, 0, 0, 0, 0, 0, 0, 0}, 1, "Factorization: U(1,1) = 0 (singular)"},
        {"triangle", false, mtTriangle, tfLower, {1, 0, 1, 0}, 2, "Triangle: Erorr at inverse:2"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.What);
        TMtx a;
        Set(a, 2, 2, r.Complex, r.A);
        a.SetTriangleForm(r.Tf);
        a.Inv(r.Type);
        EXPECT_EQ(a.Info(), r.Info);
        EXPECT_EQ(a.MtxError(), r.Text);
        // The next call starts afresh.
        Set(a, 2, 2, r.Complex,
            r.Complex ? std::vector<double>{1, 0, 0, 0, 0, 0, 1, 0} : std::vector<double>{1, 0, 0, 1});
        a.Inv(mtGeneral);
        EXPECT_EQ(a.Info(), 0);
        EXPECT_EQ(a.MtxError(), "");
    }
    TMtx rect;
    Set(rect, 2, 3, false, {1, 2, 3, 4, 5, 6});
    ExpectRaise([&] { rect.Inv(mtGeneral); }, "Quadratic = False");
    TMtx sq;
    Set(sq, 1, 1, false, {2});
    ExpectRaise([&] { sq.Inv(mtBandSymmPosDef); }, "MtxType not supported");
    EXPECT_EQ(sq.Values()[0], 2);
}

// The inverses of the symmetric and Hermitian types (and BFGS's estimate) are completed by copying one triangle into
// the other two rows and two columns at a time: every element must land where the element-by-element copy put it,
// for even and odd orders, from either triangle, conjugated only when asked.
TEST_F(Inverse, TheMirroredTriangleIsTheElementwiseTranspose)
{
    for (bool complex : {false, true}) {
        for (bool hermitian : {false, true}) {
            if (hermitian && !complex) continue;
            for (TTriangleForm tf : {tfUpper, tfLower}) {
                for (int n : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 31, 32, 33, 64, 65}) {
                    SCOPED_TRACE(std::string(complex ? "complex" : "real") + (hermitian ? " Hermitian" : "") +
                                 (tf == tfUpper ? " from upper" : " from lower") + " n = " + std::to_string(n));
                    const int w = complex ? 2 : 1;
                    TMtx a;
                    a.Size(n, n, complex);
                    a.SetTriangleForm(tf);
                    double* v = a.Values();
                    // Distinct values; imaginary parts of both signs and a negative zero.
                    for (std::int64_t k = 0; k < static_cast<std::int64_t>(n) * n * w; ++k)
                        v[k] = k % 7 == 3 ? -0.0 : (k % 2 ? -1.0 : 1.0) * (static_cast<double>(k) + 0.5);
                    const std::int64_t count = static_cast<std::int64_t>(n) * n * w;
                    std::vector<double> want(static_cast<std::size_t>(count));
                    if (count > 0) std::copy(v, v + count, want.begin());
                    for (int i = 0; i < n; ++i) {
                        for (int j = i + 1; j < n; ++j) {
                            const std::int64_t up = (static_cast<std::int64_t>(i) * n + j) * w;
                            const std::int64_t lo = (static_cast<std::int64_t>(j) * n + i) * w;
                            const std::int64_t from = tf == tfUpper ? up : lo, to = tf == tfUpper ? lo : up;
                            for (int part = 0; part < w; ++part) want[to + part] = v[from + part];
                            if (hermitian) want[to + 1] = -want[to + 1];
                        }
                    }
                    if (complex) {
                        detail::Mirror<TCplx>(a, hermitian);
                    } else {
                        detail::Mirror<double>(a, false);
                    }
                    if (!want.empty()) {
                        EXPECT_EQ(std::memcmp(a.Values(), want.data(), want.size() * sizeof(double)), 0);
                    }
                }
            }
        }
    }
}

// ---- Determinant ----------------------------------------------------------------------------------------------

TEST_F(DeterminantOf, AgainstMpmath)
{
    for (const DetCase& c : kDetCases) {
        SCOPED_TRACE(c.What);
        TMtx a;
        Load(a, c.A, c.Complex);
        TCplx d{};
        if (c.Complex) {
            a.Determinant(d);
        } else {
            d.Re = a.Determinant();
            TMtx again;
            Load(again, c.A, false);
            TCplx z{7, 7};
            again.Determinant(z);  // the complex form of a real matrix
            EXPECT_EQ(z.Re, d.Re);
            EXPECT_EQ(z.Im, 0);
        }
        const double scale = std::max(std::hypot(c.Det.Re, c.Det.Im), 1e-300);
        if (c.Tol == 0) {
            EXPECT_EQ(d.Re, c.Det.Re);
            EXPECT_EQ(d.Im, c.Det.Im);
        } else {
            EXPECT_LE(std::hypot(d.Re - c.Det.Re, d.Im - c.Det.Im), c.Tol * scale);
        }
    }
}

// The elimination as first written, updating every column but 0 of each combined row.
template <class T>
T Reference(std::vector<T> A, int N)
{
    auto abs = [](const T& x) {
        if constexpr (std::is_same_v<T, double>) {
            return std::fabs(x);
        } else {
            return CAbs(x);
        }
    };
    auto at = [&](int r, int c) -> T& { return A[static_cast<std::size_t>(r) * N + c]; };
    T product{};
    if constexpr (std::is_same_v<T, double>) {
        product = 1;
    } else {
        product = C_ONE;
    }
    bool singular = false;
    for (int i = 0; !singular && i < N - 1; ++i) {
        if (abs(at(i, i)) < MACHEP) {
            singular = true;
            for (int j = i + 1; j < N; ++j) {
                if (abs(at(j, i)) > MACHEP) {
                    for (int k = 0; k < N; ++k) std::swap(at(i, k), at(j, k));
                    singular = false;
                    if constexpr (std::is_same_v<T, double>) {
                        product = -product;
                    } else {
                        product = {-product.Re, -product.Im};
                    }
                    break;
                }
            }
        }
        if (!singular) {
            for (int j = i + 1; j < N; ++j) {
                if (abs(at(j, i)) <= MACHEP) continue;
                if constexpr (std::is_same_v<T, double>) {
                    const double f = -at(j, i) / at(i, i);
                    for (int k = 1; k < N; ++k) at(j, k) = at(j, k) + f * at(i, k);
                } else {
                    const TCplx q = CDiv(at(j, i), at(i, i));
                    const TCplx f{-q.Re, -q.Im};
                    for (int k = 1; k < N; ++k) {
                        const TCplx p = CMul(f, at(i, k));
                        at(j, k) = {at(j, k).Re + p.Re, at(j, k).Im + p.Im};
                    }
                }
            }
        }
        if constexpr (std::is_same_v<T, double>) {
            product = product * at(i, i);
        } else {
            product = CMul(product, at(i, i));
        }
    }
    if (singular) return T{};
    if constexpr (std::is_same_v<T, double>) {
        return at(N - 1, N - 1) * product;
    } else {
        return CMul(at(N - 1, N - 1), product);
    }
}

TEST_F(DeterminantOf, SkippingDeadColumnsKeepsEveryBit)
{
    for (int n : {2, 7, 33}) {
        TMtx a;
        Random(a, n, n, false, n);
        for (int k = 0; k < n; ++k) a.Values()[k] = 0;  // a zero first pivot: an exchange
        std::vector<double> v(a.Values(), a.Values() + static_cast<std::size_t>(n) * n);
        const double expected = Reference(v, n);
        EXPECT_EQ(a.Determinant(), expected) << n;

        TMtx z;
        Random(z, n, n, true, n + 100);
        std::vector<TCplx> zv(z.CValues(), z.CValues() + static_cast<std::size_t>(n) * n);
        const TCplx ze = Reference(zv, n);
        TCplx d{};
        z.Determinant(d);
        EXPECT_EQ(d.Re, ze.Re) << n;
        EXPECT_EQ(d.Im, ze.Im) << n;
    }
}

TEST_F(DeterminantOf, EdgesAndTexts)
{
    TMtx a;
    a.Size(0, 0);
    EXPECT_EQ(a.Determinant(), 1);
    TCplx d{};
    a.Determinant(d);
    EXPECT_EQ(d.Re, 1);
    EXPECT_EQ(d.Im, 0);
    // The threshold is absolute: tiny entries count as zero.
    Set(a, 2, 2, false, {2e-20, 1e-20, 1e-20, 3e-20});
    EXPECT_EQ(a.Determinant(), 0);
    Set(a, 2, 2, false, {0, 1, 1, 0});
    EXPECT_EQ(a.Determinant(), -1);
    EXPECT_EQ(a.Values()[0], 1);  // the rows were exchanged in Self
    TMtx rect, cplx;
    Set(rect, 1, 2, false, {1, 2});
    Set(cplx, 1, 1, true, {1, 1});
    ExpectRaise([&] { rect.Determinant(); }, "Quadratic = False");
    ExpectRaise([&] { rect.Determinant(d); }, "Quadratic = False");
    ExpectRaise([&] { cplx.Determinant(); }, "Complex = True");
}

}  // namespace
