// Vector fills, ramps, prime numbers, rounding and fractional parts, against the tables of
// tests/data/gen_fills_mtx_golden.py (numpy).
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

#include "elem_util.h"
#include "platform/wavrin/Parallel.h"

namespace {

using namespace elemtest;

#include "../data/fills_mtx_golden.inc"

class FillTest : public ElemTest {};

TEST_F(FillTest, ConstantFillsInEveryForm)
{
    TVec v;
    v.Size(4, true);
    v.SetVal(2);
    ExpectSame(v, true, {2, 0, 2, 0, 2, 0, 2, 0}, "TVecs.SetVal on complex data");
    v.Size(3, false);
    v.SetVal(TCplx{2, 3});
    ExpectSame(v, false, {2, 2, 2}, "TVec0.SetVal real part");
    v.Size(4, true);
    v.SetZero();
    v.SetVal(TCplx{1, 2}, 1, 2);
    ExpectSame(v, true, {0, 0, 1, 2, 1, 2, 0, 0}, "TVec.SetVal range");
    v.SetVal(5.0, 3, 1);
    ExpectSame(v, true, {0, 0, 1, 2, 1, 2, 5, 0}, "TVec1.SetVal range");
    v.SetZero(1, 1);
    ExpectSame(v, true, {0, 0, 0, 0, 1, 2, 5, 0}, "TVec.SetZero range");
    // The silent ranges do nothing at all; a range past the end raises.
    v.SetVal(TCplx{9, 9}, -1, 3);
    v.SetVal(9.0, 0, 0);
    v.SetZero(-2, 2);
    ExpectSame(v, true, {0, 0, 0, 0, 1, 2, 5, 0}, "silent ranges");
    ExpectRaise([&] { v.SetVal(TCplx{1, 2}, 2, 3); }, "Index+Len > Length");
    ExpectRaise([&] { v.SetVal(1.0, 3, 2); }, "Index+Len > Length");
    ExpectRaise([&] { v.SetZero(3, 2); }, "Len + Index > Length");
    v.SetConditionCheck(false);
    ExpectRaise([&] { v.SetZero(INT_MAX, 2); }, "Len + Index > Length");
}

TEST_F(FillTest, FillsWriteExactlyTheirRange)
{
    // Ranges starting at every Double of a cache line, of lengths around the vector widths and line ends, and
    // lengths that are shared out among threads: each element of the range takes the value (its bits, -0.0 too),
    // nothing beside it is touched; SetZero clears every Double of complex data.
    const parallel::TFixedThreads shared(parallel::kMaxThreads);
    TVec v;
    for (int len : {1, 7, 8, 9, 17, 64, 1000, 1 << 21}) {
        for (int index = 0; index < 9; ++index) {
            v.Size(index + len + 3, false);
            v.SetVal(-7);
            v.SetVal(-0.0, index, len);
            int wrong = 0;
            for (int i = 0; i < v.Length(); ++i) {
                const bool inside = i >= index && i < index + len;
                wrong += inside ? !(v[i] == 0 && std::signbit(v[i])) : v[i] != -7;
            }
            EXPECT_EQ(wrong, 0) << "index " << index << ", len " << len;
        }
    }
    v.Size(1 << 20, true);
    v.SetVal(TCplx{3, 4});
    v.SetZero();
    std::vector<double> zeros(2 << 20, 0.0);
    EXPECT_EQ(std::memcmp(v.Values(), zeros.data(), zeros.size() * sizeof(double)), 0);
}

TEST_F(FillTest, SetCplxSizesOrWritesFromIndex)
{
    TVec v;
    v.SetCplx({{1, 2}, {3, 4}});
    ExpectSame(v, true, {1, 2, 3, 4});
    const std::vector<TCplx> more = {{5, 6}};
    v.SetCplx(1, std::span<const TCplx>(more));
    ExpectSame(v, true, {1, 2, 5, 6});
    // A piece of the vector itself as the source.
    v.SetCplx(std::span<const TCplx>(v.CValues() + 1, 1));
    ExpectSame(v, true, {5, 6});
    ExpectRaise([&] { v.SetCplx(1, {{1, 1}}); }, "(Index + a.Length) > Length");
    ExpectRaise([&] { v.SetCplx(-1, {{1, 1}}); }, "Index < 0");
    v.Size(2, false);
    ExpectRaise([&] { v.SetCplx(0, {{1, 1}}); }, "not Complex");
}

TEST_F(FillTest, RampsComputeEachElementFromItsIndex)
{
    TVec v;
    v.Size(3, true);
    v.Ramp();
    ExpectSame(v, true, {0, 0, 1, 0, 2, 0});
    v.Size(7, false);
    v.Ramp(1, 0.1);
    ExpectSame(v, false, kRampSmall, "Ramp(1, 0.1)");
    v.Size(1000000, false);
    v.Ramp(1, 0.1);
    EXPECT_EQ(v[999999], kRamp999999) << "element 999999 is 1 + 0.1·999999, not an accumulated sum";
    // Every length and start around the blocks of eight and pairs the real ramp is written in: each element is
    // k·Step + Offset for its own k, and nothing outside the range is touched.
    for (int index = 0; index < 3; ++index) {
        for (int len = 0; len <= 27; ++len) {
            v.Size(index + len + 2, false);
            v.SetVal(-7);
            v.Ramp(-2.5, 0.3, index, len);
            for (int i = 0; i < v.Length(); ++i) {
                const bool inside = i >= index && i < index + len;
                EXPECT_EQ(v[i], inside ? (i - index) * 0.3 + -2.5 : -7.0) << "index " << index << ", len " << len
                                                                          << ", element " << i;
            }
        }
    }
    v.Size(3, true);
    v.Ramp(TCplx{1, 1}, TCplx{0, 1});
    ExpectSame(v, true, {1, 1, 1, 2, 1, 3});
    v.Size(5, false);
    v.SetZero();
    v.Ramp(1, 0.5, 2, 3);
    ExpectSame(v, false, {0, 0, 1, 1.5, 2});
    ExpectRaise([&] { v.Ramp(0, 1, 3, 3); }, "Index+Len > fLength");
    ExpectRaise([&] { v.Ramp(0, 1, -1, 2); }, "Index < 0");
    ExpectRaise([&] { v.Ramp(TCplx{0, 0}, TCplx{1, 0}); }, "not Complex");
}

TEST_F(FillTest, PrimeNumbersBelowN)
{
    TVec v;
    struct Case {
        int n;
        std::vector<double> primes;
    };
    for (const Case& c : {Case{10, {2, 3, 5, 7}}, Case{7, {2, 3, 5}}, Case{2, {}}, Case{1, {}}, Case{3, {2}}}) {
        v.PrimeNumbers(c.n);
        ExpectSame(v, false, c.primes, "PrimeNumbers(" + std::to_string(c.n) + ")");
    }
    v.PrimeNumbers(1000);
    EXPECT_EQ(v.Length(), kPi1000);
    v.PrimeNumbers(1000000);
    ASSERT_EQ(v.Length(), kPi1e6);
    EXPECT_EQ(v[v.Length() - 1], kLastPrimeBelow1e6);
    double sum = 0;
    for (int i = 0; i < v.Length(); ++i) sum += v[i];
    EXPECT_EQ(sum, kPrimeSumBelow1e6);
    ExpectRaise([&] { v.PrimeNumbers(0); }, "n <= 0");
    ExpectRaise([&] { v.PrimeNumbers(-5); }, "n <= 0");
}

TEST_F(FillTest, PrimeAgreesWithTheSieve)
{
    TVec v;
    v.PrimeNumbers(2000);
    int k = 0;
    for (int n = -5; n < 2000; ++n) {
        const bool listed = k < v.Length() && v[k] == n;
        if (listed) ++k;
        EXPECT_EQ(Prime(n), listed) << n;
    }
    EXPECT_TRUE(Prime(2147483647));
    EXPECT_FALSE(Prime(2147483647 - 2));  // 3 · 715827883
}

TEST_F(FillTest, RoundAndTruncKeepEveryDouble)
{
    TVec x, r;
    Set(x, false, kRoundX);
    r.Round(x);
    ExpectSame(r, false, kRoundRint, "Round against numpy.rint");
    r.Trunc(x);
    ExpectSame(r, false, kRoundTrunc, "Trunc against numpy.trunc");
    r.Copy(x);
    r.Round();
    ExpectSame(r, false, kRoundRint, "in place");
    // Both parts of complex elements, and whatever the rounding mode in force.
    Set(x, true, kRoundX);
    const Word cw = SetRoundToTrunc();
    r.Round(x);
    RestoreRound(cw);
    ExpectSame(r, true, kRoundRint, "complex Round under a truncating control word");
    // An empty source leaves Self as it is.
    TVec empty;
    r.Round(empty);
    EXPECT_EQ(r.Length(), static_cast<int>(kRoundX.size()) / 2);
}

TEST_F(FillTest, RoundToIntegersSaturates)
{
    TVec x;
    Set(x, false, kRoundX);
    TIntArray dst(kRoundX.size());
    x.Round(dst);
    EXPECT_EQ(dst, kRoundInt);
    x.Trunc(dst);
    EXPECT_EQ(dst, kTruncInt);
    // A complex vector writes Re and Im of each element: Dst holds 2·Length integers.
    Set(x, true, kRoundX);
    TIntArray half(kRoundX.size() / 2);
    ExpectRaise([&] { x.Round(half); }, "Length(Dst) <> Length!");
    x.Round(dst);
    EXPECT_EQ(dst, kRoundInt);
}

TEST_F(FillTest, FracAgainstModf)
{
    // x - trunc(x) gives +0 for a negative whole number where modf keeps the sign: zeros compare by value.
    TVec x, r;
    Set(x, false, kFracX);
    r.Frac(x, 0, 0);
    ExpectNear(r, false, kFracModf, 0);
    r.Copy(x);
    r.Frac(0, -1);
    ExpectNear(r, false, kFracModf, 0, "in place");
    const std::size_t even = kFracX.size() & ~std::size_t{1};
    Set(x, true, std::vector<double>(kFracX.begin(), kFracX.begin() + even));
    r.Frac(x, 0, 0);
    ExpectNear(r, true, std::vector<double>(kFracModf.begin(), kFracModf.begin() + even), 0, "complex: part by part");
    TVec v;
    Set(v, false, {1.25, -1.25, 7.5});
    v.Frac(1, 2);
    ExpectSame(v, false, {1.25, -0.25, 0.5});
    ExpectRaise([&] { v.Frac(v, 0, 1, 1); }, "Self = Vec");
    ExpectRaise([&] { r.Frac(v, 0, 0, 2); }, "Complex <> X.Complex");
    ExpectRaise([&] { v.Frac(r, 0, 2, 2); }, "Complex <> X.Complex");
    r.Size(2, false);
    ExpectRaise([&] { r.Frac(v, 0, 1, 2); }, "(Index + Len) > FLength");
    ExpectRaise([&] { r.Frac(v, 2, 0, 2); }, "(XIndex + Len) > X.Length");
    r.SetConditionCheck(false);
    ExpectRaise([&] { r.Frac(v, 2, 0, 2); }, "(XIndex + Len) > X.Length");
}

TEST_F(FillTest, ComplexOffset)
{
    TVec v;
    Set(v, true, {1, 2, 3, 4});
    v.Offset(TCplx{1, -1});
    ExpectSame(v, true, {2, 1, 4, 3});
    Set(v, false, {1, 2});
    v.Offset(TCplx{1, 0});
    ExpectSame(v, false, {2, 3});
    ExpectRaise([&] { v.Offset(TCplx{1, 1}); }, "TVec.Offset: Not Complex");
    ExpectSame(v, false, {2, 3}, "unchanged after the refusal");
}

TEST_F(FillTest, KronAgainstNumpy)
{
    TVec a, b, r;
    Set(a, false, kV1);
    Set(b, false, kV2);
    r.Kron(a, b);
    ExpectSame(r, false, kKronV1V2);
    Set(a, true, kC1);
    r.Kron(a, b);
    ExpectSame(r, true, kKronC1V2, "complex by real");
    Set(a, true, {0, 1});
    Set(b, false, {1, 2});
    r.Kron(a, b);
    ExpectSame(r, true, {0, 1, 0, 2});
    TVec empty;
    r.Kron(a, empty);
    EXPECT_EQ(r.Length(), 0);
    ExpectRaise([&] { r.Kron(r, a); }, "(Self = Vec1) or (Self = Vec2)");
}

}  // namespace
