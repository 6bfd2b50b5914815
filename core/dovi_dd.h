// Double-double arithmetic for the real scalar functions of Dovi387 whose Double results need a few bits more
// than a Double's intermediates give, without the x87's slow transcendental instructions: a value is the
// unevaluated sum hi + lo of two Doubles. The exponential and the logarithm here work on such values; their
// tables are computed at compile time in __float128, so each entry is exact to the last bit of both halves.
// No fused multiply-add: products are split (Veltkamp, Dekker), so results do not depend on the target.
#pragma once

#include <bit>
#include <cstdint>

namespace tarnel::dovi {

struct DD {
    double hi, lo;
};

// a + b = s + e exactly (Knuth's TwoSum).
inline DD TwoSum(double a, double b)
{
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// a + b = s + e exactly, for |a| ≥ |b| or a = 0 (Dekker).
inline DD FastTwoSum(double a, double b)
{
    const double s = a + b;
    return {s, b - (s - a)};
}

// a = hi + lo with hi of 26 significant bits and lo of 27 (Veltkamp), for |a| < 2^996.
inline DD Split(double a)
{
    const double c = 134217729.0 * a;  // 2^27 + 1
    const double h = c - (c - a);
    return {h, a - h};
}

// a·b = p + e exactly (Dekker), for |a|, |b| < 2^996 and a product far from underflow.
inline DD TwoProd(double a, double b)
{
    const double p = a * b;
    const DD x = Split(a), y = Split(b);
    return {p, ((x.hi * y.hi - p) + x.hi * y.lo + x.lo * y.hi) + x.lo * y.lo};
}

// 2^m as a Double, for -1022 ≤ m ≤ 1023.
inline double Pow2(int m)
{
    return std::bit_cast<double>(static_cast<std::uint64_t>(m + 1023) << 52);
}

namespace ddtables {

using Quad = __float128;

constexpr DD Halves(Quad v)
{
    const double hi = static_cast<double>(v);
    return {hi, static_cast<double>(v - hi)};
}

// A Double with the low bits of its 53-bit mantissa cleared, leaving `bits` significant bits.
constexpr double Truncated(double v, int bits)
{
    const std::uint64_t mask = ~((std::uint64_t{1} << (53 - bits)) - 1);
    return std::bit_cast<double>(std::bit_cast<std::uint64_t>(v) & mask);
}

// ln 2 = 2 atanh(1/3); ln c = 2 atanh((c - 1)/(c + 1)).
constexpr Quad Atanh2(Quad s)
{
    Quad sum = 0, p = 2 * s;
    const Quad s2 = s * s;
    for (int k = 0; k < 60; ++k) {
        sum += p / (2 * k + 1);
        p *= s2;
    }
    return sum;
}

constexpr Quad kLn2 = Atanh2(Quad(1) / 3);

// e^r for |r| ≤ ln 2: the Taylor series to far below the last bit of a __float128.
constexpr Quad ExpSeries(Quad r)
{
    Quad sum = 1, term = 1;
    for (int n = 1; n < 45; ++n) {
        term = term * r / n;
        sum += term;
    }
    return sum;
}

}  // namespace ddtables

// ---- e^y --------------------------------------------------------------------------------------------------

constexpr int kExpSteps = 64;  // y = k·ln2/64 + r, |r| ≤ ln2/128
constexpr double kExpInvStep = static_cast<double>(kExpSteps / ddtables::kLn2);
// ln2/64 split so that k·kExpStepHi is exact for |k| < 2^21 (|y| < 22,700).
constexpr double kExpStepHi = ddtables::Truncated(static_cast<double>(ddtables::kLn2 / kExpSteps), 32);
constexpr double kExpStepLo = static_cast<double>(ddtables::kLn2 / kExpSteps - kExpStepHi);

// 2^(j/64) for j = 0..63.
constexpr auto kExp2Table = [] {
    struct {
        DD v[kExpSteps];
    } t{};
    for (int j = 0; j < kExpSteps; ++j) t.v[j] = ddtables::Halves(ddtables::ExpSeries(j * ddtables::kLn2 / kExpSteps));
    return t;
}();

// e^y = 2^scale·(hi + lo), hi in [1, 2), for y = yh + yl with |yh| < 22,700 and |yl| ≤ ulp(yh). The relative
// error is below 2^-59 (2^-59.6 the largest seen against quadruple precision): the reduced argument
// r = y - k·ln2/64 (|r| ≤ 0.0055) and its product with the table entry are rounded Doubles, about 2^-61 each; the
// table, the series and the other steps are exact or far smaller.
struct ExpParts {
    double hi, lo;
    int scale;
};

inline ExpParts ExpDD(double yh, double yl)
{
    const double t = yh * kExpInvStep + 0x1.8p52;  // k, the nearest integer, in the low bits of t
    const double k = t - 0x1.8p52;
    const int ki = static_cast<int>(std::bit_cast<std::uint64_t>(t));
    const double rh = yh - k * kExpStepHi;  // exact (Sterbenz)
    const double rl = yl - k * kExpStepLo;
    const double r = rh + rl;
    // e^r - 1 = rh + q, q = rl + r²/2 + ... + r^6/720; r^7/7! is below 2^-65.
    const double q = rl + r * r * (0.5 + r * (1.0 / 6 + r * (1.0 / 24 + r * (1.0 / 120 + r * (1.0 / 720)))));
    const DD& T = kExp2Table.v[ki & (kExpSteps - 1)];
    return {T.hi, T.hi * rh + (T.hi * q + T.lo * (1 + rh)), ki >> 6};
}

// ---- ln x -------------------------------------------------------------------------------------------------

constexpr int kLnSteps = 128;  // m in [1, 2) against the centre c_j = 1 + (j + ½)/128 of its interval
constexpr double kLn2Hi = ddtables::Truncated(static_cast<double>(ddtables::kLn2), 40);  // e·kLn2Hi exact
constexpr double kLn2Lo = static_cast<double>(ddtables::kLn2 - kLn2Hi);

struct LnEntry {
    double inverse;  // 1/c_j rounded
    DD ln;           // ln c_j
};

constexpr auto kLnTable = [] {
    struct {
        LnEntry v[kLnSteps];
    } t{};
    for (int j = 0; j < kLnSteps; ++j) {
        const ddtables::Quad c = 1 + (j + ddtables::Quad(0.5)) / kLnSteps;
        t.v[j] = {static_cast<double>(1 / c), ddtables::Halves(ddtables::Atanh2((c - 1) / (c + 1)))};
    }
    return t;
}();

// ln x = hi + lo for a positive normal Double, to about 2^-68 of ln x, or 2^-68 absolute next to x = 1 where ln x
// vanishes: x = 2^e·m, m = c_j·(1 + r), and ln x = e·ln 2 + ln c_j + ln(1 + r). The quotient r = (m - c_j)/c_j is
// carried as rh + rl: c_j has 9 significant bits, so the halves of rh times c_j are exact and the residual
// m - c_j - rh·c_j is formed without error.
inline DD LnDD(double x)
{
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
    const int e = static_cast<int>(bits >> 52) - 1023;
    const int j = static_cast<int>(bits >> 45) & (kLnSteps - 1);
    const double m = std::bit_cast<double>((bits & 0x000FFFFFFFFFFFFFu) | 0x3FF0000000000000u);
    const double c = 1 + (j + 0.5) / kLnSteps;  // exact
    const LnEntry& entry = kLnTable.v[j];
    const double f = m - c;  // exact, |f| ≤ 1/256
    const double rh = f * entry.inverse;
    const double a = std::bit_cast<double>(std::bit_cast<std::uint64_t>(rh) & ~((std::uint64_t{1} << 27) - 1));
    const double rl = ((f - a * c) - (rh - a) * c) * entry.inverse;
    // ln(1 + r) - rh for |r| < 2^-8: rl(1 - rh) - r²/2 + r³/3 - ... - r^8/8; r^9/9 is below 2^-75.
    const double tail =
        rl - rl * rh +
        rh * rh * (-0.5 + rh * (1.0 / 3 + rh * (-0.25 + rh * (0.2 + rh * (-1.0 / 6 + rh * (1.0 / 7 + rh * -0.125))))));
    const DD s = TwoSum(e * kLn2Hi, entry.ln.hi);
    const DD u = TwoSum(s.hi, rh);
    return TwoSum(u.hi, u.lo + (s.lo + (entry.ln.lo + e * kLn2Lo + tail)));
}

}  // namespace tarnel::dovi
