// The expression parser against muparser: evaluating (AsFloat) an arithmetic expression of 8 and of 50 operations
// over two bound variables (ours are complex, muparser's real; the same expression compiled as C++ is shown too), a
// mix of functions, sin(x)*cos(y)+x^2-3*x/(1+y), also against that expression written in C++ with the words' complex
// formulas (a bound variable is complex: each function computes both parts, x^2 is the polar integer power), and
// compiling a sum of 10, 100 and 1,000 terms (muparser: SetExpr and the first Eval, where it builds its bytecode).
#include <muParser.h>

#include <string>

#include "bench/BenchRow.h"
#include "parser/MtxParseExpr.h"
#include "tests/parser/TestWords.h"

using namespace tarnel;

namespace {

// 8 operations.
const std::string kShort = "(a+b)*(a-b)/(a*b+1)-a*2";

// 50 operations: the short one six times, joined by "+" (6·8 + 5 = 53 would be too many, so the last copy is
// shortened to keep exactly 50).
std::string Long()
{
    std::string s;
    for (int k = 0; k < 5; ++k) s += "(a+b)*(a-b)/(a*b+" + std::to_string(k + 1) + ")-a*2+";
    return s + "(a-b)*(a+b)-b";  // 5·9 + 3 + 2 = 50
}

double Cpp8(double a, double b)
{
    return (a + b) * (a - b) / (a * b + 1) - a * 2;
}
double Cpp50(double a, double b)
{
    double s = 0;
    for (int k = 0; k < 5; ++k) s += (a + b) * (a - b) / (a * b + (k + 1)) - a * 2;
    return s + (a - b) * (a + b) - b;
}

// A sum of n terms a*1.5 + b*2.5 + a*3.5 + ...
std::string Terms(int n)
{
    std::string s;
    for (int k = 0; k < n; ++k) s += (k ? "+" : "") + std::string(k % 2 ? "b*" : "a*") + std::to_string(k) + ".5";
    return s;
}

// The mix of functions, with the variables named x and y.
const std::string kMix = "sin(x)*cos(y)+x^2-3*x/(1+y)";

// The mix as the words compute it on two complex values.
TCplx CppMix(const TCplx& x, const TCplx& y)
{
    return CSub(CAdd(CMul(Sin(x), Cos(y)), IntPower(x, 2)), Quotient(CMul(3.0, x), CAdd(1.0, y)));
}

void OursEvaluate(benchmark::State& st, const std::string& text, const char* A = "a", const char* B = "b")
{
    TMtxExpression p;
    TCplx a{0.5, 0}, b{1.25, 0};
    p.DefineVariable(A, a);
    p.DefineVariable(B, b);
    p.Add(text);
    p.AsFloat();
    for (auto _ : st) {
        a.Re += 1e-9;
        benchmark::DoNotOptimize(p.AsFloat());
    }
}

void MuEvaluate(benchmark::State& st, const std::string& text, const char* A = "a", const char* B = "b")
{
    mu::Parser p;
    double a = 0.5, b = 1.25;
    p.DefineVar(A, &a);
    p.DefineVar(B, &b);
    p.SetExpr(text);
    p.Eval();
    for (auto _ : st) {
        a += 1e-9;
        benchmark::DoNotOptimize(p.Eval());
    }
}

template <class F>
void CppEvaluate(benchmark::State& st, F f)
{
    double a = 0.5, b = 1.25;
    for (auto _ : st) {
        a += 1e-9;
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(f(a, b));
    }
}

void OursCompile(benchmark::State& st, int n)
{
    parsertest::TLanguage L;
    TCplx a{0.5, 0}, b{1.25, 0};
    L.Define("a", a);
    L.Define("b", b);
    const std::string text = Terms(n);
    for (auto _ : st) {
        auto e = L.Compile(text);
        benchmark::DoNotOptimize(e->Evaluate());
        st.PauseTiming();
        e.reset();
        L.ConstantList().ReleaseAll();  // as the parser's Clear: the constants of the compile go
        st.ResumeTiming();
    }
}

void MuCompile(benchmark::State& st, int n)
{
    mu::Parser p;
    double a = 0.5, b = 1.25;
    p.DefineVar("a", &a);
    p.DefineVar("b", &b);
    const std::string text = Terms(n);
    for (auto _ : st) {
        p.SetExpr(text);
        benchmark::DoNotOptimize(p.Eval());
    }
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    static const std::string longText = Long();
    Row("Evaluate", 8, "ours", [](benchmark::State& s) { OursEvaluate(s, kShort); });
    Row("Evaluate", 8, "muparser", [](benchmark::State& s) { MuEvaluate(s, kShort); });
    Row("Evaluate", 8, "C++", [](benchmark::State& s) { CppEvaluate(s, Cpp8); });
    Row("Evaluate", 50, "ours", [](benchmark::State& s) { OursEvaluate(s, longText); });
    Row("Evaluate", 50, "muparser", [](benchmark::State& s) { MuEvaluate(s, longText); });
    Row("Evaluate", 50, "C++", [](benchmark::State& s) { CppEvaluate(s, Cpp50); });
    Row("Evaluate functions", 9, "ours", [](benchmark::State& s) { OursEvaluate(s, kMix, "x", "y"); });
    Row("Evaluate functions", 9, "muparser", [](benchmark::State& s) { MuEvaluate(s, kMix, "x", "y"); });
    Row("Evaluate functions", 9, "C++ complex", [](benchmark::State& s) {
        TCplx x{0.5, 0}, y{1.25, 0};
        for (auto _ : s) {
            x.Re += 1e-9;
            benchmark::DoNotOptimize(x);
            benchmark::DoNotOptimize(CppMix(x, y));
        }
    });
    for (int n : {10, 100, 1000}) {
        Row("Compile", n, "ours", [n](benchmark::State& s) { OursCompile(s, n); });
        Row("Compile", n, "muparser", [n](benchmark::State& s) { MuCompile(s, n); });
    }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
