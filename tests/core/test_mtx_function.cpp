// TMtx.MtxFunction, MtxPower, MtxSqrt and MtxIntPower against scipy.linalg.expm, sqrtm, inv, expm(p·logm(A)),
// fractional_matrix_power and numpy.linalg.matrix_power (tests/data/gen_lapack_eig_golden.py); failures reported
// through Info and MtxError, the checks in order and the control word.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "TestSupport.h"
#include "eig_util.h"

using namespace tarnel;
using namespace testsupport;
using namespace eigtest;

namespace {

enum Fn { fnExp, fnSqrt, fnPower, fnIntPower };

struct FunCase {
    const char* What;
    bool Complex;
    TMtxType Type;
    Fn Function;
    TCplx P;
    GoldMtx A, F;
};

const FunCase kFunCases[] = {
#include "mtxfunc_golden.inc"
};

// Well-conditioned eigenvectors of order ≤ 4; relative to the size of the result.
constexpr double kTol = 1e-12;

class MtxFunctions : public PoolCheck {
protected:
    void SetUp() override
    {
        PoolCheck::SetUp();
        Set8087CW(0x037F);
    }
};

// D := e^D, real or complex.
const TMtxFunction kExp = [](TVec& D, std::span<const TCplx>) {
    for (int k = 0; k < D.Length(); ++k) {
        if (D.Complex()) {
            const std::complex<double> z = std::exp(std::complex<double>(D.CValues()[k].Re, D.CValues()[k].Im));
            D.CValues()[k] = {z.real(), z.imag()};
        } else {
            D.Values()[k] = std::exp(D.Values()[k]);
        }
    }
};

TEST_F(MtxFunctions, AgainstScipy)
{
    for (const FunCase& c : kFunCases) {
        SCOPED_TRACE(c.What);
        TMtx a, f;
        Load(a, c.A, c.Complex);
        a.SetLapackResult(5, "stale");
        Set8087CW(0x037F);
        switch (c.Function) {
            case fnExp:
                f.MtxFunction(a, {}, kExp, c.Type);
                break;
            case fnSqrt:
                f.MtxSqrt(a, c.Type);
                break;
            case fnPower:
                if (c.P.Im == 0) {
                    f.MtxPower(a, c.P.Re, c.Type);
                } else {
                    f.MtxPower(a, c.P, c.Type);
                }
                break;
            case fnIntPower:
                f.MtxIntPower(a, static_cast<int>(c.P.Re));
                EXPECT_EQ(f.Complex(), c.Complex);
                break;
        }
        // The integer powers are products and an inverse: they leave the control word alone.
        EXPECT_EQ(Get8087CW(), c.Function == fnIntPower ? 0x037F : Tarnel8087CW);
        EXPECT_EQ(f.Info(), 0) << f.MtxError();
        const CMat expected = Of(c.F, true);
        EXPECT_LE(MaxDiff(Of(f), expected), kTol * std::max(1.0, Norm1(expected)));
    }
}

// A Jordan block has one eigenvector twice: the failure is reported, not returned as a result.
TEST_F(MtxFunctions, DefectiveMatricesFail)
{
    for (bool complex : {false, true}) {
        SCOPED_TRACE(complex);
        TMtx a, f;
        a.SetIt(2, 2, false, {1, 1, 0, 1});
        if (complex) a.ExtendToComplex(true);
        f.SetIt(1, 1, false, {42});
        f.MtxFunction(a, {}, kExp, mtGeneral);
        EXPECT_EQ(f.Info(), 3);
        EXPECT_EQ(f.MtxError(), "MtxFunction: eigenvectors are linearly dependent");
        EXPECT_EQ(f.Rows(), 1);
        EXPECT_EQ(f.Values()[0], 42);
    }
}

// A failing Eig hands its Info and text to Self: LAPACK refuses a matrix with a NaN.
TEST_F(MtxFunctions, EigFailuresReachSelf)
{
    TMtx a, f;
    a.SetIt(2, 2, false, {1, NAN, 2, 3});
    f.MtxFunction(a, {}, kExp, mtGeneral);
    EXPECT_EQ(f.Info(), a.Info());
    EXPECT_EQ(f.MtxError(), a.MtxError());
    EXPECT_NE(f.Info(), 0);
    EXPECT_NE(f.MtxError(), "");
}

// Under AutoMtxType a non-symmetric Src passed as mtSymmetric is decomposed as general, and assembled so.
TEST_F(MtxFunctions, AssembledByTheTypeEigUsed)
{
    for (const FunCase& c : kFunCases) {
        if (c.Function != fnExp || c.Type != mtGeneral) continue;
        SCOPED_TRACE(c.What);
        TMtx a, f;
        Load(a, c.A, c.Complex);
        a.SetAutoMtxType(true);
        f.MtxFunction(a, {}, kExp, mtSymmetric);
        const CMat expected = Of(c.F, true);
        EXPECT_LE(MaxDiff(Of(f), expected), kTol * std::max(1.0, Norm1(expected)));
    }
}

// The square root squared gives the matrix back; a negative eigenvalue gives a complex root.
TEST_F(MtxFunctions, SquareRootsSquareBack)
{
    for (const FunCase& c : kFunCases) {
        if (c.Function != fnSqrt) continue;
        SCOPED_TRACE(c.What);
        TMtx a, r, sq;
        Load(a, c.A, c.Complex);
        r.MtxSqrt(a, c.Type);
        sq.Mul(r, r);
        const CMat A = Of(c.A, c.Complex);
        EXPECT_LE(MaxDiff(Of(sq), A), kTol * std::max(1.0, Norm1(A)));
        // A real symmetric Src stays real unless an eigenvalue is negative (general ones come back complex).
        if (!c.Complex && c.Type != mtGeneral) {
            EXPECT_EQ(r.Complex(), std::string(c.What).find("negative") != std::string::npos);
        }
    }
}

// A singular Src to a negative power is reported by the inverse; k = -2^31 ends (|k| taken in 64 bits).
TEST_F(MtxFunctions, IntegerPowerEdges)
{
    TMtx a, f;
    a.SetIt(2, 2, false, {1, 2, 2, 4});
    f.MtxIntPower(a, -1);
    EXPECT_NE(f.Info(), 0);
    EXPECT_NE(f.MtxError(), "");
    a.SetIt(2, 3, false, {1, 2, 3, 4, 5, 6});
    f.MtxIntPower(a, 1);
    EXPECT_EQ(f.Cols(), 3);
    ExpectRaise([&] { f.MtxIntPower(a, 2); }, "Mtx1.Cols <> Mtx2.Rows");
    f.MtxIntPower(a, 0);
    EXPECT_EQ(f.Rows(), 2);
    EXPECT_EQ(f.Cols(), 3);
    EXPECT_EQ(f.Values()[0], 1);
    EXPECT_EQ(f.Values()[4], 1);
    EXPECT_EQ(f.Values()[1], 0);
}

TEST_F(MtxFunctions, ChecksInOrder)
{
    TMtx a, f, e;
    a.Size(2, 3);
    ExpectRaise([&] { f.MtxFunction(a, {}, TMtxFunction(), mtGeneral); }, "not Src.Quadratic");
    a.Size(2, 2);
    ExpectRaise([&] { f.MtxFunction(a, {}, TMtxFunction(), mtGeneral); }, "not Assigned(Func)");
    ExpectRaise([&] { f.MtxFunction(a, {}, kExp, mtBandGeneral); }, "MtxType not supported");
    a.SetIt(2, 2, false, {2, 1, 1, 2});
    const TCplx two[] = {{1, 0}, {2, 0}};
    ExpectRaise([&] { f.MtxFunction(a, two, MtxPowerFunc, mtSymmetric); }, "Power: Length(Params) <> 1");
    ExpectRaise([&] { f.MtxFunction(a, {}, MtxPowerFunc, mtSymmetric); }, "Power: Length(Params) <> 1");
    // An empty Src returns before any check.
    f.SetIt(1, 1, false, {3});
    f.MtxFunction(e, {}, TMtxFunction(), mtGeneral);
    EXPECT_EQ(f.Values()[0], 3);
    EXPECT_EQ(f.Rows(), 1);
}

}  // namespace
