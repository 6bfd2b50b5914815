// Elementary real functions of Dovi387. Where the C library computes the same function to within one unit in the
// last place it is called in double; elsewhere the function is evaluated in long double (64-bit mantissa), or in
// double-double where the x87's own functions are slow (Tanh), and rounded once. The values at ±0, ±INF and the domain
// edges follow the defining formulas, except where those give ∞/∞ or cancel: there the limits are returned (Tanh (INF)
// = 1, Sech (INF) = 0, ArcSinh odd).
#include <bit>
#include <cmath>
#include <cstdint>

#include "core/Dovi387.h"
#include "core/dovi_dd.h"
#include "core/dovi_wide.h"

namespace tarnel {

namespace {

using dovi::Wide;

double Round1(Wide x)
{
    return static_cast<double>(x);
}

}  // namespace

double Sin(double x)
{
    return std::sin(x);
}
double Cos(double x)
{
    return std::cos(x);
}
double Tan(double x)
{
    return std::tan(x);
}

void SinCos(double x, double& S, double& C)
{
    S = std::sin(x);
    C = std::cos(x);
}

double Sec(double x)
{
    return Round1(1.0L / std::cos(Wide(x)));
}
double Csc(double x)
{
    return Round1(1.0L / std::sin(Wide(x)));
}
double Cot(double x)
{
    return Round1(1.0L / std::tan(Wide(x)));
}
double ArcSin(double x)
{
    return std::asin(x);
}
double ArcCos(double x)
{
    return std::acos(x);
}
double ArcTan(double x)
{
    return std::atan(x);
}
double ArcTan2(double Y, double X)
{
    return std::atan2(Y, X);
}
double ArcCot(double x)
{
    return std::atan2(1.0, x);
}
double ArcSec(double x)
{
    return Round1(std::acos(1.0L / x));
}
double ArcCsc(double x)
{
    return Round1(std::asin(1.0L / x));
}

double FixAngle(double x)
{
    return Round1(x - Wide(TWOPI) * std::nearbyint(x / TWOPI));
}

double Sinh(double x)
{
    return x == 0 ? 0.0 : Round1(std::sinh(Wide(x)));
}
double Cosh(double x)
{
    return Round1(std::cosh(Wide(x)));
}

void SinhCosh(double x, double& S, double& C)
{
    S = Sinh(x);
    C = Cosh(x);
}

// glibc's tanh errs by up to 2 ulp. tanh |x| = (1 - E)/(1 + E) with E = e^(-2|x|) in double-double (relative error
// below 2^-59), the quotient in long double and rounded once: at |x| ≥ 1/32, where 1 - E ≥ 0.06 amplifies E's error at
// most 16-fold, the error before the rounding stays below 0.2 ulp. Below 1/32 the odd series to x^11 (the next term
// is 2^-68 of x relative). Beyond 23, 1 - tanh |x| is below half an ulp of 1.
double Tanh(double x)
{
    if (x == 0) return 0.0;
    const double a = std::fabs(x);
    if (a < 0.03125) {
        const double z = x * x;
        const double p =
            z * (-1.0 / 3 + z * (2.0 / 15 + z * (-17.0 / 315 + z * (62.0 / 2835 + z * (-1382.0 / 155925)))));
        return x + x * p;
    }
    if (a > 23) return std::copysign(1.0, x);
    const dovi::ExpParts e = dovi::ExpDD(-2 * a, 0);
    const double s = dovi::Pow2(e.scale);  // exact: e^(-2|x|) ≥ 2^-67
    const Wide E = Wide(e.hi * s) + e.lo * s;
    return std::copysign(Round1((1 - E) / (1 + E)), x);
}

double TanhX(double x)
{
    // Beyond 23, 1 - tanh x is below half an ulp of 1; the quotient would be ∞/∞ further out.
    if (x == 0) return 0.0;
    if (std::fabs(x) > 23) return std::copysign(1.0, x);
    return Round1(std::sinh(Wide(x)) / std::cosh(Wide(x)));
}

double Coth(double x)
{
    return x == 0 ? INF : Round1(1.0L / std::tanh(Wide(x)));
}
double Sech(double x)
{
    return Round1(1.0L / std::cosh(Wide(x)));
}
double Csch(double x)
{
    return x == 0 ? INF : Round1(1.0L / std::sinh(Wide(x)));
}

namespace {

// asinh t = log1p(t + t²/(1 + sqrt(1 + t²))) for t ≥ 0, odd: no cancellation for negative arguments.
Wide ArcSinhWide(Wide t)
{
    const Wide a = std::fabs(t);
    const Wide r = a > 1e10L ? std::log(a) + dovi::kLn2Wide : std::log1p(a + a * a / (1 + std::sqrt(1 + a * a)));
    return std::copysign(r, t);
}

}  // namespace

double ArcSinh(double x)
{
    return x == 0 ? 0.0 : Round1(ArcSinhWide(x));
}
double ArcCosh(double x)
{
    return Round1(std::acosh(Wide(x)));
}
double ArcTanh(double x)
{
    return x == 0 ? 0.0 : Round1(std::atanh(Wide(x)));
}
// ln((x + 1)/(x - 1))/2 = atanh(1/x); at ±INF the quotient is ∞/∞ and the limit 0 is returned.
double ArcCoth(double x)
{
    return Round1(std::atanh(1.0L / x));
}
double ArcSech(double x)
{
    return Round1(std::acosh(1.0L / x));
}
double ArcCsch(double x)
{
    return Round1(ArcSinhWide(1.0L / x));
}

double Ln1(double x)
{
    return std::log1p(x);
}
double Log2(double x)
{
    return std::log2(x);
}
double Log10(double x)
{
    return Round1(std::log10(Wide(x)));
}

double Log2X(double x)
{
    // x - 1 is exact for x near 1, so the one-plus form loses nothing.
    const Wide d = Wide(x) - 1;
    if (std::fabs(d) < 0.1L) return Round1(std::log1p(d) / dovi::kLn2Wide);
    return Log2(x);
}

double LogN(double Base, double X)
{
    return Round1(std::log(Wide(X)) / std::log(Wide(Base)));
}

double Exp2(double x)
{
    return std::exp2(x);
}
double Exp10(double x)
{
    return Round1(exp10l(x));
}

namespace {

// Power away from a finite positive Base and a finite Exponent: NaN, zero, negative and infinite arguments.
[[gnu::noinline]] double PowerEdges(double Base, double Exponent)
{
    if (std::isnan(Base) || std::isnan(Exponent)) return NAN;
    if (Base == 0) return Exponent > 0 ? 0.0 : (Exponent < 0 ? INF : NAN);
    if (!(Base > 0)) return NAN;
    // 2^(Exponent·log2 Base) is 0·INF here, where pow would give 1.
    if ((Base == 1 && std::isinf(Exponent)) || (std::isinf(Base) && Exponent == 0)) return NAN;
    return std::pow(Base, Exponent);
}

}  // namespace

double Power(double Base, double Exponent)
{
    // One unsigned comparison each on the bits: 0 < Base < INF (positive, not zero, below the infinity's pattern)
    // and |Exponent| < INF (the sign shifted out); the common case goes straight to pow.
    const std::uint64_t b = std::bit_cast<std::uint64_t>(Base), e = std::bit_cast<std::uint64_t>(Exponent);
    if (b - 1 < 0x7FEFFFFFFFFFFFFFu && (e << 1) < 0xFFE0000000000000u) return std::pow(Base, Exponent);
    return PowerEdges(Base, Exponent);
}

double IntPower(double X, int N)
{
    // |N| as an unsigned number, so N = -2^31 is a finite loop; squaring in long double keeps IntPower (2, -1074)
    // away from an intermediate overflow.
    unsigned n = N < 0 ? 0u - static_cast<unsigned>(N) : static_cast<unsigned>(N);
    Wide result = 1, square = X;
    while (n != 0) {
        if (n & 1u) result *= square;
        n >>= 1;
        if (n != 0) square *= square;
    }
    return Round1(N < 0 ? 1 / result : result);
}

double Min(double A, double B)
{
    return A > B ? B : A;
}
double Max(double A, double B)
{
    return A >= B ? A : B;
}
int Min(int A, int B)
{
    return A > B ? B : A;
}
int Max(int A, int B)
{
    return A < B ? B : A;
}

void Swap(double& A, double& B)
{
    const double t = A;
    A = B;
    B = t;
}

void Swap(int& A, int& B)
{
    const int t = A;
    A = B;
    B = t;
}

int Sgn(double x)
{
    return x > 0 ? 1 : (x < 0 ? -1 : 0);
}
double Sign(double A, double B)
{
    return B < 0 ? -std::fabs(A) : std::fabs(A);
}
double Pythag(double A, double B)
{
    return std::hypot(A, B);
}
double Rem(double X, double Y)
{
    return std::fmod(X, Y);
}

}  // namespace tarnel
