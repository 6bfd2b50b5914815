// The built-in words: every word on real and complex operands against mpmath with the form of its result, the
// constants bit for bit, the messages at evaluation and in a folding compile, the integer words, and ":=" (whose
// rebound names must never read freed storage: the sanitizer run of this suite checks that).
#include <cmath>
#include <cstring>
#include <string>

#include "ParserGolden.h"
#include "TestSupport.h"
#include "TestWords.h"

using namespace tarnel;
using parsertest::TLanguage;
using parsertest::ValueOf;
using testsupport::ExpectRaise;

namespace {

using namespace parsertest;

class ParserBuiltin : public testsupport::PoolCheck {};

bool Near(double Got, double Want, double Tolerance)
{
    if (std::isnan(Want)) return std::isnan(Got);
    if (std::isinf(Want)) return Got == Want;
    return std::fabs(Got - Want) <= Tolerance;
}

std::string Upper(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The value of the current expression, with its form.
parsertest::TValue Current(TLanguage& P)
{
    return ValueOf(P.Evaluated());
}

}  // namespace

TEST_F(ParserBuiltin, EveryWordAgainstMpmath)
{
    for (bool optimize : {false, true}) {
        TLanguage P(optimize);
        TCplx x{0, 0};
        P.Define("x", x);
        for (const TWordCase& c : kWordCases) {
            x = TCplx{c.XRe, c.XIm};
            parsertest::TValue v;
            try {
                P.Add(c.Text);
                v = Current(P);
            } catch (const Exception& e) {
                ADD_FAILURE() << c.Text << ": " << e.what();
                continue;
            }
            const double m = std::fmax(std::fabs(c.Re), std::fabs(c.Im));
            const double ulp = std::isfinite(m) ? std::nextafter(m, INFINITY) - m : 0;
            const double tol = c.Ulps * ulp;
            EXPECT_EQ(v.Complex, c.Complex) << c.Text << " optimize " << optimize;
            EXPECT_TRUE(Near(v.Z.Re, c.Re, tol) && Near(v.Z.Im, c.Im, tol))
                << c.Text << " with x = " << c.XRe << " + " << c.XIm << "i gives " << v.Z.Re << " + " << v.Z.Im
                << "i, not " << c.Re << " + " << c.Im << "i";
        }
    }
}

TEST_F(ParserBuiltin, TheLanguageAndItsConstants)
{
    TMtxExpression P;
    int constants = 0, operators = 0, functions = 0, punctuation = 0;
    for (int k = 0; k < P.WordCount(); ++k) {
        const TExprWord* w = P.Words(k);
        if (w->IsValueWord()) {
            ++constants;
        } else if (w->Routine() == nullptr) {
            ++punctuation;
        } else if (w->IsOperator()) {
            ++operators;
        } else {
            ++functions;
        }
        if (k > 0) {  // name order, folded to upper case
            EXPECT_LT(Upper(P.Words(k - 1)->Name()), Upper(w->Name()));
        }
    }
    EXPECT_EQ(constants, 25);
    EXPECT_EQ(operators, 24);
    EXPECT_EQ(functions, 69);
    EXPECT_EQ(punctuation, 3);

    // The real constants bit for bit against their definitions.
    for (const TConstantCase& c : kWordConstants) {
        P.Add(c.Name);
        const double v = P.AsFloat();
        EXPECT_EQ(std::memcmp(&v, &c.Value, sizeof v), 0) << c.Name << ": " << v << " against " << c.Value;
    }
    const struct {
        const char* Name;
        bool Complex;
        TCplx Value;
    } special[] = {
        {"nan", false, {NAN, 0}},   {"inf", false, {INFINITY, 0}},
        {"cnan", true, {NAN, NAN}}, {"cinf", true, {INFINITY, INFINITY}},
        {"i", true, {0, 1}},
    };
    TLanguage L;
    for (const auto& c : special) {
        L.Add(c.Name);
        const parsertest::TValue v = Current(L);
        EXPECT_EQ(v.Complex, c.Complex) << c.Name;
        EXPECT_TRUE(Near(v.Z.Re, c.Value.Re, 0) && Near(v.Z.Im, c.Value.Im, 0)) << c.Name;
    }
    // Names as spelled.
    ExpectRaise([&] { P.Add("exp2(1)"); }, "exp2 is an unknown function");
    ExpectRaise([&] { P.Add("arccsc(1)"); }, "arccsc is an unknown function");
    P.Add("epx2(3) + arcsc(1) * 0 + LogN(2, 8)");
    EXPECT_EQ(P.AsFloat(), 11);
}

TEST_F(ParserBuiltin, MessagesAtEvaluationAndInAFoldingCompile)
{
    const struct {
        const char* Text;
        const char* Message;
    } cases[] = {
        {"(1i)!", "Factorial: Complex argument not supported!"},
        {"i div 2", "Div: argument can not be complex!"},
        {"5 mod i", "Div: argument can not be complex!"},
        {"arctan2(i, 1)", "ArcTan2: Arguments can not be complex!"},
        {"degtorad(i)", "DegToRad: argument can not be complex!"},
        {"radtodeg(i)", "DegToRad: argument can not be complex!"},
        {"gcd(i, 2)", "Gcd: argument can not be complex!"},
        {"lcm(2, i)", "Gcd: argument can not be complex!"},
        {"cplx(i, 1)", "Cplx: arguments can not be complex!"},
        {"expj(i)", "Expj: argument can not be complex!"},
        {"cartopolar(2)", "CartToPolar: argument must be complex!"},
        {"polartocart(2)", "PolarToCart: argument must be complex!"},
        {"1 div 0", "Division by zero"},
        {"5 mod 0.4", "Division by zero"},  // the divisor rounds to 0
    };
    for (const auto& c : cases) {
        TMtxExpression P;
        P.Add(c.Text);  // not folded: the compile succeeds
        ExpectRaise([&] { P.AsFloat(); }, c.Message, c.Text);
        P.SetOptimize(true);
        ExpectRaise([&] { P.Add(c.Text); }, c.Message, c.Text);
        EXPECT_EQ(P.Count(), 1) << c.Text;  // the failed compile added nothing
    }
    // The routines raise the general exception class, never the parser's syntax error; "div" by zero the run-time's
    // division error.
    TMtxExpression P;
    P.Add("1 div 0");
    EXPECT_THROW(P.AsFloat(), EDivByZero);
    P.Add("cplx(i, 1)");
    try {
        P.AsFloat();
    } catch (const EParserException&) {
        ADD_FAILURE() << "a routine raised EParserException";
    } catch (const Exception&) {
    }
    // "randg" and "random" vary: never folded, so randg compiles and raises only when evaluated.
    P.SetOptimize(true);
    P.Add("randg(1, 2)");
    EXPECT_EQ(P.OperationCount(), 1);
    ExpectRaise([&] { P.AsFloat(); }, "RandomG: not supported!");
    P.Add("random");
    EXPECT_EQ(P.OperationCount(), 1);
    double previous = -1;
    for (int k = 0; k < 100; ++k) {
        const double r = P.AsFloat();
        EXPECT_TRUE(r >= 0 && r < 1) << r;
        EXPECT_NE(r, previous);
        previous = r;
    }
}

TEST_F(ParserBuiltin, AssignmentRebindsNamesAndKeepsTheirValuesWhenTheStorageGoes)
{
    TLanguage P;
    P.SetMaxExpressions(100);
    TCplx x{1, 0};
    P.Define("x", x);

    // After "y := x+1" has run, y reads the latest value of that sum.
    P.Add("y := x + 1");
    P.Add("y * 10");
    EXPECT_TRUE(std::isnan(P.AsFloat()));  // y is an unknown name until the assignment runs
    P.SetCurrentIndex(0);
    P.AsFloat();
    P.SetCurrentIndex(1);
    EXPECT_EQ(P.AsFloat(), 20);
    x = TCplx{4, 0};
    P.SetCurrentIndex(0);
    P.AsFloat();
    P.SetCurrentIndex(1);
    EXPECT_EQ(P.AsFloat(), 50);

    // z := y binds z to the same storage; pi := 3 binds a constant to a literal of the constant list.
    P.Add("z := y");
    P.AsFloat();
    P.Add("pi := 3");
    P.AsFloat();
    P.Add("y + z + pi");
    EXPECT_EQ(P.AsFloat(), 13);

    // Deleting the assigning expression frees the sum's record: y and z keep the value they read (ASan would see a
    // read of freed memory here).
    P.Delete(0);
    x = TCplx{100, 0};
    EXPECT_EQ(P.AsFloat(), 13);
    // Clear frees every expression and the constants; the names stay with their values.
    P.Clear();
    P.Add("y + z + pi");
    EXPECT_EQ(P.AsFloat(), 13);

    // The trim of MaxExpressions, replacing an entry's text, and loading a stream free records too.
    P.SetMaxExpressions(2);
    P.Add("w := x * 2");
    P.AsFloat();
    P.Add("v := w");
    P.AsFloat();
    P.Add("w + v");  // trims "w := x * 2"
    EXPECT_EQ(P.AsFloat(), 400);
    P.Put(0, "u := x + 0.5");
    P.SetCurrentIndex(0);
    P.AsFloat();
    P.Put(0, "1");  // frees the record u reads
    P.SetCurrentIndex(1);
    P.Put(1, "u + w + v");
    EXPECT_EQ(P.AsFloat(), 500.5);
    TStringStream s(std::string("\x08\x00\x00\x00", 4) + "1+1\r\n2\r\n");
    P.LoadFromStream(s);
    P.Add("u + w + v");
    EXPECT_EQ(P.AsFloat(), 500.5);

    // A name rebound inside one expression: the evaluation order holds.
    P.Add("(q := 2) * q");
    EXPECT_EQ(P.AsFloat(), 4);
}

TEST_F(ParserBuiltin, AssignmentToABoundVariableWritesTheCallersValue)
{
    TLanguage P;
    TCplx x{1, 0}, y{2, 3};
    P.Define("x", x);
    P.Define("y", y);
    P.Add("x + 1");
    P.Add("x := y * 2");
    EXPECT_EQ(P.AsCplx().Re, 4);
    EXPECT_EQ(x.Re, 4);  // the caller sees the assigned value
    EXPECT_EQ(x.Im, 6);
    P.SetCurrentIndex(0);
    EXPECT_EQ(P.AsFloat(), 5);
    x = TCplx{10, 0};  // and the variable goes on reading the caller's later edits
    EXPECT_EQ(P.AsFloat(), 11);
    P.Add("x := x + 1");
    P.AsFloat();
    P.AsFloat();
    EXPECT_EQ(x.Re, 12);
    // An alias of a bound variable is rebound, never written through.
    P.Add("a := x");
    P.AsFloat();
    P.Add("a := 5");
    P.AsFloat();
    EXPECT_EQ(x.Re, 12);
}
