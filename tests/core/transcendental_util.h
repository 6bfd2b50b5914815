// Shared by the tests of the exponentials, logarithms, powers and trigonometric functions of vectors and matrices:
// the golden tables (tests/data/gen_transcendental_golden.py) and the comparisons their tolerances need.
#pragma once

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "elem_util.h"
// clang-format off
#include "transcendental_golden.inc"
// clang-format on

namespace trtest {

using namespace elemtest;

// Real Doubles within Ulps units in the last place of the expected value (a subnormal's ulp is the smallest
// subnormal); NaN, infinities and the sign of a zero exact.
inline void ExpectUlps(const std::vector<double>& Got, const std::vector<double>& Expected, double Ulps,
                       const std::string& Where)
{
    ASSERT_EQ(Got.size(), Expected.size()) << Where;
    for (std::size_t i = 0; i < Got.size(); ++i) {
        const double e = Expected[i], g = Got[i];
        if (!std::isfinite(e) || e == 0 || Ulps == 0) {
            EXPECT_TRUE(SameDouble(g, e)) << Where << ": Double " << i << " is " << g << ", expected " << e;
            continue;
        }
        const double ulp = std::nextafter(std::fabs(e), INFINITY) - std::fabs(e);
        EXPECT_LE(std::fabs(g - e), Ulps * ulp) << Where << ": Double " << i << " is " << g << ", expected " << e;
    }
}

// Complex elements within Rel of the expected element's magnitude (at least the smallest normal Double); parts
// that are NaN or infinite in the expected element must be the same, and with ExactZeros exact zeros too (the sign
// included).
inline void ExpectNearMagnitude(const std::vector<double>& Got, const std::vector<double>& Expected, double Rel,
                                const std::string& Where, bool ExactZeros = true)
{
    ASSERT_EQ(Got.size(), Expected.size()) << Where;
    for (std::size_t i = 0; i + 1 < Got.size(); i += 2) {
        const TCplx e = Cplx(Expected[i], Expected[i + 1]), g = Cplx(Got[i], Got[i + 1]);
        const std::string at = Where + ": element " + std::to_string(i / 2);
        bool special = false;
        for (int p = 0; p < 2; ++p) {
            const double ep = p ? e.Im : e.Re, gp = p ? g.Im : g.Re;
            if (!std::isfinite(ep) || (ExactZeros && ep == 0)) {
                special = true;
                EXPECT_TRUE(SameDouble(gp, ep)) << at << (p ? " Im " : " Re ") << gp << ", expected " << ep;
            }
        }
        if (special && !(std::isfinite(e.Re) && std::isfinite(e.Im))) continue;
        EXPECT_LE(CAbs(CSub(g, e)), Rel * std::fmax(2.2250738585072014e-308, CAbs(e)))
            << at << " is " << g.Re << " + " << g.Im << "i, expected " << e.Re << " + " << e.Im << "i";
    }
}

// Compares a result with a golden table: real data in ulps, complex ones relative to the magnitude.
inline void ExpectGolden(const TVecs& V, bool Complex, const std::vector<double>& Expected, double Tol,
                         const std::string& Where)
{
    EXPECT_EQ(V.Complex(), Complex) << Where;
    if (Complex)
        ExpectNearMagnitude(Doubles(V), Expected, Tol, Where);
    else
        ExpectUlps(Doubles(V), Expected, Tol, Where);
}

// The same Doubles bit for bit, any NaN matching any NaN.
inline void ExpectSameDoubles(const std::vector<double>& Got, const std::vector<double>& Expected,
                              const std::string& Where)
{
    ASSERT_EQ(Got.size(), Expected.size()) << Where;
    for (std::size_t i = 0; i < Got.size(); ++i)
        EXPECT_TRUE(SameDouble(Got[i], Expected[i]))
            << Where << ": Double " << i << " is " << Got[i] << ", expected " << Expected[i];
}

// The Doubles of V[Index .. Index+Len-1].
inline std::vector<double> Part(const TVecs& V, int Index, int Len)
{
    const int w = V.Complex() ? 2 : 1;
    return std::vector<double>(V.Values() + Index * w, V.Values() + (Index + Len) * w);
}

}  // namespace trtest
