// lapack's vector maths: special values against the C library, accuracy against long double references on
// 10^5 random points for every instruction set the processor runs, aliasing, strided copies.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/Nmkl.h"
#include "platform/lapack/VmlKernels.h"
#include "platform/wavrin/Parallel.h"

using namespace tarnel;

namespace {

std::vector<const vml::Table*> Tables()
{
    std::vector<const vml::Table*> t;
    for (const vml::Table* k : {vml::KernelsSse2(), vml::KernelsAvx2(), vml::KernelsAvx512()})
        if (k) t.push_back(k);
    return t;
}

struct Fn {
    const char* name;
    vml::Unary vml::Table::*kernel;
    std::function<long double(long double)> ref;
    double lo, hi;  // random arguments: uniform in [lo, hi] when logScale is false, else ±10^[lo, hi]
    bool logScale;
};

const std::vector<Fn>& Functions()
{
    static const std::vector<Fn> f = {
        {"exp", &vml::Table::exp, [](long double x) { return expl(x); }, -745, 709.7, false},
        {"ln", &vml::Table::ln, [](long double x) { return logl(x); }, -320, 308, true},
        {"log10", &vml::Table::log10, [](long double x) { return log10l(x); }, -320, 308, true},
        {"sqrt", &vml::Table::sqrt, [](long double x) { return sqrtl(x); }, -320, 308, true},
        {"invsqrt", &vml::Table::invsqrt, [](long double x) { return 1.0L / sqrtl(x); }, -320, 308, true},
        {"cbrt", &vml::Table::cbrt, [](long double x) { return cbrtl(x); }, -320, 308, true},
        {"invcbrt", &vml::Table::invcbrt, [](long double x) { return 1.0L / cbrtl(x); }, -320, 308, true},
        {"inv", &vml::Table::inv, [](long double x) { return 1.0L / x; }, -300, 300, true},
        {"sin", &vml::Table::sin, [](long double x) { return sinl(x); }, -1e4, 1e4, false},
        {"cos", &vml::Table::cos, [](long double x) { return cosl(x); }, -1e4, 1e4, false},
        {"tan", &vml::Table::tan, [](long double x) { return tanl(x); }, -1e4, 1e4, false},
        {"asin", &vml::Table::asin, [](long double x) { return asinl(x); }, -1, 1, false},
        {"acos", &vml::Table::acos, [](long double x) { return acosl(x); }, -1, 1, false},
        {"atan", &vml::Table::atan, [](long double x) { return atanl(x); }, -300, 300, true},
        {"sinh", &vml::Table::sinh, [](long double x) { return sinhl(x); }, -710.4, 710.4, false},
        {"cosh", &vml::Table::cosh, [](long double x) { return coshl(x); }, -710.4, 710.4, false},
        {"tanh", &vml::Table::tanh, [](long double x) { return tanhl(x); }, -20, 20, false},
    };
    return f;
}

// The error of y in units in the last place of the correctly rounded result.
double Ulps(double y, long double ref)
{
    const double r = static_cast<double>(ref);
    if (std::isnan(r) || std::isinf(r)) return (y == r || (std::isnan(y) && std::isnan(r))) ? 0 : INFINITY;
    const double ulp = std::nextafter(std::fabs(r), INFINITY) - std::fabs(r);
    return static_cast<double>(std::fabs(static_cast<long double>(y) - ref) / ulp);
}

double MaxUlps(int n, const std::vector<double>& x, const std::vector<double>& y,
               const std::function<long double(long double)>& ref)
{
    double worst = 0;
    for (int i = 0; i < n; ++i) worst = std::max(worst, Ulps(y[i], ref(x[i])));
    return worst;
}

std::vector<double> RandomArgs(const Fn& f, int n, unsigned seed)
{
    std::mt19937_64 gen(seed);
    std::uniform_real_distribution<double> u(f.lo, f.hi), sign(-1, 1);
    std::vector<double> x(n);
    for (double& v : x) {
        v = f.logScale ? std::pow(10.0, u(gen)) : u(gen);
        if (f.logScale && (f.lo < 0 && f.name != std::string("ln") && f.name != std::string("log10") &&
                           f.name != std::string("sqrt")))
            v = std::copysign(v, sign(gen));
    }
    return x;
}

TEST(Vml, AccuracyWithinOneUlpOnRandomPoints)
{
    constexpr int kPoints = 100000;
    for (const vml::Table* t : Tables()) {
        for (const Fn& f : Functions()) {
            const std::vector<double> x = RandomArgs(f, kPoints, 17);
            std::vector<double> y(kPoints);
            (t->*f.kernel)(kPoints, x.data(), y.data());
            const double worst = MaxUlps(kPoints, x, y, f.ref);
            std::printf("[ vml %-7s ] %-8s max error %.3f ulp\n", t->isa, f.name, worst);
            EXPECT_LE(worst, 1.0) << t->isa << " " << f.name;
        }
        // The two-argument kernels and the pair.
        std::mt19937_64 gen(5);
        std::uniform_real_distribution<double> base(1e-3, 100), ex(-60, 60), any(-1e300, 1e300);
        std::vector<double> a(kPoints), b(kPoints), y(kPoints), c(kPoints);
        for (int i = 0; i < kPoints; ++i) a[i] = base(gen), b[i] = ex(gen);
        t->pow(kPoints, a.data(), b.data(), y.data());
        double worst = 0;
        for (int i = 0; i < kPoints; ++i) worst = std::max(worst, Ulps(y[i], powl(a[i], b[i])));
        std::printf("[ vml %-7s ] %-8s max error %.3f ulp\n", t->isa, "pow", worst);
        EXPECT_LE(worst, 1.0) << t->isa << " pow";
        for (int i = 0; i < kPoints; ++i) a[i] = any(gen), b[i] = any(gen);
        t->div(kPoints, a.data(), b.data(), y.data());
        for (int i = 0; i < kPoints; ++i) ASSERT_EQ(a[i] / b[i], y[i]);
        std::uniform_real_distribution<double> ang(-1e4, 1e4);
        for (double& v : a) v = ang(gen);
        t->sincos(kPoints, a.data(), y.data(), c.data());
        worst = std::max(MaxUlps(kPoints, a, y, [](long double v) { return sinl(v); }),
                         MaxUlps(kPoints, a, c, [](long double v) { return cosl(v); }));
        std::printf("[ vml %-7s ] %-8s max error %.3f ulp\n", t->isa, "sincos", worst);
        EXPECT_LE(worst, 1.0) << t->isa << " sincos";
    }
}

// The exponential's ends, argument by argument: the results that round to the largest Doubles and the first that
// overflow, the subnormal results down to the last that rounds to the smallest one, and the first that rounds to 0.
// SLEEF's exponential (under the SSE2 and AVX2 kernels) alone would overflow some 90 arguments early.
TEST(Vml, ExpNearOverflowAndUnderflowWithinOneUlp)
{
    const double walks[] = {
        0x1.62e42fefa39efp+9,   // the largest argument with a finite e^x
        -0x1.74910d52d3052p+9,  // ln 2^-1075: below it e^x rounds to 0, above to the smallest subnormal
        -0x1.6232bdd7abcd2p+9,  // ln 2^-1022, where results turn subnormal
    };
    constexpr int kHalf = 256;  // Doubles either side of each
    for (const vml::Table* t : Tables())
        for (const double middle : walks) {
            std::vector<double> x(2 * kHalf + 1), y(x.size());
            x[kHalf] = middle;
            for (int i = 1; i <= kHalf; ++i) {
                x[kHalf + i] = std::nextafter(x[kHalf + i - 1], INFINITY);
                x[kHalf - i] = std::nextafter(x[kHalf - i + 1], -INFINITY);
            }
            t->exp(static_cast<long long>(x.size()), x.data(), y.data());
            for (std::size_t i = 0; i < x.size(); ++i)
                EXPECT_LE(Ulps(y[i], expl(x[i])), 1.0) << t->isa << " exp(" << std::hexfloat << x[i] << ") = " << y[i];
        }
}

TEST(Vml, SpecialValuesAsTheCLibraryGivesThem)
{
    const double den = std::numeric_limits<double>::denorm_min();
    const std::vector<double> x = {0.0,    -0.0,    INFINITY, -INFINITY, NAN,     den,      -den,
                                   1e-310, -1e-310, DBL_MIN,  -DBL_MIN,  DBL_MAX, -DBL_MAX, 1.0,
                                   -1.0,   0.5,     2.0,      710.0,     -746.0,  1e22,     1e-20};
    // The reciprocal roots compare with long double quotients: the C library has no such functions, and
    // 1/cbrt in Doubles is itself off by more than an ulp.
    struct Ref {
        const char* name;
        vml::Unary vml::Table::*kernel;
        double (*f)(double);
    } refs[] = {
        {"exp", &vml::Table::exp, [](double v) { return std::exp(v); }},
        {"ln", &vml::Table::ln, [](double v) { return std::log(v); }},
        {"log10", &vml::Table::log10, [](double v) { return std::log10(v); }},
        {"sqrt", &vml::Table::sqrt, [](double v) { return std::sqrt(v); }},
        {"invsqrt", &vml::Table::invsqrt, [](double v) { return static_cast<double>(1.0L / sqrtl(v)); }},
        {"cbrt", &vml::Table::cbrt, [](double v) { return std::cbrt(v); }},
        {"invcbrt", &vml::Table::invcbrt, [](double v) { return static_cast<double>(1.0L / cbrtl(v)); }},
        {"inv", &vml::Table::inv, [](double v) { return 1.0 / v; }},
        {"sin", &vml::Table::sin, [](double v) { return std::sin(v); }},
        {"cos", &vml::Table::cos, [](double v) { return std::cos(v); }},
        {"tan", &vml::Table::tan, [](double v) { return std::tan(v); }},
        {"asin", &vml::Table::asin, [](double v) { return std::asin(v); }},
        {"acos", &vml::Table::acos, [](double v) { return std::acos(v); }},
        {"atan", &vml::Table::atan, [](double v) { return std::atan(v); }},
        {"sinh", &vml::Table::sinh, [](double v) { return std::sinh(v); }},
        {"cosh", &vml::Table::cosh, [](double v) { return std::cosh(v); }},
        {"tanh", &vml::Table::tanh, [](double v) { return std::tanh(v); }},
    };
    for (const vml::Table* t : Tables())
        for (const Ref& r : refs) {
            std::vector<double> y(x.size());
            (t->*r.kernel)(static_cast<long long>(x.size()), x.data(), y.data());
            for (std::size_t i = 0; i < x.size(); ++i) {
                const double want = r.f(x[i]), got = y[i];
                const std::string where = std::string(t->isa) + " " + r.name + "(" + std::to_string(x[i]) + ")";
                if (std::isnan(want)) {
                    EXPECT_TRUE(std::isnan(got)) << where << " = " << got;
                } else if (want == 0 || std::isinf(want)) {
                    EXPECT_EQ(want, got) << where;
                    EXPECT_EQ(std::signbit(want), std::signbit(got)) << where << " sign";
                } else {
                    EXPECT_LE(Ulps(got, want), 1.0) << where << " = " << got << ", C library " << want;
                }
            }
        }
    // pow's special cases.
    const double pa[] = {0.0, -0.0, 1.0, NAN, -2.0, -8.0, INFINITY, 0.5};
    const double pb[] = {-1.0, 3.0, NAN, 0.0, 0.5, 1.0 / 3.0, -2.0, INFINITY};
    for (const vml::Table* t : Tables()) {
        double y[8];
        t->pow(8, pa, pb, y);
        for (int i = 0; i < 8; ++i) {
            const double want = std::pow(pa[i], pb[i]);
            if (std::isnan(want))
                EXPECT_TRUE(std::isnan(y[i])) << t->isa << " pow " << i;
            else
                EXPECT_EQ(want, y[i]) << t->isa << " pow " << i;
        }
    }
}

TEST(Vml, CubeRootsOfExactCubesAreExact)
{
    // ∛(k³) = k for whole k up to 2^17 of either sign and for the cubes of powers of two down to the subnormals, at
    // every position of a vector and in the padded tail (an odd count).
    std::vector<double> x, want;
    for (int k = 1; k <= 1 << 17; k += k < 1000 ? 1 : 97)
        for (double s : {1.0, -1.0}) {
            x.push_back(s * k * k * k);
            want.push_back(s * k);
        }
    for (int e = -358; e <= 341; ++e) {
        x.push_back(std::ldexp(1.0, 3 * e));
        want.push_back(std::ldexp(1.0, e));
    }
    if (x.size() % 2 == 0) x.pop_back(), want.pop_back();
    for (const vml::Table* t : Tables()) {
        std::vector<double> y(x.size());
        t->cbrt(static_cast<long long>(x.size()), x.data(), y.data());
        for (std::size_t i = 0; i < x.size(); ++i) EXPECT_EQ(want[i], y[i]) << t->isa << " cbrt(" << x[i] << ")";
    }
}

TEST(Vml, OutputsMayAliasInputs)
{
    const int n = 37;
    std::vector<double> a(n), ref(n), s(n), c(n);
    for (int i = 0; i < n; ++i) a[i] = 0.1 * i - 1.3;
    VDEXP(&n, a.data(), ref.data());
    std::vector<double> v = a;
    VDEXP(&n, v.data(), v.data());
    EXPECT_EQ(ref, v);
    // Overlapping by one element in either direction.
    std::vector<double> w(n + 1);
    std::copy(a.begin(), a.end(), w.begin());
    VDEXP(&n, w.data(), w.data() + 1);
    EXPECT_EQ(ref, std::vector<double>(w.begin() + 1, w.end()));
    std::copy(a.begin(), a.end(), w.begin() + 1);
    VDEXP(&n, w.data() + 1, w.data());
    EXPECT_EQ(ref, std::vector<double>(w.begin(), w.end() - 1));
    // VDSINCOS writing the sine, or the cosine, into its source.
    VDSINCOS(&n, a.data(), s.data(), c.data());
    v = a;
    std::vector<double> other(n);
    VDSINCOS(&n, v.data(), v.data(), other.data());
    EXPECT_EQ(s, v);
    EXPECT_EQ(c, other);
    v = a;
    VDSINCOS(&n, v.data(), other.data(), v.data());
    EXPECT_EQ(c, v);
    EXPECT_EQ(s, other);
    // Division and power into either operand.
    std::vector<double> b(n, 3.0), q(n);
    VDDIV(&n, a.data(), b.data(), q.data());
    VDDIV(&n, a.data(), b.data(), b.data());
    EXPECT_EQ(q, b);
    const int zero = 0, negative = -4;
    VDSIN(&zero, nullptr, nullptr);
    VDSIN(&negative, a.data(), v.data());
}

TEST(Vml, StridedPackAndUnpack)
{
    const double x[] = {0, 1, 2, 3, 4, 5, 6};
    double y[3];
    const int n = 2, inc = 3;
    VDPACKI(&n, x + 1, &inc, y);
    EXPECT_EQ(1, y[0]);
    EXPECT_EQ(4, y[1]);
    double z[7] = {9, 9, 9, 9, 9, 9, 9};
    VDUNPACKI(&n, y, z + 1, &inc);
    EXPECT_EQ((std::vector<double>{9, 1, 9, 9, 4, 9, 9}), std::vector<double>(z, z + 7));
    // In place in both directions.
    double p[] = {0, 1, 2, 3, 4, 5};
    const int three = 3, two = 2;
    VDPACKI(&three, p, &two, p);
    EXPECT_EQ((std::vector<double>{0, 2, 4}), std::vector<double>(p, p + 3));
    VDUNPACKI(&three, p, p, &two);
    EXPECT_EQ(0, p[0]);
    EXPECT_EQ(2, p[2]);
    EXPECT_EQ(4, p[4]);
}

// The quotient with its stores past the caches gives every element the plain kernel's Double, at every start of
// the destination against a vector boundary and every length around the vector width; VDDIV takes it for arrays
// beyond parallel::kStreamBytes, on one thread and shared out.
TEST(Vml, StreamedDivisionGivesThePlainKernelsDoubles)
{
    const double edges[] = {0.0, -0.0, 4.9e-324, 1e-300, -3.0, 1e300, INFINITY, -INFINITY, NAN};
    const double guard = -12345.0;
    std::mt19937_64 gen(5);
    std::uniform_real_distribution<double> u(-10, 10);
    const auto fill = [&](double* p, int n, int every) {
        for (int i = 0; i < n; ++i) p[i] = i % every == 0 ? edges[(i / every) % std::size(edges)] : u(gen);
    };
    for (const vml::Table* t : Tables())
        for (int start = 0; start < 8; ++start)
            for (int n = 0; n <= 40; ++n) {
                std::vector<double> a(n + 1), b(n + 1), want(n), got(n + 24, guard);
                fill(a.data() + 1, n, 3);
                fill(b.data() + 1, n, 5);
                const auto base = reinterpret_cast<std::uintptr_t>(got.data() + 8);
                double* y = reinterpret_cast<double*>((base + 63) / 64 * 64) + start;
                t->div(n, a.data() + 1, b.data() + 1, want.data());
                t->divStream(n, a.data() + 1, b.data() + 1, y);
                const std::string where = std::string(t->isa) + " start " + std::to_string(start) + " n " +
                                          std::to_string(n);
                EXPECT_TRUE(n == 0 || std::memcmp(want.data(), y, n * sizeof(double)) == 0) << where;
                for (const double* g : {y - 1, y + n}) EXPECT_EQ(guard, *g) << where << ": wrote outside";
            }
    // Beyond kStreamBytes, and long enough for the quotient to be shared out.
    const int n = (1 << 21) + 5;
    std::vector<double> a(n), b(n), want(n), got(n + 1);
    fill(a.data(), n, 7);
    fill(b.data(), n, 11);
    vml::Kernels().div(n, a.data(), b.data(), want.data());
    for (int threads : {1, parallel::kMaxThreads}) {
        const parallel::TFixedThreads fixed(threads);
        VDDIV(&n, a.data(), b.data(), got.data() + 1);
        EXPECT_EQ(0, std::memcmp(want.data(), got.data() + 1, n * sizeof(double))) << threads << " threads";
    }
}

TEST(Vml, LargeArraysSharedAmongThreadsGiveTheSerialResults)
{
    // Above the exponential's threading threshold (some 3.6·10^5 elements), from two calling threads at once
    // (one of them finds the workers busy and works alone): every element equals the one-piece kernel's.
    const parallel::TFixedThreads shared(parallel::kMaxThreads);
    const int n = 1000003;
    std::vector<double> a(n), want(n);
    std::mt19937_64 gen(3);
    std::uniform_real_distribution<double> u(-50, 50);
    for (double& v : a) v = u(gen);
    vml::Kernels().exp(n, a.data(), want.data());
    std::vector<std::vector<double>> got(2, std::vector<double>(n));
    std::thread other([&] { VDEXP(&n, a.data(), got[1].data()); });
    VDEXP(&n, a.data(), got[0].data());
    other.join();
    EXPECT_TRUE(got[0] == want);
    EXPECT_TRUE(got[1] == want);
    std::vector<double> inPlace = a;
    VDEXP(&n, inPlace.data(), inPlace.data());
    EXPECT_TRUE(inPlace == want);
}

}  // namespace
