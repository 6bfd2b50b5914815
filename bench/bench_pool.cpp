// Temporaries and element access: a pooled vector of 1000 elements (CreateIt, size, FreeIt) against a vector
// created and destroyed with new/delete and against std::vector<double>(1000); the checked indexed property
// against the raw Values array, summing 1000 elements.
#include <vector>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

namespace {

constexpr int kLength = 1000;

void PooledVector(benchmark::State& st)
{
    for (auto _ : st) {
        TVec* v = nullptr;
        CreateIt(v);
        v->SetLength(kLength);
        benchmark::DoNotOptimize(v->Values());
        FreeIt(v);
    }
}

void NewDeleteVector(benchmark::State& st)
{
    for (auto _ : st) {
        TVec* v = new TVec;
        v->SetLength(kLength);
        benchmark::DoNotOptimize(v->Values());
        delete v;
    }
}

void StdVector(benchmark::State& st)
{
    for (auto _ : st) {
        std::vector<double> v(kLength);
        benchmark::DoNotOptimize(v.data());
    }
}

TVec& SumSource()
{
    static TVec* v = [] {
        TVec* p = new TVec;
        p->SetLength(kLength);
        for (int i = 0; i < kLength; ++i) p->Values()[i] = i * 0.5;
        return p;
    }();
    return *v;
}

void SumIndexed(benchmark::State& st)
{
    const TVec& v = SumSource();
    for (auto _ : st) {
        double s = 0;
        for (int i = 0; i < v.Length(); ++i) s += v[i];
        benchmark::DoNotOptimize(s);
    }
}

void SumValues(benchmark::State& st)
{
    const TVec& v = SumSource();
    for (auto _ : st) {
        const double* x = v.Values();
        double s = 0;
        for (int i = 0; i < v.Length(); ++i) s += x[i];
        benchmark::DoNotOptimize(s);
    }
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    Row("CreateIt/FreeIt vector", kLength, "ours", PooledVector);
    Row("CreateIt/FreeIt vector", kLength, "new/delete TVec", NewDeleteVector);
    Row("CreateIt/FreeIt vector", kLength, "std::vector<double>", StdVector);
    Row("indexed property sum", kLength, "ours", SumIndexed);
    Row("indexed property sum", kLength, "raw Values", SumValues);
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
