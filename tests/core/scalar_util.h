// Comparisons shared by the tests of Dovi387's scalar functions: bit-for-bit equality (elem_util.h), the distance
// in units of the last place, and complex values within a tolerance.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "Feldrin.h"
#include "elem_util.h"

namespace scalartest {

using elemtest::SameDouble;
using tarnel::TCplx;

inline bool SameCplx(const TCplx& a, const TCplx& b)
{
    return SameDouble(a.Re, b.Re) && SameDouble(a.Im, b.Im);
}

// Units in the last place between two Doubles: the count of Doubles between them (0 for two NaNs).
inline double UlpDistance(double a, double b)
{
    if (std::isnan(a) || std::isnan(b)) return (std::isnan(a) && std::isnan(b)) ? 0 : INFINITY;
    auto ordered = [](double x) {
        const std::int64_t i = std::bit_cast<std::int64_t>(x);
        return __int128(i < 0 ? -(i & INT64_MAX) : i);
    };
    const __int128 d = ordered(a) - ordered(b);
    return double(d < 0 ? -d : d);
}

// Each part within rel·scale of the reference; equal parts (infinities too) always pass.
inline ::testing::AssertionResult Near(const TCplx& got, const TCplx& want, double rel, double scale)
{
    const double tol = rel * scale;
    if (got.Re == want.Re && got.Im == want.Im) return ::testing::AssertionSuccess();
    if (std::fabs(got.Re - want.Re) <= tol && std::fabs(got.Im - want.Im) <= tol) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << got.Re << ", " << got.Im << ") against (" << want.Re << ", "
                                         << want.Im << "), tolerance " << tol;
}

}  // namespace scalartest
