// Elementary complex functions of Dovi387: the closed formulas on the real and imaginary parts, evaluated in
// long double and rounded once per result part. The formulas fix the branch cuts; the changes made to them are
// for accuracy and overflow only:
// - ArcSin forms α - 1 without cancellation and L = ln(α + sqrt(α² - 1)) through log1p, so a small imaginary
//   part near the real segment survives; ArcCosh and ArcSech return the principal value (real part ≥ 0);
// - where a hyperbolic factor overflows, a factor that is exactly zero keeps its zero part, and the tangents
//   give their limits (Tan (0 + 6000i) = i) instead of ∞/∞;
// - zero bases of powers give 0 for an exponent with a positive real part, CSqrt (0) is 0.
#include <cmath>

#include "core/Dovi387.h"
#include "core/dovi_wide.h"

namespace tarnel {

namespace {

using namespace dovi;

constexpr Wide kPiDiv2 = 1.57079632679489661923132169163975144L;
constexpr Wide kLn10 = 2.30258509299404568401799145468436421L;
// Beyond this |2y| (or |2x|) the hyperbolic functions of the tangent formulas overflow long double.
constexpr Wide kTanLimit = 11000;

W SinW(const W& z)
{
    Wide ch, sh;
    CoshSinh(z.im, ch, sh);
    Wide s, c;
    Trig(z.re, s, c);
    return {Scaled(s, ch), Scaled(c, sh)};
}

W CosW(const W& z)
{
    Wide ch, sh;
    CoshSinh(z.im, ch, sh);
    Wide s, c;
    Trig(z.re, s, c);
    return {Scaled(c, ch), -Scaled(s, sh)};
}

W SinhW(const W& z)
{
    Wide ch, sh;
    CoshSinh(z.re, ch, sh);
    Wide s, c;
    Trig(z.im, s, c);
    return {Scaled(c, sh), Scaled(s, ch)};
}

W CoshW(const W& z)
{
    Wide ch, sh;
    CoshSinh(z.re, ch, sh);
    Wide s, c;
    Trig(z.im, s, c);
    return {Scaled(c, ch), Scaled(s, sh)};
}

// 1/w for the secants: an infinite part gives the zero limit.
TCplx InvRounded(const W& w)
{
    if (std::isinf(w.re) || std::isinf(w.im))
        return {std::copysign(0.0, double(w.re)), -std::copysign(0.0, double(w.im))};
    return Round1(Div({1, 0}, w));
}

// (sin 2a, ±sinh 2b) / (cosh 2b ± cos 2a): the common shape of the four tangents. tan gives (sin 2a, sinh 2b) /
// (cosh 2b + cos 2a); sign = -1 gives cot's (sin 2a, -sinh 2b) / (cosh 2b - cos 2a).
W TanShape(Wide a, Wide b, int sign)
{
    Wide sa, ca;
    Trig(a, sa, ca);
    const Wide s2a = 2 * sa * ca;
    if (std::fabs(2 * b) > kTanLimit) return {std::copysign(Wide(0), s2a), sign * std::copysign(Wide(1), b)};
    // cosh 2b ± cos 2a = 2(sinh²b + cos²a), respectively 2(sinh²b + sin²a): no cancellation near the zeros.
    Wide chb, shb;
    CoshSinh(b, chb, shb);
    const Wide t = sign > 0 ? ca : sa;
    const Wide d = 2 * (shb * shb + t * t);
    return {s2a / d, sign * 2 * shb * chb / d};
}

W ArcSinW(const W& z)
{
    const Wide x = z.re, y = z.im;
    const Wide ax = std::fabs(x), y2 = y * y;
    const Wide R = std::sqrt((ax + 1) * (ax + 1) + y2);  // 2A for |x|
    const Wide S = std::sqrt((ax - 1) * (ax - 1) + y2);  // 2B for |x|
    const Wide alpha = (R + S) / 2;
    // α - 1 = ((R - (|x| + 1)) + (S - (1 - |x|)))/2, each difference formed without cancellation.
    Wide am1 = y2 / (R + ax + 1) + (ax <= 1 ? y2 / (S + (1 - ax)) : S + (ax - 1));
    am1 /= 2;
    // β = A - B = x/α, and sqrt(1 - β²) = sqrt((α - |x|)(α + |x|))/α with α - |x| formed like α - 1, so
    // atan2(β, sqrt(1 - β²)) keeps its digits near β = ±1. A zero x gives β = +0.
    Wide amx = y2 / (R + ax + 1) + (ax <= 1 ? S + (1 - ax) : y2 / (S + (ax - 1)));
    amx /= 2;
    const Wide re = std::atan2(x == 0 ? Wide(0) : x, std::sqrt(amx * (alpha + ax)));
    Wide L = std::log1p(am1 + std::sqrt(am1 * (alpha + 1)));
    if (y < 0) L = -L;
    return {re, L};
}

// ArcTan (z), or with reciprocal set ArcTan (1/z) = ArcCot (z) from the parts of z itself: 1/z's real part
// 1 - |1/z|² becomes |z|² - 1 after scaling by |z|² > 0, and the logarithm's quotient turns over.
W ArcTanW(const W& z, bool reciprocal = false)
{
    const Wide x = z.re, y = z.im, x2 = x * x, ay = std::fabs(y);
    // 1 - x² - y² as (1 - |y|)(1 + |y|) - x², and ¼ln((x² + (y + 1)²)/(x² + (y - 1)²)) as ±¼log1p(4|y|/(x² +
    // (|y| - 1)²)): neither cancels near ±i.
    const Wide im = 0.25L * std::log1p(4 * ay / (x2 + (ay - 1) * (ay - 1)));
    const Wide d = (1 - ay) * (1 + ay) - x2;
    return {0.5L * std::atan2(2 * x, reciprocal ? -d : d), (y < 0) != reciprocal ? -im : im};
}

// 1/z and i/z without rounding in between.
W InvW(const TCplx& z)
{
    return Div({1, 0}, Widen(z));
}
W IOverW(const TCplx& z)
{
    return Div({0, 1}, Widen(z));
}

// -i·w
W MinusI(const W& w)
{
    return {w.im, -w.re};
}
// (w.Im, pi/2 - w.Re), with the sign chosen for a real part ≥ 0: the principal inverse cosine of the argument
// whose ArcSin is w, with that argument's imaginary part.
TCplx PrincipalArcCosh(const W& w, double im)
{
    W r{w.im, kPiDiv2 - w.re};
    if (im < 0) r = {-r.re, -r.im};
    return Round1(r);
}

// |b|^p for the polar powers, with the zero base of the real Power.
Wide ModulusPower(Wide m, Wide p)
{
    if (m == 0) return p > 0 ? 0 : (p < 0 ? Wide(INF) : Wide(NAN));
    return std::pow(m, p);
}

W Polar(Wide m, Wide angle)
{
    Wide s, c;
    Trig(angle, s, c);
    return {Scaled(c, m), Scaled(s, m)};
}

}  // namespace

TCplx Ln(const TCplx& z)
{
    return {static_cast<double>(LnW(Widen(z)).re), Arg(z)};
}

TCplx Log10(const TCplx& z)
{
    const W l = LnW(Widen(z));
    return Round1({l.re / kLn10, l.im / kLn10});
}

TCplx Log2(const TCplx& z)
{
    const W l = LnW(Widen(z));
    return Round1({l.re / kLn2Wide, l.im / kLn2Wide});
}

TCplx LogN(const TCplx& Base, double X)
{
    return CDiv(Ln(X), Ln(Base));
}
TCplx LogN(double Base, const TCplx& X)
{
    return CDiv(Ln(X), Ln(Base));
}
TCplx LogN(const TCplx& Base, const TCplx& X)
{
    return CDiv(Ln(X), Ln(Base));
}

TCplx Exp(const TCplx& z)
{
    return Round1(ExpW(Widen(z)));
}
TCplx Exp2(const TCplx& z)
{
    return Round1(ExpW({kLn2Wide * z.Re, kLn2Wide * z.Im}));
}
TCplx Exp10(const TCplx& z)
{
    return Round1(ExpW({kLn10 * z.Re, kLn10 * z.Im}));
}

TCplx Power(double Base, const TCplx& Exponent)
{
    if (Base == 0 && Exponent.Re > 0) return C_ZERO;
    if (!(Base > 0)) return CNAN;
    const Wide l = std::log(Wide(Base));
    return Round1(ExpW({Exponent.Re * l, Exponent.Im * l}));
}

TCplx Power(const TCplx& Base, double Exponent)
{
    const W b = Widen(Base);
    const Wide m = ModulusPower(std::sqrt(b.re * b.re + b.im * b.im), Exponent);
    return Round1(Polar(m, Exponent * std::atan2(b.im, b.re)));
}

TCplx Power(const TCplx& Base, const TCplx& Exponent)
{
    if (Base.Re == 0 && Base.Im == 0 && Exponent.Re > 0) return C_ZERO;
    return Round1(ExpW(Mul(Widen(Exponent), LnW(Widen(Base)))));
}

TCplx IntPower(const TCplx& z, int N)
{
    if (N == 0) return C_ONE;
    const W w = Widen(z);
    unsigned n = N < 0 ? 0u - static_cast<unsigned>(N) : static_cast<unsigned>(N);
    Wide m = 1, square = std::sqrt(w.re * w.re + w.im * w.im);
    while (n != 0) {
        if (n & 1u) m *= square;
        n >>= 1;
        if (n != 0) square *= square;
    }
    if (N < 0) m = 1 / m;
    // On the positive real axis the argument is the zero part itself (what atan2 gives there, without the long
    // double atan2).
    const Wide arg = w.im == 0 && w.re > 0 ? w.im : std::atan2(w.im, w.re);
    return Round1(Polar(m, Wide(N) * arg));
}

TCplx Root(const TCplx& z, int K, int N)
{
    const Wide angle = FixAngle(static_cast<double>((Wide(Arg(z)) + Wide(TWOPI) * K) / N));
    return Round1(Polar(Power(CAbs(z), 1.0 / N), angle));
}

TCplx CSqrt(const TCplx& z)
{
    return Round1(CSqrtW(Widen(z)));
}

TCplx Pythag(const TCplx& a, const TCplx& b)
{
    const W wa = Widen(a), wb = Widen(b);
    return Round1(CSqrtW(Add(Mul(wa, wa), Mul(wb, wb))));
}

TCplx Sin(const TCplx& z)
{
    return Round1(SinW(Widen(z)));
}
void Sin(const TCplx& z, TCplx& r)
{
    r = Sin(z);
}
TCplx Cos(const TCplx& z)
{
    return Round1(CosW(Widen(z)));
}
void Cos(const TCplx& z, TCplx& r)
{
    r = Cos(z);
}
TCplx Tan(const TCplx& z)
{
    return Round1(TanShape(z.Re, z.Im, 1));
}
TCplx Cot(const TCplx& z)
{
    return Round1(TanShape(z.Re, z.Im, -1));
}
TCplx Sec(const TCplx& z)
{
    return InvRounded(CosW(Widen(z)));
}
TCplx Csc(const TCplx& z)
{
    return InvRounded(SinW(Widen(z)));
}
TCplx Sinh(const TCplx& z)
{
    return Round1(SinhW(Widen(z)));
}
void Sinh(const TCplx& z, TCplx& r)
{
    r = Sinh(z);
}
TCplx Cosh(const TCplx& z)
{
    return Round1(CoshW(Widen(z)));
}
void Cosh(const TCplx& z, TCplx& r)
{
    r = Cosh(z);
}

// tanh z = -i·tan(iz), coth z = i·cot(iz): the tangent shapes with the parts exchanged.
TCplx Tanh(const TCplx& z)
{
    const W t = TanShape(z.Im, z.Re, 1);
    return Round1({t.im, t.re});
}

TCplx Coth(const TCplx& z)
{
    const W t = TanShape(z.Im, z.Re, -1);
    return Round1({-t.im, -t.re});
}

TCplx Sech(const TCplx& z)
{
    return InvRounded(CoshW(Widen(z)));
}
TCplx Csch(const TCplx& z)
{
    return InvRounded(SinhW(Widen(z)));
}

TCplx ArcSin(const TCplx& z)
{
    return Round1(ArcSinW(Widen(z)));
}

TCplx ArcCos(const TCplx& z)
{
    const W w = ArcSinW(Widen(z));
    return Round1({kPiDiv2 - w.re, -w.im});
}

TCplx ArcTan(const TCplx& z)
{
    return Round1(ArcTanW(Widen(z)));
}
TCplx ArcCot(const TCplx& z)
{
    return Round1(ArcTanW(Widen(z), true));
}

TCplx ArcSec(const TCplx& z)
{
    const W w = ArcSinW(InvW(z));
    return Round1({kPiDiv2 - w.re, -w.im});
}

TCplx ArcCsc(const TCplx& z)
{
    return Round1(ArcSinW(InvW(z)));
}
TCplx ArcSinh(const TCplx& z)
{
    return Round1(MinusI(ArcSinW(Widen(MulI(z)))));
}
TCplx ArcCosh(const TCplx& z)
{
    return PrincipalArcCosh(ArcSinW(Widen(z)), z.Im);
}
TCplx ArcTanh(const TCplx& z)
{
    return Round1(MinusI(ArcTanW(Widen(MulI(z)))));
}

// ArcTan (i/z) = ArcCot (-i·z), -i·z = (y, -x)
TCplx ArcCoth(const TCplx& z)
{
    return Round1(MinusI(ArcTanW({z.Im, -z.Re}, true)));
}

TCplx ArcSech(const TCplx& z)
{
    const W v = InvW(z);
    return PrincipalArcCosh(ArcSinW(v), double(v.im));
}

TCplx ArcCsch(const TCplx& z)
{
    return Round1(MinusI(ArcSinW(IOverW(z))));
}

}  // namespace tarnel
