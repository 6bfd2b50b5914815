// Sorting, statistics, dot products and norms of vectors. Sorts of 10^6 reals and complex values (with and without
// IndexVec) against std::sort with the same comparison (the complex order by m(z), then Smaller2) on the same data,
// each iteration sorting a fresh copy on both sides; Mean, Sum, StdDev and Median at 10^6 and 10^7; DotProd and
// NormL2 at 10^6 against direct ddot_, zdotc_ and dnrm2_ calls. numpy's rows come from bench/peers/vec_stats.py
// in the same run. BLAS runs with the thread count scripts/bench sets (OPENBLAS_NUM_THREADS, 1 unless given); the
// library's long sums may use its worker threads.
#include <algorithm>
#include <random>
#include <vector>

#include "Feldrin.h"
#include "bench/BenchRow.h"
#include "core/NmklBlas.h"

using namespace tarnel;

namespace {

constexpr int kSortN = 1000000;

void Fill(TVec& V, int N, bool Complex, unsigned Seed)
{
    V.Size(N, Complex);
    std::mt19937_64 gen(Seed);
    std::normal_distribution<double> u(0, 1);
    const long long count = static_cast<long long>(N) * (Complex ? 2 : 1);
    for (long long i = 0; i < count; ++i) V.Values()[i] = u(gen);
}

void OursSort(benchmark::State& st, bool Complex, bool Indexed)
{
    TVec src, v, idx;
    Fill(src, kSortN, Complex, 1);
    for (auto _ : st) {
        v.Copy(src);
        Indexed ? v.SortAscend(idx) : v.SortAscend();
        benchmark::ClobberMemory();
    }
}

struct TRealItem {
    double V;
    double Idx;
};
struct TCplxItem {
    TCplx Z;
    double Key;
    double Idx;
};

// std::sort on the same data with the same comparison: Doubles, or (m(z), Smaller2); the position rides along
// where IndexVec is asked for, as the library's swaps carry it.
void StdSort(benchmark::State& st, bool Complex, bool Indexed)
{
    TVec src;
    Fill(src, kSortN, Complex, 1);
    std::vector<double> reals(kSortN);
    std::vector<TRealItem> realItems(kSortN);
    std::vector<TCplxItem> cplxItems(kSortN);
    for (auto _ : st) {
        if (!Complex && !Indexed) {
            std::copy(src.Values(), src.Values() + kSortN, reals.begin());
            std::sort(reals.begin(), reals.end());
        } else if (!Complex) {
            for (int i = 0; i < kSortN; ++i) realItems[i] = {src.Values()[i], double(i)};
            std::sort(realItems.begin(), realItems.end(),
                      [](const TRealItem& a, const TRealItem& b) { return a.V < b.V; });
        } else {
            for (int i = 0; i < kSortN; ++i) {
                const TCplx z = src.CValues()[i];
                cplxItems[i] = {z, Norm(z), Indexed ? double(i) : 0.0};
            }
            std::sort(cplxItems.begin(), cplxItems.end(), [](const TCplxItem& a, const TCplxItem& b) {
                return a.Key < b.Key || (a.Key == b.Key && Smaller2(a.Z, b.Z));
            });
        }
        benchmark::ClobberMemory();
    }
}

template <class F>
void Reduce(benchmark::State& st, int N, const F& f)
{
    TVec v;
    Fill(v, N, false, 2);
    for (auto _ : st) benchmark::DoNotOptimize(f(v));
}

void OursDot(benchmark::State& st, bool Complex)
{
    TVec a, b;
    Fill(a, kSortN, Complex, 3);
    Fill(b, kSortN, Complex, 4);
    TCplx z;
    for (auto _ : st) {
        if (Complex)
            a.DotProd(b, z, true);
        else
            z.Re = a.DotProd(b);
        benchmark::DoNotOptimize(z);
    }
}

void DirectDot(benchmark::State& st, bool Complex)
{
    TVec a, b;
    Fill(a, kSortN, Complex, 3);
    Fill(b, kSortN, Complex, 4);
    const int n = kSortN, one = 1;
    TCplx z;
    for (auto _ : st) {
        if (Complex)
            z = zdotc_(&n, b.CValues(), &one, a.CValues(), &one);
        else
            z.Re = ddot_(&n, a.Values(), &one, b.Values(), &one);
        benchmark::DoNotOptimize(z);
    }
}

void DirectNrm2(benchmark::State& st)
{
    TVec a;
    Fill(a, kSortN, false, 5);
    const int n = kSortN, one = 1;
    for (auto _ : st) benchmark::DoNotOptimize(dnrm2_(&n, a.Values(), &one));
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    for (bool indexed : {false, true}) {
        const std::string suffix = indexed ? " IndexVec" : "";
        Row("SortAscend real" + suffix, kSortN, "ours", [=](benchmark::State& s) { OursSort(s, false, indexed); });
        Row("SortAscend real" + suffix, kSortN, "std::sort", [=](benchmark::State& s) { StdSort(s, false, indexed); });
        Row("SortAscend complex" + suffix, kSortN, "ours", [=](benchmark::State& s) { OursSort(s, true, indexed); });
        Row("SortAscend complex" + suffix, kSortN, "std::sort",
            [=](benchmark::State& s) { StdSort(s, true, indexed); });
    }
    for (int n : {1000000, 10000000}) {
        Row("Mean", n, "ours", [n](benchmark::State& s) { Reduce(s, n, [](const TVec& v) { return v.Mean(); }); });
        Row("Sum", n, "ours", [n](benchmark::State& s) { Reduce(s, n, [](const TVec& v) { return v.Sum(); }); });
        Row("StdDev", n, "ours",
            [n](benchmark::State& s) { Reduce(s, n, [](const TVec& v) { return v.StdDev(v.Mean()); }); });
        Row("Median", n, "ours", [n](benchmark::State& s) { Reduce(s, n, [](const TVec& v) { return v.Median(); }); });
    }
    Row("DotProd real", kSortN, "ours", [](benchmark::State& s) { OursDot(s, false); });
    Row("DotProd real", kSortN, "ddot", [](benchmark::State& s) { DirectDot(s, false); });
    Row("DotProd conj", kSortN, "ours", [](benchmark::State& s) { OursDot(s, true); });
    Row("DotProd conj", kSortN, "zdotc", [](benchmark::State& s) { DirectDot(s, true); });
    Row("NormL2", kSortN, "ours",
        [](benchmark::State& s) { Reduce(s, kSortN, [](const TVec& v) { return v.NormL2(); }); });
    Row("NormL2", kSortN, "dnrm2", [](benchmark::State& s) { DirectNrm2(s); });
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
