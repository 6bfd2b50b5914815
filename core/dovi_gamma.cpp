// Gamma, log-gamma, the factorial and the order-zero Bessel functions of Dovi387, each rounded once from a wider
// intermediate. The real gamma and log-gamma keep the thresholds of their classic extended-precision form (Stirling's
// formula beyond 13, reflection below -13, respectively -34, the small-argument form within 1/32 of zero, a fit on
// [2, 3) between), with approximations fitted by tests/data/gen_gamma_coefficients.py: one polynomial for Γ on
// [2, 3) and one for lnΓ, each good to a unit of long double, the reciprocal gamma's Taylor series for the small
// arguments, and the exact Stirling coefficients of lnΓ. Stirling's formula, its logarithm and the exponential that
// turns it into Γ run in double-double (core/dovi_dd.h), which keeps lnΓ up to Γ's overflow to 2^-58 without the
// x87's slow transcendental instructions; the recurrence, the fits and the complex functions run in long double.
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/Dovi387.h"
#include "core/dovi_dd.h"
#include "core/dovi_wide.h"

namespace tarnel {

namespace {

using namespace dovi;

constexpr Wide kLnSqrt2Pi = 0.918938533204672741780329736405617639861L;
constexpr Wide kLnPi = 1.14472988584940017414342735135305871165L;
constexpr double kSmall = 0.03125;

constexpr Wide kGamma[] = {
    -2.198325796705319394708233e-9L, 2.857713203989583401920781e-8L,  -1.810683060939231415169495e-7L,
    7.549731220683159804533390e-7L,  -2.372630753482678684193372e-6L, 6.137729529413258580570048e-6L,
    -1.398289014750500210568314e-5L, 2.959260559684619120838684e-5L,  -6.031188468043089060991220e-5L,
    1.214563236661578064162429e-4L,  -2.408623091754878393281500e-4L, 4.903654744156026006531428e-4L,
    -9.195685745798340461157179e-4L, 0.002103932403768456693444040L,  -0.002852645694327165967550420L,
    0.01115404570544369286413410L,   -2.669820678437921021335611e-4L, 0.07424901075347097399428422L,
    0.08157691924708752277005372L,   0.4118403304264396752499068L,    0.4227843350984671395145345L,
    0.9999999999999999999998750L,
};
constexpr Wide kLogGamma[] = {
    8.178135535597943552600243e-10L, -9.919173921619872259329386e-9L, 5.895658178832619823205308e-8L,
    -2.330819075841579720796778e-7L, 7.070137265614706451840064e-7L,  -1.810309200138538942533953e-6L,
    4.206000537692210440886222e-6L,  -9.340203617808017520576362e-6L, 2.046088210104291656940757e-5L,
    -4.490918714539500898912952e-5L, 9.945261266843184150117457e-5L,  -2.231536738792819800331846e-4L,
    5.096693434766049552478193e-4L,  -0.001192753889447550521511415L, 0.002890510328810463927004674L,
    -0.007385551028562058972349115L, 0.02058080842778057220021167L,   -0.06735230105319802024168213L,
    0.3224670334241132176747782L,    0.4227843350984671393941893L,
};
constexpr Wide kRecipGamma[] = {
    -1.250493482142670657345359e-6L, -2.013485478078823865568939e-5L, 1.280502823881161861531986e-4L,
    -2.152416741149509728157300e-4L, -0.001165167591859065112113971L, 0.007218943246663099542395010L,
    -0.009621971527876973562114922L, -0.04219773455554433674820830L,  0.1665386113822914895017008L,
    -0.04200263503409523552900393L,  -0.6558780715202538810770195L,   0.5772156649015328606065121L,
    1.000000000000000000000000L,
};
constexpr Wide kStirling[] = {
    -1.392432216905901116427432L,    0.1796443723688305731649385L,    -0.02955065359477124183006536L,
    0.006410256410256410256410256L,  -0.001917526917526917526917527L, 8.417508417508417508417508e-4L,
    -5.952380952380952380952381e-4L, 7.936507936507936507936508e-4L,  -0.002777777777777777777777778L,
    0.08333333333333333333333333L,
};

// The polynomial with coefficients c (highest degree first) at x by Estrin's scheme: pairs, then pairs of pairs
// in x², x⁴, ..., so the dependent multiplications number about log2 N instead of N.
template <std::size_t N>
Wide Poly(const Wide (&c)[N], Wide x)
{
    Wide v[N];
#pragma GCC unroll 32
    for (std::size_t i = 0; i < N; ++i) v[i] = c[N - 1 - i];
    std::size_t n = N;
#pragma GCC unroll 8
    while (n > 1) {
#pragma GCC unroll 16
        for (std::size_t i = 0; i < n / 2; ++i) v[i] = v[2 * i] + v[2 * i + 1] * x;
        if (n % 2) v[n / 2] = v[n - 1];
        n = (n + 1) / 2;
        x *= x;
    }
    return v[0];
}

// ln v for a finite v > 0 in long double: ln(h + l) = ln h + l/h with h = v rounded to a Double and the logarithm
// of h in double-double (|l/h| ≤ 2^-53, so the next term is below 2^-107). Outside the Doubles' normal range
// (the product of the recurrence next to a pole, the reciprocal of a subnormal argument) 2^e is taken out first.
Wide LogWide(Wide v)
{
    int e = 0;
    if (!(v >= 0x1p-1000L && v <= 0x1p1000L)) v = std::frexp(v, &e);
    const double h = static_cast<double>(v);
    const DD l = LnDD(h);
    return e * kLn2Wide + (Wide(l.hi) + (l.lo + static_cast<double>(v - h) / h));
}

// (pi·d)^(2k+1)/(2k+1)! for k = 12..0 as a series in d: sin(pi·d) for |d| ≤ ½.
constexpr auto kSinPiSeries = [] {
    struct {
        Wide c[13];
    } t{};
    Wide f = 1, p = 3.14159265358979323846264338327950288L;
    const Wide pi2 = p * p;
    for (int k = 0; k <= 12; ++k) {
        if (k > 0) {
            f *= (2 * k) * (2 * k + 1);
            p *= pi2;
        }
        t.c[12 - k] = (k % 2 ? -p : p) / f;
    }
    return t;
}();

Wide SinPi(Wide d)
{
    return d * Poly(kSinPiSeries.c, d * d);
}

// lnΓ(x) for 13 ≤ x ≤ MAXLGM in double-double: x(ln x - 1) - ½ln x + ln sqrt(2pi) + S(x), with Stirling's series
// S(x) = Σ c_k/x^(2k-1) (below 0.0065) in double; beyond 1e10 it is below the last digit. The error is about 2^-68
// of x·ln x (the logarithm) plus 2^-60 (the series): below 2^-58 absolute up to Γ's overflow at 171.6, where it is
// the relative error of e^lnΓ. The product is formed exactly with x scaled by 2^-512 (its split would overflow
// beyond 2^996).
DD StirlingLn(double x)
{
    constexpr double kLnSqrt2PiHi = 0x1.d67f1c864beb5p-1, kLnSqrt2PiLo = -0x1.65b5a1b7ff5dfp-55;
    const DD l = LnDD(x);
    const double m = l.hi - 1;  // exact: l.hi ≥ ln 13
    DD p = TwoProd(x * 0x1p-512, m * 0x1p512);
    p.lo += x * l.lo;
    const DD s = TwoSum(p.hi, -0.5 * l.hi);
    const DD t = FastTwoSum(s.hi, kLnSqrt2PiHi);
    double series = 0;
    if (x <= 1e10) {
        const double w = 1 / x, w2 = w * w, w4 = w2 * w2, w8 = w4 * w4;
        const auto c = [](int k) { return static_cast<double>(kStirling[9 - k]); };
        const double a = c(0) + w2 * c(1), b = c(2) + w2 * c(3), d = c(4) + w2 * c(5), f = c(6) + w2 * c(7),
                     g = c(8) + w2 * c(9);
        series = w * ((a + w4 * b) + w8 * ((d + w4 * f) + w8 * g));
    }
    const DD u = FastTwoSum(t.hi, series);
    return {u.hi, u.lo + (s.lo + t.lo + p.lo - 0.5 * l.lo + kLnSqrt2PiLo)};
}

// e^(y.hi + y.lo) as a long double (the exponent range of Γ's reflection goes beyond a Double's).
Wide ExpWide(const DD& y)
{
    const ExpParts e = ExpDD(y.hi, y.lo);
    return (Wide(e.hi) + e.lo) * Wide(Pow2(e.scale / 2)) * Wide(Pow2(e.scale - e.scale / 2));
}

// Γ(x) = (num/den)·Γ(x0) with x0 in [2, 3) by the recurrence, or (num/den)/(x0·(1/Γ(1 + x0))) when x0 lands within
// 1/32 of zero (small set). The quotient is kept apart, so the steps multiply and one division ends them.
struct Reduced {
    Wide num = 1, den = 1, x;
    bool small = false;
};

// x·(x + 1)···(x + n - 1) in long double, as two interleaved products.
Wide RisingProduct(Wide x, int n)
{
    Wide a = 1, b = 1;
    int k = 0;
    for (; k + 1 < n; k += 2) {
        a *= x + k;
        b *= x + (k + 1);
    }
    if (k < n) a *= x + k;
    return a * b;
}

// The steps counted in advance: down from x ≥ 3 by floor(x) - 2, up from x < 2 by 2 - floor(x), unless a step
// lands within 1/32 of zero first, next to a non-positive integer i0 (every x + k is exact in long double).
Reduced Reduce(double x)
{
    Reduced r;
    if (x >= 3) {
        const int n = static_cast<int>(x) - 2;
        r.x = Wide(x) - n;
        r.num = RisingProduct(r.x, n);
    } else if (x < 2) {
        const double i0 = (x + 0x1.8p52) - 0x1.8p52;  // the nearest integer, |x| < 34
        if (i0 <= 0 && std::fabs(x - i0) <= kSmall) {
            const Wide z = Wide(x) - i0;  // x + (-i0), within 1/32 of zero
            r.small = true;
            r.den = RisingProduct(x, static_cast<int>(-i0)) * (z * Poly(kRecipGamma, z));
            r.x = z;
        } else {
            const int n = 2 - static_cast<int>(std::floor(x));
            r.x = Wide(x) + n;
            r.den = RisingProduct(x, n);
        }
    } else {
        r.x = x;
    }
    return r;
}

// Γ(x) for |x| ≤ 13, not a pole.
Wide GammaReduced(double x)
{
    const Reduced r = Reduce(x);
    if (r.small || r.x == 2) return r.num / r.den;
    return r.num * Poly(kGamma, r.x - 2) / r.den;
}

// Trunc(|x|) odd, taken on the Double: no 32-bit limit (every Double from 2^53 on is even).
bool OddTrunc(double x)
{
    const double a = std::fabs(x);
    return a < 0x1p53 && (static_cast<std::int64_t>(a) & 1) != 0;
}

bool IsPole(double x)
{
    return x == 0 || (x < 0 && std::trunc(x) == x);
}

}  // namespace

int SgnGamma(double x)
{
    if (x > 0) return 1;
    return OddTrunc(x) ? 1 : -1;
}

double Gamma(double x)
{
    if (std::isnan(x) || x == -INF) return NAN;
    const int s = SgnGamma(x);
    if (IsPole(x)) return s * INF;
    if (x > 13) return x > 200 ? INF : static_cast<double>(ExpWide(StirlingLn(x)));
    if (x < -13) {
        // Γ(x) = -pi/(q·sin(pi·q)·Γ(q)) with q = -x; sin(pi·q) = ±sin(pi·d) for the distance d to the nearest integer.
        // Beyond q = 200 the quotient is below half the smallest Double whatever d (d ≥ ulp(q)).
        const double q = -x;
        if (q > 200) return s * 0.0;
        double d = q - std::trunc(q);
        if (d > 0.5) d -= 1;
        const DD l = StirlingLn(q);
        return static_cast<double>(s * kPiWide * ExpWide({-l.hi, -l.lo}) / std::fabs(q * SinPi(d)));
    }
    return static_cast<double>(GammaReduced(x));
}

double LnGamma(double x)
{
    if (std::isnan(x)) return x;
    if (IsPole(x) || x == -INF) return INF;  // ln|Γ| is +∞ at the poles
    if (x > MAXLGM) return INF;
    if (x >= 13) {
        const DD l = StirlingLn(x);
        return l.hi + l.lo;
    }
    if (x < -34) {
        const double q = -x;
        double d = q - std::trunc(q);
        if (d > 0.5) d = 1 - d;
        const DD l = StirlingLn(q);
        return static_cast<double>(kLnPi - LogWide(q * SinPi(d)) - l.hi - l.lo);
    }
    // Between 1 and 2 from lnΓ(x + 1) - ln x, with x - 1 exact: the digits near the zero at 1 survive.
    if (x >= 1 && x < 2) {
        const Wide t = Wide(x) - 1;
        return static_cast<double>(t == 0 ? 0 : t * Poly(kLogGamma, t) - LogWide(x));  // 1 + t = x exactly
    }
    const Reduced r = Reduce(x);
    const Wide lnq = r.num == r.den ? 0 : LogWide(std::fabs(r.num / r.den));
    return static_cast<double>(r.small ? lnq : lnq + (r.x - 2) * Poly(kLogGamma, r.x - 2));
}

double Fact(int N)
{
    if (N < 0) return -NAN;
    if (N > MAXFAC) return INF;
    if (N > 30) return Gamma(N + 1.0);
    return detail::FactorialTableEntry(N);
}

// ---- complex log-gamma and gamma ----

namespace {

// lnΓ(z) for Re z ≥ 9: Stirling's series (z - ½)ln z - z + ln sqrt(2pi) + Σ c_k/z^(2k-1).
W StirlingLnW(const W& z)
{
    const W l = LnW(z);
    const W w = Div({1, 0}, z);
    const W w2 = Mul(w, w);
    W sum{0, 0};
    for (const Wide c : kStirling) sum = Add(Mul(sum, w2), {c, 0});
    W r = Mul({z.re - 0.5L, z.im}, l);
    r = Add(r, {kLnSqrt2Pi - z.re, -z.im});
    return Add(r, Mul(sum, w));
}

// lnΓ(z) for Re z ≥ 0, Im z ≥ 0: the upward recurrence lnΓ(z) = lnΓ(z + n) - Σ ln(z + k) to Re z ≥ 9, with the
// logarithms' moduli multiplied (one log) and their arguments summed, which keeps the branch of the sum.
W LnGammaRight(W z)
{
    Wide modulus = 1, angle = 0;
    while (z.re < 9) {
        modulus *= z.re * z.re + z.im * z.im;
        angle += std::atan2(z.im, z.re);
        z.re += 1;
    }
    const W s = StirlingLnW(z);
    return {s.re - 0.5L * std::log(modulus), s.im - angle};
}

// lnΓ(z) for Re z < 0, Im z ≥ 0 by reflection: lnΓ(z) = ln pi - lnΓ(1 - z) - ln sin(pi·z), with the logarithm of
// the sine continued through the upper half plane as ln ½ + i·pi/2 - i·pi·z + log1p(-e^(2pi·i·z)). That is the
// branch the recurrence's summed logarithms give (scipy's loggamma), and it takes no steps for any Re z.
W LnGammaLeft(const W& z)
{
    const W g = LnGammaRight({1 - z.re, -z.im});
    // 1 - e^(2pi·i·z) with e^(2pi·i·z) = e^(-2pi·y)·(cos θ, sin θ), θ = 2pi·f and f = x - round(x) exact:
    // 1 - e^(-2pi·y)·cos θ = -expm1(-2pi·y) + e^(-2pi·y)·2sin²(θ/2), without cancellation next to a pole.
    const Wide f = z.re - std::nearbyint(z.re);
    Wide sh, ch, s;
    Trig(kPiWide * f, sh, ch);
    s = 2 * sh * ch;
    const Wide e = std::exp(-2 * kPiWide * z.im);
    const W u{-std::expm1(-2 * kPiWide * z.im) + 2 * e * sh * sh, -e * s};
    const W lu = LnW(u);
    const W logSin{-kLn2Wide + kPiWide * z.im + lu.re, kPiWide / 2 - kPiWide * z.re + lu.im};
    return {kLnPi - g.re - logSin.re, -g.im - logSin.im};
}

// The lower half plane by conjugation. A negative zero imaginary part counts as below the axis, as in the upward
// recurrence, whose logarithms see -pi there (Ln (-1 - 0i) = -pi·i).
W LnGammaW(const TCplx& z)
{
    if (std::signbit(z.Im)) {
        const W c = LnGammaW(Conj(z));
        return {c.re, -c.im};
    }
    return z.Re < 0 ? LnGammaLeft(Widen(z)) : LnGammaRight(Widen(z));
}

bool IsComplexPole(const TCplx& z)
{
    return z.Im == 0 && IsPole(z.Re);
}

}  // namespace

TCplx LnGamma(const TCplx& z)
{
    if (IsComplexPole(z)) return CINF;
    return Round1(LnGammaW(z));
}

TCplx Gamma(const TCplx& z)
{
    if (IsComplexPole(z)) return CINF;
    const W l = LnGammaW(z);
    const Wide e = std::exp(l.re);
    if (e > std::numeric_limits<double>::max()) return CINF;
    if (static_cast<double>(e) == 0) return C_ZERO;
    if (l.im == 0) return {static_cast<double>(e), 0};
    Wide s, c;
    Trig(l.im, s, c);
    return Round1({e * c, e * s});
}

// ---- the order-zero Bessel functions ----

namespace {

// A complex number on a real type T (long double, or __float128 for the series' cancelling middle range).
template <class T>
struct Ct {
    T re, im;
};

// J0(z) = Σ (-z²/4)^k/(k!)², summed until a term is below the type's last digit of the sum. Only for |z| ≤ 20,
// where the largest term is at most e^|z| times the result (about |J0| e^|Im z|).
template <class T>
W J0Series(const W& z, T eps)
{
    const Ct<T> t{T(-(z.re * z.re - z.im * z.im) / 4), T(-(z.re * z.im) / 2)};
    const T at = t.re * t.re + t.im * t.im;
    Ct<T> term{1, 0}, sum{1, 0};
    for (int k = 1; k < 200; ++k) {
        const T kk = T(k) * T(k);
        term = {(term.re * t.re - term.im * t.im) / kk, (term.re * t.im + term.im * t.re) / kk};
        sum = {sum.re + term.re, sum.im + term.im};
        const T a = term.re * term.re + term.im * term.im, b = sum.re * sum.re + sum.im * sum.im;
        if (kk * kk > at && a <= eps * eps * b) break;
    }
    return {Wide(sum.re), Wide(sum.im)};
}

// J0(z) for Re z ≥ 0, |z| > 20: Hankel's expansion sqrt(2/(pi·z))·(P cos ω - Q sin ω), ω = z - pi/4, with
// P = Σ (-1)^k a_2k/z^2k, Q = Σ (-1)^k a_(2k+1)/z^(2k+1), a_k = (-1)^k·1²·3²···(2k - 1)²/(k!·8^k), summed until
// the terms stop falling or drop below the last digit. Its error is about e^(-2|z|) of the result's scale.
W J0Hankel(const W& z)
{
    const W w = Div({1, 0}, z);
    W p{1, 0}, q{0, 0}, term{1, 0};
    Wide last = INF;
    for (int k = 1; k < 400; ++k) {
        const Wide f = -Wide(2 * k - 1) * (2 * k - 1) / (8 * Wide(k));
        term = Mul(term, {f * w.re, f * w.im});  // a_k/z^k
        const Wide size = std::hypot(term.re, term.im);
        if (size > last || size < 1e-21L) break;
        last = size;
        // (-1)^floor(k/2): k = 1 → +, 2 → -, 3 → -, 4 → +, ...
        const Wide sign = ((k / 2) % 2 == 0) ? 1 : -1;
        if (k % 2 == 0)
            p = {p.re + sign * term.re, p.im + sign * term.im};
        else
            q = {q.re + sign * term.re, q.im + sign * term.im};
    }
    const W omega{z.re - kPiWide / 4, z.im};
    Wide s, c, ch, sh;
    Trig(omega.re, s, c);
    CoshSinh(omega.im, ch, sh);
    const W cosw{c * ch, -s * sh}, sinw{s * ch, c * sh};
    const W amp = CSqrtW(Mul({2 / kPiWide, 0}, w));
    return Mul(amp, {Mul(p, cosw).re - Mul(q, sinw).re, Mul(p, cosw).im - Mul(q, sinw).im});
}

W J0(W z)
{
    if (z.re < 0) z = {-z.re, -z.im};  // J0 is even
    const Wide r = std::hypot(z.re, z.im);
    if (r <= 6) return J0Series<Wide>(z, 1e-20L);
    if (r <= 20) return J0Series<__float128>(z, __float128(1e-33));
    return J0Hankel(z);
}

}  // namespace

TCplx BesselJ0(const TCplx& z)
{
    return Round1(J0(Widen(z)));
}

// I0(z) = J0(i·z).
TCplx BesselI0(const TCplx& z)
{
    return Round1(J0({-Wide(z.Im), Wide(z.Re)}));
}

}  // namespace tarnel
