// Transcendental functions and searches of vectors and matrices against numpy: real Exp, Ln, Sin and Power at 8
// (per-call overhead) and 10^6 elements; complex Exp, Ln, Sin and Tan, real Exp10 and Log2 at 10^6; the matrix Exp
// and Sin of 1000 × 1000; FindIndexes and FindAndGather with ">" at 10^7. numpy's rows come from
// bench/peers/transcendental.py in the same run, on the same numbers, each result into a preallocated array where
// numpy allows it. Long vectors run on the library's worker threads; OpenBLAS is not called here.
#include <cmath>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

namespace {

constexpr int kLarge = 1000000;
constexpr int kSearch = 10000000;
constexpr int kMtxN = 1000;

// 0.5 + |sin i|·Scale (and cos i for the imaginary parts), as the peer fills its arrays: positive, so that the
// logarithms and powers have real values.
void Fill(TVec& V, int N, bool Complex, double Scale)
{
    V.Size(N, Complex);
    for (int i = 0; i < N; ++i) {
        const double re = 0.5 + std::fabs(std::sin(static_cast<double>(i))) * Scale;
        if (Complex)
            V.CValues()[i] = Cplx(re, std::cos(static_cast<double>(i)));
        else
            V.Values()[i] = re;
    }
}

// r := Op(a) on a filled vector a.
template <class Op>
void Run(benchmark::State& st, int N, bool Complex, double Scale, const Op& op)
{
    TVec a, r;
    Fill(a, N, Complex, Scale);
    op(r, a);
    for (auto _ : st) {
        op(r, a);
        benchmark::DoNotOptimize(r.Values());
    }
}

template <class Op>
void RunMtx(benchmark::State& st, const Op& op)
{
    TVec a;
    Fill(a, kMtxN * kMtxN, false, 3);
    TMtx m, r;
    m.SetIt(kMtxN, kMtxN, false, std::vector<double>(a.Values(), a.Values() + a.Length()));
    op(r, m);
    for (auto _ : st) {
        op(r, m);
        benchmark::DoNotOptimize(r.Values());
    }
}

const bool registered = [] {
    using tarnel_bench::Row;
    for (int n : {8, kLarge}) {
        Row("Exp(Vec) real", n, "ours",
            [n](benchmark::State& st) { Run(st, n, false, 3, [](TVec& r, TVec& a) { r.Exp(a); }); });
        Row("Ln(Vec) real", n, "ours",
            [n](benchmark::State& st) { Run(st, n, false, 3, [](TVec& r, TVec& a) { r.Ln(a); }); });
        Row("Sin(X) real", n, "ours",
            [n](benchmark::State& st) { Run(st, n, false, 3, [](TVec& r, TVec& a) { r.Sin(a); }); });
        Row("Power(Base, 2.5) real", n, "ours",
            [n](benchmark::State& st) { Run(st, n, false, 3, [](TVec& r, TVec& a) { r.Power(a, 2.5); }); });
    }
    Row("Exp(Vec) complex", kLarge, "ours",
        [](benchmark::State& st) { Run(st, kLarge, true, 3, [](TVec& r, TVec& a) { r.Exp(a); }); });
    Row("Ln(Vec) complex", kLarge, "ours",
        [](benchmark::State& st) { Run(st, kLarge, true, 3, [](TVec& r, TVec& a) { r.Ln(a); }); });
    Row("Sin(X) complex", kLarge, "ours",
        [](benchmark::State& st) { Run(st, kLarge, true, 3, [](TVec& r, TVec& a) { r.Sin(a); }); });
    Row("Tan(X) complex", kLarge, "ours",
        [](benchmark::State& st) { Run(st, kLarge, true, 3, [](TVec& r, TVec& a) { r.Tan(a); }); });
    Row("Exp10(X) real", kLarge, "ours",
        [](benchmark::State& st) { Run(st, kLarge, false, 3, [](TVec& r, TVec& a) { r.Exp10(a, 0, 0); }); });
    Row("Log2(X) real", kLarge, "ours",
        [](benchmark::State& st) { Run(st, kLarge, false, 3, [](TVec& r, TVec& a) { r.Log2(a, 0, 0); }); });
    Row("Exp(Mtx) real", kMtxN, "ours", [](benchmark::State& st) { RunMtx(st, [](TMtx& r, TMtx& m) { r.Exp(m); }); });
    Row("Sin(Mtx) real", kMtxN, "ours", [](benchmark::State& st) { RunMtx(st, [](TMtx& r, TMtx& m) { r.Sin(m); }); });
    // The searches compare with 2: about a third of the elements match.
    Row("FindIndexes(a, >, 2)", kSearch, "ours",
        [](benchmark::State& st) { Run(st, kSearch, false, 3, [](TVec& r, TVec& a) { r.FindIndexes(a, ">", 2.0); }); });
    Row("FindAndGather(a, >, 2)", kSearch, "ours", [](benchmark::State& st) {
        TVec idx;
        Run(st, kSearch, false, 3, [&idx](TVec& r, TVec& a) { r.FindAndGather(a, ">", 2.0, &idx); });
    });
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
