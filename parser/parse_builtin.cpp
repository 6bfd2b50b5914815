// The built-in words of the expression language: the punctuation, 25 constants, 24 operators and 69 functions, each
// operator and function with its routine.
//
// A routine reads each operand in the form its value reference names and picks the real or the complex form of the
// Dovi387 function; a real operand meeting a complex one takes part as x + 0i. Bound variables are always complex, so
// the complex rules apply to them even when they hold a real number: with x bound to -5, "x > 0" compares moduli and
// gives 1, and "sqrt(x)" gives 2.236i.
//
// Integer words work on 64-bit values and never narrow: "round", "trunc", "ceil" and "floor" give the integral
// Double; "div", "mod", "gcd" and "lcm" give NaN for an operand that is NaN, infinite or of magnitude 2^63 or more;
// "!" and "intpower" keep a NaN and take exponents beyond the 32-bit range.
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/messages.h"
#include "parser/MtxParseExpr.h"
#include "platform/rtl/Random.h"

namespace tarnel {

namespace {

using TRealFn = double (*)(double);
using TCplxFn = TCplx (*)(const TCplx&);

bool Real1(const TExprRec& R)
{
    return !ArgIsComplex(R, 0);
}
bool Real2(const TExprRec& R)
{
    return !ArgIsComplex(R, 0) && !ArgIsComplex(R, 1);
}
// The truth of an operand: x > 0 for a real x (a NaN is false), Bigger (z, 0) for a complex z.
bool Truth(const TExprRec& R, int i)
{
    return ArgIsComplex(R, i) ? Bigger(ArgCplx(R, i), C_ZERO) : ArgReal(R, i) > 0;
}
void SetBool(TExprRec& R, bool B)
{
    SetResult(R, B ? 1.0 : 0.0);
}
void Refuse(const TExprRec& R, int Count, const char* Message)
{
    for (int i = 0; i < Count; ++i) {
        if (ArgIsComplex(R, i)) ERaise(Message);
    }
}

// An integral Double as a 64-bit integer: false for NaN, infinities and magnitudes of 2^63 or more.
bool ToInt64(double x, std::int64_t& N)
{
    const double r = std::nearbyint(x);  // ties to even
    if (!(std::fabs(r) < 0x1p63)) return false;
    N = static_cast<std::int64_t>(r);
    return true;
}

std::uint64_t Magnitude(std::int64_t n)
{
    return n < 0 ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
}

std::uint64_t Gcd64(std::uint64_t a, std::uint64_t b)
{
    while (b != 0) {
        const std::uint64_t r = a % b;
        a = b;
        b = r;
    }
    return a;
}

// X^N for an integral N (a rounded Double): IntPower within the Integer range, the C library's long double power
// beyond it (where only |X| close to 1 keeps the result finite and non-zero).
double WideIntPower(double X, double N)
{
    if (std::isnan(N)) return NAN;
    if (std::fabs(N) <= std::numeric_limits<int>::max()) return IntPower(X, static_cast<int>(N));
    return static_cast<double>(std::pow(static_cast<long double>(X), static_cast<long double>(N)));
}
TCplx WideIntPower(const TCplx& Z, double N)
{
    if (std::fabs(N) <= std::numeric_limits<int>::max()) return IntPower(Z, static_cast<int>(N));
    return Power(Z, N);  // the same polar form; NaN parts for a NaN exponent
}

// ---- One argument, the same function in the argument's form ----------------------------------------------------

template <TRealFn F, TCplxFn G>
void Same(TExprRec& R)
{
    Real1(R) ? SetResult(R, F(ArgReal(R, 0))) : SetResult(R, G(*R.Args[0]->CplxLoc));
}

double SquareRoot(double x)
{
    return std::sqrt(x);
}
double Square(double x)
{
    return x * x;
}
double RoundEven(double x)
{
    return std::nearbyint(x);
}
TCplx RoundBoth(const TCplx& z)
{
    return CRound(z);
}
double Truncate(double x)
{
    return std::trunc(x);
}
TCplx TruncateBoth(const TCplx& z)
{
    return CTrunc(z);
}
double Up(double x)
{
    return std::ceil(x);
}
TCplx UpBoth(const TCplx& z)
{
    return {std::ceil(z.Re), std::ceil(z.Im)};
}
double Down(double x)
{
    return std::floor(x);
}
TCplx DownBoth(const TCplx& z)
{
    return {std::floor(z.Re), std::floor(z.Im)};
}
TCplx SquareC(const TCplx& z)
{
    return CSqr(z);
}
TCplx RootC(const TCplx& z)
{
    return CSqrt(z);
}
double Percent(double x)
{
    return x * 0.01;
}
TCplx PercentC(const TCplx& z)
{
    return CMul(z, 0.01);
}
double Minus(double x)
{
    return -x;
}
TCplx MinusC(const TCplx& z)
{
    return Neg(z);
}
double Keep(double x)
{
    return x;
}
TCplx KeepC(const TCplx& z)
{
    return z;
}
TCplx ConjC(const TCplx& z)
{
    return Conj(z);
}

// ---- One argument, a real result -------------------------------------------------------------------------------

void Abs(TExprRec& R)
{
    SetResult(R, Real1(R) ? std::fabs(ArgReal(R, 0)) : CAbs(ArgCplx(R, 0)));
}
void NormWord(TExprRec& R)
{
    SetResult(R, Real1(R) ? ArgReal(R, 0) * ArgReal(R, 0) : Norm(ArgCplx(R, 0)));
}
void ArgWord(TExprRec& R)
{
    SetResult(R, Arg(ArgCplx(R, 0)));
}
void SgnWord(TExprRec& R)
{
    SetResult(R, static_cast<double>(Real1(R) ? Sgn(ArgReal(R, 0)) : Sgn(ArgCplx(R, 0))));
}
void RealPart(TExprRec& R)
{
    SetResult(R, ArgCplx(R, 0).Re);
}
void ImagPart(TExprRec& R)
{
    SetResult(R, Real1(R) ? 0.0 : ArgCplx(R, 0).Im);
}
template <bool (*F)(double), bool (*G)(const TCplx&)>
void Test(TExprRec& R)
{
    SetBool(R, Real1(R) ? F(ArgReal(R, 0)) : G(ArgCplx(R, 0)));
}

// ---- One argument, other forms ---------------------------------------------------------------------------------

void Factorial(TExprRec& R)
{
    Refuse(R, 1, msg::kFactorialComplex);
    const double n = std::nearbyint(ArgReal(R, 0));
    // Fact gives INF above 170 and NaN below 0; a NaN stays NaN
    SetResult(R, std::isnan(n) ? n : Fact(static_cast<int>(std::fmin(std::fmax(n, -1.0), 171.0))));
}
void FlipWord(TExprRec& R)
{
    SetResult(R, Flip(ArgCplx(R, 0)));
}
void ExpjWord(TExprRec& R)
{
    Refuse(R, 1, msg::kExpjComplex);
    SetResult(R, Expj(ArgReal(R, 0)));
}
void CartToPolarWord(TExprRec& R)
{
    if (Real1(R)) ERaise(msg::kCartToPolarReal);
    SetResult(R, CartToPolar(ArgCplx(R, 0)));
}
void PolarToCartWord(TExprRec& R)
{
    if (Real1(R)) ERaise(msg::kPolarToCartReal);
    SetResult(R, PolarToCart(ArgCplx(R, 0)));
}
template <double (*F)(double)>
void RealOnly(TExprRec& R)
{
    Refuse(R, 1, msg::kDegToRadComplex);
    SetResult(R, F(ArgReal(R, 0)));
}
double ToRad(double x)
{
    return DegToRad(x);
}
double ToDeg(double x)
{
    return RadToDeg(x);
}

// ---- Two arguments ---------------------------------------------------------------------------------------------

// "div" and "mod": the rounded operands divided as 64-bit integers, truncating toward zero.
template <bool Remainder>
void IntegerDivide(TExprRec& R)
{
    Refuse(R, 2, msg::kDivComplex);
    std::int64_t a, b;
    if (!ToInt64(ArgReal(R, 0), a) || !ToInt64(ArgReal(R, 1), b)) return SetResult(R, NAN);
    if (b == 0) throw EDivByZero();
    SetResult(R, static_cast<double>(Remainder ? a % b : a / b));  // |a| < 2^63: a / -1 cannot overflow
}

template <bool Lcm>
void GcdLcm(TExprRec& R)
{
    Refuse(R, 2, msg::kGcdComplex);
    std::int64_t a, b;
    if (!ToInt64(ArgReal(R, 0), a) || !ToInt64(ArgReal(R, 1), b)) return SetResult(R, NAN);
    const std::uint64_t g = Gcd64(Magnitude(a), Magnitude(b));
    if (!Lcm) return SetResult(R, static_cast<double>(g));
    if (g == 0) return SetResult(R, 0.0);
    // |a| / g · |b| may pass 2^64: the product in 128 bits, rounded once to the Double
    SetResult(R, static_cast<double>(static_cast<unsigned __int128>(Magnitude(a) / g) * Magnitude(b)));
}

// "^", "power", "pow".
void PowerWord(TExprRec& R)
{
    if (Real2(R)) return SetResult(R, Power(ArgReal(R, 0), ArgReal(R, 1)));
    if (!ArgIsComplex(R, 1)) return SetResult(R, Power(*R.Args[0]->CplxLoc, ArgReal(R, 1)));
    SetResult(R, Power(ArgCplx(R, 0), ArgCplx(R, 1)));
}
// "^@", "intpower".
void IntPowerWord(TExprRec& R)
{
    if (ArgIsComplex(R, 1)) return SetResult(R, Power(ArgCplx(R, 0), *R.Args[1]->CplxLoc));
    const double n = std::nearbyint(ArgReal(R, 1));
    Real1(R) ? SetResult(R, WideIntPower(ArgReal(R, 0), n)) : SetResult(R, WideIntPower(*R.Args[0]->CplxLoc, n));
}
void LogNWord(TExprRec& R)
{
    if (Real2(R)) return SetResult(R, LogN(ArgReal(R, 0), ArgReal(R, 1)));
    if (!ArgIsComplex(R, 0)) return SetResult(R, LogN(ArgReal(R, 0), *R.Args[1]->CplxLoc));
    if (!ArgIsComplex(R, 1)) return SetResult(R, LogN(*R.Args[0]->CplxLoc, ArgReal(R, 1)));
    SetResult(R, LogN(*R.Args[0]->CplxLoc, *R.Args[1]->CplxLoc));
}
// Two arguments: the real function when both are real, else the complex one with the real argument promoted.
template <double (*F)(double, double), TCplx (*G)(const TCplx&, const TCplx&)>
void Same2(TExprRec& R)
{
    Real2(R) ? SetResult(R, F(ArgReal(R, 0), ArgReal(R, 1))) : SetResult(R, G(ArgCplx(R, 0), ArgCplx(R, 1)));
}
void ArcTan2Word(TExprRec& R)
{
    Refuse(R, 2, msg::kArcTan2Complex);
    SetResult(R, ArcTan2(ArgReal(R, 0), ArgReal(R, 1)));
}
void CplxWord(TExprRec& R)
{
    Refuse(R, 2, msg::kCplxComplex);
    SetResult(R, Cplx(ArgReal(R, 0), ArgReal(R, 1)));
}

// ---- Comparisons and logic -------------------------------------------------------------------------------------
// Real operands compare as IEEE numbers: with a NaN "<>" holds and every other comparison fails. Complex ones (and a
// real one meeting a complex one) follow the library's complex order.

void Equal(TExprRec& R)
{
    SetBool(R, Real2(R) ? ArgReal(R, 0) == ArgReal(R, 1) : tarnel::Equal(ArgCplx(R, 0), ArgCplx(R, 1)));
}
void NotEqual(TExprRec& R)
{
    SetBool(R, Real2(R) ? ArgReal(R, 0) != ArgReal(R, 1) : !tarnel::Equal(ArgCplx(R, 0), ArgCplx(R, 1)));
}
void Greater(TExprRec& R)
{
    SetBool(R, Real2(R) ? ArgReal(R, 0) > ArgReal(R, 1) : Bigger(ArgCplx(R, 0), ArgCplx(R, 1)));
}
void GreaterEqual(TExprRec& R)
{
    SetBool(R, Real2(R) ? ArgReal(R, 0) >= ArgReal(R, 1) : !Smaller(ArgCplx(R, 0), ArgCplx(R, 1)));
}
void Less(TExprRec& R)
{
    SetBool(R, Real2(R) ? ArgReal(R, 0) < ArgReal(R, 1) : Smaller(ArgCplx(R, 0), ArgCplx(R, 1)));
}
void LessEqual(TExprRec& R)
{
    SetBool(R, Real2(R) ? ArgReal(R, 0) <= ArgReal(R, 1) : !Bigger(ArgCplx(R, 0), ArgCplx(R, 1)));
}
void Not(TExprRec& R)
{
    SetBool(R, !Truth(R, 0));
}
void Or(TExprRec& R)
{
    SetBool(R, Truth(R, 0) || Truth(R, 1));
}
void And(TExprRec& R)
{
    SetBool(R, Truth(R, 0) && Truth(R, 1));
}
void Xor(TExprRec& R)
{
    SetBool(R, Truth(R, 0) != Truth(R, 1));
}

// ---- Varying words, "if" and ":=" ------------------------------------------------------------------------------

void RandomWord(TExprRec& R)
{
    SetResult(R, Random());
}
void RandG(TExprRec&)
{
    ERaise(msg::kRandomG);
}
void If(TExprRec& R)
{
    const int pick = Truth(R, 0) ? 1 : 2;
    ArgIsComplex(R, pick) ? SetResult(R, ArgCplx(R, pick)) : SetResult(R, ArgReal(R, pick));
}

// The left operand's value reference becomes a copy of the right one's: from now on the name reads what the right
// operand's storage holds.
void Assign(TExprRec& R)
{
    static_cast<TAssignWord*>(R.Word)->Ran();
    R.Result = *R.Args[1];
    // A bound variable keeps reading the caller's value: the assignment writes into it.
    if (TCplx* bound = R.Child[0]->Word->BoundValue()) {
        *bound = ArgCplx(R, 1);
        return;
    }
    *R.Args[0] = R.Result;
}

}  // namespace

void DefineBuiltinWords(TExpressList& D, char Separator)
{
    auto add = [&D](std::unique_ptr<TExprWord> w) {
        if (D.InsertItem(w.get())) w.release();
    };
    add(std::make_unique<TLeftBracket>("("));
    add(std::make_unique<TRightBracket>(")"));
    add(std::make_unique<TComma>(std::string_view(&Separator, 1)));

    const struct {
        const char* Name;
        double Value;
    } reals[] = {
        {"pi", PI},
        {"ln2", LN2},
        {"ln10", LN10},
        {"lnpi", LNPI},
        {"invln2", INVLN2},
        {"invln10", INVLN10},
        {"twopi", TWOPI},
        {"invtwopi", INVTWOPI},
        {"pidiv2", PIDIV2},
        {"sqrtpi", SQRTPI},
        {"sqrt2pi", SQRT2PI},
        {"invsqrt2pi", INVSQRT2PI},
        {"lnsqrt2pi", LNSQRT2PI},
        {"ln2pidiv2", LN2PIDIV2},
        {"sqrt2", SQRT2},
        {"sqrt2div2", SQRT2DIV2},
        {"gold", GOLD},
        {"cgold", CGOLD},
        {"pi180", PI180},
        {"invpi180", INVPI180},
        {"nan", NAN},
        {"inf", INF},
    };
    for (const auto& c : reals) add(std::make_unique<TDoubleConstant>(c.Name, c.Value));
    add(std::make_unique<TDoubleConstant>("cnan", CNAN));
    add(std::make_unique<TDoubleConstant>("cinf", CINF));
    add(std::make_unique<TDoubleConstant>("i", C_I));

    enum TClass { plain, boolean, varying };
    const struct {
        const char* Name;
        TClass Class;
        int Args;
        int Precedence;
        TExprRoutine Routine;
    } operators[] = {
        {"!", plain, 1, 10, Factorial},
        {"%", plain, 1, 10, Same<Percent, PercentC>},
        {"-@", plain, 1, 10, Same<Minus, MinusC>},
        {"+@", plain, 1, 10, Same<Keep, KeepC>},
        {"in", boolean, 2, 10, Equal},
        {"^", plain, 2, 20, PowerWord},
        {"^@", plain, 2, 20, IntPowerWord},
        {"*", plain, 2, 30, MultiplyOperands},
        {"/", plain, 2, 30, DivideOperands},
        {"div", plain, 2, 30, IntegerDivide<false>},
        {"mod", plain, 2, 30, IntegerDivide<true>},
        {"+", plain, 2, 40, AddOperands},
        {"-", plain, 2, 40, SubtractOperands},
        {">", boolean, 2, 50, Greater},
        {">=", boolean, 2, 50, GreaterEqual},
        {"<=", boolean, 2, 50, LessEqual},
        {"<", boolean, 2, 50, Less},
        {"<>", boolean, 2, 50, NotEqual},
        {"=", boolean, 2, 50, Equal},
        {"not", boolean, 1, 60, Not},
        {"or", boolean, 2, 70, Or},
        {"and", boolean, 2, 70, And},
        {"xor", boolean, 2, 70, Xor},
    };
    const struct {
        const char* Name;
        TClass Class;
        int Args;
        TExprRoutine Routine;
    } functions[] = {
        {"random", varying, 0, RandomWord},
        {"randg", varying, 2, RandG},
        {"exp", plain, 1, Same<Exp, Exp>},
        {"sin", plain, 1, Same<Sin, Sin>},
        {"cos", plain, 1, Same<Cos, Cos>},
        {"tan", plain, 1, Same<Tan, Tan>},
        {"sinh", plain, 1, Same<Sinh, Sinh>},
        {"cosh", plain, 1, Same<Cosh, Cosh>},
        {"tanh", plain, 1, Same<Tanh, Tanh>},
        {"cot", plain, 1, Same<Cot, Cot>},
        {"coth", plain, 1, Same<Coth, Coth>},
        {"epx2", plain, 1, Same<Exp2, Exp2>},
        {"exp10", plain, 1, Same<Exp10, Exp10>},
        {"if", plain, 3, If},
        {"sqr", plain, 1, Same<Square, SquareC>},
        {"sqrt", plain, 1, Same<SquareRoot, RootC>},
        {"abs", plain, 1, Abs},
        {"round", plain, 1, Same<RoundEven, RoundBoth>},
        {"trunc", plain, 1, Same<Truncate, TruncateBoth>},
        {"ceil", plain, 1, Same<Up, UpBoth>},
        {"floor", plain, 1, Same<Down, DownBoth>},
        {"ln", plain, 1, Same<Ln, Ln>},
        {"log10", plain, 1, Same<Log10, Log10>},
        {"log2", plain, 1, Same<Log2, Log2>},
        {"logN", plain, 2, LogNWord},
        {"power", plain, 2, PowerWord},
        {"pow", plain, 2, PowerWord},
        {"intpower", plain, 2, IntPowerWord},
        {"max", plain, 2, Same2<Max, Max>},
        {"min", plain, 2, Same2<Min, Min>},
        {"pythag", plain, 2, Same2<Pythag, Pythag>},
        {"rem", plain, 2, Same2<Rem, Rem>},
        {"arcsin", plain, 1, Same<ArcSin, ArcSin>},
        {"arccos", plain, 1, Same<ArcCos, ArcCos>},
        {"arcsinh", plain, 1, Same<ArcSinh, ArcSinh>},
        {"arccosh", plain, 1, Same<ArcCosh, ArcCosh>},
        {"arctanh", plain, 1, Same<ArcTanh, ArcTanh>},
        {"sec", plain, 1, Same<Sec, Sec>},
        {"sech", plain, 1, Same<Sech, Sech>},
        {"arcsec", plain, 1, Same<ArcSec, ArcSec>},
        {"arcsech", plain, 1, Same<ArcSech, ArcSech>},
        {"csc", plain, 1, Same<Csc, Csc>},
        {"csch", plain, 1, Same<Csch, Csch>},
        {"arcsc", plain, 1, Same<ArcCsc, ArcCsc>},
        {"arccsch", plain, 1, Same<ArcCsch, ArcCsch>},
        {"arccot", plain, 1, Same<ArcCot, ArcCot>},
        {"arccoth", plain, 1, Same<ArcCoth, ArcCoth>},
        {"gamma", plain, 1, Same<Gamma, Gamma>},
        {"lngamma", plain, 1, Same<LnGamma, LnGamma>},
        {"arctan2", plain, 2, ArcTan2Word},
        {"degtorad", plain, 1, RealOnly<ToRad>},
        {"radtodeg", plain, 1, RealOnly<ToDeg>},
        {"gcd", plain, 2, GcdLcm<false>},
        {"lcm", plain, 2, GcdLcm<true>},
        {"isnan", boolean, 1, Test<IsNan, IsNan>},
        {"isinf", boolean, 1, Test<IsInf, IsInf>},
        {"isinfnan", boolean, 1, Test<IsNanInf, IsNanInf>},
        {"isnaninf", boolean, 1, Test<IsNanInf, IsNanInf>},
        {"real", plain, 1, RealPart},
        {"imag", plain, 1, ImagPart},
        {"cplx", plain, 2, CplxWord},
        {"conj", plain, 1, Same<Keep, ConjC>},
        {"flip", plain, 1, FlipWord},
        {"norm", plain, 1, NormWord},
        {"arg", plain, 1, ArgWord},
        {"sgn", plain, 1, SgnWord},
        {"expj", plain, 1, ExpjWord},
        {"cartopolar", plain, 1, CartToPolarWord},
        {"polartocart", plain, 1, PolarToCartWord},
    };
    auto make = [](const char* Name, TClass Class, TExprRoutine Routine, int Args, bool IsOperator,
                   int Precedence) -> std::unique_ptr<TExprWord> {
        switch (Class) {
            case boolean:
                return std::make_unique<TBooleanFunction>(Name, Routine, Args, IsOperator, Precedence);
            case varying:
                return std::make_unique<TVaryingFunction>(Name, Routine, Args, IsOperator, Precedence);
            default:
                return std::make_unique<TFunction>(Name, Routine, Args, IsOperator, Precedence);
        }
    };
    for (const auto& o : operators) add(make(o.Name, o.Class, o.Routine, o.Args, true, o.Precedence));
    // Rebinding happens when the expression runs, never while it is compiled: a varying word, never folded.
    add(std::make_unique<TAssignWord>(Assign));
    for (const auto& f : functions) add(make(f.Name, f.Class, f.Routine, f.Args, false, 0));
}

}  // namespace tarnel
