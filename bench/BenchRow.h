// One row of the comparison table: an operation at one size, measured for our implementation ("ours") and
// for each peer in the same run. The name "operation|size|side" is what bench/table.py groups by.
//
// A row may say how much work one call does, so that the table can show a rate next to the time and compare it
// with the machine's limits (bench/bench_limits.cpp): floating-point operations (GFLOP/s) for products and
// transforms, bytes read plus bytes written (GB/s) for rows that only move data. The table takes the work from
// the "ours" side and applies it to every side of the row.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>

#include "core/NmklBlas.h"

// OpenBLAS's own controls (the library and numpy share the one OpenBLAS of the system).
extern "C" {
void openblas_set_num_threads(int num_threads);
int openblas_get_num_threads(void);
char* openblas_get_config(void);
}

namespace tarnel_bench {

struct TWork {
    double Flop = 0;
    double Bytes = 0;
};

inline TWork Flop(double Count)
{
    return {Count, 0};
}

inline TWork Bytes(double Count)
{
    return {0, Count};
}

template <class Fn>
benchmark::internal::Benchmark* Row(const std::string& operation, long long size, const std::string& side, TWork work,
                                    Fn fn)
{
    const std::string name = operation + "|" + std::to_string(size) + "|" + side;
    return benchmark::RegisterBenchmark(name.c_str(), [fn = std::move(fn), work](benchmark::State& st) {
        fn(st);
        if (work.Flop > 0) st.counters["flop"] = work.Flop;
        if (work.Bytes > 0) st.counters["bytes"] = work.Bytes;
    });
}

// A row that declares no work (a peer's side, or an operation without a natural rate).
template <class Fn>
benchmark::internal::Benchmark* Row(const std::string& operation, long long size, const std::string& side, Fn fn)
{
    return Row(operation, size, side, TWork{}, std::move(fn));
}

// 2·n³: the operations of one product of two n × n matrices.
inline TWork MulWork(long long n)
{
    return Flop(2.0 * static_cast<double>(n) * static_cast<double>(n) * static_cast<double>(n));
}

// The operations of a transform of n = 2^order points as customarily counted: 5·n·log2 n for complex data, half
// that for real data.
inline TWork FftWork(int order, bool complex)
{
    const double n = static_cast<double>(1LL << order);
    return Flop((complex ? 5.0 : 2.5) * n * order);
}

// The OpenBLAS thread count a user gets without setting any: scripts/bench passes it in
// TARNEL_BENCH_DEFAULT_THREADS (the rows otherwise run OpenBLAS on one thread).
inline int DefaultThreads()
{
    const char* v = std::getenv("TARNEL_BENCH_DEFAULT_THREADS");
    const int n = v ? std::atoi(v) : 0;
    return n > 0 ? n : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

// The benchmark fn run with OpenBLAS at the default thread count, back to one thread afterwards.
template <class Fn>
auto AtDefaultThreads(Fn fn)
{
    return [fn = std::move(fn)](benchmark::State& st) {
        openblas_set_num_threads(DefaultThreads());
        fn(st);
        openblas_set_num_threads(1);
    };
}

// C = A·B for row-major n × n matrices in one direct dgemm_ call, without any check: the call TMtx.Mul makes,
// as Cᵀ = Bᵀ·Aᵀ on the column-major view of the same memory.
inline void Dgemm(int n, const double* A, const double* B, double* C)
{
    const double alpha = 1, beta = 0;
    dgemm_("N", "N", &n, &n, &n, &alpha, B, &n, A, &n, &beta, C, &n, 1, 1);
}

}  // namespace tarnel_bench
