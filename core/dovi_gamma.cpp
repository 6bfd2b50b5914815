// Gamma, log-gamma, the factorial and the order-zero Bessel functions of Dovi387, all in long double and rounded
// once. The real gamma and log-gamma keep the thresholds of their classic extended-precision form (Stirling's
// formula beyond 13, reflection below -13, respectively -34, the small-argument form within 1/32 of zero, a fit on
// [2, 3) between), with approximations fitted by tests/data/gen_gamma_coefficients.py: one polynomial for Γ on
// [2, 3) and one for lnΓ, each good to a unit of long double, the reciprocal gamma's Taylor series for the small
// arguments, and the exact Stirling coefficients of lnΓ, from which Γ is taken as an exponential.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "core/Dovi387.h"
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

template <std::size_t N>
constexpr Wide Horner(const Wide (&c)[N], Wide x)
{
    Wide r = c[0];
#pragma GCC unroll 32
    for (std::size_t i = 1; i < N; ++i) r = r * x + c[i];
    return r;
}

// Exponential, logarithm and sin(pi·d) in long double for the real gamma family. The C library's long double
// versions run on the x87's microcoded instructions and cost several times a double call; these reduce the argument
// and sum a short series, to within a few units of long double, far below the Double results' last place.
constexpr Wide kLn2Hi = 0x1.62e42feep-1L;  // 32 bits: k·kLn2Hi is exact for every exponent k
constexpr Wide kLn2Lo = 1.908214929272321214581766e-10L;
constexpr Wide kLog2E = 1.442695040888963407359925L;

// 1/n! for n = 18..0: e^r for |r| ≤ ln2/2 to a unit of long double (the tables' source).
constexpr auto kExpSeries = [] {
    struct {
        Wide c[19];
    } t{};
    Wide f = 1;
    for (int n = 0; n <= 18; ++n) {
        if (n > 0) f *= n;
        t.c[18 - n] = 1 / f;
    }
    return t;
}();

// 2^(j/32) for j = 0..31.
constexpr auto kExp2Table = [] {
    struct {
        Wide v[32];
    } t{};
    for (int j = 0; j < 32; ++j) t.v[j] = Horner(kExpSeries.c, j * kLn2Wide / 32);
    return t;
}();

// 1/n! for n = 8..0: e^r for |r| ≤ ln2/64.
constexpr Wide kExpShort[] = {1.0L / 40320, 1.0L / 5040, 1.0L / 720, 1.0L / 120, 1.0L / 24, 1.0L / 6, 0.5L, 1, 1};

// The exponent field of the x87 format (bytes 8 and 9: sign and 15-bit biased exponent) and the mantissa (bytes
// 0 to 7, integer bit first), read and written directly: the library calls frexpl, ldexpl and nearbyintl cost more
// than the series they serve.
int ExponentOf(Wide x)
{
    std::uint16_t se;
    std::memcpy(&se, reinterpret_cast<const unsigned char*>(&x) + 8, 2);
    return (se & 0x7FFF) - 16383;
}

Wide WithExponent(Wide x, int e)
{
    const std::uint16_t se = static_cast<std::uint16_t>(e + 16383);
    std::memcpy(reinterpret_cast<unsigned char*>(&x) + 8, &se, 2);
    return x;
}

std::uint64_t MantissaOf(Wide x)
{
    std::uint64_t m;
    std::memcpy(&m, &x, 8);
    return m;
}

// An integer-valued long double nearest to x (|x| < 2^62), rounding through the 64-bit mantissa.
Wide NearestInteger(Wide x)
{
    return (x + 0x1.8p63L) - 0x1.8p63L;
}

// e^x = 2^n·2^(j/32)·e^r with k = 32n + j nearest to 32x/ln2 and r = x - k·ln2/32.
Wide ExpWide(Wide x)
{
    if (!(x < 11355)) return x != x ? x : Wide(INF);
    if (x < -11350) return 0;
    const Wide k = NearestInteger(x * (32 * kLog2E));
    const Wide r = (x - k * (kLn2Hi / 32)) - k * (kLn2Lo / 32);
    const int ki = static_cast<int>(static_cast<double>(k));  // an SSE conversion, no control-word switch
    const int j = ki & 31;
    const Wide p = kExp2Table.v[j] * Horner(kExpShort, r);  // in [0.98, 2.03]
    return WithExponent(p, ExponentOf(p) + (ki - j) / 32);
}

// 2/(2k + 1) for k = 12..0: ln m = s·Σ 2s^2k/(2k + 1) with s = (m - 1)/(m + 1), |s| ≤ 0.172 for m in [sqrt ½, sqrt 2).
constexpr auto kLogSeries = [] {
    struct {
        Wide c[13];
    } t{};
    for (int k = 0; k <= 12; ++k) t.c[12 - k] = Wide(2) / (2 * k + 1);
    return t;
}();

constexpr Wide LnBySeries(Wide m)
{
    Wide e = 0;
    if (m > 1.41421356237309504880L) {
        m /= 2;
        e = 1;
    }
    const Wide s = (m - 1) / (m + 1);
    return e * kLn2Wide + s * Horner(kLogSeries.c, s * s);
}

// ln c_j for the centres c_j = 1 + (j + ½)/32, j = 0..31.
constexpr auto kLnTable = [] {
    struct {
        Wide v[32];
    } t{};
    for (int j = 0; j < 32; ++j) t.v[j] = LnBySeries(1 + (j + 0.5L) / 32);
    return t;
}();

// 2/(2k + 1) for k = 4..0: ln((c + u)/c) = 2 atanh(s) with s = u/(2c + u), |s| ≤ 1/128.
constexpr Wide kLogShort[] = {2.0L / 9, 2.0L / 7, 2.0L / 5, 2.0L / 3, 2};

// ln x for a finite normal x > 0 (every Double is normal in the x87 format): x = 2^e·m, m in [1, 2), and
// ln m = ln c_j + ln(m/c_j) for the centre c_j of m's 1/32-wide interval.
Wide LogWide(Wide x)
{
    const int e = ExponentOf(x);
    const Wide m = WithExponent(x, 0);
    const int j = static_cast<int>((MantissaOf(m) >> 58) & 31);
    const Wide c = 1 + (j + 0.5L) / 32;
    const Wide u = m - c;  // exact
    const Wide s = u / (2 * c + u);
    return e * kLn2Wide + kLnTable.v[j] + s * Horner(kLogShort, s * s);
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
    return d * Horner(kSinPiSeries.c, d * d);
}

// The series of lnΓ(x) - ((x - ½)ln x - x + ln sqrt(2pi)), for x ≥ 13.
Wide StirlingSeries(Wide x)
{
    const Wide w = 1 / x;
    return Horner(kStirling, w * w) * w;
}

// lnΓ(x) for x ≥ 13; beyond 1e10 the series is below the last digit.
Wide StirlingLn(Wide x)
{
    const Wide l = (x - 0.5L) * LogWide(x) - x + kLnSqrt2Pi;
    return x > 1e10L ? l : l + StirlingSeries(x);
}

// Γ(x) = (num/den)·Γ(x0) with x0 in [2, 3) by the recurrence, or (num/den)/(x0·(1/Γ(1 + x0))) when x0 lands within
// 1/32 of zero (small set). The quotient is kept apart, so the steps multiply and one division ends them.
struct Reduced {
    Wide num = 1, den = 1, x;
    bool small = false;
};

Reduced Reduce(Wide x)
{
    Reduced r;
    while (x >= 3) {
        x -= 1;
        r.num *= x;
    }
    while (x < 2) {
        if (std::fabs(x) <= kSmall) {
            r.small = true;
            r.den *= x * Horner(kRecipGamma, x);
            break;
        }
        r.den *= x;
        x += 1;
    }
    r.x = x;
    return r;
}

// Γ(x) for |x| ≤ 13, not a pole.
Wide GammaReduced(Wide x)
{
    const Reduced r = Reduce(x);
    if (r.small || r.x == 2) return r.num / r.den;
    return r.num * Horner(kGamma, r.x - 2) / r.den;
}

// Trunc(|x|) odd, taken on the Double: no 32-bit limit.
bool OddTrunc(double x)
{
    return std::fmod(std::trunc(std::fabs(x)), 2.0) == 1;
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
        const Wide q = -Wide(x);
        Wide d = q - std::trunc(q);
        if (d > 0.5L) d -= 1;
        const Wide g = q > 1800 ? Wide(INF) : ExpWide(StirlingLn(q));
        return static_cast<double>(s * kPiWide / (std::fabs(q * SinPi(d)) * g));
    }
    return static_cast<double>(GammaReduced(x));
}

double LnGamma(double x)
{
    if (std::isnan(x)) return x;
    if (IsPole(x) || x == -INF) return INF;  // ln|Γ| is +∞ at the poles
    if (x > MAXLGM) return INF;
    if (x >= 13) return static_cast<double>(StirlingLn(x));
    if (x < -34) {
        const Wide q = -Wide(x);
        Wide d = q - std::trunc(q);
        if (d > 0.5L) d = 1 - d;
        return static_cast<double>(kLnPi - LogWide(q * SinPi(d)) - StirlingLn(q));
    }
    // Between 1 and 2 from lnΓ(x + 1) - ln x, with x - 1 exact: the digits near the zero at 1 survive.
    if (x >= 1 && x < 2) {
        const Wide t = Wide(x) - 1;
        return static_cast<double>(t == 0 ? 0 : t * Horner(kLogGamma, t) - LogWide(x));  // 1 + t = x exactly
    }
    const Reduced r = Reduce(x);
    const Wide lnq = r.num == r.den ? 0 : LogWide(std::fabs(r.num / r.den));
    return static_cast<double>(r.small ? lnq : lnq + (r.x - 2) * Horner(kLogGamma, r.x - 2));
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
