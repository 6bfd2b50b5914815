// TMtx.Mul and TensorProd against numpy (tests/data/gen_mul_golden.py), their checks, and the binding layer they
// run on. The golden inputs are small integers, so every product is exact and compared exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "Feldrin.h"
#include "TestSupport.h"
#include "core/BlasCalls.h"
#include "core/LapackWork.h"

using namespace tarnel;
using namespace testsupport;

namespace {

class MtxMul : public PoolCheck {};
class TensorProd : public PoolCheck {};
class BlasLayer : public PoolCheck {};

struct MulCase {
    const char* What;
    bool Complex;
    TMtxType Type1, Type2;
    TMtxOperation Op1, Op2;
    TTriangleForm Tf1, Tf2;
    bool Unit1, Unit2;
    TCplx Alpha, Beta;
    GoldMtx A, B, C0, Expected;
};

struct VecCase {
    const char* What;
    bool Complex;
    bool MatrixTimesVector;
    TMtxType Type;
    TMtxOperation Op;
    TTriangleForm Tf;
    bool Unit;
    TCplx Alpha, Beta;
    GoldMtx M, V, Y0, Expected;
};

const MulCase kMulCases[] = {
#include "mul_golden.inc"
};

const VecCase kVecCases[] = {
#include "mul_vec_golden.inc"
};

void Load(TVec& V, const GoldMtx& G, bool Complex)
{
    V.Size(G.Cols, Complex);
    std::copy(G.V.begin(), G.V.end(), V.Values());
}

// NaN in every element the routine must not read: the strict triangle opposite TriangleForm, and the diagonal of a
// unit triangle.
void PoisonUnreferenced(TMtx& M, bool Triangle)
{
    const int w = M.Complex() ? 2 : 1;
    for (int i = 0; i < M.Rows(); ++i) {
        for (int j = 0; j < M.Cols(); ++j) {
            const bool unread = M.TriangleForm() == tfUpper ? i > j : i < j;
            if (unread || (Triangle && i == j && M.TriangleUnit())) {
                for (int p = 0; p < w; ++p) M.Values()[(static_cast<std::int64_t>(i) * M.Cols() + j) * w + p] = NAN;
            }
        }
    }
}

bool IsSymType(TMtxType T, bool Complex)
{
    return Complex ? (T == mtHermitian || T == mtHermPosDef) : (T == mtSymmetric || T == mtSymmPosDef);
}

void ExpectValues(const double* Got, const GoldMtx& Expected, bool Complex, const std::string& What)
{
    const std::size_t n = static_cast<std::size_t>(Expected.Rows) * Expected.Cols * (Complex ? 2 : 1);
    for (std::size_t i = 0; i < n; ++i) ASSERT_EQ(Got[i], Expected.V[i]) << What << ", number " << i;
}

}  // namespace

// ---- TMtx.Mul ---------------------------------------------------------------------------------------------------

TEST_F(MtxMul, MatchesNumpyForEveryRuleOperationAndTriangle)
{
    for (const MulCase& c : kMulCases) {
        SCOPED_TRACE(c.What);
        TMtx a, b, self;
        Load(a, c.A, c.Complex);
        Load(b, c.B, c.Complex);
        Load(self, c.C0, c.Complex);
        a.SetTriangleForm(c.Tf1);
        b.SetTriangleForm(c.Tf2);
        a.SetTriangleUnit(c.Unit1);
        b.SetTriangleUnit(c.Unit2);
        if (IsSymType(c.Type1, c.Complex) || c.Type1 == mtTriangle) PoisonUnreferenced(a, c.Type1 == mtTriangle);
        if (IsSymType(c.Type2, c.Complex) || c.Type2 == mtTriangle) PoisonUnreferenced(b, c.Type2 == mtTriangle);
        self.SetAlpha(c.Alpha);
        self.SetBeta(c.Beta);
        self.Mul(a, b, c.Type1, c.Type2, c.Op1, c.Op2);
        ASSERT_EQ(self.Rows(), c.Expected.Rows);
        ASSERT_EQ(self.Cols(), c.Expected.Cols);
        ASSERT_EQ(self.Complex(), c.Complex);
        ExpectValues(self.Values(), c.Expected, c.Complex, c.What);
        const bool general = c.Type1 == mtGeneral && c.Type2 == mtGeneral;
        EXPECT_EQ(self.Alpha().Re, general ? 1.0 : c.Alpha.Re) << "the general product resets Alpha";
        EXPECT_EQ(self.Beta().Im, general ? 0.0 : c.Beta.Im);
    }
}

TEST_F(MtxMul, LargerThanOneKernelStepAgreesWithATripleLoop)
{
    // 70 x 45 by 45 x 37 in every operation pair: the BLAS paths take their blocked branches.
    for (bool complex : {false, true}) {
        for (TMtxOperation op1 : {opNone, opTran, opHerm}) {
            for (TMtxOperation op2 : {opNone, opTran, opHerm}) {
                TMtx a, b, c;
                const int m = 70, k = 45, n = 37;
                a.Size(op1 == opNone ? m : k, op1 == opNone ? k : m, complex);
                b.Size(op2 == opNone ? k : n, op2 == opNone ? n : k, complex);
                const int w = complex ? 2 : 1;
                for (std::int64_t i = 0; i < static_cast<std::int64_t>(a.Rows()) * a.Cols() * w; ++i)
                    a.Values()[i] = static_cast<double>((i * 7) % 11 - 5);
                for (std::int64_t i = 0; i < static_cast<std::int64_t>(b.Rows()) * b.Cols() * w; ++i)
                    b.Values()[i] = static_cast<double>((i * 5) % 9 - 4);
                c.Mul(a, b, op1, op2);
                ASSERT_EQ(c.Rows(), m);
                ASSERT_EQ(c.Cols(), n);
                const auto at = [&](const TMtx& x, TMtxOperation op, int i, int j) {
                    const bool t = op != opNone;
                    const std::int64_t idx =
                        t ? static_cast<std::int64_t>(j) * x.Cols() + i : static_cast<std::int64_t>(i) * x.Cols() + j;
                    if (!complex) return std::complex<double>(x.Values()[idx], 0);
                    std::complex<double> z(x.CValues()[idx].Re, x.CValues()[idx].Im);
                    return op == opHerm ? std::conj(z) : z;
                };
                for (int i = 0; i < m; ++i) {
                    for (int j = 0; j < n; ++j) {
                        std::complex<double> s = 0;
                        for (int p = 0; p < k; ++p) s += at(a, op1, i, p) * at(b, op2, p, j);
                        const std::int64_t idx = static_cast<std::int64_t>(i) * n + j;
                        ASSERT_EQ(complex ? c.CValues()[idx].Re : c.Values()[idx], s.real()) << op1 << op2;
                        if (complex) {
                            ASSERT_EQ(c.CValues()[idx].Im, s.imag());
                        }
                    }
                }
            }
        }
    }
}

TEST_F(MtxMul, RefusedCallsRaiseTheirTextAndLeaveSelfAlone)
{
    TMtx a23, a32, a42, a43, a34, sq3, c23, self;
    a23.Size(2, 3);
    a32.Size(3, 2);
    a42.Size(4, 2);
    a43.Size(4, 3);
    a34.Size(3, 4);
    sq3.Size(3, 3);
    c23.Size(2, 3, true);
    a23.SetVal(1);
    a42.SetVal(1);
    struct Bad {
        TMtx* A;
        TMtx* B;
        TMtxType T1, T2;
        TMtxOperation Op1, Op2;
        const char* Message;
    };
    const Bad bad[] = {
        {&a23, &c23, mtGeneral, mtGeneral, opNone, opNone, "Mtx1.Complex <> Mtx2.Complex"},
        {&a23, &self, mtGeneral, mtGeneral, opNone, opNone, "(Self = Mtx1) or (Self = Mtx2)"},
        {&a23, &a42, mtGeneral, mtGeneral, opNone, opTran, "Mtx1.Cols <> Mtx2.Cols"},
        {&a23, &a23, mtGeneral, mtGeneral, opNone, opNone, "Mtx1.Cols <> Mtx2.Rows"},
        {&a32, &a23, mtGeneral, mtGeneral, opTran, opNone, "Mtx1.Rows <> Mtx2.Rows"},
        {&a32, &a42, mtGeneral, mtGeneral, opTran, opTran, "Mtx1.Rows <> Mtx2.Cols"},
        {&a23, &a34, mtSymmetric, mtGeneral, opNone, opNone, "Mtx1.Symmetric and not Mtx1.Quadratic"},
        {&a34, &a43, mtGeneral, mtSymmPosDef, opNone, opNone, "Mtx2.Symmetric and not Mtx2.Quadratic"},
        {&a23, &a34, mtTriangle, mtGeneral, opNone, opNone, "Mtx1.Triangle and not Mtx1.Quadratic"},
        {&a34, &a43, mtGeneral, mtTriangle, opNone, opNone, "Mtx2.Triangle and not Mtx2.Quadratic"},
        {&sq3, &a23, mtTriangle, mtGeneral, opNone, opNone, "Mtx1.Cols <> Mtx2.Rows"},
        {&a32, &sq3, mtGeneral, mtTriangle, opNone, opTran, "Mtx1.Cols <> Mtx2.Cols"},
    };
    for (const Bad& b : bad) {
        self.Size(2, 2, false);
        self.SetVal(9);
        // Self as an operand is the operand itself in the second row of the table.
        TMtx* second = b.B == &self ? &self : b.B;
        try {
            self.Mul(*b.A, *second, b.T1, b.T2, b.Op1, b.Op2);
            ADD_FAILURE() << "no raise for " << b.Message;
        } catch (const Exception& e) {
            EXPECT_STREQ(e.what(), b.Message);
        }
        EXPECT_EQ(self.Rows(), 2) << b.Message;
        EXPECT_EQ(self.Cols(), 2) << b.Message;
        EXPECT_FALSE(self.Complex()) << b.Message;
        EXPECT_EQ(self.Values()[3], 9) << b.Message;
    }
    // The complex mismatch of a transposed second operand names the same dimensions.
    TMtx z23, z42, zs;
    z23.Size(2, 3, true);
    z42.Size(4, 2, true);
    try {
        zs.Mul(z23, z42, opNone, opTran);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Mtx1.Cols <> Mtx2.Cols");
    }
    // Hermitian wording for complex operands.
    TMtx z34;
    z34.Size(3, 4, true);
    EXPECT_THROW(
        {
            try {
                zs.Mul(z23, z34, mtHermitian, mtGeneral);
            } catch (const Exception& e) {
                EXPECT_STREQ(e.what(), "Mtx1.Hermitian and not Mtx1.Quadratic");
                throw;
            }
        },
        Exception);
}

TEST_F(MtxMul, EmptyOperandEmptiesSelf)
{
    TMtx a, b, self;
    a.Size(0, 3, true);
    b.Size(3, 2, true);
    self.Size(4, 4);
    self.Mul(a, b);
    EXPECT_EQ(self.Rows(), 0);
    EXPECT_EQ(self.Cols(), 0);
    EXPECT_TRUE(self.Complex());
}

TEST_F(MtxMul, AutoMtxTypeKeepsTheImaginaryDiagonalOfANonHermitianMatrix)
{
    // Off the diagonal a(r,c) = conj(a(c,r)), but the diagonal is not real: not Hermitian, so the product must be
    // the general one (ZHEMM would drop the diagonal's imaginary parts).
    TMtx a, b, auto_, general;
    a.Size(2, 2, true);
    a.CValues()[0] = {1, 2};
    a.CValues()[1] = {3, 1};
    a.CValues()[2] = {3, -1};
    a.CValues()[3] = {4, -5};
    b.Size(2, 1, true);
    b.CValues()[0] = {1, 0};
    b.CValues()[1] = {0, 1};
    general.Mul(a, b);
    a.SetAutoMtxType(true);
    auto_.Mul(a, b);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(auto_.CValues()[i].Re, general.CValues()[i].Re);
        EXPECT_EQ(auto_.CValues()[i].Im, general.CValues()[i].Im);
    }
    EXPECT_EQ(general.CValues()[0].Re, 0);  // (1+2i)·1 + (3+i)·i = 0 + 5i
    EXPECT_EQ(general.CValues()[0].Im, 5);
}

TEST_F(MtxMul, ProductsLeaveTheControlWordAloneOnSuccessAndFailure)
{
    const Word before = Get8087CW();
    Set8087CW(0x037F);
    TMtx a, b, c, bad;
    a.Size(3, 3);
    b.Size(3, 3);
    a.SetVal(2);
    b.SetVal(1);
    c.Mul(a, b, mtSymmetric, mtGeneral);
    EXPECT_EQ(Get8087CW(), 0x037F);
    bad.Size(2, 2);
    EXPECT_THROW(c.Mul(a, bad), Exception);
    EXPECT_EQ(Get8087CW(), 0x037F);
    a.DetectMtxType(true);
    EXPECT_EQ(Get8087CW(), 0x037F);
    Set8087CW(before);
}

// ---- TensorProd -------------------------------------------------------------------------------------------------

TEST_F(TensorProd, MatchesNumpyForEveryFormTypeAndOperation)
{
    for (const VecCase& c : kVecCases) {
        SCOPED_TRACE(c.What);
        TMtx m;
        TVec v, self;
        Load(m, c.M, c.Complex);
        Load(v, c.V, c.Complex);
        Load(self, c.Y0, c.Complex);
        m.SetTriangleForm(c.Tf);
        m.SetTriangleUnit(c.Unit);
        if (c.Type != mtGeneral) PoisonUnreferenced(m, c.Type == mtTriangle);
        self.SetBlasAlpha(c.Alpha);
        self.SetBlasBeta(c.Beta);
        if (c.MatrixTimesVector) {
            self.TensorProd(m, v, c.Type);
        } else {
            self.TensorProd(v, m, c.Type, c.Op);
        }
        ASSERT_EQ(self.Length(), c.Expected.Cols);
        ExpectValues(self.Values(), c.Expected, c.Complex, c.What);
        EXPECT_EQ(self.BlasAlpha().Re, 1);
        EXPECT_EQ(self.BlasAlpha().Im, 0);
        EXPECT_EQ(self.BlasBeta().Re, 0);
    }
}

TEST_F(TensorProd, LengthChecksFollowTheOperation)
{
    TMtx m;
    m.Size(2, 3);
    for (int i = 0; i < 6; ++i) m.Values()[i] = i + 1;
    TVec v2, v3, self;
    v2.Size(2);
    v3.Size(3);
    v3.Values()[0] = 1;
    // Self := M·v needs Vec.Length = Cols.
    try {
        self.TensorProd(m, v2, mtGeneral);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Length <> Mtx.Cols");
    }
    self.TensorProd(m, v3, mtGeneral);
    ASSERT_EQ(self.Length(), 2);
    EXPECT_EQ(self.Values()[0], 1);
    EXPECT_EQ(self.Values()[1], 4);
    // The row form with a transposing operation reads Cols elements of Vec: length 3 is right, 2 is refused.
    self.TensorProd(v3, m, mtGeneral, opTran);
    EXPECT_EQ(self.Length(), 2);
    try {
        self.TensorProd(v2, m, mtGeneral, opTran);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Length <> Mtx.Cols");
    }
    try {
        self.TensorProd(v3, m, mtGeneral, opNone);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Length <> Mtx.Rows");
    }
}

TEST_F(TensorProd, RefusedTypesAndOperands)
{
    TMtx m, z;
    m.Size(2, 2);
    z.Size(2, 2, true);
    TVec v, self;
    v.Size(2);
    const struct {
        TMtxType Type;
        const char* Message;
    } types[] = {{mtHermitian, "MtxType not supported"},
                 {mtHermPosDef, "MtxType not supported"},
                 {mtBandGeneral, "MtxType not supported"},
                 {mtBandSymmPosDef, "MtxType not supported"}};
    for (const auto& t : types) {
        self.SetBlasAlpha({3, 0});
        try {
            self.TensorProd(v, m, t.Type);
            ADD_FAILURE() << t.Type;
        } catch (const Exception& e) {
            EXPECT_STREQ(e.what(), t.Message);
        }
        EXPECT_EQ(self.BlasAlpha().Re, 3) << "a refused product keeps the factors";
    }
    try {
        v.TensorProd(v, m, mtGeneral);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Vec = Self");
    }
    try {
        self.TensorProd(v, z, mtGeneral);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Complex <> Mtx.Complex");
    }
    TMtx wide;
    wide.Size(2, 3);
    try {
        self.TensorProd(v, wide, mtSymmetric);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Mtx.Symmetric and not Mtx.Quadratic");
    }
    TVec empty;
    TMtx none;
    self.TensorProd(empty, none, mtGeneral);  // both empty: Self empty
    EXPECT_EQ(self.Length(), 0);
}

// ---- The binding layer ------------------------------------------------------------------------------------------

TEST_F(BlasLayer, TypedCallsReturnOnAnIllegalArgumentAndInfoBecomesText)
{
    const std::uint64_t before = LastXerbla().count;
    double a[4] = {1, 2, 3, 4}, c[4] = {5, 5, 5, 5};
    blas::Gemm('N', 'N', 2, 2, 2, 1.0, a, 1, a, 2, 0.0, c, 2);  // LDA 1 < M
    EXPECT_EQ(LastXerbla().count, before + 1);
    EXPECT_EQ(LastXerbla().routine, "DGEMM");
    EXPECT_EQ(LastXerbla().argument, 8);
    EXPECT_EQ(c[0], 5);
    EXPECT_EQ(blas::Potrf('X', 2, a, 2), -1);
    EXPECT_EQ(LastXerbla().routine, "DPOTRF");

    TMtx m;
    EXPECT_EQ(detail::RecordInfo(m, "DPOTRF", -1, "not positive definite, order "), -1);
    EXPECT_EQ(m.Info(), -1);
    EXPECT_EQ(m.MtxError(), "DPOTRF: argument 1 illegal");
    try {
        detail::RaiseOnInfo(m, "DPOTRF", 2, "not positive definite, order ", "Chol: ");
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Chol: not positive definite, order 2");
    }
    EXPECT_EQ(m.Info(), 2);
    detail::RecordInfo(m, "DPOTRF", 0, "");
    EXPECT_EQ(m.Info(), 0);
    EXPECT_EQ(m.MtxError(), "");
}

TEST_F(BlasLayer, PooledWorkspaceGoesBackOnEveryPath)
{
    const int used = VecCacheUsed.load();
    try {
        detail::TWork<int> ipiv(7);
        detail::TWork<TCplx> work(5);
        ipiv[6] = 42;
        work[4] = C_I;
        EXPECT_EQ(VecCacheUsed.load(), used + 2);
        EXPECT_EQ(ipiv[6], 42);
        ERaise("failure between the calls");
    } catch (const Exception&) {
    }
    EXPECT_EQ(VecCacheUsed.load(), used);
}

// Areas beyond the pool's element limit have blocks of their own: small ones as they come, from 4 MB on starting on
// a 2 MB boundary inside a longer block. Every byte of each area is written while the others live (a wrong start
// or end shows as an overlap or, under the sanitizer, an overflow), and each goes back through FreeWork.
TEST_F(BlasLayer, OwnWorkAreasHoldTheirWholeLengthAndLargeOnesStartOnHugePageBoundaries)
{
    constexpr std::size_t kHuge = std::size_t{1} << 21;
    const std::size_t sizes[] = {1, 8, 8200, 2 * kHuge - 8, 2 * kHuge, 2 * kHuge + 8, 3 * kHuge + 24, 5 * kHuge};
    std::vector<std::pair<double*, std::size_t>> areas;
    for (std::size_t bytes : sizes) {
        double* p = detail::AllocateWork(bytes);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % alignof(std::max_align_t), 0u) << bytes;
        if (bytes >= 2 * kHuge) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % kHuge, 0u) << bytes;
        }
        std::memset(p, static_cast<int>(areas.size() + 1), bytes);
        areas.emplace_back(p, bytes);
    }
    for (std::size_t k = 0; k < areas.size(); ++k) {
        const auto* b = reinterpret_cast<const unsigned char*>(areas[k].first);
        const std::size_t n = areas[k].second;
        EXPECT_TRUE(b[0] == k + 1 && b[n / 2] == k + 1 && b[n - 1] == k + 1) << n;
        detail::FreeWork(areas[k].first, n);
    }
    detail::FreeWork(nullptr, 5 * kHuge);

    // The typed area of a large count, as the solvers take it, used end to end on every call.
    const std::int64_t count = 5 * static_cast<std::int64_t>(kHuge) / sizeof(double) + 3;
    for (int call = 0; call < 3; ++call) {
        detail::TWork<double> work(count);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(work.data()) % kHuge, 0u);
        work[0] = call;
        work[count - 1] = -call;
        EXPECT_EQ(work[0] + work[count - 1], 0);
    }
}
