// Rounding, integer utilities, the complex order, tolerance comparisons, classification and ranges of Dovi387.
// Integer results are 32-bit. A NaN or a value outside the Integer range gives -2147483648, the integer-indefinite
// value of the floating-point unit, without an out-of-range conversion.
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/Dovi387.h"

namespace tarnel {

namespace {

constexpr int kIndefinite = std::numeric_limits<int>::min();

// An integral Double to Integer; NaN and values outside [-2^31, 2^31) give the indefinite value.
int ToInteger(double integral)
{
    return (integral >= -2147483648.0 && integral < 2147483648.0) ? static_cast<int>(integral) : kIndefinite;
}

int FromWide(std::int64_t v)
{
    return (v >= kIndefinite && v <= std::numeric_limits<int>::max()) ? int(v) : kIndefinite;
}

// 1 (Re < 0, Im < 0), 2 (Re ≥ 0, Im < 0), 3 (Re ≥ 0, Im ≥ 0), 4 (Re < 0, Im ≥ 0): the quadrants in the order of
// the phase from -pi to pi.
int Quadrant(const TCplx& z)
{
    if (z.Im < 0) return z.Re < 0 ? 1 : 2;
    return z.Re < 0 ? 4 : 3;
}

bool Same(const TCplx& a, const TCplx& b)
{
    return a.Re == b.Re && a.Im == b.Im;
}

}  // namespace

int Trunc(double x)
{
    return ToInteger(std::trunc(x));
}
double Frac(double x)
{
    return x - std::trunc(x);
}
int Ceil(double x)
{
    return ToInteger(std::ceil(x));
}
int Floor(double x)
{
    return ToInteger(std::floor(x));
}
TCplx CTrunc(const TCplx& z)
{
    return {std::trunc(z.Re), std::trunc(z.Im)};
}
TCplx CRound(const TCplx& z)
{
    return {std::nearbyint(z.Re), std::nearbyint(z.Im)};
}
TCplx Ceil(const TCplx& z)
{
    return {double(Ceil(z.Re)), double(Ceil(z.Im))};
}
TCplx Floor(const TCplx& z)
{
    return {double(Floor(z.Re)), double(Floor(z.Im))};
}
TCplx CFrac(const TCplx& z)
{
    return {Frac(z.Re), Frac(z.Im)};
}
TCplx Rem(const TCplx& a, const TCplx& b)
{
    return CSub(a, CMul(b, CTrunc(CDiv(a, b))));
}

namespace {

std::int64_t GcdWide(std::int64_t a, std::int64_t b)
{
    a = a < 0 ? -a : a;
    b = b < 0 ? -b : b;
    while (b != 0) {
        const std::int64_t r = a % b;
        a = b;
        b = r;
    }
    return a;
}

}  // namespace

int Gcd(int A, int B)
{
    return FromWide(GcdWide(A, B));
}

int Lcm(int A, int B)
{
    if (A == 0 || B == 0) return 0;
    const std::int64_t a = A < 0 ? -std::int64_t(A) : A, b = B < 0 ? -std::int64_t(B) : B;
    return FromWide(a / GcdWide(a, b) * b);
}

int LargestExp2(int N)
{
    if (N > (1 << 30)) return kIndefinite;
    int p = 2;
    while (p < N) p *= 2;
    return p;
}

int LargestLog2(int N)
{
    int count = 0;
    for (; N >= 2; N /= 2) ++count;
    return count;
}

int Sgn(const TCplx& z)
{
    if (z.Re > 0) return 1;
    if (z.Re < 0) return -1;
    if (z.Re == 0) return z.Im > 0 ? 1 : (z.Im < 0 ? -1 : 0);
    return 0;  // NaN real part
}

bool Bigger2(const TCplx& a, const TCplx& b)
{
    const int qa = Quadrant(a), qb = Quadrant(b);
    if (qa != qb) return qa > qb;
    return qa <= 2 ? a.Re > b.Re : a.Re < b.Re;
}

bool Smaller2(const TCplx& a, const TCplx& b)
{
    const int qa = Quadrant(a), qb = Quadrant(b);
    if (qa != qb) return qa < qb;
    return qa <= 2 ? a.Re < b.Re : a.Re > b.Re;
}

namespace {

// m(a) against m(b), then the phases between equal moduli; a NaN modulus fails every comparison.
bool Ordered(const TCplx& a, const TCplx& b, bool bigger, bool orEqual)
{
    const double ma = Norm(a), mb = Norm(b);
    if (ma != mb) return bigger ? ma > mb : ma < mb;
    return (bigger ? Bigger2(a, b) : Smaller2(a, b)) || (orEqual && Same(a, b));
}

}  // namespace

bool Bigger(const TCplx& a, const TCplx& b)
{
    return Ordered(a, b, true, false);
}

bool Smaller(const TCplx& a, const TCplx& b)
{
    return Ordered(a, b, false, false);
}

bool BiggerOrEqual(const TCplx& a, const TCplx& b)
{
    return Ordered(a, b, true, true);
}

bool SmallerOrEqual(const TCplx& a, const TCplx& b)
{
    return Ordered(a, b, false, true);
}

bool Bigger(const TCplx& a, double x)
{
    return Bigger(a, Cplx(x, 0));
}
bool Bigger(double x, const TCplx& a)
{
    return Bigger(Cplx(x, 0), a);
}
bool Smaller(const TCplx& a, double x)
{
    return Smaller(a, Cplx(x, 0));
}
bool Smaller(double x, const TCplx& a)
{
    return Smaller(Cplx(x, 0), a);
}
bool BiggerOrEqual(const TCplx& a, double x)
{
    return BiggerOrEqual(a, Cplx(x, 0));
}
bool BiggerOrEqual(double x, const TCplx& a)
{
    return BiggerOrEqual(Cplx(x, 0), a);
}
bool SmallerOrEqual(const TCplx& a, double x)
{
    return SmallerOrEqual(a, Cplx(x, 0));
}
bool SmallerOrEqual(double x, const TCplx& a)
{
    return SmallerOrEqual(Cplx(x, 0), a);
}
TCplx Max(const TCplx& a, const TCplx& b)
{
    return Bigger(a, b) ? a : b;
}
TCplx Min(const TCplx& a, const TCplx& b)
{
    return Smaller(a, b) ? a : b;
}

bool Equal(double A, double B, double Tol)
{
    return std::fabs(A - B) <= Tol;
}
bool Bigger(double A, double B, double Tol)
{
    return A - Tol > B;
}
bool Smaller(double A, double B, double Tol)
{
    return A + Tol < B;
}
bool Equal(const TCplx& a, const TCplx& b, double Tol)
{
    return Equal(a.Re, b.Re, Tol) && Equal(a.Im, b.Im, Tol);
}
bool Equal(const TCplx& a, const TCplx& b)
{
    return Same(a, b);
}
bool Equal(const TCplx& z, double x)
{
    return z.Re == x && z.Im == 0;
}
bool Equal(double x, const TCplx& z)
{
    return Equal(z, x);
}

bool IsInfNan(double x)
{
    return !std::isfinite(x);
}
bool IsNanInf(double x)
{
    return IsInfNan(x);
}
bool IsNan(double x)
{
    return std::isnan(x);
}
bool IsInf(double x)
{
    return std::isinf(x);
}
bool IsInfNan(const TCplx& z)
{
    return IsInfNan(z.Re) || IsInfNan(z.Im);
}
bool IsNanInf(const TCplx& z)
{
    return IsInfNan(z);
}
bool IsNan(const TCplx& z)
{
    return IsNan(z.Re) || IsNan(z.Im);
}
bool IsInf(const TCplx& z)
{
    return IsInf(z.Re) || IsInf(z.Im);
}

bool CheckRange(double Low, double Value, double High)
{
    return Low <= Value && Value <= High;
}
bool CheckRange(int Low, int Value, int High)
{
    return Low <= Value && Value <= High;
}
double EnsureRange(double Low, double Value, double High)
{
    return Value < Low ? Low : (Value > High ? High : Value);
}
int EnsureRange(int Low, int Value, int High)
{
    return Value < Low ? Low : (Value > High ? High : Value);
}
void LimitRange(double Low, double& Value, double High)
{
    Value = EnsureRange(Low, Value, High);
}
void LimitRange(int Low, int& Value, int High)
{
    Value = EnsureRange(Low, Value, High);
}

}  // namespace tarnel
