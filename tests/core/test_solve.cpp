// TMtx.LUSolve against scipy (tests/data/gen_solve_golden.py): every family, real and complex, each operation, 1 and
// 3 right-hand sides, with and without refinement; condition estimates and error bounds against LAPACK's own drivers;
// the messages of numerical failures with Info, the refusals, and the control word after every way out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "TestSupport.h"
#include "core/BandLayout.h"
#include "core/BlasCalls.h"
#include "core/LapackWork.h"

using namespace tarnel;
using namespace testsupport;

namespace {

class LUSolve : public PoolCheck {};

struct SolveCase {
    const char* What;
    bool Complex;
    TMtxType Type;
    TMtxOperation Op;
    TTriangleForm Tf;
    bool Unit;
    int SuperDiag, SubDiag;
    GoldMtx A, B, X;
    double Tol;
};

struct BoundCase {
    const char* What;
    bool Complex;
    TMtxType Type;
    TTriangleForm Tf;
    bool Unit;
    int SuperDiag, SubDiag;
    TConditionNumber Cn;
    GoldMtx A, B;
    double ConditionNr, ForwError, BackError;
};

const SolveCase kSolveCases[] = {
#include "solve_golden.inc"
};

const BoundCase kBoundCases[] = {
#include "bounds_golden.inc"
};

void LoadSystem(TMtx& A, const GoldMtx& G, bool Complex, TTriangleForm Tf, bool Unit, int SuperDiag, int SubDiag)
{
    Load(A, G, Complex);
    A.SetTriangleForm(Tf);
    A.SetTriangleUnit(Unit);
    A.SetSuperDiag(SuperDiag);
    A.SetSubDiag(SubDiag);
}

std::vector<double> Numbers(const TMtx& M)
{
    const std::size_t n = static_cast<std::size_t>(M.Rows()) * M.Cols() * (M.Complex() ? 2 : 1);
    return std::vector<double>(M.Values(), M.Values() + n);
}

// Equal bit for bit, NaN included.
bool Same(const std::vector<double>& A, const std::vector<double>& B)
{
    return A.size() == B.size() && std::memcmp(A.data(), B.data(), A.size() * sizeof(double)) == 0;
}

void ExpectNear(const double* Got, const GoldMtx& Expected, bool Complex, double Tol, const std::string& Where)
{
    const std::size_t n = static_cast<std::size_t>(Expected.Rows) * Expected.Cols * (Complex ? 2 : 1);
    for (std::size_t i = 0; i < n; ++i) ASSERT_NEAR(Got[i], Expected.V[i], Tol) << Where << ", number " << i;
}

// Column k of a golden n × nrhs matrix as a vector.
void LoadColumn(TVec& V, const GoldMtx& G, bool Complex, int K)
{
    const int w = Complex ? 2 : 1;
    V.Size(G.Rows, Complex);
    for (int i = 0; i < G.Rows; ++i)
        for (int p = 0; p < w; ++p) V.Values()[i * w + p] = G.V[(static_cast<std::size_t>(i) * G.Cols + K) * w + p];
}

}  // namespace

// ---- Solutions --------------------------------------------------------------------------------------------------

TEST_F(LUSolve, EveryFamilyOperationAndFormAgreesWithScipy)
{
    for (const SolveCase& c : kSolveCases) {
        for (bool refine : {false, true}) {
            const std::string where = std::string(c.What) + (refine ? ", refined" : "");
            SCOPED_TRACE(where);
            TMtx a, b, x;
            LoadSystem(a, c.A, c.Complex, c.Tf, c.Unit, c.SuperDiag, c.SubDiag);
            a.SetRefineSolution(refine);
            a.SetConditionNumber(refine ? cnNorm1 : cnNone);
            const std::vector<double> before = Numbers(a);
            Load(b, c.B, c.Complex);
            a.LUSolve(b, x, c.Type, c.Op);
            ASSERT_EQ(x.Rows(), c.X.Rows);
            ASSERT_EQ(x.Cols(), c.X.Cols);
            ExpectNear(x.Values(), c.X, c.Complex, c.Tol, where);
            EXPECT_TRUE(Same(Numbers(a), before)) << "A changed";
            EXPECT_EQ(a.Info(), 0);
            EXPECT_EQ(a.MtxError(), "");
            if (refine) {
                EXPECT_GE(a.ForwError(), 0);
                EXPECT_LT(a.ForwError(), 1e-10);
                EXPECT_GT(a.ConditionNr(), 0);
            }

            // X given as B gives what distinct objects give, bounds included.
            const std::vector<double> distinct = Numbers(x);
            const double ferr = a.ForwError(), berr = a.BackError(), rcond = a.ConditionNr();
            a.LUSolve(b, b, c.Type, c.Op);
            EXPECT_TRUE(Same(Numbers(b), distinct)) << "B = X";
            EXPECT_EQ(a.ForwError(), ferr);
            EXPECT_EQ(a.BackError(), berr);
            EXPECT_EQ(a.ConditionNr(), rcond);

            // The vector form, column by column, with X distinct and X = B.
            for (int k = 0; k < c.B.Cols; ++k) {
                TVec bv, xv;
                LoadColumn(bv, c.B, c.Complex, k);
                a.LUSolve(bv, xv, c.Type, c.Op);
                ASSERT_EQ(xv.Length(), c.X.Rows);
                TVec expected;
                LoadColumn(expected, c.X, c.Complex, k);
                for (int i = 0; i < xv.Length() * (c.Complex ? 2 : 1); ++i)
                    ASSERT_NEAR(xv.Values()[i], expected.Values()[i], c.Tol) << "vector form, column " << k;
                const double vferr = a.ForwError();
                a.LUSolve(bv, bv, c.Type, c.Op);
                for (int i = 0; i < xv.Length() * (c.Complex ? 2 : 1); ++i)
                    ASSERT_EQ(bv.Values()[i], xv.Values()[i]) << "vector form, B = X";
                EXPECT_EQ(a.ForwError(), vferr);
            }
            EXPECT_TRUE(Same(Numbers(a), before)) << "A changed";
        }
    }
}

TEST_F(LUSolve, TheCoreSolvesColumnMajorBlocksAndRefinesAgainstItsOwnRightHandSides)
{
    // A = [[4, 1], [2, 3]], two right-hand sides column after column: A·x = (5, 5) and A·x = (4, 2).
    TMtx a;
    Load(a, 2, 2, false, {4, 1, 2, 3});
    a.SetRefineSolution(true);
    const std::vector<double> b = {5, 5, 4, 2};
    std::vector<double> x = b;
    a.LUSolveInt(b.data(), x.data(), 2, mtGeneral, opNone);
    const double expected[] = {1, 1, 1, 0};
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(x[i], expected[i], 1e-15) << i;
    EXPECT_LT(a.BackError(), 1e-15);
    // B and X as one block: refined against what the block held on entry.
    x = b;
    a.LUSolveInt(x.data(), x.data(), 2, mtGeneral, opTran);
    // Aᵀ = [[4, 2], [1, 3]]: (0.5, 1.5) and (0.8, 0.4).
    const double transposed[] = {0.5, 1.5, 0.8, 0.4};
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(x[i], transposed[i], 1e-15) << i;
    EXPECT_LT(a.BackError(), 1e-15);
}

TEST_F(LUSolve, AutoMtxTypeDetectsBeforeTheChecks)
{
    // A general 3 × 3 matrix passed as a band type: detection makes it general, so B needs Rows rows and is solved
    // densely; a lower triangle is solved with the triangle the detection found.
    TMtx a, b, x;
    Load(a, 3, 3, false, {2, 1, 0, 1, 3, 1, 0, 1, 4});
    a.SetAutoMtxType(true);
    Load(b, 3, 1, false, {3, 5, 5});
    a.LUSolve(b, x, mtBandGeneral, opNone);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(x.Values()[i], 1, 1e-15);

    TMtx l;
    Load(l, 3, 3, false, {1, 0, 0, 2, 1, 0, 3, 2, 1});
    l.SetAutoMtxType(true);
    l.SetTriangleForm(tfUpper);
    Load(b, 3, 1, false, {1, 3, 6});
    l.LUSolve(b, x, mtGeneral, opNone);
    EXPECT_EQ(l.TriangleForm(), tfLower);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(x.Values()[i], 1, 1e-15);

    // Not square after detection: the dense check, not a band check.
    TMtx r;
    Load(r, 2, 3, false, {1, 2, 3, 4, 5, 6});
    r.SetAutoMtxType(true);
    TVec bv, xv;
    bv.Size(3);
    ExpectRaise([&] { r.LUSolve(bv, xv, mtBandGeneral, opNone); }, "Quadratic = False");
}

// ---- Condition estimates and error bounds -----------------------------------------------------------------------

TEST_F(LUSolve, ConditionNumbersAndErrorBoundsAgreeWithLapack)
{
    for (const BoundCase& c : kBoundCases) {
        SCOPED_TRACE(c.What);
        TMtx a, b, x;
        LoadSystem(a, c.A, c.Complex, c.Tf, c.Unit, c.SuperDiag, c.SubDiag);
        a.SetConditionNumber(c.Cn);
        a.SetRefineSolution(true);
        Load(b, c.B, c.Complex);
        a.LUSolve(b, x, c.Type, opNone);
        // The same routine on the same data: only rounding differs.
        EXPECT_NEAR(a.ConditionNr(), c.ConditionNr, 1e-12 * c.ConditionNr);
        // The bounds come from residuals near the rounding level: they agree in magnitude, not in every bit.
        if (!std::isnan(c.ForwError)) {
            EXPECT_NEAR(a.ForwError(), c.ForwError, 0.5 * c.ForwError + 1e-16);
            EXPECT_NEAR(a.BackError(), c.BackError, 0.5 * c.BackError + 1e-16);
        }
    }
}

TEST_F(LUSolve, TheIdentityHasConditionOneForEveryTypeThatEstimates)
{
    for (bool complex : {false, true}) {
        for (TMtxType t : {mtGeneral, mtTriangle, mtSymmetric, mtSymmPosDef, mtHermitian, mtHermPosDef}) {
            if ((complex && t == mtSymmPosDef) || (!complex && t == mtHermitian)) continue;
            for (TConditionNumber cn : {cnNorm1, cnNormInf}) {
                TMtx a, b, x;
                a.Size(3, 3, complex);
                for (int i = 0; i < 3; ++i) a.Values()[(i * 3 + i) * (complex ? 2 : 1)] = 1;
                a.SetConditionNumber(cn);
                b.Size(3, 1, complex);
                a.LUSolve(b, x, t, opNone);
                EXPECT_EQ(a.ConditionNr(), 1) << "type " << t << ", complex " << complex << ", norm " << cn;
            }
        }
    }
}

TEST_F(LUSolve, BoundsAndEstimateChangeOnlyWhenTheirStageRuns)
{
    TMtx a, b, x;
    Load(a, 2, 2, false, {4, 1, 2, 3});
    Load(b, 2, 1, false, {1, 2});
    a.SetRefineSolution(true);
    a.SetConditionNumber(cnNorm1);
    a.LUSolve(b, x);
    const double ferr = a.ForwError(), berr = a.BackError(), rcond = a.ConditionNr();
    EXPECT_GT(ferr, 0);
    EXPECT_GT(rcond, 0);
    // A failed factorization runs neither stage.
    a(1, 1) = 0.5;
    EXPECT_THROW(a.LUSolve(b, x), Exception);
    EXPECT_EQ(a.ForwError(), ferr);
    EXPECT_EQ(a.BackError(), berr);
    EXPECT_EQ(a.ConditionNr(), rcond);
    // Without an estimate the last one stays; clearing RefineSolution sets the bounds to 0, and they stay so.
    a(1, 1) = 5;
    a.SetConditionNumber(cnNone);
    a.SetRefineSolution(false);
    a.LUSolve(b, x);
    EXPECT_EQ(a.ConditionNr(), rcond);
    EXPECT_EQ(a.ForwError(), 0);
    EXPECT_EQ(a.BackError(), 0);
}

// ---- Failures ---------------------------------------------------------------------------------------------------

TEST_F(LUSolve, NumericalFailuresRaiseTheirTextWithInfoAndRestoreTheControlWord)
{
    struct Failure {
        const char* What;
        bool Complex;
        TMtxType Type;
        TTriangleForm Tf;
        int SuperDiag, SubDiag;
        int Rows, Cols;
        std::vector<double> A;
        int Info;
        const char* Message;
    };
    // clang-format off
    const Failure failures[] = {
        {"Cholesky", false, mtSymmPosDef, tfUpper, 0, 0, 2, 2, {1, 2, 2, 1}, 2,
         "Cholesky: leading minor of order 2is not positive definite"},
        {"Cholesky complex", true, mtHermPosDef, tfLower, 0, 0, 2, 2, {-1, 0, 0, 0, 0, 0, 1, 0}, 1,
         "Cholesky: leading minor of order 1is not positive definite"},
        {"LU", false, mtGeneral, tfUpper, 0, 0, 2, 2, {1, 2, 2, 4}, 2, "LU factorization: U(2,2) = 0 (singular)"},
        {"LU complex", true, mtGeneral, tfUpper, 0, 0, 2, 2, {0, 0, 0, 0, 0, 0, 0, 0}, 1,
         "LU factorization: U(1,1) = 0 (singular)"},
        // The upper factorization starts from the last column.
        {"Bunch-Kaufman", false, mtSymmetric, tfUpper, 0, 0, 2, 2, {0, 0, 0, 0}, 2,
         "Bunch Kauffman: singular at D(2,2) = 0"},
        {"Bunch-Kaufman Hermitian", true, mtHermitian, tfLower, 0, 0, 2, 2, {1, 0, 0, 0, 1, 0, 1, 0}, 2,
         "Bunch Kauffman: singular at D(2,2) = 0"},
        {"triangle", false, mtTriangle, tfLower, 0, 0, 2, 2, {1, 0, 1, 0}, 2, "Triangle: Erorr at solve:2"},
        // [[1, 1, 0], [1, 1, 0], [0, 0, 1]] as a band: singular at the second pivot.
        {"band LU", false, mtBandGeneral, tfUpper, 1, 1, 3, 3, {0, 1, 0, 1, 1, 1, 1, 0, 0}, 2,
         "LU factorization: U(2,2) = 0 (singular)"},
        // The same matrix with a second (zero) sub-diagonal: the band LU, not the tridiagonal routines.
        {"band LU, two sub-diagonals", false, mtBandGeneral, tfUpper, 1, 2, 4, 3, {0, 1, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0},
         2, "LU factorization: U(2,2) = 0 (singular)"},
        // [[1, 2, 0], [2, 1, 2], [0, 2, 1]] as the upper band.
        {"band Cholesky", false, mtBandSymmPosDef, tfUpper, 1, 0, 2, 3, {0, 2, 2, 1, 1, 1}, 2,
         "Cholesky: leading minor of order 2is not positive definite"},
    };
    // clang-format on
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.What);
        TMtx a, b, x;
        Load(a, f.Rows, f.Cols, f.Complex, f.A);
        a.SetTriangleForm(f.Tf);
        a.SetSuperDiag(f.SuperDiag);
        a.SetSubDiag(f.SubDiag);
        const std::vector<double> before = Numbers(a);
        b.Size(f.Cols, 1, f.Complex);
        b.SetVal(1);
        Set8087CW(Fortran8087CW);
        ExpectRaise([&] { a.LUSolve(b, x, f.Type, opNone); }, std::string("LUSolve: ") + f.Message);
        EXPECT_EQ(a.Info(), f.Info);
        EXPECT_EQ(a.MtxError(), f.Message);
        EXPECT_EQ(Get8087CW(), Tarnel8087CW);
        EXPECT_TRUE(Same(Numbers(a), before));
        EXPECT_TRUE(Same(Numbers(x), Numbers(b))) << "X holds B";
        // The vector form alike, X apart from B.
        TVec bv, xv;
        bv.Size(f.Cols, f.Complex);
        bv.SetVal(1);
        Set8087CW(Fortran8087CW);
        ExpectRaise([&] { a.LUSolve(bv, xv, f.Type, opNone); }, std::string("LUSolve: ") + f.Message);
        EXPECT_EQ(a.Info(), f.Info);
        EXPECT_EQ(Get8087CW(), Tarnel8087CW);
        const auto numbers = [](const TVec& v) {
            return std::vector<double>(v.Values(), v.Values() + v.Length() * (v.Complex() ? 2 : 1));
        };
        EXPECT_TRUE(Same(numbers(xv), numbers(bv))) << "X holds B";
    }
    // A success clears the last failure.
    TMtx a, b, x;
    Load(a, 2, 2, false, {1, 2, 2, 4});
    Load(b, 2, 1, false, {1, 1});
    EXPECT_THROW(a.LUSolve(b, x), Exception);
    a(1, 1) = 5;
    Set8087CW(Fortran8087CW);
    a.LUSolve(b, x);
    EXPECT_EQ(a.Info(), 0);
    EXPECT_EQ(a.MtxError(), "");
    EXPECT_EQ(Get8087CW(), Tarnel8087CW);
}

TEST_F(LUSolve, InfoBecomesTextInEachForm)
{
    // The forms the solver's stages use, including the one no real input reaches (a negative factorization INFO).
    TMtx m;
    const detail::TInfoForm factor = detail::TInfoForm::Inside(msg::LUSingular, msg::InvalidParameter);
    detail::RecordInfo(m, "DGETRF", -4, factor);
    EXPECT_EQ(m.MtxError(), "-4parameter is invalid!");
    EXPECT_EQ(m.Info(), -4);
    detail::RecordInfo(m, "DGETRF", 2, factor);
    EXPECT_EQ(m.MtxError(), "LU factorization: U(2,2) = 0 (singular)");
    detail::RecordInfo(m, "DGETRS", -3, detail::TInfoForm::Appended("LU: Erorr at solve:"));
    EXPECT_EQ(m.MtxError(), "LU: Erorr at solve:-3");
    detail::RecordInfo(m, "DGETRS", 0, detail::TInfoForm::Appended("LU: Erorr at solve:"));
    EXPECT_EQ(m.MtxError(), "");
    EXPECT_EQ(m.Info(), 0);
    // The usual form still names the routine for an illegal argument.
    detail::RecordInfo(m, "DGESV", -3, "singular at ");
    EXPECT_EQ(m.MtxError(), "DGESV: argument 3 illegal");
}

TEST_F(LUSolve, RefusalsRaiseBeforeAnythingChanges)
{
    TMtx sq, rect, cplx, band, bandSym, b2, b3, bc, x;
    Load(sq, 2, 2, false, {2, 1, 1, 2});
    Load(rect, 2, 3, false, {1, 2, 3, 4, 5, 6});
    Load(cplx, 2, 2, true, {2, 0, 0, 0, 0, 0, 2, 0});
    cplx.SetSuperDiag(1);  // also read as one triangle of a band
    // A tridiagonal band of order 4 (3 rows) and one triangle of a symmetric band (2 rows).
    Load(band, 3, 4, false, {0, 1, 1, 1, 4, 4, 4, 4, 1, 1, 1, 0});
    band.SetSuperDiag(1);
    band.SetSubDiag(1);
    Load(bandSym, 2, 4, false, {0, 1, 1, 1, 4, 4, 4, 4});
    bandSym.SetSuperDiag(1);
    Load(b2, 2, 1, false, {1, 1});
    Load(b3, 3, 1, false, {1, 1, 1});
    Load(bc, 2, 1, true, {1, 0, 1, 0});
    TVec v2, v3, vc, xv;
    v2.Size(2);
    v3.Size(3);
    vc.Size(2, true);

    struct Refusal {
        const char* What;
        std::function<void()> Call;
        const char* Message;
    };
    const auto withDiags = [](TMtx& m, int Super, int Sub, TTriangleForm Tf, std::function<void()> Call) {
        return [&m, Super, Sub, Tf, Call] {
            const int super0 = m.SuperDiag(), sub0 = m.SubDiag();
            const TTriangleForm tf0 = m.TriangleForm();
            m.SetSuperDiag(Super);
            m.SetSubDiag(Sub);
            m.SetTriangleForm(Tf);
            try {
                Call();
            } catch (...) {
                m.SetSuperDiag(super0);
                m.SetSubDiag(sub0);
                m.SetTriangleForm(tf0);
                throw;
            }
        };
    };
    TVec b4;
    b4.Size(4);
    const Refusal refusals[] = {
        {"B = Self", [&] { sq.LUSolve(sq, x); }, "B = Self"},
        {"X = Self", [&] { sq.LUSolve(b2, sq); }, "X = Self"},
        {"complexity", [&] { sq.LUSolve(bc, x); }, "B.Complex <> Complex"},
        {"complexity, vector", [&] { sq.LUSolve(vc, xv); }, "B.Complex <> Complex"},
        {"not square", [&] { rect.LUSolve(b2, x); }, "Quadratic = False"},
        {"not square, vector", [&] { rect.LUSolve(v2, xv); }, "Quadratic = False"},
        {"B rows", [&] { sq.LUSolve(b3, x); }, "B.Rows <> Rows"},
        {"B length", [&] { sq.LUSolve(v3, xv); }, "B.Length <> Rows"},
        {"band B rows", [&] { band.LUSolve(b3, x, mtBandGeneral); }, "B.Rows <> Cols"},
        {"band B length", [&] { band.LUSolve(v3, xv, mtBandGeneral); }, "B.Length <> Cols"},
        {"band symmetric B length", [&] { bandSym.LUSolve(v3, xv, mtBandSymmPosDef); }, "B.Length <> Cols"},
        {"band rows", withDiags(band, 2, 1, tfUpper, [&] { band.LUSolve(b4, xv, mtBandGeneral); }),
         "SubDiag+SuperDiag+1 <> Rows"},
        {"band SubDiag < 0", withDiags(band, 3, -1, tfUpper, [&] { band.LUSolve(b4, xv, mtBandGeneral); }),
         "SubDiag < 0"},
        {"band SuperDiag < 0", withDiags(band, -1, 3, tfUpper, [&] { band.LUSolve(b4, xv, mtBandGeneral); }),
         "SuperDiag < 0"},
        {"symmetric band, upper rows",
         withDiags(bandSym, 2, 0, tfUpper, [&] { bandSym.LUSolve(b4, xv, mtBandSymmPosDef); }), "SuperDiag+1 <> Rows"},
        {"symmetric band, lower rows",
         withDiags(bandSym, 1, 0, tfLower, [&] { bandSym.LUSolve(b4, xv, mtBandHermPosDef); }), "SubDiag+1 <> Rows"},
        {"symmetric band, negative",
         withDiags(bandSym, -1, 1, tfLower, [&] { bandSym.LUSolve(b4, xv, mtBandSymmPosDef); }), "SuperDiag < 0"},
        {"core, band rows",
         withDiags(band, 1, 2, tfUpper,
                   [&] {
                       std::vector<double> d(4);
                       band.LUSolveInt(d.data(), d.data(), 1, mtBandGeneral, opNone);
                   }),
         "SubDiag+SuperDiag+1 <> Rows"},
        {"core, not square",
         [&] {
             std::vector<double> d(2);
             rect.LUSolveInt(d.data(), d.data(), 1, mtGeneral, opNone);
         },
         "Quadratic = False"},
        {"complex symmetric positive definite", [&] { cplx.LUSolve(bc, x, mtSymmPosDef); },
         "Eig: Complex symmetric positive definite matrix type not supported. Use general!"},
        {"complex band symmetric positive definite", [&] { cplx.LUSolve(vc, xv, mtBandSymmPosDef); },
         "Eig: Complex band symmetric positive definite matrix type not supported. Use general!"},
        {"real Hermitian", [&] { sq.LUSolve(b2, x, mtHermitian); }, "Hermitian solve: not complex!"},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.What);
        TMtx* all[] = {&sq, &rect, &cplx, &band, &bandSym, &b2, &b3};
        std::vector<std::vector<double>> before;
        for (TMtx* m : all) before.push_back(Numbers(*m));
        x.Size(1, 1);
        x.SetVal(7);
        xv.Size(1);
        xv.Values()[0] = 7;
        Set8087CW(Fortran8087CW);
        ExpectRaise(r.Call, r.Message);
        EXPECT_EQ(Get8087CW(), Tarnel8087CW);
        for (std::size_t i = 0; i < std::size(all); ++i) EXPECT_TRUE(Same(Numbers(*all[i]), before[i])) << i;
        EXPECT_EQ(x.Rows(), 1);
        EXPECT_EQ(x.Values()[0], 7);
        EXPECT_EQ(xv.Length(), 1);
        EXPECT_EQ(xv.Values()[0], 7);
    }
}

TEST_F(LUSolve, AnEmptyMatrixLeavesXAlone)
{
    TMtx a, b, x;
    Load(b, 2, 1, false, {1, 2});
    Load(x, 1, 1, false, {7});
    a.LUSolve(b, x);
    EXPECT_EQ(x.Rows(), 1);
    EXPECT_EQ(x.Values()[0], 7);
    TVec bv, xv;
    bv.Size(2);
    xv.Size(1);
    xv.Values()[0] = 7;
    a.LUSolve(bv, xv);
    EXPECT_EQ(xv.Length(), 1);
    EXPECT_EQ(Get8087CW(), Tarnel8087CW);
}

// A·x = b with one real right-hand side sweeps the tridiagonal band's rows itself, without copying them: the same bits
// and Info as ?gtsv on a copy, over row interchanges, zero pivots in the first, a middle, the last-but-one and the
// last row, NaN and infinity. A failure leaves X holding B, with X apart from B and X = B; the band lent as scratch
// gives the same bits.
TEST_F(LUSolve, OneRealRightHandSideSweepsAsTheTridiagonalRoutine)
{
    struct Case {
        const char* What;
        std::vector<double> Dl, D, Du;  // n − 1, n, n − 1
    };
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> u(-1, 1);
    const auto random = [&](int n, double Shift) {
        Case c{"random", {}, {}, {}};
        for (int i = 0; i < n; ++i) {
            c.D.push_back(u(gen) + Shift);
            if (i + 1 < n) {
                c.Dl.push_back(u(gen));
                c.Du.push_back(u(gen));
            }
        }
        return c;
    };
    std::vector<Case> cases = {
        {"n = 1", {}, {2}, {}},
        {"n = 1, zero", {}, {0}, {}},
        {"n = 2, exchanged", {3}, {1, 2}, {4}},
        {"n = 2, zero in the last row", {1}, {1, 1}, {1}},
        {"zero pivot in the first row", {0, 1}, {0, 1, 1}, {1, 1}},
        {"zero pivot in the second row", {1, 0}, {1, 1, 1}, {1, 0}},
        {"zero pivot in the last-but-one row", {1, 1, 1}, {2, 1, 0.5, 1}, {1, 0.5, 1}},
        {"exchanged then zero in the last row", {2, 1}, {1, 1, 0.5}, {1, 1}},
    };
    for (auto [n, shift] : {std::pair{9, 0.0}, {64, 0.0}, {257, 0.0}, {100, 3.0}}) cases.push_back(random(n, shift));
    cases.push_back(random(8, 0));
    cases.back().What = "NaN on the diagonal";
    cases.back().D[3] = NAN;
    cases.push_back(random(8, 0));
    cases.back().What = "infinity below the diagonal";
    cases.back().Dl[2] = INFINITY;
    for (const Case& c : cases) {
        const int n = static_cast<int>(c.D.size());
        SCOPED_TRACE(testing::Message() << c.What << ", n " << n);
        TMtx a;
        a.Size(3, n);
        a.SetVal(NAN);  // the two places outside the matrix stay NaN
        for (int j = 0; j < n; ++j) {
            a.Values()[n + j] = c.D[j];
            if (j + 1 < n) {
                a.Values()[j + 1] = c.Du[j];
                a.Values()[2 * n + j] = c.Dl[j];
            }
        }
        a.SetSubDiag(1);
        a.SetSuperDiag(1);
        TVec b;
        b.Size(n);
        for (int i = 0; i < n; ++i) b.Values()[i] = std::sin(0.9 * i + 0.3);
        std::vector<double> dl = c.Dl, d = c.D, du = c.Du, expected(b.Values(), b.Values() + n);
        const int info = blas::Gtsv(n, 1, dl.data(), d.data(), du.data(), expected.data(), n);
        const std::vector<double> before = Numbers(a), bValues(b.Values(), b.Values() + n);
        const auto values = [](const TVec& v) { return std::vector<double>(v.Values(), v.Values() + v.Length()); };
        TVec x, same;
        same.Copy(b);
        if (info == 0) {
            a.LUSolve(b, x, mtBandGeneral, opNone);
            a.LUSolve(same, same, mtBandGeneral, opNone);
            EXPECT_TRUE(Same(values(x), expected)) << "X apart from B";
            EXPECT_TRUE(Same(values(same), expected)) << "X = B";
            TMtx scratch;
            scratch.Copy(a);
            scratch.SetSubDiag(1);
            scratch.SetSuperDiag(1);
            TVec lent;
            lent.Copy(b);
            detail::LUSolveOnBand(scratch, lent.Values(), mtBandGeneral);
            EXPECT_TRUE(Same(values(lent), expected)) << "the band lent as scratch";
        } else {
            const std::string text = "LUSolve: LU factorization: U(" + std::to_string(info) + "," +
                                     std::to_string(info) + ") = 0 (singular)";
            ExpectRaise([&] { a.LUSolve(b, x, mtBandGeneral, opNone); }, text);
            EXPECT_EQ(a.Info(), info);
            EXPECT_TRUE(Same(values(x), bValues)) << "X apart from B holds B";
            ExpectRaise([&] { a.LUSolve(same, same, mtBandGeneral, opNone); }, text);
            EXPECT_TRUE(Same(values(same), bValues)) << "X = B holds B";
        }
        EXPECT_TRUE(Same(Numbers(a), before)) << "A changed";
    }
}

TEST_F(LUSolve, ADenseTridiagonalAndItsBandStorageGiveTheSameSolution)
{
    TMtx dense, band, b, xDense, xBand;
    const int n = 6;
    dense.Size(n, n);
    for (int i = 0; i < n; ++i) {
        dense(i, i) = 4 + i;
        if (i > 0) dense(i, i - 1) = -1 - 0.5 * i;
        if (i + 1 < n) dense(i, i + 1) = 2 - 0.25 * i;
    }
    dense.DenseToBanded(band, 3 * n);
    b.Size(n, 3);
    for (int i = 0; i < n * 3; ++i) b.Values()[i] = std::sin(1.0 + i);
    dense.LUSolve(b, xDense, mtGeneral, opNone);
    band.LUSolve(b, xBand, mtBandGeneral, opNone);
    for (int i = 0; i < n * 3; ++i) EXPECT_NEAR(xBand.Values()[i], xDense.Values()[i], 1e-14) << i;
    TVec bv, xv;
    b.Size(n, 1);
    bv.Size(n);
    std::copy(b.Values(), b.Values() + n, bv.Values());
    band.LUSolve(bv, xv, mtBandGeneral, opNone);
    dense.LUSolve(b, xDense, mtGeneral, opNone);
    for (int i = 0; i < n; ++i) EXPECT_NEAR(xv.Values()[i], xDense.Values()[i], 1e-14) << i;
}

TEST_F(LUSolve, TheTridiagonalRoutinesAgreeWithTheBandLU)
{
    // A tridiagonal band (SubDiag = SuperDiag = 1: ?gttrf, ?gttrs, ?gtrfs, ?gtcon) against the same matrix stored with
    // a second, zero sub-diagonal (the band LU: ?gbtrf, ?gbtrs, ?gbrfs, ?gbcon). Both pivot alike, so the solutions
    // and the estimates agree to rounding; the bounds agree in magnitude. The diagonal is small in every other row, so rows are interchanged; the places outside the matrix
    // hold NaN, which neither may read.
    for (bool complex : {false, true}) {
        const int w = complex ? 2 : 1;
        for (int n : {1, 2, 7}) {
            TMtx tri, wide, b, xTri, xWide;
            tri.Size(3, n, complex);
            wide.Size(4, n, complex);
            wide.SetVal(0);
            for (int j = 0; j < n; ++j) {
                for (int p = 0; p < w; ++p) {
                    const double super = j == 0 ? NAN : std::cos(1.0 + j + p);
                    const double diag = (j % 2 == 0 ? 0.2 : 3.0) * std::sin(2.0 + 3 * j + p);
                    const double sub = j == n - 1 ? NAN : 1.5 - 0.1 * j + 0.3 * p;
                    tri.Values()[(0 * n + j) * w + p] = wide.Values()[(0 * n + j) * w + p] = super;
                    tri.Values()[(1 * n + j) * w + p] = wide.Values()[(1 * n + j) * w + p] = diag;
                    tri.Values()[(2 * n + j) * w + p] = wide.Values()[(2 * n + j) * w + p] = sub;
                    if (j >= n - 2) wide.Values()[(3 * n + j) * w + p] = NAN;
                }
            }
            tri.SetSubDiag(1);
            tri.SetSuperDiag(1);
            wide.SetSubDiag(2);
            wide.SetSuperDiag(1);
            b.Size(n, 2, complex);
            for (int i = 0; i < n * 2 * w; ++i) b.Values()[i] = std::sin(0.7 * i + 0.1);
            for (TMtxOperation op : {opNone, opTran, opHerm}) {
                for (TConditionNumber cn : {cnNorm1, cnNormInf}) {
                    SCOPED_TRACE(testing::Message() << "complex " << complex << ", n " << n << ", operation " << op
                                                    << ", norm " << cn);
                    for (TMtx* a : {&tri, &wide}) {
                        a->SetRefineSolution(true);
                        a->SetConditionNumber(cn);
                    }
                    const std::vector<double> before = Numbers(tri);
                    tri.LUSolve(b, xTri, mtBandGeneral, op);
                    wide.LUSolve(b, xWide, mtBandGeneral, op);
                    EXPECT_TRUE(Same(Numbers(tri), before)) << "A changed";
                    double largest = 0;
                    for (int i = 0; i < n * 2 * w; ++i) largest = std::max(largest, std::abs(xWide.Values()[i]));
                    for (int i = 0; i < n * 2 * w; ++i)
                        ASSERT_NEAR(xTri.Values()[i], xWide.Values()[i], 1e-13 * largest) << "number " << i;
                    EXPECT_NEAR(tri.ConditionNr(), wide.ConditionNr(), 1e-12 * wide.ConditionNr());
                    EXPECT_GT(tri.ConditionNr(), 0);
                    // The rounding term of the bound counts 4 elements per row for the tridiagonal routines and
                    // min(SubDiag + SuperDiag + 2, n + 1) for the band (2 at n = 1).
                    EXPECT_GT(wide.ForwError(), 0);
                    EXPECT_LT(tri.ForwError(), 2.5 * wide.ForwError());
                    EXPECT_GT(tri.ForwError(), wide.ForwError() / 2.5);
                    EXPECT_LT(tri.BackError(), 1e-15);
                    EXPECT_LT(wide.BackError(), 1e-15);
                    EXPECT_EQ(tri.Info(), 0);
                }
                // Without refinement A·X = B runs in one pass, as the factorization and the solve compute it.
                if (op != opNone) continue;
                tri.SetRefineSolution(false);
                tri.SetConditionNumber(cnNorm1);
                tri.LUSolve(b, xTri, mtBandGeneral, op);
                tri.SetConditionNumber(cnNone);
                tri.LUSolve(b, xWide, mtBandGeneral, op);
                EXPECT_TRUE(Same(Numbers(xTri), Numbers(xWide))) << "one pass, complex " << complex << ", n " << n;
            }
        }
    }
}
