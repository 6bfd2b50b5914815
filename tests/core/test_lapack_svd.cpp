// TMtx.SVD against numpy.linalg.svd (tests/data/gen_lapack_eig_golden.py): the singular values of both forms, the
// decomposition's shapes, orthonormal factors and reconstruction Self = U·diag(S)·Vᵀ for every combination of given
// outputs, the complex workspaces (clean under the sanitizers), the checks, MtxError and the control word.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "TestSupport.h"
#include "eig_util.h"
#include "tests/platform/GoldenInput.h"

using namespace tarnel;
using namespace testsupport;
using namespace eigtest;

namespace {

struct SvdCase {
    const char* What;
    bool Complex;
    GoldMtx A;  // the matrix, or only its size when Seed is not 0
    unsigned long long Seed;
    std::vector<double> S;
};

const SvdCase kSvdCases[] = {
#include "svd_golden.inc"
};

// Singular values relative to the largest; 1e-13 holds up to the 200 × 100 rows.
constexpr double kTol = 1e-13;

class Svd : public PoolCheck {
protected:
    void SetUp() override
    {
        PoolCheck::SetUp();
        Set8087CW(0x037F);
    }
};

void LoadCase(TMtx& A, const SvdCase& C)
{
    if (C.Seed == 0) {
        Load(A, C.A, C.Complex);
        return;
    }
    const std::vector<double> v = golden::Lcg(C.Seed, C.A.Rows * C.A.Cols * (C.Complex ? 2 : 1));
    Load(A, C.A.Rows, C.A.Cols, C.Complex, v);
}

void ExpectValues(const TVec& S, const SvdCase& C, const std::string& What)
{
    ASSERT_EQ(S.Length(), static_cast<int>(C.S.size())) << What;
    EXPECT_FALSE(S.Complex()) << What;
    for (int k = 0; k < S.Length(); ++k) EXPECT_NEAR(S.Values()[k], C.S[k], kTol * C.S[0]) << What << " " << k;
}

TEST_F(Svd, SingularValuesAgainstNumpy)
{
    for (const SvdCase& c : kSvdCases) {
        SCOPED_TRACE(c.What);
        TMtx a;
        LoadCase(a, c);
        TVec s;
        a.SetLapackResult(9, "stale");
        Set8087CW(0x037F);
        a.SVD(s);
        EXPECT_EQ(Get8087CW(), 0x037F) << "the values alone leave the control word";
        EXPECT_EQ(a.Info(), 0);
        EXPECT_EQ(a.MtxError(), "");
        ExpectValues(s, c, "SVD(S)");
        TVec s2;
        a.SVD(nullptr, s2, nullptr, false);
        EXPECT_EQ(Get8087CW(), Tarnel8087CW);
        ExpectValues(s2, c, "SVD(nil, S, nil)");
    }
}

// Every combination of given outputs on every small case: the shapes, UᴴU = I, VᴴV = I, U·diag(S)·Vᵀ = Self with
// both, and an output computed alone equal to the same output computed with the other.
TEST_F(Svd, DecompositionsInEveryForm)
{
    for (const SvdCase& c : kSvdCases) {
        TMtx a;
        LoadCase(a, c);
        const int m = a.Rows(), n = a.Cols(), k = std::min(m, n);
        if (static_cast<std::int64_t>(m) * n > 2000) continue;
        for (bool economy : {true, false}) {
            SCOPED_TRACE(std::string(c.What) + (economy ? " economy" : " full"));
            TMtx u, v;
            TVec s;
            Set8087CW(0x037F);
            a.SVD(&u, s, &v, economy);
            EXPECT_EQ(Get8087CW(), Tarnel8087CW);
            ASSERT_EQ(a.Info(), 0);
            ExpectValues(s, c, "S");
            const int ku = economy ? k : m, kv = economy ? k : n;
            ASSERT_EQ(u.Rows(), m);
            ASSERT_EQ(u.Cols(), ku);
            ASSERT_EQ(v.Rows(), n);
            ASSERT_EQ(v.Cols(), kv);
            EXPECT_EQ(u.Complex(), c.Complex);
            EXPECT_EQ(v.Complex(), c.Complex);
            const CMat U = Of(u), V = Of(v), A = Of(a);
            EXPECT_LE(MaxDiff(Mul(Transposed(U, true), U), Identity(ku)), kTol * 10) << "U";
            EXPECT_LE(MaxDiff(Mul(Transposed(V, true), V), Identity(kv)), kTol * 10) << "V";
            // The first k columns carry S.
            CMat uk = Zeros(m, k), vk = Zeros(n, k);
            for (int i = 0; i < m; ++i)
                for (int j = 0; j < k; ++j) uk(i, j) = U(i, j);
            for (int i = 0; i < n; ++i)
                for (int j = 0; j < k; ++j) vk(i, j) = V(i, j);
            std::vector<Z> sv(s.Values(), s.Values() + k);
            EXPECT_LE(MaxDiff(Mul(ScaledColumns(uk, sv), Transposed(vk, false)), A), kTol * 10 * c.S[0])
                << "U·diag(S)·Vᵀ";

            TMtx only;
            TVec s2;
            a.SVD(&only, s2, nullptr, economy);
            EXPECT_LE(MaxDiff(Of(only), U), 0) << "U alone";
            a.SVD(nullptr, s2, &only, economy);
            EXPECT_LE(MaxDiff(Of(only), V), 0) << "V alone";
        }
    }
}

TEST_F(Svd, ChecksEmptyMatricesAndMtxError)
{
    TMtx a, u, e;
    a.SetIt(2, 2, false, {3, 0, 0, -4});
    TVec s;
    ExpectRaise([&] { a.SVD(&a, s, &u); }, "U = Self");
    ExpectRaise([&] { a.SVD(&u, s, &a); }, "V = Self");
    ExpectRaise([&] { a.SVD(&u, s, &u); }, "U = V");
    EXPECT_EQ(Get8087CW(), Tarnel8087CW);
    EXPECT_EQ(s.Length(), 0);

    // An empty Self leaves S and MtxError alone.
    s.SetIt(false, {7});
    e.SetLapackResult(2, "old");
    e.SVD(s);
    e.SVD(&u, s, nullptr);
    EXPECT_EQ(s.Length(), 1);
    EXPECT_EQ(s.Values()[0], 7);
    EXPECT_EQ(e.MtxError(), "old");

    // The economy decomposition of a diagonal matrix with a negative entry: S = (4, 3), and U·diag(S)·Vᵀ = Self.
    TMtx v;
    a.SVD(&u, s, &v, true);
    EXPECT_EQ(s.Values()[0], 4);
    EXPECT_EQ(s.Values()[1], 3);
}

}  // namespace
