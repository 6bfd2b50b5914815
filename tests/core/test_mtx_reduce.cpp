// Matrix reductions against tests/data/gen_mtx_reduce_golden.py: extremes, sums, means, the trace, the Frobenius
// norm, row and column sums and means, and the comparison within a tolerance.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "TestSupport.h"

namespace {

using namespace tarnel;
using namespace testsupport;

struct ReduceRow {
    const char* what;
    int rows, cols;
    bool complex;
    std::vector<double> data;
    double max[2], min[2], sum[2], mean[2];
    double normFro;
    double trace[2];
    std::vector<double> sumCols, sumRows;
};

struct EqualRow {
    const char* what;
    int rowsA, colsA, rowsB, colsB;
    bool complexA, complexB;
    std::vector<double> a, b;
    double tolerance;
    bool equal;
};

#include "../data/mtx_reduce_golden.inc"

class MtxReduce : public PoolCheck {};

constexpr double kEps = std::numeric_limits<double>::epsilon();

// The same Double, NaN matching NaN.
void ExpectSameDouble(double Got, double Want, const std::string& Where)
{
    if (std::isnan(Want))
        EXPECT_TRUE(std::isnan(Got)) << Where << ": " << Got;
    else
        EXPECT_EQ(Got, Want) << Where;
}

// Within Ulps units of the last place of Scale (the sum of magnitudes for sums), NaN matching NaN.
void ExpectClose(double Got, double Want, double Scale, double Ulps, const std::string& Where)
{
    if (std::isnan(Want) || std::isinf(Want)) return ExpectSameDouble(Got, Want, Where);
    EXPECT_NEAR(Got, Want, Ulps * kEps * std::fabs(Scale)) << Where;
}

// The sum of the finite magnitudes: the scale of a sum's rounding.
double Magnitudes(const std::vector<double>& V)
{
    double s = 0;
    for (double x : V)
        if (std::isfinite(x)) s += std::fabs(x);
    return s;
}

void ExpectVec(const TVec& V, const std::vector<double>& Want, bool Complex, double Scale, const std::string& Where)
{
    ASSERT_EQ(V.Complex(), Complex) << Where;
    ASSERT_EQ(static_cast<std::size_t>(V.Length()) * (Complex ? 2 : 1), Want.size()) << Where;
    for (std::size_t i = 0; i < Want.size(); ++i) ExpectClose(V.Values()[i], Want[i], Scale, 4, Where);
}

TEST_F(MtxReduce, EveryReductionAgainstNumpy)
{
    for (const ReduceRow& r : kReduce) {
        const std::string where = r.what;
        TMtx m;
        Load(m, r.rows, r.cols, r.complex, r.data);
        const double scale = Magnitudes(r.data);
        TVec v;
        // Real sums of real data are numpy's pairwise sums bit for bit; complex parts pair up differently.
        const double ulps = r.complex ? 4 : 0;
        if (!r.complex) {
            ExpectSameDouble(m.Max(), r.max[0], where + " Max");
            ExpectSameDouble(m.Min(), r.min[0], where + " Min");
            ExpectSameDouble(Max(m), r.max[0], where + " unit Max");
            ExpectSameDouble(Min(m), r.min[0], where + " unit Min");
            ExpectClose(m.Sum(), r.sum[0], scale, ulps, where + " Sum");
            ExpectClose(m.Mean(), r.mean[0], scale, 1, where + " Mean");
            ExpectClose(Mean(m), r.mean[0], scale, 1, where + " unit Mean");
            ExpectClose(m.NormFro(), r.normFro, r.normFro, 4, where + " NormFro");
        } else {
            TCplx x;
            m.Max(x);
            ExpectSameDouble(x.Re, r.max[0], where + " Max.Re");
            ExpectSameDouble(x.Im, r.max[1], where + " Max.Im");
            m.Min(x);
            ExpectSameDouble(x.Re, r.min[0], where + " Min.Re");
            ExpectSameDouble(x.Im, r.min[1], where + " Min.Im");
            m.Sum(x);
            ExpectClose(x.Re, r.sum[0], scale, ulps, where + " Sum.Re");
            ExpectClose(x.Im, r.sum[1], scale, ulps, where + " Sum.Im");
            x = TCplx{-1, -2};
            m.Mean(x);
            const bool empty = r.rows * r.cols == 0;
            ExpectClose(x.Re, empty ? -1 : r.mean[0], scale, ulps, where + " Mean.Re (empty: untouched)");
            ExpectClose(x.Im, empty ? -2 : r.mean[1], scale, ulps, where + " Mean.Im");
            m.NormFro(x);
            ExpectClose(x.Re, r.normFro, r.normFro, 4, where + " NormFro");
            EXPECT_EQ(x.Im, 0.0) << where;
        }
        const TCplx t = m.Trace();
        ExpectClose(t.Re, r.trace[0], scale, 4, where + " Trace.Re");
        ExpectClose(t.Im, r.trace[1], scale, 4, where + " Trace.Im");
        ExpectSameDouble(Trace(m).Re, t.Re, where + " unit Trace");
        m.SumCols(v);
        ExpectVec(v, r.sumCols, r.complex, scale, where + " SumCols");
        m.SumRows(v);
        ExpectVec(v, r.sumRows, r.complex, scale, where + " SumRows");
        const bool hasNaN = std::any_of(r.data.begin(), r.data.end(), [](double d) { return std::isnan(d); });
        EXPECT_EQ(m.Equal(m, 0), !hasNaN) << where;
    }
}

TEST_F(MtxReduce, MeansOfRowsAndColumns)
{
    TMtx m;
    m.SetIt(2, 2, false, {1, 2, 3, 4});
    TVec v;
    m.MeanRows(v);
    EXPECT_EQ(std::vector<double>(v.Values(), v.Values() + 2), (std::vector<double>{1.5, 3.5}));
    m.MeanCols(v);
    EXPECT_EQ(std::vector<double>(v.Values(), v.Values() + 2), (std::vector<double>{2, 3}));
    m.SetIt(1, 2, true, {2, -4, 6, 8});
    m.MeanRows(v);
    ASSERT_TRUE(v.Complex());
    EXPECT_EQ(std::vector<double>(v.Values(), v.Values() + 2), (std::vector<double>{4, 2}));
}

TEST_F(MtxReduce, KnownFaultsStayMended)
{
    TMtx m;
    TCplx x;
    // The complex norm is sqrt(Σ|z|²) + 0i, not the root of Σz².
    m.SetIt(1, 2, true, {1, 0, 0, 1});
    m.NormFro(x);
    EXPECT_DOUBLE_EQ(x.Re, std::sqrt(2.0));
    // The real norm is scaled: neither overflow nor underflow.
    m.SetIt(1, 2, false, {1e200, 1e200});
    EXPECT_DOUBLE_EQ(m.NormFro(), std::sqrt(2.0) * 1e200);
    m.SetIt(1, 2, false, {1e-200, 1e-200});
    EXPECT_DOUBLE_EQ(m.NormFro(), std::sqrt(2.0) * 1e-200);
    // The sum adds the elements rather than multiplying a rounded mean back up.
    m.Size(7, 7);
    m.SetZero();
    m(3, 4) = 1;
    EXPECT_EQ(m.Sum(), 1.0);
}

TEST_F(MtxReduce, ComparisonWithinATolerance)
{
    for (const EqualRow& r : kEqual) {
        TMtx a, b;
        Load(a, r.rowsA, r.colsA, r.complexA, r.a);
        Load(b, r.rowsB, r.colsB, r.complexB, r.b);
        EXPECT_EQ(a.Equal(b, r.tolerance), r.equal) << r.what;
        EXPECT_EQ(Equal(a, b, r.tolerance), r.equal) << r.what;
    }
}

TEST_F(MtxReduce, KindsAreChecked)
{
    TMtx real, cplx;
    real.Size(2, 2, false);
    cplx.Size(2, 2, true);
    TCplx x;
    ExpectRaise([&] { cplx.Max(); }, "Complex = True", "Max");
    ExpectRaise([&] { cplx.Min(); }, "Complex = True", "Min");
    ExpectRaise([&] { cplx.Sum(); }, "Complex = True", "Sum");
    ExpectRaise([&] { cplx.Mean(); }, "Complex = True", "Mean");
    ExpectRaise([&] { cplx.NormFro(); }, "Complex = True", "NormFro");
    ExpectRaise([&] { real.Max(x); }, "Complex = False", "complex Max");
    ExpectRaise([&] { real.Min(x); }, "Complex = False", "complex Min");
    ExpectRaise([&] { real.Sum(x); }, "Complex = False", "complex Sum");
    ExpectRaise([&] { real.Mean(x); }, "Complex = False", "complex Mean");
    ExpectRaise([&] { real.NormFro(x); }, "Complex = True", "complex NormFro of a real matrix");
    // The checks do not depend on ConditionCheck.
    cplx.SetConditionCheck(false);
    ExpectRaise([&] { cplx.Max(); }, "Complex = True", "Max without ConditionCheck");
}

TEST_F(MtxReduce, SumsIntoAVectorThatViewsTheMatrix)
{
    TMtx m;
    m.SetIt(3, 2, false, {1, 2, 3, 4, 5, 6});
    TVec w;
    w.Adopt(m.Values(), 6, 3, false);
    m.SumRows(w);
    // The sums were taken before the adopted data were overwritten.
    EXPECT_EQ(std::vector<double>(m.Values(), m.Values() + 3), (std::vector<double>{3, 7, 11}));
    double* data = nullptr;
    int len = 0;
    bool complex = false;
    w.Disown(data, len, complex);
}

TEST_F(MtxReduce, ExtremesOfLongMatricesKeepTheFirstNaNAndTheFirstZero)
{
    // Long enough for the wide scan and for the worker threads' parts (2^21 elements and more).
    TMtx m;
    m.Size(2048, 1031);
    const std::int64_t n = static_cast<std::int64_t>(m.Rows()) * m.Cols();
    for (std::int64_t i = 0; i < n; ++i) m.Values()[i] = -1.0 - static_cast<double>(i % 977);
    m.Values()[n - 3] = 5;
    m.Values()[17] = -5000;
    EXPECT_EQ(m.Max(), 5);
    EXPECT_EQ(m.Min(), -5000);
    m.Values()[n - 2] = NAN;
    EXPECT_TRUE(std::isnan(m.Max()));
    EXPECT_TRUE(std::isnan(m.Min()));
    // Of equal zeros the first is the extreme, whatever its sign.
    TMtx z;
    z.Size(1, 40);
    z.SetVal(-1);
    z.Values()[21] = -0.0;
    z.Values()[33] = 0.0;
    EXPECT_TRUE(std::signbit(z.Max()));
    z.SetVal(1);
    z.Values()[3] = 0.0;
    z.Values()[30] = -0.0;
    EXPECT_FALSE(std::signbit(z.Min()));
}

}  // namespace
