// Long-double complex arithmetic shared by the elementary complex functions and the gamma and Bessel routines of
// Dovi387 (internal: the formulas are evaluated at extended precision and each result part is rounded once).
#pragma once

#include <cfloat>
#include <cmath>

#include "core/Dovi387.h"

namespace tarnel::dovi {

static_assert(LDBL_MANT_DIG == 64, "the scalar functions need the x87 extended format");

using Wide = long double;

constexpr Wide kPiWide = 3.14159265358979323846264338327950288L;
constexpr Wide kLn2Wide = 0.693147180559945309417232121458176568L;

struct W {
    Wide re, im;
};

inline TCplx Round1(const W& w)
{
    return {static_cast<double>(w.re), static_cast<double>(w.im)};
}
inline W Widen(const TCplx& z)
{
    return {z.Re, z.Im};
}
inline W Mul(const W& a, const W& b)
{
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}
inline W Add(const W& a, const W& b)
{
    return {a.re + b.re, a.im + b.im};
}

inline W Div(const W& a, const W& b)
{
    const Wide s = 1 / (b.re * b.re + b.im * b.im);
    return {s * (a.re * b.re + a.im * b.im), s * (a.im * b.re - a.re * b.im)};
}

// t·h, where a zero t stays a signed zero also when h is infinite (no NaN from 0·∞).
inline Wide Scaled(Wide t, Wide h)
{
    return t == 0 ? (std::signbit(h) ? -t : t) : t * h;
}

// ln|z| = ½ln(x² + y²); near the unit circle as ½log1p((x - 1)(x + 1) + y²), which keeps the digits of a
// modulus close to 1.
inline Wide LnAbs(const W& z)
{
    const Wide s = z.re * z.re + z.im * z.im;
    if (s > 0.5L && s < 2) return 0.5L * std::log1p((z.re - 1) * (z.re + 1) + z.im * z.im);
    return 0.5L * std::log(s);
}

inline W LnW(const W& z)
{
    return {LnAbs(z), std::atan2(z.im, z.re)};
}

// sin a and cos a. The x87's own sine is slow; an argument that is a Double goes to the C library's double sine
// and cosine (exact argument reduction, within half an ulp), others are taken in long double.
inline void Trig(Wide a, Wide& s, Wide& c)
{
    const double d = static_cast<double>(a);
    if (Wide(d) == a) {
        s = std::sin(d);
        c = std::cos(d);
    } else {
        s = std::sin(a);
        c = std::cos(a);
    }
}

inline W ExpW(const W& z)
{
    const Wide e = std::exp(z.re);
    Wide s, c;
    Trig(z.im, s, c);
    return {Scaled(c, e), z.im == 0 ? z.im : Scaled(s, e)};
}

// cosh x and sinh x from one expm1: sinh |x| = (m + m/(m + 1))/2 with m = e^|x| - 1 keeps the digits near 0.
// A zero x (a real or imaginary argument of the complex functions) gives 1 and x itself, as the formula does,
// without the long double expm1.
inline void CoshSinh(Wide x, Wide& ch, Wide& sh)
{
    if (x == 0) {
        ch = 1;
        sh = x;
        return;
    }
    const Wide m = std::expm1(std::fabs(x));
    if (std::isinf(m)) {
        ch = sh = m;
    } else {
        const Wide e = m + 1;
        ch = (e + 1 / e) / 2;
        sh = (m + m / e) / 2;
    }
    sh = std::copysign(sh, x);
}

// sqrt z with c = sqrt((|z| + |x|)/2): (c, y/2c) for x ≥ 0, (|y/2c|, ±c) for x < 0, the sign of c that of y with a
// zero y counted as positive; the square root of zero is zero.
inline W CSqrtW(const W& z)
{
    if (z.re == 0 && z.im == 0) return {0, z.im};
    const Wide c = std::sqrt((std::sqrt(z.re * z.re + z.im * z.im) + std::fabs(z.re)) / 2);
    if (!(z.re < 0)) return {c, z.im / (2 * c)};
    return {std::fabs(z.im / (2 * c)), z.im >= 0 ? c : -c};
}

}  // namespace tarnel::dovi
