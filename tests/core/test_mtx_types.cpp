// DetectMtxType on a table of matrices, DiagonalsCount, and band storage against scipy's `ab` layout
// (tests/data/gen_mul_golden.py).
#include <gtest/gtest.h>

#include <vector>

#include "Feldrin.h"
#include "TestSupport.h"

using namespace tarnel;
using namespace testsupport;

namespace {

struct BandCase {
    const char* What;
    int SuperDiag;
    int SubDiag;
    GoldMtx Dense, Band;
};

const BandCase kBand[] = {
#include "band_golden.inc"
};

class DetectMtxType : public PoolCheck {};
class BandStorage : public PoolCheck {};

}  // namespace

TEST_F(DetectMtxType, TableOfMatrices)
{
    const double nan = NAN;
    struct Case {
        const char* What;
        int Rows, Cols;
        bool Complex;
        std::vector<double> V;
        bool TestPosDef;
        TMtxType Type;
        TTriangleForm Form;
    };
    const Case cases[] = {
        {"3x2 (TriangleForm unchanged)", 3, 2, false, {1, 2, 3, 4, 5, 6}, true, mtGeneral, tfUpper},
        {"0x0", 0, 0, false, {}, true, mtTriangle, tfLower},
        {"1x1", 1, 1, false, {5}, true, mtTriangle, tfLower},
        {"diagonal", 2, 2, false, {1, 0, 0, 2}, true, mtTriangle, tfLower},
        {"identity", 2, 2, false, {1, 0, 0, 1}, true, mtTriangle, tfLower},
        {"upper", 3, 3, false, {1, 2, 3, 0, 4, 5, 0, 0, 6}, false, mtTriangle, tfUpper},
        {"lower", 3, 3, false, {1, 0, 0, 2, 3, 0, 4, 5, 6}, false, mtTriangle, tfLower},
        {"symmetric indefinite", 2, 2, false, {1, 2, 2, -1}, true, mtSymmetric, tfUpper},
        {"symmetric positive definite", 2, 2, false, {2, 1, 1, 2}, true, mtSymmPosDef, tfUpper},
        {"symmetric, not tested", 2, 2, false, {2, 1, 1, 2}, false, mtSymmetric, tfUpper},
        {"general", 2, 2, false, {1, 2, 3, 4}, true, mtGeneral, tfUpper},
        {"NaN breaks symmetry", 2, 2, false, {1, nan, nan, 1}, true, mtGeneral, tfUpper},
        {"complex, imaginary parts only above", 2, 2, true, {1, 0, 2, 1, 2, 0, 1, 0}, true, mtGeneral, tfUpper},
        {"Hermitian positive definite", 2, 2, true, {2, 0, 0, 1, 0, -1, 2, 0}, true, mtHermPosDef, tfUpper},
        {"Hermitian indefinite", 2, 2, true, {1, 0, 0, 2, 0, -2, 1, 0}, true, mtHermitian, tfUpper},
        {"Hermitian off the diagonal, complex diagonal",
         2,
         2,
         true,
         {2, 1, 0, 1, 0, -1, 2, 0},
         true,
         mtGeneral,
         tfUpper},
        {"complex symmetric, not Hermitian: never positive definite",
         2,
         2,
         true,
         {2, 0, 0, 1, 0, 1, 2, 0},
         true,
         mtSymmetric,
         tfUpper},
        {"complex symmetric with a complex diagonal", 2, 2, true, {2, 1, 3, 1, 3, 1, 2, 0}, true, mtSymmetric, tfUpper},
        {"real-valued complex symmetric is Hermitian",
         2,
         2,
         true,
         {2, 0, 1, 0, 1, 0, 2, 0},
         true,
         mtHermPosDef,
         tfUpper},
    };
    for (const Case& c : cases) {
        TMtx m;
        Load(m, c.Rows, c.Cols, c.Complex, c.V);
        m.SetTriangleForm(tfUpper);
        m.SetLapackResult(7, "earlier");
        EXPECT_EQ(m.DetectMtxType(c.TestPosDef), c.Type) << c.What;
        EXPECT_EQ(m.TriangleForm(), c.Form) << c.What;
        if (c.TestPosDef && c.Type != mtGeneral && c.Type != mtTriangle) {
            EXPECT_EQ(m.Info(), 0) << c.What;
        }
    }
    // A not positive definite matrix leaves Info at 0 too.
    TMtx m;
    Load(m, 2, 2, false, {1, 2, 2, -1});
    m.DetectMtxType(true);
    EXPECT_EQ(m.Info(), 0);
}

TEST_F(BandStorage, DiagonalsCount)
{
    TMtx m;
    int upper = -1, lower = -1;
    m.Size(5, 5);
    m.DiagonalsCount(upper, lower);
    EXPECT_EQ(upper, 0);
    EXPECT_EQ(lower, 0);
    for (int i = 0; i < 5; ++i) {
        m(i, i) = 2;
        if (i + 1 < 5) m(i, i + 1) = -1;
    }
    m.DiagonalsCount(upper, lower);
    EXPECT_EQ(upper, 1);
    EXPECT_EQ(lower, 0);
    for (int i = 1; i < 5; ++i) m(i, i - 1) = -1;
    m.DiagonalsCount(upper, lower);
    EXPECT_EQ(upper, 1);
    EXPECT_EQ(lower, 1);
    m.SetVal(1);
    m.DiagonalsCount(upper, lower);
    EXPECT_EQ(upper, 4);
    EXPECT_EQ(lower, 4);
    TMtx z;
    z.Size(3, 3, true);
    z.CValues()[6] = {0, 1};  // (2, 0): only an imaginary part
    z.DiagonalsCount(upper, lower);
    EXPECT_EQ(upper, 0);
    EXPECT_EQ(lower, 2);
}

TEST_F(BandStorage, MatchesScipyAbLayoutBothWays)
{
    for (const BandCase& c : kBand) {
        SCOPED_TRACE(c.What);
        TMtx dense, band, back;
        Load(dense, c.Dense, false);
        dense.DenseToBanded(band, c.Band.Rows * c.Band.Cols);
        EXPECT_EQ(band.SuperDiag(), c.SuperDiag);
        EXPECT_EQ(band.SubDiag(), c.SubDiag);
        ASSERT_EQ(band.Rows(), c.Band.Rows);
        ASSERT_EQ(band.Cols(), c.Band.Cols);
        for (std::size_t i = 0; i < c.Band.V.size(); ++i) EXPECT_EQ(band.Values()[i], c.Band.V[i]) << i;
        back.BandedToDense(band);
        ASSERT_EQ(back.Rows(), c.Dense.Rows);
        for (std::size_t i = 0; i < c.Dense.V.size(); ++i) EXPECT_EQ(back.Values()[i], c.Dense.V[i]) << i;
    }
}

TEST_F(BandStorage, LimitsAndRefusals)
{
    TMtx m, band;
    m.Size(4, 4);
    for (int i = 0; i < 4; ++i) {
        m(i, i) = 4;
        if (i > 0) m(i, i - 1) = 1;
        if (i < 3) m(i, i + 1) = 2;
    }
    // Three band rows of four columns are stored: 12 elements, not the 8 that (ku + kl)·Cols counts.
    for (int limit : {7, 8, 11}) {
        try {
            m.DenseToBanded(band, limit);
            ADD_FAILURE() << limit;
        } catch (const Exception& e) {
            EXPECT_STREQ(e.what(), "(SuperDiag+SubDiag)*Cols > MaxElemCount");
        }
        EXPECT_EQ(band.Rows(), 0) << "refused before Dst changes";
    }
    m.DenseToBanded(band, 12);
    ASSERT_EQ(band.Rows(), 3);
    EXPECT_EQ(band(0, 0), 0);  // first row starts with a zero
    EXPECT_EQ(band(2, 3), 0);  // last row ends with a zero
    EXPECT_EQ(band(1, 2), 4);

    TMtx z;
    z.Size(3, 3, true);
    try {
        m.BandedToDense(z);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "A.Complex = True");
    }
    // A band matrix announcing more diagonals than it has rows would be read past its end.
    band.SetSubDiag(5);
    EXPECT_THROW(m.BandedToDense(band), Exception);
    EXPECT_THROW(m.DenseToBanded(m, 100), Exception);
}
