// A small language for the compiler's tests, benchmarks and fuzz target: the punctuation, a few constants, the
// operators with the argument counts and precedences of the built-in language, and a handful of functions, defined
// through the public word constructors. The routines are plain real and complex arithmetic, enough to check the
// compiler's structure; the built-in words proper are not these.
#pragma once

#include <cmath>
#include <complex>
#include <memory>
#include <string_view>

#include "Feldrin.h"
#include "parser/MtxParseClass.h"

namespace parsertest {

using namespace tarnel;

inline bool Both(const TExprRec& R)
{
    return !ArgIsComplex(R, 0) && !ArgIsComplex(R, 1);
}
inline std::complex<double> Std(const TCplx& z)
{
    return {z.Re, z.Im};
}
inline TCplx Ours(const std::complex<double>& z)
{
    return {z.real(), z.imag()};
}
inline bool Truth(const TExprRec& R, int i)
{
    return ArgIsComplex(R, i) ? Norm(ArgCplx(R, i)) > 0 : ArgReal(R, i) > 0;
}
// -1, 0 or 1 as a against b: real values directly, complex ones by squared modulus.
inline int Order(const TExprRec& R)
{
    const double a = Both(R) ? ArgReal(R, 0) : Norm(ArgCplx(R, 0));
    const double b = Both(R) ? ArgReal(R, 1) : Norm(ArgCplx(R, 1));
    return a < b ? -1 : a > b ? 1 : 0;
}
inline bool Same(const TExprRec& R)
{
    if (Both(R)) return ArgReal(R, 0) == ArgReal(R, 1);
    const TCplx a = ArgCplx(R, 0), b = ArgCplx(R, 1);
    return a.Re == b.Re && a.Im == b.Im;
}

inline void Add(TExprRec& R)
{
    Both(R) ? SetResult(R, ArgReal(R, 0) + ArgReal(R, 1)) : SetResult(R, CAdd(ArgCplx(R, 0), ArgCplx(R, 1)));
}
inline void Sub(TExprRec& R)
{
    Both(R) ? SetResult(R, ArgReal(R, 0) - ArgReal(R, 1)) : SetResult(R, CSub(ArgCplx(R, 0), ArgCplx(R, 1)));
}
inline void Mul(TExprRec& R)
{
    Both(R) ? SetResult(R, ArgReal(R, 0) * ArgReal(R, 1)) : SetResult(R, CMul(ArgCplx(R, 0), ArgCplx(R, 1)));
}
inline void Div(TExprRec& R)
{
    Both(R) ? SetResult(R, ArgReal(R, 0) / ArgReal(R, 1)) : SetResult(R, Quotient(ArgCplx(R, 0), ArgCplx(R, 1)));
}
inline void Power(TExprRec& R)
{
    Both(R) ? SetResult(R, std::pow(ArgReal(R, 0), ArgReal(R, 1)))
            : SetResult(R, Ours(std::pow(Std(ArgCplx(R, 0)), Std(ArgCplx(R, 1)))));
}
inline void IntPower(TExprRec& R)
{
    const long long n = std::llround(ArgIsComplex(R, 1) ? ArgCplx(R, 1).Re : ArgReal(R, 1));
    if (!ArgIsComplex(R, 0)) return SetResult(R, std::pow(ArgReal(R, 0), static_cast<double>(n)));
    TCplx base = ArgCplx(R, 0), r = C_ONE;
    for (unsigned long long m = n < 0 ? -static_cast<unsigned long long>(n) : n; m != 0; m >>= 1) {
        if (m & 1) r = CMul(r, base);
        base = CMul(base, base);
    }
    SetResult(R, n < 0 ? CInv(r) : r);
}
inline void Negate(TExprRec& R)
{
    ArgIsComplex(R, 0) ? SetResult(R, Neg(ArgCplx(R, 0))) : SetResult(R, -ArgReal(R, 0));
}
inline void Keep(TExprRec& R)
{
    ArgIsComplex(R, 0) ? SetResult(R, ArgCplx(R, 0)) : SetResult(R, ArgReal(R, 0));
}
inline void Percent(TExprRec& R)
{
    ArgIsComplex(R, 0) ? SetResult(R, CMul(ArgCplx(R, 0), 0.01)) : SetResult(R, ArgReal(R, 0) * 0.01);
}
inline void Factorial(TExprRec& R)
{
    if (ArgIsComplex(R, 0)) ERaise("Factorial: Complex argument not supported!");
    SetResult(R, std::tgamma(std::nearbyint(ArgReal(R, 0)) + 1));
}
inline void Equal(TExprRec& R)
{
    SetResult(R, Same(R) ? 1.0 : 0.0);
}
inline void NotEqual(TExprRec& R)
{
    SetResult(R, Same(R) ? 0.0 : 1.0);
}
inline void Greater(TExprRec& R)
{
    SetResult(R, Order(R) > 0 ? 1.0 : 0.0);
}
inline void Less(TExprRec& R)
{
    SetResult(R, Order(R) < 0 ? 1.0 : 0.0);
}
inline void GreaterEqual(TExprRec& R)
{
    SetResult(R, Order(R) >= 0 ? 1.0 : 0.0);
}
inline void LessEqual(TExprRec& R)
{
    SetResult(R, Order(R) <= 0 ? 1.0 : 0.0);
}
inline void Not(TExprRec& R)
{
    SetResult(R, Truth(R, 0) ? 0.0 : 1.0);
}
inline void And(TExprRec& R)
{
    SetResult(R, Truth(R, 0) && Truth(R, 1) ? 1.0 : 0.0);
}
inline void Or(TExprRec& R)
{
    SetResult(R, Truth(R, 0) || Truth(R, 1) ? 1.0 : 0.0);
}
inline void Xor(TExprRec& R)
{
    SetResult(R, Truth(R, 0) != Truth(R, 1) ? 1.0 : 0.0);
}
// Rebinding: the left operand reads from now on what the right one's storage holds.
inline void Assign(TExprRec& R)
{
    R.Result = *R.Args[1];
    *R.Args[0] = R.Result;
}
inline void Sine(TExprRec& R)
{
    ArgIsComplex(R, 0) ? SetResult(R, Ours(std::sin(Std(ArgCplx(R, 0))))) : SetResult(R, std::sin(ArgReal(R, 0)));
}
inline void Maximum(TExprRec& R)
{
    Both(R) ? SetResult(R, std::max(ArgReal(R, 0), ArgReal(R, 1)))
            : SetResult(R, Order(R) >= 0 ? ArgCplx(R, 0) : ArgCplx(R, 1));
}
inline void If(TExprRec& R)
{
    const int pick = Truth(R, 0) ? 1 : 2;
    ArgIsComplex(R, pick) ? SetResult(R, ArgCplx(R, pick)) : SetResult(R, ArgReal(R, pick));
}
inline void MakeCplx(TExprRec& R)
{
    if (ArgIsComplex(R, 0) || ArgIsComplex(R, 1)) ERaise("Cplx: arguments can not be complex!");
    SetResult(R, Cplx(ArgReal(R, 0), ArgReal(R, 1)));
}
inline void Sum8(TExprRec& R)
{
    double s = 0;
    for (int i = 0; i < 8; ++i) s += ArgIsComplex(R, i) ? ArgCplx(R, i).Re : ArgReal(R, i);
    SetResult(R, s);
}
inline void Counter(TExprRec& R)
{
    static double n = 0;
    SetResult(R, ++n);
}

// Fills a dictionary with the test language.
inline void DefineTestWords(TExpressList& D, char Separator = ',')
{
    auto add = [&D](TExprWord* w) { D.InsertItem(w); };
    add(new TLeftBracket("("));
    add(new TRightBracket(")"));
    add(new TComma(std::string_view(&Separator, 1)));
    add(new TDoubleConstant("pi", PI));
    add(new TDoubleConstant("nan", NAN));
    add(new TDoubleConstant("i", C_I));
    add(new TDoubleConstant("cnan", CNAN));
    struct TOp {
        const char* Name;
        TExprRoutine Routine;
        int Args;
        int Precedence;
        bool Boolean;
    };
    const TOp ops[] = {
        {"!", Factorial, 1, 10, false},    {"%", Percent, 1, 10, false},   {"-@", Negate, 1, 10, false},
        {"+@", Keep, 1, 10, false},        {"in", Equal, 2, 10, true},     {"^", Power, 2, 20, false},
        {"^@", IntPower, 2, 20, false},    {"*", Mul, 2, 30, false},       {"/", Div, 2, 30, false},
        {"+", Add, 2, 40, false},          {"-", Sub, 2, 40, false},       {">", Greater, 2, 50, true},
        {">=", GreaterEqual, 2, 50, true}, {"<=", LessEqual, 2, 50, true}, {"<", Less, 2, 50, true},
        {"<>", NotEqual, 2, 50, true},     {"=", Equal, 2, 50, true},      {"not", Not, 1, 60, true},
        {"or", Or, 2, 70, true},           {"and", And, 2, 70, true},      {"xor", Xor, 2, 70, true},
    };
    for (const TOp& o : ops) {
        if (o.Boolean) {
            add(new TBooleanFunction(o.Name, o.Routine, o.Args, true, o.Precedence));
        } else {
            add(new TFunction(o.Name, o.Routine, o.Args, true, o.Precedence));
        }
    }
    // Rebinding happens when the expression runs, never while it is compiled: the word is never folded.
    add(new TVaryingFunction(":=", Assign, 2, true, 200));
    add(new TFunction("sin", Sine, 1));
    add(new TFunction("max", Maximum, 2));
    add(new TFunction("if", If, 3));
    add(new TFunction("cplx", MakeCplx, 2));
    add(new TFunction("sum8", Sum8, 8));
    add(new TVaryingFunction("counter", Counter, 0));
}

// A dictionary, a constant list and the context that lends them to a compile, as a parser holds them.
struct TLanguage {
    TExpressList Dictionary{200};
    TOCollection<TExprWord> Constants{100};
    TCompileContext Context;

    explicit TLanguage(bool Optimize = false, char HexChar = '$', char Separator = ',')
    {
        DefineTestWords(Dictionary, Separator);
        Context.Dictionary = &Dictionary;
        Context.Constants = &Constants;
        Context.Optimize = Optimize;
        Context.HexChar = HexChar;
    }
    // Binds a name to the caller's value, as the parser's DefineVariable does.
    void Define(std::string_view Name, TCplx& Value)
    {
        auto v = std::make_unique<TDoubleVariable>(Name, Value);
        if (Dictionary.InsertItem(v.get())) v.release();
    }
    std::unique_ptr<TCompiledExpression> Compile(std::string_view Text) { return tarnel::Compile(Context, Text); }
};

// The value of a compiled expression as complex (a real x as (x, 0)) and whether it was complex.
struct TValue {
    TCplx Z;
    bool Complex;
};
inline TValue ValueOf(const TCompiledExpression& E)
{
    const TValueRef* v = E.Evaluate();
    return v->IsComplex ? TValue{*v->CplxLoc, true} : TValue{{*v->RealLoc, 0}, false};
}

}  // namespace parsertest
