// The parser the suites, benchmarks and fuzz targets work with: the parser class with its built-in words, and two
// words of its own that the language lacks (a function of eight arguments and a varying counter), added by
// overriding DefineWords as any descendant would. It opens the compile step and the dictionary to the tests.
#pragma once

#include <memory>
#include <string_view>

#include "Feldrin.h"
#include "parser/MtxParseExpr.h"

namespace parsertest {

using namespace tarnel;

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

class TLanguage : public TMtxExpression {
public:
    explicit TLanguage(bool Optimize = false, char HexChar = '$', char Separator = ',')
    {
        SetOptimize(Optimize);
        SetHexChar(HexChar);
        SetSeparator(Separator);
    }
    // Binds a name to the caller's value.
    void Define(std::string_view Name, TCplx& Value) { DefineVariable(Name, Value); }
    // Compiles a text without adding it.
    std::unique_ptr<TCompiledExpression> Compile(std::string_view Text) { return CompileText(Text); }
    // What a compile is lent, with the parser's current settings.
    TCompileContext& Context()
    {
        WordCount();  // the dictionary is filled at first use
        FContextView = TCompileContext{&Dictionary(), &ConstantList(), HexChar(), Optimize(), {}, 0, {0, 0}};
        return FContextView;
    }
    using TMtxExpression::ConstantList;
    using TMtxExpression::Dictionary;
    using TMtxExpression::Evaluated;

protected:
    void DefineWords() override
    {
        TMtxExpression::DefineWords();
        Dictionary().InsertItem(new TFunction("sum8", Sum8, 8));
        Dictionary().InsertItem(new TVaryingFunction("counter", Counter, 0));
    }

private:
    TCompileContext FContextView;
};

// The value of a compiled expression as complex (a real x as (x, 0)) and whether it was complex.
struct TValue {
    TCplx Z;
    bool Complex;
};
inline TValue ValueOf(const TValueRef& V)
{
    return V.IsComplex ? TValue{*V.CplxLoc, true} : TValue{{*V.RealLoc, 0}, false};
}
inline TValue ValueOf(const TCompiledExpression& E)
{
    return ValueOf(*E.Evaluate());
}

}  // namespace parsertest
