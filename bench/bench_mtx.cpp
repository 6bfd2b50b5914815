// Matrices and block walks: a pooled 32 x 32 matrix (CreateIt, size, FreeIt) against new/delete of a TMtx; the
// one- and infinity-norms of a real and a complex 500 x 500 matrix (numpy.linalg.norm is the peer); the sum of
// two 100000-element vectors walked in blocks of 800 against one plain loop over the whole vectors.
#include <cmath>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

namespace {

constexpr int kSide = 32;
constexpr int kNormSide = 500;
constexpr int kWalkLength = 100000;

void PooledMatrix(benchmark::State& st)
{
    for (auto _ : st) {
        TMtx* m = nullptr;
        CreateIt(m);
        m->Size(kSide, kSide);
        benchmark::DoNotOptimize(m->Values());
        FreeIt(m);
    }
}

void NewDeleteMatrix(benchmark::State& st)
{
    for (auto _ : st) {
        TMtx* m = new TMtx;
        m->Size(kSide, kSide);
        benchmark::DoNotOptimize(m->Values());
        delete m;
    }
}

// The same numbers as the numpy peer: sin(i) + i·cos(i) row by row (real matrices take the real parts).
TMtx& NormSource(bool Complex)
{
    static TMtx* mats[2] = {nullptr, nullptr};
    TMtx*& m = mats[Complex ? 1 : 0];
    if (!m) {
        m = new TMtx;
        m->Size(kNormSide, kNormSide, Complex);
        const int n = kNormSide * kNormSide;
        for (int i = 0; i < n; ++i) {
            if (Complex) {
                m->CValues()[i] = Cplx(std::sin(i), std::cos(i));
            } else {
                m->Values()[i] = std::sin(i);
            }
        }
    }
    return *m;
}

template <bool Complex, bool Inf>
void Norm(benchmark::State& st)
{
    const TMtx& m = NormSource(Complex);
    for (auto _ : st) benchmark::DoNotOptimize(Inf ? m.NormInf() : m.Norm1());
}

struct TWalkData {
    TVec a, b, c;
    TWalkData()
    {
        for (TVec* v : {&a, &b, &c}) v->SetLength(kWalkLength);
        for (int i = 0; i < kWalkLength; ++i) {
            a.Values()[i] = i;
            b.Values()[i] = 2.0 * i;
        }
    }
};

TWalkData& WalkData()
{
    static TWalkData* d = new TWalkData;
    return *d;
}

void WalkInBlocks(benchmark::State& st)
{
    TWalkData& d = WalkData();
    for (auto _ : st) {
        d.a.BlockInit();
        d.b.BlockInit();
        d.c.BlockInit();
        while (!d.c.BlockEnd()) {
            const double* x = d.a.Values();
            const double* y = d.b.Values();
            double* z = d.c.Values();
            for (int i = 0; i < d.c.Length(); ++i) z[i] = x[i] + y[i];
            d.a.BlockNext();
            d.b.BlockNext();
            d.c.BlockNext();
        }
        benchmark::DoNotOptimize(d.c.Values());
    }
}

void WalkPlain(benchmark::State& st)
{
    TWalkData& d = WalkData();
    for (auto _ : st) {
        const double* x = d.a.Values();
        const double* y = d.b.Values();
        double* z = d.c.Values();
        for (int i = 0; i < kWalkLength; ++i) z[i] = x[i] + y[i];
        benchmark::DoNotOptimize(z);
    }
}

const bool kRegistered = [] {
    using tarnel_bench::Bytes;
    using tarnel_bench::Row;
    constexpr double kElements = static_cast<double>(kNormSide) * kNormSide;
    Row("CreateIt/FreeIt matrix", kSide, "ours", PooledMatrix);
    Row("CreateIt/FreeIt matrix", kSide, "new/delete TMtx", NewDeleteMatrix);
    // The norms read every element once.
    Row("Norm1 real", kNormSide, "ours", Bytes(8 * kElements), Norm<false, false>);
    Row("NormInf real", kNormSide, "ours", Bytes(8 * kElements), Norm<false, true>);
    Row("Norm1 complex", kNormSide, "ours", Bytes(16 * kElements), Norm<true, false>);
    Row("NormInf complex", kNormSide, "ours", Bytes(16 * kElements), Norm<true, true>);
    Row("block walk c=a+b", kWalkLength, "ours", Bytes(24.0 * kWalkLength), WalkInBlocks);
    Row("block walk c=a+b", kWalkLength, "one plain loop", WalkPlain);
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
