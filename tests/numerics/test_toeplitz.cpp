// ToeplitzSolve and Levinson against scipy and numpy (tests/data/gen_toeplitz_golden.py), against LUSolve on the
// dense matrix whose first row and column GetRow and GetCol take, and the checks, the aliasing rules and the
// singular minor.
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "tests/platform/GoldenInput.h"

using namespace tarnel;
using namespace testsupport;

namespace {

class Toeplitz : public PoolCheck {};

struct SolveCase {
    const char* What;
    bool Complex;
    int N;
    int Seed;
    std::vector<double> X;
    double Tol;
};

struct LevinsonCase {
    const char* What;
    bool Complex;
    std::vector<double> R, A;
    double Tol;
};

const SolveCase kSolveCases[] = {
#include "toeplitz_solve_golden.inc"
};

const LevinsonCase kLevinsonCases[] = {
#include "toeplitz_levinson_golden.inc"
};

std::vector<double> Doubles(const TVecs& V)
{
    const std::size_t n = static_cast<std::size_t>(V.Length()) * (V.Complex() ? 2 : 1);
    return std::vector<double>(V.Values(), V.Values() + n);
}

// V := Count elements of the kind from generator values, each part divided by Divisor(k).
void Fill(TVec& V, bool Complex, int Count, std::uint64_t Seed, const std::function<double(int)>& Divisor)
{
    const int w = Complex ? 2 : 1;
    const std::vector<double> u = golden::Lcg(Seed, w * Count);
    V.Size(Count, Complex);
    for (int k = 0; k < Count; ++k)
        for (int p = 0; p < w; ++p) V.Values()[k * w + p] = u[static_cast<std::size_t>(k * w + p)] / Divisor(k);
}

// The diagonally dominant systems of the golden script.
void System(const SolveCase& C, TVec& Row, TVec& Col, TVec& B)
{
    Fill(Row, C.Complex, C.N, C.Seed, [](int k) { return double(k + 1) * (k + 1); });
    Row.Values()[0] = golden::Lcg(C.Seed, 1)[0] + 2.0;
    Fill(Col, C.Complex, C.N - 1, C.Seed + 1, [](int k) { return double(k + 2) * (k + 2); });
    Fill(B, C.Complex, C.N, C.Seed + 2, [](int) { return 1.0; });
}

void ExpectNear(const TVecs& V, bool Complex, const std::vector<double>& Expected, double Tol, const std::string& Where)
{
    EXPECT_EQ(V.Complex(), Complex) << Where;
    const std::vector<double> got = Doubles(V);
    ASSERT_EQ(got.size(), Expected.size()) << Where;
    for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], Expected[i], Tol) << Where << ", Double " << i;
}

}  // namespace

// ---- ToeplitzSolve ----------------------------------------------------------------------------------------------

TEST_F(Toeplitz, SolveAgreesWithScipy)
{
    for (const SolveCase& c : kSolveCases) {
        SCOPED_TRACE(c.What);
        TVec row, col, b, x;
        System(c, row, col, b);
        const std::vector<double> rowBefore = Doubles(row), colBefore = Doubles(col), bBefore = Doubles(b);
        ToeplitzSolve(row, col, b, x);
        ExpectNear(x, c.Complex, c.X, c.Tol, c.What);
        EXPECT_EQ(Doubles(row), rowBefore);
        EXPECT_EQ(Doubles(col), colBefore);
        EXPECT_EQ(Doubles(b), bBefore);
        // B given as X: the same solution, bit for bit.
        TVec y;
        y.Copy(b);
        ToeplitzSolve(row, col, y, y);
        EXPECT_EQ(Doubles(y), Doubles(x)) << "B = X";
    }
}

TEST_F(Toeplitz, SmallSystems)
{
    TVec row, col, b, x;
    row.SetIt(false, {2, 1, 0.5});
    col.SetIt(false, {3, 1});
    b.SetIt(false, {1, 2, 3});
    ToeplitzSolve(row, col, b, x);
    ExpectNear(x, false, {0, 1, 0}, 1e-15, "order 3");
    // Order 1: X[0] = B[0]/FirstRow[0], with an empty FirstCol.
    row.SetIt(true, {3, 4});
    col.Size(0, true);
    b.SetIt(true, {1, 2});
    ToeplitzSolve(row, col, b, x);
    const TCplx q = CDiv(TCplx{1, 2}, TCplx{3, 4});
    EXPECT_EQ(Doubles(x), (std::vector<double>{q.Re, q.Im}));
}

// The dense Toeplitz matrix's first row and column, taken with GetRow and GetCol, solve as LUSolve does: a real
// symmetric positive definite system (FirstCol = FirstRow[1..n-1]) and a complex general one.
TEST_F(Toeplitz, SolveAsLUSolveOnTheDenseMatrix)
{
    const int n = 40;
    for (bool complex : {false, true}) {
        SCOPED_TRACE(complex ? "complex general" : "real symmetric positive definite");
        const int w = complex ? 2 : 1;
        const std::vector<double> u = golden::Lcg(77, 2 * w * n), v = golden::Lcg(78, w * n);
        TMtx a;
        a.Size(n, n, complex);
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) {
                // Above the diagonal from u[0 ..], below from u[w·n ..] (complex) or the mirror (real).
                const int d = std::abs(i - j);
                const std::size_t from = (complex && i > j ? w * n : 0) + static_cast<std::size_t>(d * w);
                for (int p = 0; p < w; ++p) {
                    double value = u[from + p] / ((d + 1.0) * (d + 1.0));
                    if (d == 0 && p == 0) value = 3 + u[0];
                    a.Values()[(static_cast<std::size_t>(i) * n + j) * w + p] = value;
                }
            }
        }
        TVec row, col, b, x, y;
        row.GetRow(a, 0);
        col.GetCol(a, 1, 0, n - 1);
        b.SetIt(complex, v);
        ToeplitzSolve(row, col, b, x);
        a.LUSolve(b, y, complex ? mtGeneral : mtSymmPosDef);
        ExpectNear(x, complex, Doubles(y), 1e-14, "against LUSolve");
    }
}

TEST_F(Toeplitz, ChecksInTheirOrder)
{
    TVec row3, col2, col1, b3, bc3, rowc3, row4, x;
    row3.SetIt(false, {2, 1, 0.5});
    row4.SetIt(false, {2, 1, 0.5, 7});
    rowc3.SetIt(true, {2, 0, 1, 0, 0.5, 0});
    col2.SetIt(false, {3, 1});
    col1.SetIt(false, {3});
    b3.SetIt(false, {1, 2, 3});
    bc3.SetIt(true, {1, 0, 2, 0, 3, 0});
    struct Case {
        const char* What;
        const TVec *Row, *Col, *B;
        const char* Message;
    };
    const char* colText = "(FirstCol.Length+1) <> B.Length";
    const char* rowText = "FirstRow.Length <> (FirstCol.Length+1)";
    const char* kindText = "(FirstRow.Complex <> FirstCol.Complex) or (FirstRow.Complex <> B.Complex)";
    const Case cases[] = {
        {"FirstCol short, before all else", &rowc3, &col1, &b3, colText},
        {"FirstCol long", &row3, &b3, &b3, colText},
        {"FirstRow long, before the kinds", &row4, &col2, &bc3, rowText},
        {"complex B", &row3, &col2, &bc3, kindText},
        {"complex FirstRow", &rowc3, &col2, &b3, kindText},
    };
    for (const Case& c : cases) {
        x.SetIt(false, {9, 9});
        ExpectRaise([&] { ToeplitzSolve(*c.Row, *c.Col, *c.B, x); }, c.Message, c.What);
        EXPECT_EQ(Doubles(x), (std::vector<double>{9, 9})) << c.What;
    }
    // An empty B cannot agree with any FirstCol.
    TVec empty;
    ExpectRaise([&] { ToeplitzSolve(row3, col2, empty, x); }, colText, "empty B");
}

// With X.ConditionCheck off longer vectors solve the leading system of order B.Length; what the recursion would
// read past FirstRow or FirstCol, or in the wrong kind, is still refused with the same texts.
TEST_F(Toeplitz, ChecksOffKeepTheMemoryGuards)
{
    TVec row, col, b, x;
    row.SetIt(false, {2, 1, 0.5, 99, 99});
    col.SetIt(false, {3, 1, 99});
    b.SetIt(false, {1, 2, 3});
    x.SetConditionCheck(false);
    ToeplitzSolve(row, col, b, x);
    ExpectNear(x, false, {0, 1, 0}, 1e-15, "leading system");

    TVec shortRow, shortCol, cb;
    shortRow.SetIt(false, {2, 1});
    shortCol.SetIt(false, {3});
    cb.SetIt(true, {1, 0, 2, 0, 3, 0});
    ExpectRaise([&] { ToeplitzSolve(row, shortCol, b, x); }, "(FirstCol.Length+1) <> B.Length", "short FirstCol");
    ExpectRaise([&] { ToeplitzSolve(shortRow, col, b, x); }, "FirstRow.Length <> (FirstCol.Length+1)",
                "short FirstRow");
    ExpectRaise([&] { ToeplitzSolve(row, col, cb, x); },
                "(FirstRow.Complex <> FirstCol.Complex) or (FirstRow.Complex <> B.Complex)", "kinds");
    ExpectNear(x, false, {0, 1, 0}, 1e-15, "X after the refusals");

    // An empty B leaves X empty, in B's kind.
    TVec empty;
    x.SetIt(true, {5, 5});
    ToeplitzSolve(row, col, empty, x);
    EXPECT_EQ(x.Length(), 0);
    EXPECT_FALSE(x.Complex());
}

// X sharing memory with the matrix would be written while the recursion still reads it: refused whatever
// ConditionCheck is. A B overlapping X is read as it was.
TEST_F(Toeplitz, Aliasing)
{
    for (bool check : {true, false}) {
        SCOPED_TRACE(check ? "ConditionCheck on" : "ConditionCheck off");
        TVec row, col, b;
        row.SetIt(false, {2, 1, 0.5});
        col.SetIt(false, {3, 1});
        b.SetIt(false, {1, 2, 3});
        row.SetConditionCheck(check);
        col.SetConditionCheck(check);
        ExpectRaise([&] { ToeplitzSolve(row, col, b, row); }, "X = FirstRow");
        ExpectRaise([&] { ToeplitzSolve(row, col, b, col); }, "X = FirstCol");
        // A view of the row's data as X.
        TVec view;
        view.SetConditionCheck(check);
        view.SetSubRange(row, 1, 2);
        ExpectRaise([&] { ToeplitzSolve(row, col, b, view); }, "X = FirstRow");
        view.SetFullRange();
        EXPECT_EQ(Doubles(row), (std::vector<double>{2, 1, 0.5}));
        EXPECT_EQ(Doubles(col), (std::vector<double>{3, 1}));

        // B and X views of one buffer, X one element further on.
        std::vector<double> buffer = {1, 2, 3, -1};
        TVec bv, xv;
        bv.Adopt(buffer.data(), 4, 3, false);
        xv.Adopt(buffer.data() + 1, 3, 3, false);
        xv.SetConditionCheck(check);
        ToeplitzSolve(row, col, bv, xv);
        ExpectNear(xv, false, {0, 1, 0}, 1e-15, "overlapping B");
    }
}

// No singularity test: a singular leading minor gives non-finite values and no exception.
TEST_F(Toeplitz, SingularLeadingMinor)
{
    TVec row, col, b, x;
    row.SetIt(false, {0, 1});
    col.SetIt(false, {1});
    b.SetIt(false, {1, 1});
    ToeplitzSolve(row, col, b, x);
    ASSERT_EQ(x.Length(), 2);
    for (int i = 0; i < 2; ++i) EXPECT_FALSE(std::isfinite(x.Values()[i])) << "X[" << i << "]";
}

// ---- Levinson ---------------------------------------------------------------------------------------------------

TEST_F(Toeplitz, LevinsonAgreesWithNumpy)
{
    for (const LevinsonCase& c : kLevinsonCases) {
        SCOPED_TRACE(c.What);
        TVec r, a;
        r.SetIt(c.Complex, c.R);
        Levinson(r, a);
        ExpectNear(a, c.Complex, c.A, c.Tol, c.What);
        EXPECT_EQ(a.Values()[0], 1.0);
        if (c.Complex) {
            EXPECT_EQ(a.Values()[1], 0.0);
        }
        EXPECT_EQ(Doubles(r), c.R);
        // R given as A: the same filter.
        TVec same;
        same.SetIt(c.Complex, c.R);
        Levinson(same, same);
        EXPECT_EQ(Doubles(same), Doubles(a));
    }
}

TEST_F(Toeplitz, LevinsonSmallCases)
{
    struct Case {
        const char* What;
        bool Complex;
        std::vector<double> R, A;
    };
    const Case cases[] = {
        {"real order 2", false, {4, 2, 1}, {1, -0.5, 0}},
        {"complex order 2", true, {2, 0, 0, 1, 0, 0}, {1, 0, 0, -2.0 / 3, -1.0 / 3, 0}},
        {"n = 2", false, {4, 1}, {1, -0.25}},
        {"complex n = 2", true, {2, 0, 1, 1}, {1, 0, -0.5, -0.5}},
    };
    for (const Case& c : cases) {
        TVec r, a;
        r.SetIt(c.Complex, c.R);
        Levinson(r, a);
        ExpectNear(a, c.Complex, c.A, 1e-15, c.What);
        EXPECT_EQ(a.Values()[0], 1.0) << c.What;
        if (c.Complex) {
            EXPECT_EQ(a.Values()[1], 0.0) << c.What;
        }
    }
}

TEST_F(Toeplitz, LevinsonOfLengthZeroOrOneLeavesA)
{
    for (int n : {0, 1}) {
        TVec r, a;
        r.Size(n, false);
        if (n == 1) r.Values()[0] = 5;
        a.SetIt(true, {1, 2, 3, 4, 5, 6});
        Levinson(r, a);
        EXPECT_TRUE(a.Complex());
        EXPECT_EQ(Doubles(a), (std::vector<double>{1, 2, 3, 4, 5, 6})) << "n = " << n;
    }
}
