// Dovi387: the complex scalar, the library's constants, the floating-point mode and the error routine.
#pragma once

#include <cmath>
#include <complex>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Fpu.h"
#include "platform/rtl/NumText.h"
#include "platform/rtl/SysUtils.h"

namespace tarnel {

// A complex number: two Doubles, real part first. Complex data is stored as an interleaved sequence of
// Doubles Re0, Im0, Re1, Im1, ..., so TCplx has exactly the layout of std::complex<double>.
struct TCplx {
    double Re;
    double Im;
};
static_assert(sizeof(TCplx) == 2 * sizeof(double) && alignof(TCplx) == alignof(double));
static_assert(sizeof(TCplx) == sizeof(std::complex<double>));

using TSampleArray = std::vector<double>;
using TCplxArray = std::vector<TCplx>;
using TIntArray = std::vector<int>;
using T2DSampleArray = std::vector<TSampleArray>;
using T2DCplxArray = std::vector<TCplxArray>;

// ---- Real constants -----------------------------------------------------------------------------------

inline constexpr double PI = 3.141592653589793;
inline constexpr double LN2 = 0.6931471805599453;
inline constexpr double LN10 = 2.302585092994046;
inline constexpr double LNPI = 1.1447298858494002;
inline constexpr double INVLN2 = 1.4426950408889634;
inline constexpr double INVLN10 = 0.4342944819032518;
inline constexpr double TWOPI = 6.283185307179586;
inline constexpr double INVTWOPI = 0.15915494309189535;
inline constexpr double PIDIV2 = 1.5707963267948966;
inline constexpr double SQRTPI = 1.772453850905516;
inline constexpr double SQRT2PI = 2.5066282746310007;
inline constexpr double INVSQRT2PI = 0.3989422804014327;
inline constexpr double LNSQRT2PI = 0.9189385332046728;
inline constexpr double LN2PIDIV2 = 0.9189385332046728;
inline constexpr double SQRT2 = 1.4142135623730951;
inline constexpr double SQRT2DIV2 = 0.7071067811865476;
inline constexpr double GOLD = 1.618033988749895;
// The stated literal; 2 - GOLD would be one unit in the last place away from it.
inline constexpr double CGOLD = 0.38196601125010515;
inline constexpr double PI180 = 0.017453292519943295;
inline constexpr double INVPI180 = 57.29577951308232;
inline constexpr double MACHEP = 2.220446049250313e-16;   // 2^-52
inline constexpr double MINNUM = 2.225073858507202e-308;  // one unit above the smallest normal Double
inline constexpr double MAXLOG = 709.782712893384;
inline constexpr double MINLOG = -708.3964185322641;
inline constexpr double MAXFAC = 170;
inline constexpr double MAXGAM = 171.624376956302;
inline constexpr double MAXLGM = 2.556348e+305;

// NAN is the positive quiet NaN (bits 7FF8000000000000). It is the C library's macro of that name, which
// has exactly this value and cannot be redeclared in C++.
static_assert(std::numeric_limits<double>::has_quiet_NaN);
inline constexpr double INF = std::numeric_limits<double>::infinity();

// ---- Complex constants --------------------------------------------------------------------------------

inline constexpr TCplx C_ZERO{0.0, 0.0};
inline constexpr TCplx C_ONE{1.0, 0.0};
inline constexpr TCplx C_I{0.0, 1.0};
inline constexpr TCplx C_PI{PI, 0.0};
inline constexpr TCplx C_pi_div_2{PIDIV2, 0.0};
inline constexpr TCplx CNAN{NAN, NAN};
inline constexpr TCplx CINF{INF, INF};

// ---- Floating-point control words (x87 layout) ----------------------------------------------------------

inline constexpr Word Tarnel8087CW = 0x133F;   // all exceptions masked, 64-bit precision, round to nearest
inline constexpr Word Fortran8087CW = 0x123F;  // all exceptions masked, 53-bit precision, round to nearest
inline constexpr Word Saved8087 = 0x1332;      // invalid, zero divide and overflow unmasked; never loaded here
// The control word that was in force when the library started.
extern Word MtxSaved8087CW;

// ---- Settings offered to programs (the library reads neither string) ----------------------------------

extern int TarnelBlockSize;            // default block length of block processing: 800
extern const char* MtxRegistryKey;     // "\Software\Brisolt\Tarnel"
extern const char* TarnelWorkingDir;   // "C:\"

// ---- Complex arithmetic ---------------------------------------------------------------------------------
// Textbook formulas. The quotients are not scaled against overflow: their intermediates are computed in
// long double, whose wide exponent keeps them finite wherever the result is representable.

constexpr TCplx Cplx(double re, double im) { return {re, im}; }

constexpr TCplx CAdd(const TCplx& a, const TCplx& b) { return {a.Re + b.Re, a.Im + b.Im}; }
constexpr TCplx CAdd(const TCplx& a, double x) { return {a.Re + x, a.Im}; }
constexpr TCplx CAdd(double x, const TCplx& a) { return {a.Re + x, a.Im}; }

constexpr TCplx CSub(const TCplx& a, const TCplx& b) { return {a.Re - b.Re, a.Im - b.Im}; }
constexpr TCplx CSub(const TCplx& a, double x) { return {a.Re - x, a.Im}; }
constexpr void CSub(const TCplx& a, double x, TCplx& r) { r = {a.Re - x, a.Im}; }
constexpr TCplx CSub(double x, const TCplx& a) { return {x - a.Re, -a.Im}; }
constexpr void CSub(double x, const TCplx& a, TCplx& r) { r = {x - a.Re, -a.Im}; }

constexpr TCplx CMul(const TCplx& a, const TCplx& b) { return {a.Re * b.Re - a.Im * b.Im, a.Re * b.Im + b.Re * a.Im}; }
constexpr TCplx CMul(const TCplx& a, double x) { return {x * a.Re, x * a.Im}; }
constexpr TCplx CMul(double x, const TCplx& a) { return {x * a.Re, x * a.Im}; }

TCplx CDiv(const TCplx& a, const TCplx& b);
TCplx CDiv(const TCplx& a, double x);
TCplx CDiv(double x, const TCplx& a);
TCplx CInv(const TCplx& a);
void CInv(const TCplx& a, TCplx& r);

constexpr TCplx Conj(const TCplx& a) { return {a.Re, -a.Im}; }
constexpr TCplx Neg(const TCplx& a) { return {-a.Re, -a.Im}; }
constexpr TCplx Sign(const TCplx& a) { return Neg(a); }
constexpr TCplx Flip(const TCplx& a) { return {a.Im, a.Re}; }
constexpr TCplx FlipConj(const TCplx& a) { return {a.Im, -a.Re}; }
constexpr void FlipConj(const TCplx& a, TCplx& r) { r = FlipConj(a); }
constexpr TCplx MulI(const TCplx& a) { return {-a.Im, a.Re}; }
constexpr void MulI(const TCplx& a, TCplx& r) { r = MulI(a); }
constexpr TCplx CSqr(const TCplx& a) { return {a.Re * a.Re - a.Im * a.Im, 2 * a.Re * a.Im}; }
constexpr double Real(const TCplx& a) { return a.Re; }
constexpr double Imag(const TCplx& a) { return a.Im; }

double CAbs(const TCplx& a);   // sqrt(Re² + Im²), unscaled, without overflow of the squares
double Norm(const TCplx& a);   // Re² + Im²
// atan2(Im, Re), in [-pi, pi]: a negative zero imaginary part on the negative real axis gives -pi.
inline double Arg(const TCplx& a) { return std::atan2(a.Im, a.Re); }
inline TCplx CartToPolar(const TCplx& a) { return {CAbs(a), Arg(a)}; }
inline TCplx PolarToCart(const TCplx& a) { return {a.Re * std::cos(a.Im), a.Re * std::sin(a.Im)}; }
inline TCplx Expj(double phi) { return {std::cos(phi), std::sin(phi)}; }
constexpr void Swap(TCplx& a, TCplx& b) { const TCplx t = a; a = b; b = t; }
constexpr double DegToRad(double x) { return x * PI180; }
constexpr double RadToDeg(double x) { return x * INVPI180; }

// ---- Elementary real functions (dovi_real.cpp) ----------------------------------------------------------
// None raises: out-of-domain arguments give NaN, overflow gives infinity. Results are within one unit in the
// last place; where double intermediates are not enough the routine computes in long double and rounds once.

double Sin(double x);
double Cos(double x);
double Tan(double x);
void SinCos(double x, double& S, double& C);
double Sec(double x);  // 1/cos x
double Csc(double x);  // 1/sin x
double Cot(double x);  // 1/tan x
double ArcSin(double x);
double ArcCos(double x);
double ArcTan(double x);
double ArcTan2(double Y, double X);  // atan2: the ordinate first; result in [-pi, pi]
double ArcCot(double x);             // atan2(1, x): in (0, pi) for every x
double ArcSec(double x);             // atan2(sqrt(1 - 1/x²), 1/x): NaN for |x| < 1
double ArcCsc(double x);             // atan2(1/x, sqrt(1 - 1/x²)): NaN for |x| < 1
double FixAngle(double x);           // x - 2pi·round(x/2pi), ties to even: the angle in [-pi, pi]

// The hyperbolic functions keep their limits where e^x overflows: Tanh, TanhX and Coth give ±1 and Sech
// and Csch ±0 there. At ±0 they take the values of their defining quotients: Sinh, Tanh and ArcSinh give
// +0, Coth and Csch +INF. ArcSinh and ArcCsch are odd functions.
double Sinh(double x);
double Cosh(double x);
void SinhCosh(double x, double& S, double& C);
double Tanh(double x);
double TanhX(double x);  // Sinh/Cosh of one SinhCosh
double Coth(double x);
double Sech(double x);
double Csch(double x);
double ArcSinh(double x);
double ArcCosh(double x);
double ArcTanh(double x);
double ArcCoth(double x);
double ArcSech(double x);
double ArcCsch(double x);

// Ln and Exp are the C library's log and exp (within 1 ulp; e^-INF = 0, e^+INF = INF), defined here so that a call
// costs what the C library's does: an out-of-line wrapper's extra jump is a tenth of their time.
inline double Ln(double x) { return std::log(x); }
double Ln1(double x);  // ln(1 + x), accurate for small x
double Log2(double x);
double Log10(double x);
double Log2X(double x);              // log2 x, through ln(1 + (x - 1)) near 1
double LogN(double Base, double X);  // ln X / ln Base: LogN (10, 0.001) = -3 exactly
inline double Exp(double x) { return std::exp(x); }
double Exp2(double x);
double Exp10(double x);
// Base^Exponent for Base > 0. A zero Base gives 0 for Exponent > 0 and INF for Exponent < 0; NaN for a
// negative Base, for Power (0, 0) and where 2^(Exponent·log2 Base) has no value (Power (1, INF), Power (INF, 0)).
double Power(double Base, double Exponent);
double IntPower(double X, int N);  // repeated squaring over |N|; IntPower (X, 0) = 1 for every X

double Min(double A, double B);  // B if A > B, else A: ties and NaN give A
double Max(double A, double B);  // B unless A >= B: ties give A, an unordered pair gives B
int Min(int A, int B);
int Max(int A, int B);
void Swap(double& A, double& B);
void Swap(int& A, int& B);
int Sgn(double x);                  // 1, -1, or 0 for zero and NaN
double Sign(double A, double B);    // -|A| when B < 0, else |A| (negative zero counts as zero)
double Pythag(double A, double B);  // sqrt(A² + B²) without overflow
double Rem(double X, double Y);     // X - Y·trunc(X/Y), exactly; the sign follows X

// ---- Elementary complex functions (dovi_complex.cpp) ----------------------------------------------------
// Closed formulas on the parts, evaluated in long double and rounded once. The branch cuts are those of the
// formulas: Ln and the powers cut along the negative real axis, where the sign of a zero imaginary part picks
// the side (Ln (-1 - 0i) = -pi·i); CSqrt and ArcSin take a zero imaginary part as positive on their cuts
// (CSqrt ((-4, -0)) = 2i). Overflow keeps exact zero parts and C99's limits (Exp (12000 + 0i) = INF + 0i,
// Tan (0 + 6000i) = i).

TCplx Ln(const TCplx& z);
TCplx Log10(const TCplx& z);
TCplx Log2(const TCplx& z);
TCplx LogN(const TCplx& Base, double X);
TCplx LogN(double Base, const TCplx& X);
TCplx LogN(const TCplx& Base, const TCplx& X);
TCplx Exp(const TCplx& z);
TCplx Exp2(const TCplx& z);
TCplx Exp10(const TCplx& z);
// The powers give 0 for a zero Base when the exponent (its real part) is positive.
TCplx Power(double Base, const TCplx& Exponent);  // NaN parts for Base < 0
TCplx Power(const TCplx& Base, double Exponent);
TCplx Power(const TCplx& Base, const TCplx& Exponent);
TCplx IntPower(const TCplx& z, int N);
TCplx Root(const TCplx& z, int K, int N);  // the K-th of the N N-th roots
TCplx CSqrt(const TCplx& z);               // CSqrt (0) = 0
TCplx Pythag(const TCplx& a, const TCplx& b);

TCplx Sin(const TCplx& z);
void Sin(const TCplx& z, TCplx& r);
TCplx Cos(const TCplx& z);
void Cos(const TCplx& z, TCplx& r);
TCplx Tan(const TCplx& z);
TCplx Cot(const TCplx& z);
TCplx Sec(const TCplx& z);
TCplx Csc(const TCplx& z);
TCplx Sinh(const TCplx& z);
void Sinh(const TCplx& z, TCplx& r);
TCplx Cosh(const TCplx& z);
void Cosh(const TCplx& z, TCplx& r);
TCplx Tanh(const TCplx& z);
TCplx Coth(const TCplx& z);
TCplx Sech(const TCplx& z);
TCplx Csch(const TCplx& z);

// ArcSin has its own formula; every other inverse is reduced to ArcSin or ArcTan. ArcCosh and ArcSech give
// the principal value (real part ≥ 0).
TCplx ArcSin(const TCplx& z);
TCplx ArcCos(const TCplx& z);
TCplx ArcTan(const TCplx& z);
TCplx ArcCot(const TCplx& z);
TCplx ArcSec(const TCplx& z);
TCplx ArcCsc(const TCplx& z);
TCplx ArcSinh(const TCplx& z);
TCplx ArcCosh(const TCplx& z);
TCplx ArcTanh(const TCplx& z);
TCplx ArcCoth(const TCplx& z);
TCplx ArcSech(const TCplx& z);
TCplx ArcCsch(const TCplx& z);

// ---- Rounding, order, ranges and predicates (dovi_order.cpp) ---------------------------------------------
// Integer results are 32-bit: NaN and values outside the Integer range give -2147483648.

int Trunc(double x);
double Frac(double x);  // x - trunc(x), in floating point (same sign as x)
int Ceil(double x);
int Floor(double x);
TCplx CTrunc(const TCplx& z);
TCplx CRound(const TCplx& z);  // both parts to nearest, ties to even
TCplx Ceil(const TCplx& z);    // the Integer Ceil of each part, as Doubles
TCplx Floor(const TCplx& z);
TCplx CFrac(const TCplx& z);
TCplx Rem(const TCplx& a, const TCplx& b);  // a - b·CTrunc (a/b)

int Gcd(int A, int B);   // of |A| and |B|; Gcd (A, 0) = |A|; -2147483648 where the result is 2^31
int Lcm(int A, int B);   // |A·B| / Gcd; 0 when either is 0; -2147483648 out of the Integer range
int LargestExp2(int N);  // the smallest power of two ≥ max(N, 2); -2147483648 for N > 2^30
int LargestLog2(int N);  // halvings that bring N below 2: floor(log2 N), 0 for N < 2

int Sgn(const TCplx& z);

// The library's order on complex numbers: by m(z) = Norm (z) (Re² + Im² rounded once to a Double), ties by
// phase. Bigger2 and Smaller2 compare phases through quadrant codes without computing angles; they order
// phases correctly only between numbers of equal modulus, which is how the order uses them. A NaN modulus
// fails every comparison: the order is total only on numbers without NaN, so it is no strict weak ordering
// for a standard sort unless NaN is kept out. A real x takes part as x + 0i.
bool Bigger2(const TCplx& a, const TCplx& b);
bool Smaller2(const TCplx& a, const TCplx& b);
bool Bigger(const TCplx& a, const TCplx& b);
bool Smaller(const TCplx& a, const TCplx& b);
bool BiggerOrEqual(const TCplx& a, const TCplx& b);
bool SmallerOrEqual(const TCplx& a, const TCplx& b);
bool Bigger(const TCplx& a, double x);
bool Bigger(double x, const TCplx& a);
bool Smaller(const TCplx& a, double x);
bool Smaller(double x, const TCplx& a);
bool BiggerOrEqual(const TCplx& a, double x);
bool BiggerOrEqual(double x, const TCplx& a);
bool SmallerOrEqual(const TCplx& a, double x);
bool SmallerOrEqual(double x, const TCplx& a);
TCplx Max(const TCplx& a, const TCplx& b);  // a when Bigger (a, b), else b: ties give b
TCplx Min(const TCplx& a, const TCplx& b);  // a when Smaller (a, b), else b

bool Equal(double A, double B, double Tol);    // |A - B| ≤ Tol
bool Bigger(double A, double B, double Tol);   // A - Tol > B
bool Smaller(double A, double B, double Tol);  // A + Tol < B
bool Equal(const TCplx& a, const TCplx& b, double Tol);
bool Equal(const TCplx& a, const TCplx& b);  // both parts exactly
bool Equal(const TCplx& z, double x);
bool Equal(double x, const TCplx& z);

bool IsInfNan(double x);
bool IsNanInf(double x);  // the same test as IsInfNan
bool IsNan(double x);
bool IsInf(double x);
bool IsInfNan(const TCplx& z);  // the complex tests hold when they hold for either part
bool IsNanInf(const TCplx& z);
bool IsNan(const TCplx& z);
bool IsInf(const TCplx& z);

// Not detail::CheckRange of core/elementwise.h, which checks vector index ranges.
bool CheckRange(double Low, double Value, double High);
bool CheckRange(int Low, int Value, int High);
double EnsureRange(double Low, double Value, double High);
int EnsureRange(int Low, int Value, int High);
void LimitRange(double Low, double& Value, double High);
void LimitRange(int Low, int& Value, int High);

// ---- Gamma, log-gamma, the factorial and the order-zero Bessel functions (dovi_gamma.cpp) ------------------

int SgnGamma(double x);  // 1 for x > 0; otherwise 1 when trunc(|x|) is odd, -1 when it is even
// Γ(x); at the poles s·INF with s = SgnGamma (x): Γ(0) = Γ(-2) = -INF, Γ(-1) = +INF.
double Gamma(double x);
double LnGamma(double x);  // ln|Γ(x)|: +INF at the poles
double Fact(int N);        // N!: a NaN for N < 0, INF beyond 170
// The principal log-gamma (cut along the negative real axis; a negative zero imaginary part lies below it) and
// gamma. A pole gives CINF, as does a gamma whose exponential overflows; one that underflows gives C_ZERO.
TCplx LnGamma(const TCplx& z);
TCplx Gamma(const TCplx& z);
// I0 and J0: power series where they are accurate, Hankel's expansion for |z| > 20.
TCplx BesselI0(const TCplx& z);
TCplx BesselJ0(const TCplx& z);

// ---- Floating-point unit --------------------------------------------------------------------------------

// Clears pending floating-point exception flags.
void ClearFPU();
// Returns the control word in force and loads it with bits $0F00 set (64-bit precision, round toward zero).
Word SetRoundToTrunc();
// Loads the given control word; brackets code with SetRoundToTrunc.
void RestoreRound(Word cw);

// ---- Errors and utilities -------------------------------------------------------------------------------

// Raises tarnel::Exception with exactly this message.
[[noreturn]] void ERaise(const std::string& msg);

// Time elapsed since StartTime as "hh:nn:ss:zzz". Elapsed times of a day or more show all their hours
// (25 h is "25:00:00:000"); a start time in the future gives "00:00:00:000".
std::string ClockIt(TDateTime startTime);

// Sets the variable to nil, then frees what it held.
template <class T>
void FreeAndNil(T*& obj)
{
    T* held = obj;
    obj = nullptr;
    delete held;
}

// ---- Module start-up and shut-down ----------------------------------------------------------------------

// Counted: only the first Initialize and the matching last Finalize have effect.
void Dovi387Initialize();
void Dovi387Finalize();

namespace detail {
// i! for i = 0..30, as successive products rounded to Double (filled at start-up).
double FactorialTableEntry(int i);
}  // namespace detail


// ---- Number text (number_text.cpp) ----------------------------------------------------------------------------
// Real and complex numbers as text and back, in the run-time's number formats (platform/rtl/NumText.h) and the
// process-wide decimal separator. Parsing raises EConvertError on text that makes no number.

// The general text of 15 significant digits; Digits is the least number of exponent digits.
std::string SampleToStr(double x, int Digits);
// FormatFloat (Format, x) when Format is not empty, else SampleToStr (x, 0); the arguments in either order.
std::string FormatSample(std::string_view Format, double x);
std::string FormatSample(double x, std::string_view Format);
// Both formats given: the real part by ReFormat followed by the imaginary part by ImFormat, which carries its own
// sign and unit letter ("+0.00#i;-0.00#i"); a zero imaginary part is left out, a zero real part too when the
// imaginary part is not. A NaN or infinite imaginary part is written "+NANi", "+INFi" or "-INFi" (alone for a zero
// real part: "NANi"). Either format empty: CplxToStr (z, 0).
std::string FormatCplx(const TCplx& z, std::string_view ReFormat, std::string_view ImFormat);
// "1+2i", "1-2i", "1+i", "1-i", "2i", "-i", "i", "3": parts by SampleToStr (v, Digits). A NaN imaginary part is
// written "1+NANi" ("NANi" for a zero real part), so that StrToCplx reads back what was written.
std::string CplxToStr(const TCplx& z, int Digits);
// The same four with the separators given instead of the process-wide ones.
std::string SampleToStr(double x, int Digits, const TFormatSettings& Settings);
std::string FormatSample(std::string_view Format, double x, const TFormatSettings& Settings);
std::string FormatCplx(const TCplx& z, std::string_view ReFormat, std::string_view ImFormat,
                       const TFormatSettings& Settings);
std::string CplxToStr(const TCplx& z, int Digits, const TFormatSettings& Settings);

// StrToFloat with the current separator; then the words: text containing "NAN" (in any case) is NAN, text
// containing "INF" is INF, each negated when the text holds a "-"; then StrToFloat with the other separator
// ("," for ".", else "."), the process-wide setting left as it is. Raises EConvertError when nothing fits.
double StrToVal(std::string_view S);
double StrToSample(std::string_view S);
// A real part followed by a signed imaginary part ending in "i" ("1.5-2i", "3i", "-i", "2"); text after the "i"
// is ignored. The "i" of an "inf" or "infinity" word is no unit, and "e" is an exponent like "E". A real part
// that is empty or one blank is 0; any other that makes no number raises.
TCplx StrToCplx(std::string_view S);

// The 1-based position of SubStr in S at or after Offset, 0 when there is none. Raises "Offset < 1".
int OffsetPos(std::string_view SubStr, std::string_view S, int Offset);
// The next field of a delimited line at the 1-based Pos: skips whole delimiters, reads the field up to the next
// delimiter (or the end) and moves Pos past it. Past the end the result is 0 (C_ZERO) and Pos is Length(S) + 1.
// Raises "Offset < 1" for Pos < 1 and "Delimiter is empty" before reading anything.
double ExtractSample(std::string_view S, int& Pos, std::string_view Delimiter);
TCplx ExtractCplx(std::string_view S, int& Pos, std::string_view Delimiter);

}  // namespace tarnel
