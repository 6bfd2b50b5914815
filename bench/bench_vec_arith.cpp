// Vector arithmetic on two operands and on one operand: Sub, Mul, Divide and DivideVec of two vectors at 8 elements
// (per-call overhead), 800 (one block of a block walk) and 10^6 (memory bound), real and complex; ConjMul, Scale,
// Offset, Sqrt, InvSqrt, Cbrt (real and complex) and Abs at 10^6. numpy's rows come from bench/peers/vec_arith.py in
// the same run, on the same numbers, each result into a preallocated array. OpenBLAS is not called here.
#include <cmath>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

namespace {

constexpr int kSizes[] = {8, 800, 1000000};
constexpr int kLarge = 1000000;

// sin(i + Shift) (and cos(i + Shift) for the imaginary parts), as the peer fills its arrays.
void Fill(TVec& V, int N, bool Complex, double Shift)
{
    V.Size(N, Complex);
    for (int i = 0; i < N; ++i) {
        if (Complex)
            V.CValues()[i] = Cplx(std::sin(i + Shift), std::cos(i + Shift));
        else
            V.Values()[i] = std::sin(i + Shift);
    }
}

// r := Op(a, b) for two filled vectors a (shift 0) and b (shift 1).
template <class Op>
void Two(benchmark::State& st, int N, bool Complex, const Op& op)
{
    TVec a, b, r;
    Fill(a, N, Complex, 0);
    Fill(b, N, Complex, 1);
    op(r, a, b);
    for (auto _ : st) {
        op(r, a, b);
        benchmark::DoNotOptimize(r.Values());
    }
}

// r := Op(r) in place, or r := Op(a) from a source, on a filled vector a.
template <class Op>
void One(benchmark::State& st, bool Complex, const Op& op)
{
    TVec a, r;
    Fill(a, kLarge, Complex, 0);
    r.Copy(a);
    op(r, a);
    for (auto _ : st) {
        op(r, a);
        benchmark::DoNotOptimize(r.Values());
    }
}

const bool registered = [] {
    using tarnel_bench::Bytes;
    using tarnel_bench::Row;
    // Bytes read plus bytes written: 8 per Double, two Doubles per complex element; two sources and a result for
    // the rows of two vectors, one array read and written for the rows in place or from a source.
    const double large = kLarge;
    for (int n : kSizes) {
        for (bool c : {false, true}) {
            const std::string kind = c ? " complex" : " real";
            const auto moved = Bytes(3.0 * 8 * n * (c ? 2 : 1));
            Row("Sub(Vec1, Vec2)" + kind, n, "ours", moved,
                [n, c](benchmark::State& st) { Two(st, n, c, [](TVec& r, TVec& a, TVec& b) { r.Sub(a, b); }); });
            Row("Mul(Vec1, Vec2)" + kind, n, "ours", moved,
                [n, c](benchmark::State& st) { Two(st, n, c, [](TVec& r, TVec& a, TVec& b) { r.Mul(a, b); }); });
            Row("Divide(Vec1, Vec2)" + kind, n, "ours", moved, [n, c](benchmark::State& st) {
                Two(st, n, c, [](TVec& r, TVec& a, TVec& b) { r.Divide(a, b, 1e-300); });
            });
            Row("DivideVec(Num, Den)" + kind, n, "ours", moved,
                [n, c](benchmark::State& st) { Two(st, n, c, [](TVec& r, TVec& a, TVec& b) { r.DivideVec(a, b); }); });
        }
    }
    Row("ConjMul(Vec1, Vec2) complex", kLarge, "ours", Bytes(48 * large),
        [](benchmark::State& st) { Two(st, kLarge, true, [](TVec& r, TVec& a, TVec& b) { r.ConjMul(a, b); }); });
    Row("Scale(-1) real", kLarge, "ours", Bytes(16 * large),
        [](benchmark::State& st) { One(st, false, [](TVec& r, TVec&) { r.Scale(-1); }); });
    Row("Offset(0.5) real", kLarge, "ours", Bytes(16 * large),
        [](benchmark::State& st) { One(st, false, [](TVec& r, TVec&) { r.Offset(0.5); }); });
    Row("Sqrt(Vec) real", kLarge, "ours", Bytes(16 * large),
        [](benchmark::State& st) { One(st, false, [](TVec& r, TVec& a) { r.Sqrt(a); }); });
    Row("InvSqrt(Vec) real", kLarge, "ours", Bytes(16 * large),
        [](benchmark::State& st) { One(st, false, [](TVec& r, TVec& a) { r.InvSqrt(a); }); });
    Row("Cbrt(Vec) real", kLarge, "ours", Bytes(16 * large),
        [](benchmark::State& st) { One(st, false, [](TVec& r, TVec& a) { r.Cbrt(a); }); });
    Row("Cbrt(Vec) complex", kLarge, "ours", Bytes(32 * large),
        [](benchmark::State& st) { One(st, true, [](TVec& r, TVec& a) { r.Cbrt(a); }); });
    Row("Abs(Vec) real", kLarge, "ours", Bytes(16 * large),
        [](benchmark::State& st) { One(st, false, [](TVec& r, TVec& a) { r.Abs(a); }); });
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
