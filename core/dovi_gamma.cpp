// Gamma, log-gamma, the factorial and the order-zero Bessel functions of Dovi387, all in long double and rounded
// once. The real gamma and log-gamma keep the thresholds of their classic extended-precision form (Stirling's
// formula beyond 13, reflection below -13, respectively -34, the small-argument form within 1/32 of zero, a fit on
// [2, 3) between), with approximations fitted by tests/data/gen_gamma_coefficients.py: one polynomial for Γ on
// [2, 3) and one for lnΓ, each good to a unit of long double, the reciprocal gamma's Taylor series for the small
// arguments, and the exact Stirling coefficients of lnΓ, from which Γ is taken as an exponential.
#include <cmath>
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
Wide Horner(const Wide (&c)[N], Wide x)
{
    Wide r = c[0];
    for (std::size_t i = 1; i < N; ++i) r = r * x + c[i];
    return r;
}

// The series of lnΓ(x) - ((x - ½)ln x - x + ln sqrt(2pi)), for x ≥ 13.
Wide StirlingSeries(Wide x)
{
    return Horner(kStirling, 1 / (x * x)) / x;
}

// lnΓ(x) for x ≥ 13; beyond 1e10 the series is below the last digit.
Wide StirlingLn(Wide x)
{
    const Wide l = (x - 0.5L) * std::log(x) - x + kLnSqrt2Pi;
    return x > 1e10L ? l : l + StirlingSeries(x);
}

// Γ(x) = z·Γ(x0) after reducing x to x0 in [2, 3), or to the small-argument form: Γ(x) = z/(x·(1/Γ(1 + x))).
// Returns z·Γ(x0) for |x| ≤ 13 (not a pole).
Wide GammaReduced(Wide x)
{
    Wide z = 1;
    while (x >= 3) {
        x -= 1;
        z *= x;
    }
    while (x < -kSmall) {
        z /= x;
        x += 1;
    }
    if (std::fabs(x) <= kSmall) return z / (x * Horner(kRecipGamma, x));
    while (x < 2) {
        z /= x;
        x += 1;
    }
    return x == 2 ? z : z * Horner(kGamma, x - 2);
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
    if (x > 13) return x > 200 ? INF : static_cast<double>(std::exp(StirlingLn(x)));
    if (x < -13) {
        // Γ(x) = -pi/(q·sin(pi·q)·Γ(q)) with q = -x; sin(pi·q) = ±sin(pi·d) for the distance d to the nearest integer.
        const Wide q = -Wide(x);
        Wide d = q - std::trunc(q);
        if (d > 0.5L) d -= 1;
        const Wide g = q > 1800 ? Wide(INF) : std::exp(StirlingLn(q));
        return static_cast<double>(s * kPiWide / (std::fabs(q * std::sin(kPiWide * d)) * g));
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
        return static_cast<double>(kLnPi - std::log(q * std::sin(kPiWide * d)) - StirlingLn(q));
    }
    // Between 1 and 2 from lnΓ(x + 1) - ln x, with x - 1 exact: the digits near the zero at 1 survive.
    if (x >= 1 && x < 2) {
        const Wide t = Wide(x) - 1;
        return static_cast<double>(t == 0 ? 0 : t * Horner(kLogGamma, t) - std::log1p(t));
    }
    Wide z = 1, w = x;
    while (w >= 3) {
        w -= 1;
        z *= w;
    }
    while (w < 2) {
        if (std::fabs(w) <= kSmall) return static_cast<double>(std::log(std::fabs(z / (w * Horner(kRecipGamma, w)))));
        z /= w;
        w += 1;
    }
    const Wide t = w - 2;
    return static_cast<double>(std::log(std::fabs(z)) + t * Horner(kLogGamma, t));
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

constexpr Wide kLn2Wide = 0.693147180559945309417232121458176568L;

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
