// Compiling and evaluation: precedence, random trees against Python, folding, the refusals, and evaluation that
// allocates nothing.
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "FuzzEntry.h"
#include "ParserGolden.h"
#include "TestSupport.h"
#include "TestWords.h"

using namespace tarnel;
using parsertest::TLanguage;
using parsertest::ValueOf;
using testsupport::ExpectRaise;

// Every allocation of this program is counted, so a test can show that a stretch of code allocates nothing. (GCC
// does not see that the malloc and free below pair up.)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
static std::atomic<long> gAllocations{0};

void* operator new(std::size_t n)
{
    ++gAllocations;
    if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
// The nothrow forms too (the library's stable sorts take their buffers through them), so that every allocation
// and release of the program pairs malloc with free, also where the sanitizer supplies the other forms.
void* operator new(std::size_t n, const std::nothrow_t&) noexcept
{
    ++gAllocations;
    return std::malloc(n == 0 ? 1 : n);
}
void operator delete(void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}

namespace {

using namespace parsertest;

class ParserCompile : public testsupport::PoolCheck {};

double Real(TLanguage& L, std::string_view Text)
{
    return ValueOf(*L.Compile(Text)).Z.Re;
}

}  // namespace

TEST_F(ParserCompile, PrecedenceAndAssociativity)
{
    for (bool optimize : {false, true}) {
        TLanguage L(optimize);
        TCplx a{10, 0}, b{3, 0}, c{2, 0};
        L.Define("a", a);
        L.Define("b", b);
        L.Define("c", c);
        const struct {
            const char* Text;
            double Value;
        } cases[] = {
            {"2+3*4", 14},
            {"(2+3)*4", 20},
            {"((2+3))*4", 20},
            {"(2)+(3)", 5},
            {"a-b-c", 5},
            {"a/b/c", 10.0 / 3 / 2},
            {"2^3^2", 64},
            {"2^3^2.0", 64},
            {"-2^2", 4},
            {"-(2^2)", -4},
            {"2*-3^2", 18},
            {"not 1 > 2", 1},
            {"1 + 2 in 3", 1},
            {"sin 0.5", std::sin(0.5)},
            {"sin 0.5 * 2", std::sin(0.5) * 2},
            {"sin(0.5)*2", std::sin(0.5) * 2},
            {"2*sin(0.5)", 2 * std::sin(0.5)},
            {"-sin(0.5)", -std::sin(0.5)},
            {"3!", 6},
            {"3!+1", 7},
            {"50%", 0.5},
            {"max(1, 2) + max(3, max(4, 5))", 7},
            {"if(1-1, 10, 20)", 20},
            {"if(i, 10, 20)", 10},
            {"sum8(1,2,3,4,5,6,7,8)", 36},
            {"sum8(1,(2),3+0,4,max(5,1),6,7,8)", 36},
            {"1 < 2 and 3 > 2", 1},
            {"1 > 2 or 0", 0},
            {"1 xor 1", 0},
            {"'abc' in 'x,abc,y'", 1},
            {"'ab' in 'x, ab'", 0},
            {"('a' < 'b') + ('b' < 'a') * 10", 1},
            {"1 - -1", 2},
            {"--2", 2},
            {"not not 3", 3},
            {"$ff - 1", 254},
            {"2^-1", 0.5},
        };
        for (const auto& t : cases) EXPECT_DOUBLE_EQ(Real(L, t.Text), t.Value) << t.Text << " optimize " << optimize;
    }
}

TEST_F(ParserCompile, RandomTreesAgainstPython)
{
    for (bool optimize : {false, true}) {
        TLanguage L(optimize);
        TCplx a{1.25, 0}, b{-0.75, 0};
        L.Define("a", a);
        L.Define("b", b);
        for (const TExprCase& c : kExprCases) {
            const parsertest::TValue v = ValueOf(*L.Compile(c.Text));
            EXPECT_EQ(v.Complex, c.UsesVariables) << c.Text;  // bound variables are complex
            EXPECT_NEAR(v.Z.Re, c.Value, 1e-12 * std::max(1.0, std::fabs(c.Value))) << c.Text;
            EXPECT_NEAR(v.Z.Im, 0, 1e-12 * std::max(1.0, std::fabs(c.Value))) << c.Text;
        }
    }
}

TEST_F(ParserCompile, ARealDivisorDividesAsRealNumbersDo)
{
    // Bound variables are complex; holding real values they divide bit for bit as real values do (CDiv's long
    // double formula rounds three times and misses the nearest double now and then), and a complex dividend is
    // divided part by part.
    TLanguage L;
    TCplx a{0, 0}, b{0, 0};
    L.Define("a", a);
    L.Define("b", b);
    auto e = L.Compile("a/b");
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> mantissa(-1, 1);
    std::uniform_int_distribution<int> exponent(-40, 40);
    auto draw = [&] { return std::ldexp(mantissa(rng), exponent(rng)); };
    for (int k = 0; k < 20000; ++k) {
        const double x = draw(), y = draw(), z = draw();
        a = TCplx{x, k % 2 ? z : 0.0};
        b = TCplx{y, 0};
        const parsertest::TValue v = ValueOf(*e);
        ASSERT_EQ(v.Z.Re, x / y) << x << " / " << y;
        ASSERT_EQ(v.Z.Im, k % 2 ? z / y : 0.0) << x << " / " << y;
    }

    // Where the parts are exact, the quotient is CDiv's, the signs of zero parts included; a zero, non-finite or
    // complex divisor and a non-finite dividend are CDiv's own case.
    auto same = [](double p, double q) {
        return (std::isnan(p) && std::isnan(q)) || (p == q && std::signbit(p) == std::signbit(q));
    };
    const double parts[] = {0.0, -0.0, 1.5, -6};
    for (double re : parts) {
        for (double im : parts) {
            for (double d : {2.0, -4.0}) {
                for (double dIm : {0.0, -0.0}) {
                    const TCplx q = Quotient({re, im}, {d, dIm}), r = CDiv({re, im}, {d, dIm});
                    EXPECT_TRUE(same(q.Re, r.Re) && same(q.Im, r.Im)) << re << ", " << im << " / " << d << ", " << dIm;
                }
            }
        }
    }
    const double inf = INFINITY;
    const struct {
        TCplx A, B;
    } others[] = {
        {{1, 0}, {0, 0}},   {{1, 1}, {-0.0, 0}}, {{inf, 0}, {2, 0}},    {{1, NAN}, {2, 0}},         {{1, 0}, {inf, 0}},
        {{1, 0}, {NAN, 0}}, {{1, 2}, {3, 4}},    {{1, 0}, {3, 1e-300}}, {{1e308, 1e308}, {0.5, 0}},
    };
    for (const auto& o : others) {
        const TCplx q = Quotient(o.A, o.B), r = CDiv(o.A, o.B);
        EXPECT_TRUE(same(q.Re, r.Re) && same(q.Im, r.Im))
            << o.A.Re << ", " << o.A.Im << " / " << o.B.Re << ", " << o.B.Im;
    }
}

TEST_F(ParserCompile, ComplexLiteralsAndForms)
{
    TLanguage L;
    const struct {
        const char* Text;
        double Re, Im;
        bool Complex;
    } cases[] = {
        {"2i", 0, 2, true},       {"2*i", 0, 2, true},      {"i*i", -1, 0, true}, {"1e-3i", 0, 0.001, true},
        {"1e+3i", 0, 1000, true}, {"1.5e2", 150, 0, false}, {"2", 2, 0, false},   {".5", 0.5, 0, false},
    };
    for (bool optimize : {false, true}) {
        L.SetOptimize(optimize);
        for (const auto& c : cases) {
            const parsertest::TValue v = ValueOf(*L.Compile(c.Text));
            EXPECT_EQ(v.Complex, c.Complex) << c.Text << " optimize " << optimize;
            EXPECT_EQ(v.Z.Re, c.Re) << c.Text;
            EXPECT_EQ(v.Z.Im, c.Im) << c.Text;
        }
    }
}

TEST_F(ParserCompile, Refusals)
{
    TLanguage L;
    const struct {
        const char* Text;
        const char* Message;
    } cases[] = {
        {"3+", "Syntax error: function or operand has too few arguments"},
        {"max(1)", "Syntax error: function or operand has too few arguments"},
        {"1 + not 0", "Syntax error: function or operand has too few arguments"},
        {"sin", "Syntax error: function or operand has too few arguments"},
        {"*", "Syntax error: function or operand has too few arguments"},
        {"sin(1, 2)", "Syntax error: function or operand has too many arguments"},
        {"3! 4", "Syntax error: function or operand has too many arguments"},
        {"1 not 2", "Syntax error: function or operand has too many arguments"},
        {"sum8(1,2,3,4,5,6,7,8,9)", "Syntax error: function or operand has too many arguments"},
        {"2 sin(0.5)", "Syntax error: missing operator before function sin"},
        {"sin(1) sin(2)", "Syntax error: missing operator before function sin"},
        {"sin 0.5 max(1, 2)", "Syntax error: missing operator before function max"},
        {"1 + 2 sin(3)", "Syntax error: missing operator before function sin"},
        {"max(1,)", "Syntax error in expression max(1,)"},
        {",", "Syntax error in expression ,"},
        {"1 + ,", "Syntax error in expression 1 + ,"},
        {"", "Syntax error: empty expression"},
        {"    ", "Syntax error: empty expression"},
        {"\t", "Syntax error: empty expression"},
    };
    for (const auto& c : cases) ExpectRaise([&] { L.Compile(c.Text); }, c.Message, c.Text);
    // The limits: a text too long, and nesting too deep for the tree builder.
    ExpectRaise([&] { L.Compile(std::string(kMaxExpressionLength + 1, '1')); },
                "Syntax error: expression longer than 1000000 characters");
    std::string deep;
    for (int k = 0; k < 1001; ++k) deep += "1+(";
    deep += "1" + std::string(1001, ')');
    ExpectRaise([&] { L.Compile(deep); }, "Syntax error: expression nested deeper than 1000 levels");
}

TEST_F(ParserCompile, LongAndDeepTextsStayCleanAndLinear)
{
    TLanguage L;
    TCplx x{1, 0};
    L.Define("x", x);
    // 10^5 nested brackets around one number: stripped without recursion.
    const std::string nested = std::string(100000, '(') + "7" + std::string(100000, ')');
    EXPECT_EQ(Real(L, nested), 7);
    // 10^5 nested calls and sums: refused by the nesting limit, not by the machine stack.
    std::string calls;
    for (int k = 0; k < 100000; ++k) calls += "sin(";
    calls += "x" + std::string(100000, ')');
    ExpectRaise([&] { L.Compile(calls); }, "Syntax error: expression nested deeper than 1000 levels");
    std::string sums;
    for (int k = 0; k < 100000; ++k) sums += "x+(";
    sums += "x" + std::string(100000, ')');
    ExpectRaise([&] { L.Compile(sums); }, "Syntax error: expression nested deeper than 1000 levels");
    // A sum of 10^6 terms is over the length limit; one of 3·10^5 terms compiles and sums exactly.
    std::string big;
    for (int k = 0; k < 1000000; ++k) big += k ? "+x" : "x";
    ExpectRaise([&] { L.Compile(big); }, "Syntax error: expression longer than 1000000 characters");
    big.resize(2 * 300000 - 1);
    auto e = L.Compile(big);
    EXPECT_EQ(e->OperationCount(), 299999);
    EXPECT_EQ(ValueOf(*e).Z.Re, 300000);
    // The same as a chain of products of negated terms, and as nested prefixes, folded.
    L.SetOptimize(true);
    std::string chain = "1";
    for (int k = 0; k < 100000; ++k) chain += "*--1";
    EXPECT_EQ(Real(L, chain), 1);
}

TEST_F(ParserCompile, Folding)
{
    TLanguage off(false), on(true);
    TCplx x{2, 0};
    off.Define("x", x);
    on.Define("x", x);
    const struct {
        const char* Text;
        int OpsOff, OpsOn;
    } cases[] = {
        {"1+2", 1, 0},     {"7", 0, 0},         {"x", 0, 0},
        {"x+1", 1, 1},     {"x*(1+2*3)", 3, 1}, {"(1+2)*x + sin(0)", 4, 2},
        {"1 < 2", 1, 0},   {"'a' = 'b'", 1, 0}, {"cnan + 0", 1, 0},
        {"i*i + x", 2, 1},
    };
    for (const auto& c : cases) {
        auto a = off.Compile(c.Text);
        auto b = on.Compile(c.Text);
        EXPECT_EQ(a->OperationCount(), c.OpsOff) << c.Text;
        EXPECT_EQ(b->OperationCount(), c.OpsOn) << c.Text;
        const parsertest::TValue va = ValueOf(*a), vb = ValueOf(*b);
        EXPECT_EQ(va.Complex, vb.Complex) << c.Text;  // folding keeps the form, a complex (-1, 0) included
        auto same = [](double p, double q) { return p == q || (std::isnan(p) && std::isnan(q)); };
        EXPECT_TRUE(same(va.Z.Re, vb.Z.Re) && same(va.Z.Im, vb.Z.Im)) << c.Text;
    }
    // A folded comparison is a boolean constant; a folded number a plain one.
    auto cmp = on.Compile("1 < 2");
    EXPECT_EQ(typeid(*cmp->Head()->Word), typeid(TBooleanConstant));
    auto sum = on.Compile("1 + 2");
    EXPECT_EQ(typeid(*sum->Head()->Word), typeid(TDoubleConstant));
    // A varying word is never folded (two evaluations differ); its constant operands are.
    auto counter = on.Compile("counter + (1 + 1)");
    EXPECT_EQ(counter->OperationCount(), 2);
    const double first = ValueOf(*counter).Z.Re;
    EXPECT_EQ(ValueOf(*counter).Z.Re, first + 1);
    EXPECT_EQ(off.Compile("counter + (1 + 1)")->OperationCount(), 3);
}

TEST_F(ParserCompile, ARoutineRaisingWhileFoldingFailsTheCompileCleanly)
{
    TLanguage off(false), on(true);
    // Folded: the routine's message comes out of the compile, and the records are freed once (ASan checks).
    ExpectRaise([&] { on.Compile("cplx(i, 1)"); }, "Cplx: arguments can not be complex!");
    ExpectRaise([&] { on.Compile("1 + 2 * cplx(i, 1)"); }, "Cplx: arguments can not be complex!");
    ExpectRaise([&] { on.Compile("(1+2)! * 0 + 1i!"); }, "Factorial: Complex argument not supported!");
    // Not folded: the compile succeeds and the first evaluation raises.
    auto e = off.Compile("cplx(i, 1)");
    ExpectRaise([&] { e->Evaluate(); }, "Cplx: arguments can not be complex!");
}

TEST_F(ParserCompile, AssignmentRebindsTheName)
{
    TLanguage L;
    TCplx x{1, 0};
    L.Define("x", x);
    auto assign = L.Compile("y := x + 1");
    auto use = L.Compile("y * 10");
    EXPECT_TRUE(std::isnan(ValueOf(*use).Z.Re));  // not evaluated yet: y is unknown
    assign->Evaluate();
    EXPECT_EQ(ValueOf(*use).Z.Re, 20);
    x = TCplx{4, 0};
    assign->Evaluate();
    EXPECT_EQ(ValueOf(*use).Z.Re, 50);  // y reads the latest value of the sum

    // Folded, the rebinding would run in the compile, into records that are gone if the compile fails.
    L.SetOptimize(true);
    ExpectRaise([&] { L.Compile("(pi := 2 + 3) + cplx(i, 1)"); }, "Cplx: arguments can not be complex!");
    EXPECT_EQ(ValueOf(*L.Compile("pi")).Z.Re, PI);
    auto rebind = L.Compile("pi := 2 + 3");
    EXPECT_EQ(ValueOf(*L.Compile("pi")).Z.Re, PI);
    rebind->Evaluate();
    EXPECT_EQ(ValueOf(*L.Compile("pi")).Z.Re, 5);
}

TEST_F(ParserCompile, TheEvaluationLoopGivesWhatTheRoutinesGive)
{
    // A compiled expression runs "+", "-", "*", "/" and value copies in its own loop and hands a result to the next
    // step in a register; tarnel::Evaluate calls every record's routine. Both must leave every record with the same
    // form and bits, over operands of each form (bound variables are complex, real(...) and "2" real, "2i" a
    // complex literal), results passed on or read back, steps after a called routine and after ":=".
    TLanguage L;
    TCplx u{0, 0}, v{0, 0};
    L.Define("u", u);
    L.Define("v", v);
    const char* const leaves[] = {"u", "v", "real(u)", "real(v)", "2", "2i"};
    const char* const ops[] = {"+", "-", "*", "/"};
    const char* const shapes[] = {
        "A @ B",
        "(u # v) @ B",
        "A @ (u # v)",
        "(u # v) @ (v # u)",
        "sqrt(u) @ (u # v)",
        "(u # v) @ sqrt(B)",
        "real(u # v) @ A",
        "u # v @ u # A @ B",
        "(w := u # v) @ B",
        "A @ (w := u # v)",
        "A",
        "-(A @ B) # v",
    };
    auto fill = [](std::string t, char mark, const std::string& with) {
        for (std::size_t at; (at = t.find(mark)) != std::string::npos;) t.replace(at, 1, with);
        return t;
    };
    std::vector<std::string> texts;
    for (const char* shape : shapes) {
        for (const char* a : leaves) {
            for (const char* b : leaves) {
                for (const char* op : ops) {
                    for (const char* op2 : ops) {
                        texts.push_back(fill(fill(fill(fill(shape, 'A', a), 'B', b), '@', op), '#', op2));
                    }
                }
            }
        }
    }
    const double inf = INFINITY;
    const TCplx values[] = {{1.5, 0}, {-0.0, 0},   {0, -0.0},      {NAN, 0}, {inf, 0},        {-inf, 2},
                            {3, -4},  {1e-310, 0}, {1e308, 1e308}, {2, 0},   {-0.75, 1e-300}, {0, NAN}};
    // Every record's result as read through its reference.
    struct TSeen {
        bool Complex;
        double Re, Im;
    };
    auto results = [](TCompiledExpression& e) {
        std::vector<TSeen> seen;
        e.ForEachRecord([&](TExprRec& r) {
            const parsertest::TValue v = ValueOf(r.Result);
            seen.push_back({v.Complex, v.Z.Re, v.Z.Im});
        });
        return seen;
    };
    // Bit for bit, signs of zero included; a NaN matches any NaN (its sign and payload follow the order in which the
    // compiler happens to put the operands of one multiplication).
    auto sameBits = [](double p, double q) {
        return (std::isnan(p) && std::isnan(q)) || std::memcmp(&p, &q, sizeof p) == 0;
    };
    for (const std::string& text : texts) {
        auto e = L.Compile(text);
        for (const TCplx& x : values) {
            for (const TCplx& y : values) {
                u = x;
                v = y;
                const parsertest::TValue fromLoop = ValueOf(*e->Evaluate());
                const std::vector<TSeen> loop = results(*e);
                u = x;  // ":=" may not write u or v here, but set them again all the same
                v = y;
                const parsertest::TValue fromRoutines = ValueOf(*Evaluate(e->Head()));
                const std::vector<TSeen> routines = results(*e);
                ASSERT_EQ(fromLoop.Complex, fromRoutines.Complex) << text;
                ASSERT_TRUE(sameBits(fromLoop.Z.Re, fromRoutines.Z.Re) && sameBits(fromLoop.Z.Im, fromRoutines.Z.Im))
                    << text << " at u = (" << x.Re << ", " << x.Im << "), v = (" << y.Re << ", " << y.Im << ")";
                ASSERT_EQ(loop.size(), routines.size());
                for (std::size_t k = 0; k < loop.size(); ++k) {
                    ASSERT_TRUE(loop[k].Complex == routines[k].Complex && sameBits(loop[k].Re, routines[k].Re) &&
                                sameBits(loop[k].Im, routines[k].Im))
                        << text << ": record " << k << " at u = (" << x.Re << ", " << x.Im << "), v = (" << y.Re << ", "
                        << y.Im << ")";
                }
            }
        }
    }
}

TEST_F(ParserCompile, EvaluationAllocatesNothing)
{
    TLanguage L;
    TCplx a{0.5, 0.25}, b{2, -1};
    L.Define("a", a);
    L.Define("b", b);
    auto e = L.Compile("(a+b)*(a-b)/(a*b+1) - sin(a)^2 + max(a, b) * 2.5 + if(a > b, 1, 2) + 'x' < 'y'");
    e->Evaluate();
    const long before = gAllocations.load();
    double sum = 0;
    for (int k = 0; k < 1000; ++k) {
        a.Re = k * 0.001;
        const TValueRef* v = e->Evaluate();
        sum += v->IsComplex ? v->CplxLoc->Re : *v->RealLoc;
    }
    EXPECT_EQ(gAllocations.load(), before);
    EXPECT_TRUE(std::isfinite(sum));
}

TEST_F(ParserCompile, FuzzCorporaReplay)
{
    namespace fs = std::filesystem;
    const struct {
        const char* Folder;
        int (*Target)(const std::uint8_t*, std::size_t);
    } corpora[] = {{TARNEL_PARSER_CORPUS, parsertest::FuzzOne}, {TARNEL_PARSER_LOAD_CORPUS, parsertest::FuzzLoad}};
    for (const auto& c : corpora) {
        int files = 0;
        for (const auto& entry : fs::directory_iterator(c.Folder)) {
            std::ifstream in(entry.path(), std::ios::binary);
            const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            c.Target(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
            ++files;
        }
        EXPECT_GT(files, 0) << c.Folder;
    }
}
