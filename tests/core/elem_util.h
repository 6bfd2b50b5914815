// Helpers shared by the tests of the vector element-wise families: building vectors from Doubles, exact and
// toleranced comparison (signed zeros and NaN included) and overlapping views of one buffer; expected messages and
// the pool check come from TestSupport.h.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "TestSupport.h"

namespace elemtest {

using namespace tarnel;
using namespace testsupport;

// Every test starts and ends with no pooled object handed out: an operation that loses a temporary shows here.
class ElemTest : public PoolCheck {
protected:
    void TearDown() override
    {
        PoolCheck::TearDown();
        SetVecConditionCheck(true);
    }
};

inline void Set(TVecs& V, bool Complex, const std::vector<double>& D)
{
    V.SetIt(Complex, D);
}

inline std::vector<double> Doubles(const TVecs& V)
{
    const std::size_t n = static_cast<std::size_t>(V.Length()) * (V.Complex() ? 2 : 1);
    return n ? std::vector<double>(V.Values(), V.Values() + n) : std::vector<double>();
}

// The same Double bit for bit (so -0 differs from +0), with any NaN equal to any NaN.
inline bool SameDouble(double A, double B)
{
    if (std::isnan(A) || std::isnan(B)) return std::isnan(A) && std::isnan(B);
    return std::memcmp(&A, &B, sizeof A) == 0;
}

inline void ExpectSame(const TVecs& V, bool Complex, const std::vector<double>& Expected, const std::string& Where = "")
{
    EXPECT_EQ(V.Complex(), Complex) << Where;
    const std::vector<double> got = Doubles(V);
    ASSERT_EQ(got.size(), Expected.size()) << Where;
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_TRUE(SameDouble(got[i], Expected[i]))
            << Where << ": Double " << i << " is " << got[i] << ", expected " << Expected[i];
}

// Within Rel relative to the expected value (absolute below 1), signs of zeros not compared.
inline void ExpectNear(const TVecs& V, bool Complex, const std::vector<double>& Expected, double Rel,
                       const std::string& Where = "")
{
    EXPECT_EQ(V.Complex(), Complex) << Where;
    const std::vector<double> got = Doubles(V);
    ASSERT_EQ(got.size(), Expected.size()) << Where;
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (std::isinf(Expected[i]) || std::isnan(Expected[i])) {
            EXPECT_TRUE(SameDouble(got[i], Expected[i])) << Where << ": Double " << i;
            continue;
        }
        EXPECT_LE(std::fabs(got[i] - Expected[i]), Rel * std::fmax(1.0, std::fabs(Expected[i])))
            << Where << ": Double " << i << " is " << got[i] << ", expected " << Expected[i];
    }
}

// A piece of Doubles values and a vector of the given kind viewing From .. From+Len of it (Adopt): two such
// vectors on one buffer are overlapping views.
inline void View(TVecs& V, std::vector<double>& Buffer, int From, int Len, bool Complex)
{
    V.Adopt(Buffer.data() + From, static_cast<std::int64_t>(Buffer.size()) - From, Len, Complex);
}

inline std::vector<double> Ramp(int N, double Start = 0)
{
    std::vector<double> r(static_cast<std::size_t>(N));
    for (int i = 0; i < N; ++i) r[static_cast<std::size_t>(i)] = Start + i;
    return r;
}

}  // namespace elemtest
