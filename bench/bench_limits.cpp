// This machine's limits, measured in the same run as the table so that its rows read as a share of them: the speed
// of a direct dgemm_ at n = 2000 (on one thread and at the default thread count) and the bandwidth of a plain
// memcpy on one thread, once for arrays that fit the last-level cache together and once for arrays far larger.
// bench/table.py prints these rows in the table's header, with the library versions this program reports.
#include <fftw3.h>

#include <cstring>
#include <random>
#include <vector>

#include "Feldrin.h"
#include "bench/BenchRow.h"
#include "platform/wavrin/Parallel.h"

namespace {

constexpr int kGemmSide = 2000;
// 8 MB per array (source and destination fit a 32 MB last-level cache together) and 128 MB (neither does).
constexpr long long kCacheDoubles = 1 << 20;
constexpr long long kMemoryDoubles = 1 << 24;

void Gemm(benchmark::State& st)
{
    std::vector<double> a(kGemmSide * kGemmSide), b(a.size()), c(a.size());
    std::mt19937_64 gen(1);
    std::uniform_real_distribution<double> u(-1, 1);
    for (std::size_t i = 0; i < a.size(); ++i) {
        a[i] = u(gen);
        b[i] = u(gen);
    }
    tarnel_bench::Dgemm(kGemmSide, a.data(), b.data(), c.data());
    for (auto _ : st) {
        tarnel_bench::Dgemm(kGemmSide, a.data(), b.data(), c.data());
        benchmark::ClobberMemory();
    }
}

void Memcpy(benchmark::State& st, long long n)
{
    std::vector<double> src(n, 1.0), dst(n, 0.0);
    for (auto _ : st) {
        std::memcpy(dst.data(), src.data(), sizeof(double) * static_cast<std::size_t>(n));
        benchmark::ClobberMemory();
    }
}

const bool kRegistered = [] {
    using tarnel_bench::Bytes;
    using tarnel_bench::MulWork;
    using tarnel_bench::Row;
    Row("limit: dgemm_, 1 thread", kGemmSide, "direct", MulWork(kGemmSide), Gemm);
    Row("limit: dgemm_, default threads", kGemmSide, "direct", MulWork(kGemmSide),
        tarnel_bench::AtDefaultThreads(Gemm));
    for (long long n : {kCacheDoubles, kMemoryDoubles})
        Row("limit: memcpy, 1 thread", n, "direct", Bytes(16.0 * n), [n](benchmark::State& s) { Memcpy(s, n); });
    return true;
}();

}  // namespace

int main(int argc, char** argv)
{
    benchmark::AddCustomContext("openblas", openblas_get_config());
    benchmark::AddCustomContext("openblas_default_threads", std::to_string(tarnel_bench::DefaultThreads()));
    benchmark::AddCustomContext("fftw", fftw_version);
    // The caller's thread and the workers that share long element-wise operations.
    benchmark::AddCustomContext("worker_threads", std::to_string(tarnel::parallel::WorkerCount() + 1));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
