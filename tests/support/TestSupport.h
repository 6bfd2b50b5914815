// What every library test suite shares: the check of an expected message, the matrices of the golden tables, and
// the fixture that finds the vector and matrix pools with nothing handed out before and after each test. Every
// tarnel_add_gtest suite reaches it as "TestSupport.h".
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "Feldrin.h"

namespace testsupport {

// Expects Fn to raise a tarnel::Exception with exactly this message.
inline void ExpectRaise(const std::function<void()>& Fn, const std::string& Message, const std::string& Where = "")
{
    try {
        Fn();
        ADD_FAILURE() << Where << ": no exception, expected \"" << Message << "\"";
    } catch (const tarnel::Exception& e) {
        EXPECT_EQ(std::string(e.what()), Message) << Where;
    }
}

// A matrix of a golden table (tests/data/*.inc): Rows × Cols, row by row, (Re, Im) pairs when complex.
struct GoldMtx {
    int Rows;
    int Cols;
    std::vector<double> V;
};

// M := the Rows × Cols matrix of these Doubles (row by row, (Re, Im) pairs when complex).
inline void Load(tarnel::TMtx& M, int Rows, int Cols, bool Complex, const std::vector<double>& V)
{
    M.Size(Rows, Cols, Complex);
    ASSERT_EQ(V.size(), static_cast<std::size_t>(Rows) * Cols * (Complex ? 2 : 1));
    std::copy(V.begin(), V.end(), M.Values());
}

inline void Load(tarnel::TMtx& M, const GoldMtx& G, bool Complex)
{
    Load(M, G.Rows, G.Cols, Complex, G.V);
}

// M := a Rows × Cols matrix of uniform values in [-1, 1) from the seed (well conditioned with high probability).
inline void Random(tarnel::TMtx& M, int Rows, int Cols, bool Complex, unsigned Seed)
{
    M.Size(Rows, Cols, Complex);
    std::mt19937_64 gen(Seed);
    std::uniform_real_distribution<double> u(-1, 1);
    for (std::int64_t k = 0; k < static_cast<std::int64_t>(Rows) * Cols * (Complex ? 2 : 1); ++k)
        M.Values()[k] = u(gen);
}

// Each test starts with no pooled vector or matrix handed out and must leave the pools so: a member (or a test)
// that loses a pooled temporary fails the test that lost it. Fixtures that restore settings derive from this one
// and call its TearDown.
class PoolCheck : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(tarnel::VecCacheUsed.load(), 0) << "a pooled vector was handed out before this test";
        ASSERT_EQ(tarnel::MtxCacheUsed.load(), 0) << "a pooled matrix was handed out before this test";
    }
    void TearDown() override
    {
        EXPECT_EQ(tarnel::VecCacheUsed.load(), 0) << "a pooled vector was not given back";
        EXPECT_EQ(tarnel::MtxCacheUsed.load(), 0) << "a pooled matrix was not given back";
    }
};

}  // namespace testsupport
