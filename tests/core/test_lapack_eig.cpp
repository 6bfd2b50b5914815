// TMtx.Eig and EigGen against numpy/scipy (tests/data/gen_lapack_eig_golden.py): eigenvalues in their orders, the
// eigenvectors by their residuals and orthonormality, left eigenvectors, the packed real form and its conversion, the
// Schur form, the generalized problems with their eigenvectors transformed back, the checks in order and the control
// word after every call.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "TestSupport.h"
#include "eig_util.h"

using namespace tarnel;
using namespace testsupport;
using namespace eigtest;

namespace {

struct EigCase {
    const char* What;
    bool Complex;
    TMtxType Type;
    TTriangleForm Kept;
    GoldMtx A, D;
};

const EigCase kEigCases[] = {
#include "eig_golden.inc"
};

struct VecCase {
    const char* What;
    bool Complex;
    GoldMtx A, D, VL, VR;
};

const VecCase kVecCases[] = {
#include "eigvec_golden.inc"
};

struct GenCase {
    const char* What;
    bool Complex;
    TEigGenType Type;
    TTriangleForm Kept;
    GoldMtx A, B, D;
};

const GenCase kGenCases[] = {
#include "eiggen_golden.inc"
};

// Eigenvalues from well-conditioned inputs of order ≤ 7, relative to the matrix's size.
constexpr double kTol = 1e-12;

// Each test starts with a control word other than Tarnel8087CW, so that one left alone would show.
class Eigen : public PoolCheck {
protected:
    void SetUp() override
    {
        PoolCheck::SetUp();
        Set8087CW(0x037F);
    }
};

bool IsSymmetricType(TMtxType T)
{
    return T == mtSymmetric || T == mtSymmPosDef || T == mtHermitian || T == mtHermPosDef;
}

// A·V = V·diag(D) within kTol·‖A‖₁ (columns of V are eigenvectors).
void ExpectRightEigenvectors(const CMat& A, const CMat& V, const std::vector<Z>& D, const std::string& What)
{
    EXPECT_LE(MaxDiff(Mul(A, V), ScaledColumns(V, D)), kTol * std::max(1.0, Norm1(A))) << What;
}

TEST_F(Eigen, EigenvaluesAndVectorsAgainstNumpy)
{
    for (const EigCase& c : kEigCases) {
        SCOPED_TRACE(c.What);
        TMtx a;
        Load(a, c.A, c.Complex);
        const bool symmetric = IsSymmetricType(c.Type);
        if (symmetric) KeepTriangle(a, c.Kept);
        TMtx before;
        before.Copy(a);
        const std::vector<Z> expected = Column(c.D, !symmetric);
        const double tol = kTol * std::max(1.0, Norm1(Of(c.A, c.Complex)));

        // Values only.
        TVec d;
        a.SetLapackResult(7, "stale");
        a.Eig(d, c.Type);
        EXPECT_EQ(a.Info(), 0);
        EXPECT_EQ(a.MtxError(), "");
        EXPECT_EQ(Get8087CW(), Tarnel8087CW);
        EXPECT_EQ(d.Complex(), !symmetric);
        if (symmetric) {
            ASSERT_EQ(d.Length(), static_cast<int>(expected.size()));
            for (int k = 0; k < d.Length(); ++k) EXPECT_NEAR(d.Values()[k], expected[k].real(), tol) << k;
        } else {
            ExpectSameSet(Of(d), expected, tol, "values");
        }

        // With vectors: the same values and eigenvectors as columns.
        Set8087CW(0x037F);
        TMtx vl, vr;
        TVec dv;
        a.Eig(&vl, dv, &vr, c.Type, vfEig, true);
        EXPECT_EQ(Get8087CW(), Tarnel8087CW);
        EXPECT_EQ(a.Info(), 0);
        const CMat full = Of(c.A, c.Complex);
        if (symmetric) {
            ASSERT_EQ(dv.Length(), d.Length());
            for (int k = 0; k < d.Length(); ++k) EXPECT_NEAR(dv.Values()[k], expected[k].real(), tol) << k;
            const CMat v = Of(vr);
            ExpectRightEigenvectors(full, v, Of(dv), "VR");
            EXPECT_LE(MaxDiff(Mul(Transposed(v, true), v), Identity(v.Cols)), kTol) << "orthonormal";
            EXPECT_LE(MaxDiff(Of(vl), v), 0) << "VL = VR";
        } else {
            ExpectSameSet(Of(dv), expected, tol, "values with vectors");
            ExpectRightEigenvectors(full, Of(vr), Of(dv), "VR");
            // Left eigenvectors: VLᴴ·A = diag(D)·VLᴴ.
            const CMat vlh = Transposed(Of(vl), true);
            std::vector<Z> conjD;
            for (Z z : Of(dv)) conjD.push_back(std::conj(z));
            EXPECT_LE(MaxDiff(Transposed(Mul(vlh, full), true), ScaledColumns(Of(vl), conjD)), tol) << "VL";
        }
        EXPECT_LE(MaxDiff(Of(a), Of(before)), 0) << "Self unchanged";
    }
}

// The Schur form of every general case: VL lower quasi-triangular with the eigenvalues on its diagonal blocks,
// Self = VR⁻¹·VL·VR, and VR orthogonal (unitary) without scaling.
TEST_F(Eigen, SchurForm)
{
    for (const EigCase& c : kEigCases) {
        if (IsSymmetricType(c.Type)) continue;
        for (TBalanceType balance : {btNone, btPerm, btFull}) {
            SCOPED_TRACE(std::string(c.What) + " balance " + std::to_string(balance));
            TMtx a, vl, vr, t;
            Load(a, c.A, c.Complex);
            a.SetBalance(balance);
            TVec d;
            a.Eig(&vl, d, &vr, c.Type, vfSchur, false);
            EXPECT_EQ(Get8087CW(), Tarnel8087CW);
            EXPECT_EQ(a.Info(), 0);
            const int n = a.Rows();
            const CMat T = Of(vl), W = Of(vr), A = Of(c.A, c.Complex);
            const double tol = kTol * std::max(1.0, Norm1(A));
            for (int i = 0; i < n; ++i)
                for (int j = i + 1 + (c.Complex ? 0 : 1); j < n; ++j) EXPECT_EQ(T(i, j), Z(0)) << i << ", " << j;
            ExpectSameSet(Of(d), Column(c.D, true), tol, "values");
            // VR·Self = VL·VR, so that Self = VR⁻¹·VL·VR.
            EXPECT_LE(MaxDiff(Mul(W, A), Mul(T, W)), tol * std::max(1.0, Norm1(W))) << "VR·Self = VL·VR";
            if (balance == btNone || balance == btPerm) {
                EXPECT_LE(MaxDiff(Mul(W, Transposed(W, true)), Identity(n)), kTol) << "VR unitary";
            }
        }
    }
}

TEST_F(Eigen, LeftAndRightEigenvectorsAgainstScipy)
{
    for (const VecCase& c : kVecCases) {
        SCOPED_TRACE(c.What);
        TMtx a, vl, vr;
        Load(a, c.A, c.Complex);
        TVec d;
        a.Eig(&vl, d, &vr, mtGeneral, vfEig, true);
        ASSERT_EQ(a.Info(), 0);
        const std::vector<Z> expected = Column(c.D, true);
        const std::vector<Z> got = Of(d);
        ASSERT_EQ(got.size(), expected.size());
        for (std::size_t k = 0; k < got.size(); ++k) EXPECT_LE(std::abs(got[k] - expected[k]), kTol) << k;
        EXPECT_TRUE(vl.Complex() && vr.Complex());
        EXPECT_LE(MaxDiffUpToPhase(Of(vl), Of(c.VL, true)), kTol) << "VL";
        EXPECT_LE(MaxDiffUpToPhase(Of(vr), Of(c.VR, true)), kTol) << "VR";

        // Alone, and in the packed real form: one eigenvector per row, a pair as its real and imaginary parts.
        TMtx only, packed;
        TVec d2;
        a.Eig(nullptr, d2, &only, mtGeneral, vfEig, true);
        EXPECT_LE(MaxDiff(Of(only), Of(vr)), 0) << "VR alone";
        a.Eig(&only, d2, nullptr, mtGeneral, vfEig, true);
        EXPECT_LE(MaxDiff(Of(only), Of(vl)), 0) << "VL alone";
        if (c.Complex) continue;
        a.Eig(nullptr, d2, &packed, mtGeneral, vfEig, false);
        ASSERT_FALSE(packed.Complex());
        const CMat p = Of(packed), v = Of(c.VR, true);
        const int n = a.Rows();
        for (int k = 0; k < n; ++k) {
            if (expected[k].imag() < 0) continue;  // the second of a pair: its row is the first's imaginary part
            for (int r = 0; r < n; ++r) {
                EXPECT_NEAR(p(k, r).real(), v(r, k).real(), kTol) << k;
                if (expected[k].imag() > 0) {
                    EXPECT_NEAR(p(k + 1, r).real(), v(r, k).imag(), kTol) << k;
                }
            }
        }
    }
}

// A pair with imaginary parts far below the machine epsilon is still a pair: columns v and conj(v).
TEST_F(Eigen, TinyImaginaryPairsStayPairs)
{
    TMtx a, vr;
    a.SetIt(2, 2, false, {1, 1e-20, -1e-20, 1});
    TVec d;
    a.Eig(nullptr, d, &vr, mtGeneral, vfEig, true);
    ASSERT_EQ(a.Info(), 0);
    const std::vector<Z> w = Of(d);
    ASSERT_NE(w[0].imag(), 0);
    EXPECT_EQ(w[1], std::conj(w[0]));
    const CMat v = Of(vr);
    for (int r = 0; r < 2; ++r) EXPECT_EQ(v(r, 1), std::conj(v(r, 0)));
    EXPECT_GT(std::abs(v(0, 0).imag()) + std::abs(v(1, 0).imag()), 0.5) << "the imaginary parts are kept";
}

TEST_F(Eigen, GeneralizedAgainstScipy)
{
    for (const GenCase& c : kGenCases) {
        SCOPED_TRACE(c.What);
        TMtx a, b, v;
        Load(a, c.A, c.Complex);
        Load(b, c.B, c.Complex);
        KeepTriangle(a, c.Kept);
        KeepTriangle(b, c.Kept);
        b.SetTriangleForm(c.Kept);
        const CMat A = Of(c.A, c.Complex), B = Of(c.B, c.Complex);
        const double tol = kTol * std::max(1.0, Norm1(A) * Norm1(B));
        for (bool vectors : {false, true}) {
            Set8087CW(0x037F);
            TVec d;
            a.SetLapackResult(3, "kept");
            a.EigGen(b, d, c.Type, vectors ? &v : nullptr);
            EXPECT_EQ(Get8087CW(), Tarnel8087CW);
            EXPECT_EQ(a.Info(), 0);
            EXPECT_EQ(a.MtxError(), "kept");
            const std::vector<Z> expected = Column(c.D, false);
            ASSERT_EQ(d.Length(), static_cast<int>(expected.size()));
            EXPECT_FALSE(d.Complex());
            for (int k = 0; k < d.Length(); ++k) EXPECT_NEAR(d.Values()[k], expected[k].real(), tol) << k;
        }
        TVec d;
        a.EigGen(b, d, c.Type, &v);
        const std::vector<Z> lambda = Of(d);
        const CMat V = Of(v);
        // The problem itself, and the normalisation scipy documents.
        const CMat vh = Transposed(V, true);
        switch (c.Type) {
            case etAzBz:
                EXPECT_LE(MaxDiff(Mul(A, V), ScaledColumns(Mul(B, V), lambda)), tol) << "A·v = λ·B·v";
                break;
            case etABz:
                EXPECT_LE(MaxDiff(Mul(A, Mul(B, V)), ScaledColumns(V, lambda)), tol) << "A·B·v = λ·v";
                break;
            case etBAz:
                EXPECT_LE(MaxDiff(Mul(B, Mul(A, V)), ScaledColumns(V, lambda)), tol) << "B·A·v = λ·v";
                break;
        }
        if (c.Type == etBAz) {
            // Vᴴ·B⁻¹·V = I, with B⁻¹·V from B·X = V.
            TMtx bl, x;
            Load(bl, c.B, c.Complex);
            TMtx vcopy;
            vcopy.Copy(v);
            bl.LUSolve(vcopy, x, mtGeneral);
            EXPECT_LE(MaxDiff(Mul(vh, Of(x)), Identity(V.Cols)), kTol * Norm1(B)) << "Vᴴ·B⁻¹·V = I";
        } else {
            EXPECT_LE(MaxDiff(Mul(vh, Mul(B, V)), Identity(V.Cols)), kTol * Norm1(B)) << "Vᴴ·B·V = I";
        }
    }
}

// A B that is not positive definite stops the chain at the Cholesky factor, with its INFO; V is left alone.
TEST_F(Eigen, GeneralizedStopsAtTheFirstFailure)
{
    for (bool complex : {false, true}) {
        TMtx a, b, v;
        a.Size(3, 3, complex);
        a.SetVal(1);
        // The second leading minor is negative.
        const std::vector<double> real = {1, 0, 0, 0, -1, 0, 0, 0, 1};
        std::vector<double> values = real;
        if (complex) {
            values.clear();
            for (double x : real) values.insert(values.end(), {x, 0});
        }
        b.SetIt(3, 3, complex, values);
        v.Size(1, 1, false);
        v.SetVal(42);
        TVec d;
        a.EigGen(b, d, etAzBz, &v);
        EXPECT_EQ(a.Info(), 2) << complex;
        EXPECT_EQ(v.Rows(), 1);
        EXPECT_EQ(v.Values()[0], 42);
        EXPECT_EQ(Get8087CW(), Tarnel8087CW);
    }
}

TEST_F(Eigen, ChecksInOrderAndTheControlWord)
{
    TMtx a, b, c, v, big;
    a.SetIt(2, 2, false, {2, 1, 1, 2});
    b.SetIt(2, 2, false, {1, 0, 0, 1});
    c.SetIt(2, 2, true, {1, 0, 0, 0, 0, 0, 1, 0});
    big.Size(3, 3);
    TMtx rect;
    rect.Size(2, 3);
    TVec d;
    struct Row {
        const char* Message;
        std::function<void()> Call;
    };
    const Row rows[] = {
        {"Quadratic = False", [&] { rect.Eig(d, mtGeneral); }},
        {"MtxType not supported", [&] { a.Eig(d, mtBandGeneral); }},
        {"Eig: Complex symmetric matrix type not supported. Use general!", [&] { c.Eig(d, mtSymmetric); }},
        {"VL = Self", [&] { a.Eig(&a, d, &a, mtGeneral); }},
        {"VR = Self", [&] { a.Eig(&v, d, &a, mtGeneral); }},
        {"VL = VR", [&] { a.Eig(&v, d, &v, mtGeneral); }},
        {"Quadratic = False", [&] { rect.Eig(nullptr, d, nullptr, mtGeneral); }},
        {"MtxType not supported", [&] { a.Eig(&v, d, nullptr, mtBandSymmPosDef); }},
        {"V = nil", [&] { c.Eig(nullptr, d, &v, mtSymmetric); }},
        {"Eig: Complex symmetric matrix type not supported. Use general!", [&] { c.Eig(&v, d, nullptr, mtSymmetric); }},
        {"VL or VR must be <> nil!", [&] { a.Eig(nullptr, d, nullptr, mtGeneral, vfEig); }},
        {"VL or VR must be <> nil!", [&] { c.Eig(nullptr, d, nullptr, mtTriangle, vfEig, true); }},
        {"V = nil", [&] { a.Eig(nullptr, d, &v, mtGeneral, vfSchur); }},
        {"B.Rows = Rows", [&] { a.EigGen(big, d, etAzBz, &a); }},
        {"B.Cols = Cols", [&] { a.EigGen(rect, d, etAzBz, nullptr); }},
        {"not Quadratic", [&] { rect.EigGen(rect, d, etAzBz, nullptr); }},
        {"B.Complex = Complex", [&] { a.EigGen(c, d, etAzBz, &a); }},
        {"B = Self", [&] { a.EigGen(a, d, etAzBz, &a); }},
        {"V = Self", [&] { a.EigGen(b, d, etAzBz, &a); }},
    };
    for (const Row& r : rows) {
        Set8087CW(0x037F);
        ExpectRaise(r.Call, r.Message);
        EXPECT_EQ(Get8087CW(), Tarnel8087CW) << r.Message;
    }
    // Self and the outputs unchanged by a refusal.
    EXPECT_EQ(a.Values()[1], 1);
    EXPECT_EQ(d.Length(), 0);

    // Without ConditionCheck only the aliasing checks of EigGen are skipped; sizes and kinds still refuse.
    a.SetConditionCheck(false);
    ExpectRaise([&] { a.EigGen(big, d, etAzBz, nullptr); }, "B.Rows = Rows");
    ExpectRaise([&] { a.EigGen(c, d, etAzBz, nullptr); }, "B.Complex = Complex");
    a.EigGen(a, d, etAzBz, &a);
    EXPECT_EQ(a.Info(), 0);
    EXPECT_EQ(a.Rows(), 2);
}

TEST_F(Eigen, EmptyMatricesReturnAtOnce)
{
    TMtx e, v, b;
    TVec d;
    d.SetIt(false, {5});
    e.SetLapackResult(4, "old");
    e.Eig(d, mtGeneral);
    EXPECT_EQ(Get8087CW(), Tarnel8087CW);
    Set8087CW(0x037F);
    e.Eig(nullptr, d, nullptr, mtGeneral);
    EXPECT_EQ(Get8087CW(), Tarnel8087CW);
    Set8087CW(0x037F);
    e.EigGen(b, d, etAzBz, &v);
    EXPECT_EQ(Get8087CW(), Tarnel8087CW);
    EXPECT_EQ(d.Length(), 1);
    EXPECT_EQ(d.Values()[0], 5);
    EXPECT_EQ(e.MtxError(), "");
}

// AutoMtxType picks the chain: a triangle's eigenvalues are its diagonal, a symmetric matrix's are real, ascending.
TEST_F(Eigen, AutoMtxTypeDetects)
{
    TMtx a;
    TVec d;
    a.SetIt(2, 2, false, {2, 1, 1, 2});
    a.SetAutoMtxType(true);
    a.Eig(d, mtGeneral);
    ASSERT_FALSE(d.Complex());
    EXPECT_NEAR(d.Values()[0], 1, 1e-15);
    EXPECT_NEAR(d.Values()[1], 3, 1e-15);
    a.SetIt(2, 2, false, {2, 0, 5, 7});
    a.Eig(d, mtSymmetric);
    ASSERT_TRUE(d.Complex());
    ExpectSameSet(Of(d), {Z(2), Z(7)}, 1e-15, "triangle");
}

}  // namespace
